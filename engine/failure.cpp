// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/failure.h"

namespace veldorin {

std::string_view Describe(FailureReason reason) {
    switch (reason) {
        case FailureReason::NotNumeric: return "a number is not readable";
        case FailureReason::ConversionOverflow: return "a number is too large";
        case FailureReason::Overflow: return "overflow";
        case FailureReason::DivisionByZero: return "division by zero";
        case FailureReason::InvalidOperation: return "invalid operation";
        case FailureReason::LogOfNonPositive: return "logarithm of a non-positive number";
        case FailureReason::FileNotWritable: return "table.dat cannot be written";
        case FailureReason::NoArrayParameter: return "no array parameter selected";
    }
    return "unknown error";
}

}  // namespace veldorin
