// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cmath>
#include <string_view>

namespace veldorin {

// Why a recalculation ended early. Each one ends the run at once, silently in the
// calculation; the window shows the reason.
enum class FailureReason {
    NotNumeric,          // a text that must be a number is not one
    ConversionOverflow,  // a numeric text too large for its type
    Overflow,            // a result too large for single precision
    DivisionByZero,      // a division by exactly zero
    InvalidOperation,    // zero divided by zero, or another undefined result
    LogOfNonPositive,    // the logarithm of a number that is not positive
    FileNotWritable,     // "table.dat" could not be created or written
    NoArrayParameter,    // array mode is on but no parameter is selected
};

// Short lower-case text for the window, e.g. "division by zero".
std::string_view Describe(FailureReason reason);

// Thrown inside a run at the first run-time error and caught where the run ends.
struct CalculationError {
    FailureReason reason;
};

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
