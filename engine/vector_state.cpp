// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/vector_state.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace veldorin {

#if defined(__x86_64__) && defined(__GNUC__)

namespace {
// Compiled for AVX, and only called where the processor has it.
__attribute__((target("avx"))) void ZeroUpperHalves() { _mm256_zeroupper(); }
}  // namespace

void ClearUpperVectorState() {
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) ZeroUpperHalves();
}

#else

void ClearUpperVectorState() {}

#endif

}  // namespace veldorin
