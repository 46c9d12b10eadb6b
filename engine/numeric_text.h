// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string_view>

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
