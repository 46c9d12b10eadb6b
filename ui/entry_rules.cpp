// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/entry_rules.h"

#include <QLineEdit>
#include <string>

#include "engine/failure.h"
#include "engine/numeric_text.h"

namespace veldorin {

namespace {

// A numeric text whose value lies beyond the range of a double has no value to
// compare with zero; it is refused like any other text that is not a number.
bool IsNegativeOrUnreadable(std::string_view text) {
    try {
        return ReadDouble(text) < 0.0;
    } catch (const CalculationError&) {
        return true;
    }
}

}  // namespace

std::optional<std::string_view> Replacement(const EntryRule& rule, std::string_view text) {
    if (!IsNumeric(text)) return rule.fallback;
    if (rule.refusesZeroText && text == "0") return rule.fallback;
    if (rule.refusesNegative && IsNegativeOrUnreadable(text)) return rule.fallback;
    return std::nullopt;
}

bool Enforce(const EntryRule& rule, QLineEdit& box) {
    const std::string text = box.text().toStdString();
    const std::optional<std::string_view> replacement = Replacement(rule, text);
    if (!replacement) return false;
    // setText puts the cursor after the last character of the new text.
    box.setText(
        QString::fromLatin1(replacement->data(), static_cast<qsizetype>(replacement->size())));
    return true;
}

}  // namespace veldorin
