// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace veldorin {
namespace {

std::string FormatGeneral(double value, int digits) {
    if (value == 0.0) return "0";
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";

    // Round to the significant digits first: the exponent after rounding decides
    // the notation (9999999.5 as a single is 1E+07). std::to_chars, unlike printf,
    // ignores the C locale, which the toolkit sets from the user's environment.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, digits - 1);
    const std::string scientific(buffer, written.ptr);
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

}  // namespace

std::string FormatSingle(float value) { return FormatGeneral(static_cast<double>(value), 7); }

std::string FormatDouble(double value) { return FormatGeneral(value, 15); }

}  // namespace veldorin
