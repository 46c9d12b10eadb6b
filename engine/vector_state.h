// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace veldorin {

// Marks the upper halves of the processor's 256-bit vector registers as unused. Code
// run between two recalculations (the toolkit's drawing and text routines) can leave
// them in use, and until they are cleared every SSE instruction of the calculation
// waits on them: on recent x86 processors the curves then take two to three times as
// long. Does nothing on processors without AVX and on other architectures.
void ClearUpperVectorState();

}  // namespace veldorin
