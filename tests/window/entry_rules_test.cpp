// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/entry_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace veldorin::test {
namespace {

struct RuleRow {
    const char* name;
    const EntryRule* rule;
    std::string_view text;
    std::optional<std::string_view> replacement;  // nothing: the text stands
};

const RuleRow kRuleRows[] = {
    {"distance empty", &kDistanceRule, "", "1.09"},
    {"distance zero", &kDistanceRule, "0", "1.09"},
    {"distance zero with point", &kDistanceRule, "0.0", std::nullopt},
    {"distance double zero", &kDistanceRule, "00", std::nullopt},
    {"distance zero with blank", &kDistanceRule, " 0", std::nullopt},
    {"distance negative", &kDistanceRule, "-2", std::nullopt},
    {"distance trailing point", &kDistanceRule, "1.", std::nullopt},
    {"distance comma", &kDistanceRule, "1,5", "1.09"},
    {"distance beyond single", &kDistanceRule, "1e39", std::nullopt},
    {"abundance empty", &kAbundanceRule, "", "1"},
    {"abundance zero", &kAbundanceRule, "0", "1"},
    {"abundance above one", &kAbundanceRule, "2.5", std::nullopt},
    {"abundance lone point", &kAbundanceRule, ".", "1"},
    {"csa lone minus", &kRexCsaRule, "-", "0"},
    {"csa negative", &kRexCsaRule, "-170", std::nullopt},
    {"rex zero", &kRexCsaRule, "0", std::nullopt},
    {"rex letters", &kRexCsaRule, "five", "0"},
    {"weight letter", &kLorentzianRule, "0.2x", "0"},
    {"weight negative", &kLorentzianRule, "-0.5", "0"},
    {"weight negative exponent form", &kLorentzianRule, "-1e-3", "0"},
    {"weight negative zero", &kLorentzianRule, "-0", std::nullopt},
    {"weight below the double range", &kLorentzianRule, "-1e-999", std::nullopt},
    {"weight zero", &kLorentzianRule, "0", std::nullopt},
    {"time exponent", &kLorentzianRule, "1e3", std::nullopt},
    {"time with blanks", &kLorentzianRule, " 437.5 ", std::nullopt},
    {"time beyond the double range", &kLorentzianRule, "1e999", "0"},
};

TEST(EntryRules, RefuseExactlyTheTextsTheirBoxCannotHold) {
    for (const auto& row : kRuleRows) {
        EXPECT_EQ(Replacement(*row.rule, row.text), row.replacement) << row.name;
    }
}

}  // namespace
}  // namespace veldorin::test
