// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/model.h"

#include <gtest/gtest.h>

#include "engine/constants.h"

namespace veldorin {
namespace {

TEST(DefaultModel, IsTheStartingSpinSystemAndMotion) {
    const ModelTexts model = DefaultModel();
    const SpinSlot expected[kSlotCount] = {
        {"1H", "2", "1"},  {"1H", "1.09", "1"}, {"13C", "1.5", "1"},
        {"", "1.09", "1"}, {"", "1.09", "1"},   {"", "1.09", "1"},
        {"", "1.09", "1"}, {"", "1.09", "1"},   {"13C", "", "1"},
    };
    for (int i = 0; i < kSlotCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.slots[i].nucleus, expected[i].nucleus);
        EXPECT_EQ(model.slots[i].abundance, expected[i].abundance);
        if (i != kCentralSlot) {
            EXPECT_EQ(model.slots[i].distance, expected[i].distance);
        }
    }
    EXPECT_EQ(model.weights,
              (std::array<std::string, 6>{"0.25", "0.25", "0.25", "0.25", "0", "0"}));
    EXPECT_EQ(model.times,
              (std::array<std::string, 6>{"7000", "1750", "437.5", "109.37", "437.5", "437.5"}));
    EXPECT_EQ(model.csa, "-25");
    EXPECT_EQ(model.rex, "0");
    EXPECT_EQ(model.tableMode, TableMode::Rates);
}

TEST(DefaultModel, KindsAreThreeUnlikeThenEmpty) {
    const SlotKinds kinds = DeriveKinds(DefaultModel());
    const SlotKinds expected = {SlotKind::Unlike, SlotKind::Unlike, SlotKind::Unlike,
                                SlotKind::Empty,  SlotKind::Empty,  SlotKind::Empty,
                                SlotKind::Empty,  SlotKind::Empty};
    EXPECT_EQ(kinds, expected);
}

struct KindCase {
    const char* name;
    const char* nucleus;
    SlotKind kind;
};

class NucleusKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(NucleusKind, FollowsTheExactText) {
    EXPECT_EQ(KindOfNucleus(GetParam().nucleus), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Texts, NucleusKind,
                         ::testing::Values(KindCase{"EmptyText", "", SlotKind::Empty},
                                           KindCase{"Like", "Like", SlotKind::Like},
                                           KindCase{"LowerCaseLike", "like", SlotKind::Unlike},
                                           KindCase{"LikeWithBlank", "Like ", SlotKind::Unlike},
                                           KindCase{"Blank", " ", SlotKind::Unlike},
                                           KindCase{"Proton", "1H", SlotKind::Unlike},
                                           KindCase{"LowerCaseProton", "1h", SlotKind::Unlike},
                                           KindCase{"Carbon", "13C", SlotKind::Unlike},
                                           KindCase{"Nitrogen", "15N", SlotKind::Unlike},
                                           KindCase{"UnknownNucleus", "2H", SlotKind::Unlike}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GammaTable, KnowsOnlyTheThreeExactTexts) {
    EXPECT_EQ(GammaOf("1H"), 2.6751e-11f);
    EXPECT_EQ(GammaOf("13C"), 6.7263e-12f);
    EXPECT_EQ(GammaOf("15N"), -2.7116e-12f);
    EXPECT_FALSE(GammaOf("1h").has_value());
    EXPECT_FALSE(GammaOf("Like").has_value());
    EXPECT_FALSE(GammaOf("").has_value());
}

// The rows rise in frequency, and each field's row and markers have a colour of their own.
TEST(FieldTable, FrequenciesRiseAndEveryFieldHasItsOwnColour) {
    for (int k = 1; k < kFieldCount; ++k) {
        EXPECT_LT(kFieldTable[k - 1].frequencyMHz, kFieldTable[k].frequencyMHz) << k;
        for (int other = 0; other < k; ++other) {
            EXPECT_FALSE(kFieldTable[k].colour == kFieldTable[other].colour) << k << " " << other;
        }
    }
}

}  // namespace
}  // namespace veldorin
