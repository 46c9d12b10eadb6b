#include "engine/failure.h"

#include <cmath>

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

double CheckFinite(double value) {
    if (std::isnan(value)) throw CalculationError{FailureReason::InvalidOperation};
    if (std::isinf(value)) throw CalculationError{FailureReason::Overflow};
    return value;
}

void FailStoreSingle(double value) {
    CheckFinite(value);
    throw CalculationError{FailureReason::Overflow};
}

double Divide(double a, double b) {
    if (b == 0.0) {
        throw CalculationError{a == 0.0 || std::isnan(a) ? FailureReason::InvalidOperation
                                                         : FailureReason::DivisionByZero};
    }
    return CheckFinite(a / b);
}

double LogOf(double value) {
    if (!(value > 0.0)) throw CalculationError{FailureReason::LogOfNonPositive};
    return std::log(value);
}

}  // namespace veldorin
