// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/checked_arithmetic.h"

#include "engine/failure.h"

namespace veldorin {

void FailOutOfRange(double value) {
    throw CalculationError{std::isnan(value) ? FailureReason::InvalidOperation
                                             : FailureReason::Overflow};
}

void FailDivide(double a) {
    throw CalculationError{a == 0.0 || std::isnan(a) ? FailureReason::InvalidOperation
                                                     : FailureReason::DivisionByZero};
}

void FailLogOf() { throw CalculationError{FailureReason::LogOfNonPositive}; }

}  // namespace veldorin
