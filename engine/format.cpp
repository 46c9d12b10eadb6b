// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace veldorin {
namespace {

// The sign, digits and exponent of a finite non-zero value in scientific notation, e.g.
// "-1.2345e+03", laid out as the formats below write it: fixed notation unless the decimal
// exponent is below -5 or at least `digits`.
std::string Layout(const std::string& scientific, int digits) {
    const auto ePos = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + ePos + 1);
    const bool negative = scientific.front() == '-';

    std::string mantissaDigits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (scientific[i] != '.') mantissaDigits += scientific[i];
    }
    while (mantissaDigits.size() > 1 && mantissaDigits.back() == '0') mantissaDigits.pop_back();

    std::string text = negative ? "-" : "";
    if (exponent < -5 || exponent >= digits) {
        char buffer[16];
        text += mantissaDigits.front();
        if (mantissaDigits.size() > 1) text += '.' + mantissaDigits.substr(1);
        std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return text + buffer;
    }
    if (exponent < 0) {
        return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') +
               mantissaDigits;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (mantissaDigits.size() <= integerDigits) {
        return text + mantissaDigits + std::string(integerDigits - mantissaDigits.size(), '0');
    }
    return text + mantissaDigits.substr(0, integerDigits) + '.' +
           mantissaDigits.substr(integerDigits);
}

// The texts of zero and of values that are not finite; nothing for any other value.
std::optional<std::string> SpecialText(double value) {
    if (value == 0.0) return "0";
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    return std::nullopt;
}

std::string FormatGeneral(double value, int digits) {
    if (auto special = SpecialText(value)) return *special;
    // Round to the significant digits first: the exponent after rounding decides
    // the notation (9999999.5 as a single is 1E+07). std::to_chars, unlike printf,
    // ignores the C locale, which the toolkit sets from the user's environment.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, digits - 1);
    return Layout(std::string(buffer, written.ptr), digits);
}

}  // namespace

std::string FormatSingle(float value) { return FormatGeneral(static_cast<double>(value), 7); }

std::string FormatDouble(double value) { return FormatGeneral(value, 15); }

std::string FormatShortestSingle(float value) {
    if (auto special = SpecialText(value)) return *special;
    // Without a precision std::to_chars gives the fewest digits that read back as the
    // same single, as std::from_chars (and so ReadSingle) rounds.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    return Layout(std::string(buffer, written.ptr), 7);
}

std::string FormatShortestDouble(double value) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

namespace {

// The decimal places that leave the error two significant digits, as its rounding to two
// digits shows them: 0.0996 rounds to 1.0e-01, two places and not three.
int DecimalsOfError(double error) {
    std::array<char, 32> text{};
    const char* end = std::to_chars(text.data(), text.data() + text.size(), error,
                                    std::chars_format::scientific, 1)
                          .ptr;
    const char* exponent = std::find(static_cast<const char*>(text.data()), end, 'e') + 1;
    if (*exponent == '+') ++exponent;
    int power = 0;
    std::from_chars(exponent, end, power);
    return 1 - power;
}

// The value rounded at the decimal place (tens, hundreds, ... for places below 0), ties
// to even as the error's digits are; a zero without a sign.
std::string AtDecimals(double value, int decimals) {
    if (decimals < 0) {
        const double unit = std::pow(10.0, -decimals);
        value = std::nearbyint(value / unit) * unit;
    }
    // Room for the widest: 309 digits before the point and 325 after.
    std::array<char, 700> text{};
    const auto [end, failure] = std::to_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed, std::max(decimals, 0));
    if (failure != std::errc()) return FormatShortestDouble(value);
    std::string rounded(text.data(), end);
    if (rounded.front() == '-' && rounded.find_first_not_of("-0.") == std::string::npos) {
        rounded.erase(0, 1);
    }
    return rounded;
}

}  // namespace

std::optional<RoundedToError> RoundToError(double value, double error) {
    if (!std::isfinite(value) || !std::isfinite(error) || !(error > 0.0)) return std::nullopt;
    const int decimals = DecimalsOfError(error);
    return RoundedToError{AtDecimals(value, decimals), AtDecimals(error, decimals)};
}

}  // namespace veldorin
