// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

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

}  // namespace veldorin
