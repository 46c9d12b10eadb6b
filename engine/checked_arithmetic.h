// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cmath>

namespace veldorin {

// The arithmetic of a run that must stay within single precision: each check throws the
// CalculationError (engine/failure.h) that ends the run where the value went wrong.

// Throws the error of a value that is not finite or does not fit single precision:
// an invalid operation for NaN, an overflow for anything else.
[[noreturn]] void FailOutOfRange(double value);

// Rounds a double-precision result to single precision; a result that does not fit
// (or is not a number) is the run-time error it would be. Inline: the curves round
// every term of every sum, and the rounded value is finite exactly when the
// double was finite and within range.
inline float StoreSingle(double value) {
    const auto single = static_cast<float>(value);
    if (std::isfinite(single)) [[likely]]
        return single;
    FailOutOfRange(value);
}

// Throw the errors of the checks below; apart so that the checks stay small enough to
// be inlined into the curves' loops.
[[noreturn]] void FailDivide(double a);
[[noreturn]] void FailLogOf();

// A double-precision result that must stay finite.
inline double CheckFinite(double value) {
    if (std::isfinite(value)) [[likely]]
        return value;
    FailOutOfRange(value);
}

// a / b, failing on a zero divisor.
inline double Divide(double a, double b) {
    if (b == 0.0) [[unlikely]]
        FailDivide(a);
    return CheckFinite(a / b);
}

// Natural logarithm, failing for arguments that are not positive.
inline double LogOf(double value) {
    if (!(value > 0.0)) [[unlikely]]
        FailLogOf();
    return std::log(value);
}

}  // namespace veldorin
