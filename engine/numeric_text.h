// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

#include "engine/failure.h"

namespace veldorin {

// The one rule for numeric text, used by every editor and by the calculation, so
// that any text an editor lets through converts: blanks around, an optional sign,
// digits with at most one decimal point, an optional exponent (1e3, 2.5E-4).
// The empty text, a lone sign and a lone point are not numeric. Locale-independent.
bool IsNumeric(std::string_view text);

// Converts numeric text. Throws CalculationError: NotNumeric for text the rule
// refuses, ConversionOverflow for a value beyond the type's range. Values too
// small for the type become zero.
double ReadDouble(std::string_view text);
float ReadSingle(std::string_view text);

// A numeric text whose refusal is an answer rather than a run's failure: a command's option,
// a data file's cell, a motion's parameter. Read by the rule above, not a stricter one, so
// that a number reads the same wherever it is typed. The value (always finite), or the
// reason ReadDouble or ReadSingle would throw.
template <typename Number>
struct NumberRead {
    std::optional<Number> value;
    FailureReason failure = FailureReason::NotNumeric;  // when there is no value
};
NumberRead<double> DoubleIn(std::string_view text);
NumberRead<float> SingleIn(std::string_view text);
// "is not a number" or "is too large": what a message says after the text refused.
std::string_view Refusal(FailureReason reason);

// A whole number, as counts and seeds are written: digits alone, '-' before a negative;
// nothing for any other text or one beyond the type.
template <typename Integer>
std::optional<Integer> WholeNumberIn(std::string_view text) {
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A text converted ahead of its use whose failure counts only where the value is
// used, as when a caption is read inside the calculation.
class PendingSingle {
public:
    PendingSingle() = default;
    static PendingSingle Of(std::string_view text);

    // Whether value() gives a value rather than the conversion's error.
    bool readable() const { return !failure_; }
    // The value, or the conversion's CalculationError.
    float value() const {
        if (failure_) throw CalculationError{*failure_};
        return value_;
    }

private:
    float value_ = 0.0f;
    std::optional<FailureReason> failure_;
};

}  // namespace veldorin
