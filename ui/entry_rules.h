// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string_view>

class QLineEdit;

namespace veldorin {

// How a typed number is checked at every key release: a text the rule refuses is
// replaced at once, without a message, by the rule's fallback. The numeric test is
// the calculation's own (IsNumeric), so whatever a box lets through converts.
struct EntryRule {
    std::string_view fallback;
    bool refusesZeroText = false;  // the exact text "0" is refused too ("0.0" is not)
    bool refusesNegative = false;  // a value below zero is refused too
};

// Distances and abundances: a zero distance or abundance would mean no neighbour.
inline constexpr EntryRule kDistanceRule{"1.09", true, false};
inline constexpr EntryRule kAbundanceRule{"1", true, false};
// Rex and CSA: any number, including negative ones.
inline constexpr EntryRule kRexCsaRule{"0", false, false};
// The Lorentzian weights and times: numbers that are not negative.
inline constexpr EntryRule kLorentzianRule{"0", false, true};

// The text that replaces a refused text, or nothing when the text stands as typed.
std::optional<std::string_view> Replacement(const EntryRule& rule, std::string_view text);

// Applies the rule to a box. Only a refused text is replaced (the cursor then stands
// at the end of the new text); a text that stands keeps the cursor where it was.
// Returns whether the text was replaced.
bool Enforce(const EntryRule& rule, QLineEdit& box);

}  // namespace veldorin
