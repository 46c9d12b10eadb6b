// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <span>

#include "engine/relaxation.h"

namespace veldorin {

// RelaxationAtField at each of several 1H angular frequencies, bit for bit, computed
// side by side so that one instruction works on several frequencies (each is the same
// IEEE operation per frequency, so nothing rounds differently). Gives false, with the
// results unspecified, exactly when the evaluation at one of the frequencies would end
// in a run-time error: the caller then evaluates them one by one, which fails where and
// why the run fails. results must be as long as wH.
bool RelaxationAcrossFields(const WorkingValues& values, std::span<const float> wH,
                            std::span<FieldResult> results);

}  // namespace veldorin
