// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

namespace veldorin {

// Shortest decimal text with at most 7 (single) or 15 (double) significant digits:
// no trailing zeros or point, "0." before fractions, "-" for negatives, fixed
// notation unless the decimal exponent is below -5 or at least the digit count,
// then e.g. "1E+07" or "1.5E-06". The separator is always the full stop.
std::string FormatSingle(float value);
std::string FormatDouble(double value);

// The shortest decimal text that ReadSingle reads back as exactly the same single (up to
// 9 significant digits, where FormatSingle stops at 7 and may land on a neighbour), laid
// out as FormatSingle lays out its texts.
std::string FormatShortestSingle(float value);

// The shortest text that reads back as exactly the same double, as std::to_chars writes it
// ("0.1", "1e-05", "nan"): for a CSV whose numbers are read again.
std::string FormatShortestDouble(double value);

// A value and its error written to the error's precision: the error to two significant
// digits and the value to the same decimal place (0.851234 ± 0.0123 as 0.851 and 0.012,
// 4567.8 ± 123 as 4570 and 120, an error of 0.0996 as 0.10), the double's exact value
// rounded, a tie to the even digit, a zero without a sign. Nothing for a value that is not
// finite or an error that is not a finite number above 0.
struct RoundedToError {
    std::string value;
    std::string error;
};
std::optional<RoundedToError> RoundToError(double value, double error);

}  // namespace veldorin
