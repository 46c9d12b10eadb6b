// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/numeric_text.h"

#include <charconv>
#include <string>
#include <system_error>

#include "engine/failure.h"

namespace veldorin {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The numeric part of a text, once blanks and a leading '+' are taken off, with the
// decimal exponent of its leading significant digit (used to tell an overflow from
// an underflow).
struct NumericForm {
    std::string_view body;  // what std::from_chars reads: optional '-', mantissa, exponent
    long magnitude = 0;     // decimal exponent of the first non-zero digit
    bool valid = false;
};

NumericForm Analyse(std::string_view text) {
    NumericForm form;
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::string_view s = text.substr(begin, end - begin);

    // One sign at most; std::from_chars reads '-' but not '+'.
    std::size_t i = 0;
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
    } else if (!s.empty() && s.front() == '-') {
        ++i;
    }
    const std::string_view body = s;

    long integerDigits = 0;  // significant digits before the point
    long leadingFractionZeros = 0;
    bool sawDigit = false;
    bool sawNonZero = false;
    bool sawPoint = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (IsDigit(c)) {
            sawDigit = true;
            if (c != '0') sawNonZero = true;
            if (!sawPoint && sawNonZero) ++integerDigits;
            if (sawPoint && !sawNonZero) ++leadingFractionZeros;
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
        } else {
            break;
        }
    }
    if (!sawDigit) return form;

    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
        if (i >= s.size() || !IsDigit(s[i])) return form;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    if (i != s.size()) return form;

    form.valid = true;
    form.body = body;
    form.magnitude = exponent + (integerDigits > 0 ? integerDigits - 1 : -leadingFractionZeros - 1);
    return form;
}

template <typename Number>
Number Read(std::string_view text) {
    const NumericForm form = Analyse(text);
    if (!form.valid) throw CalculationError{FailureReason::NotNumeric};
    Number value{};
    const auto [ptr, ec] =
        std::from_chars(form.body.data(), form.body.data() + form.body.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (form.magnitude >= 0) throw CalculationError{FailureReason::ConversionOverflow};
        return form.body.front() == '-' ? -Number{0} : Number{0};
    }
    if (ec != std::errc{} || ptr != form.body.data() + form.body.size()) {
        throw CalculationError{FailureReason::NotNumeric};
    }
    return value;
}

}  // namespace

bool IsNumeric(std::string_view text) { return Analyse(text).valid; }

double ReadDouble(std::string_view text) { return Read<double>(text); }

float ReadSingle(std::string_view text) { return Read<float>(text); }

namespace {

template <typename Number>
NumberRead<Number> NumberIn(std::string_view text) {
    try {
        return {Read<Number>(text)};
    } catch (const CalculationError& error) {
        return {std::nullopt, error.reason};
    }
}

}  // namespace

NumberRead<double> DoubleIn(std::string_view text) { return NumberIn<double>(text); }

NumberRead<float> SingleIn(std::string_view text) { return NumberIn<float>(text); }

std::string_view Refusal(FailureReason reason) {
    return reason == FailureReason::NotNumeric ? "is not a number" : "is too large";
}

PendingSingle PendingSingle::Of(std::string_view text) {
    PendingSingle pending;
    try {
        pending.value_ = ReadSingle(text);
    } catch (const CalculationError& error) {
        pending.failure_ = error.reason;
    }
    return pending;
}

}  // namespace veldorin
