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

// Throws the error of a value that does not fit single precision.
[[noreturn]] void FailStoreSingle(double value);

// Rounds a double-precision result to single precision; a result that does not fit
// (or is not a number) is the run-time error it would be. Inline: the curves round
// every term of every sum, and the rounded value is finite exactly when the
// double was finite and within range.
inline float StoreSingle(double value) {
    const auto single = static_cast<float>(value);
    if (std::isfinite(single)) [[likely]]
        return single;
    FailStoreSingle(value);
}

// a / b, failing on a zero divisor.
double Divide(double a, double b);

// Natural logarithm, failing for arguments that are not positive.
double LogOf(double value);

// A double-precision result that must stay finite.
double CheckFinite(double value);

}  // namespace veldorin
