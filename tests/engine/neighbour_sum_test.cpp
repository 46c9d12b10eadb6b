// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/constants.h"
#include "engine/input_preparation.h"
#include "engine/relaxation.h"

namespace veldorin {
namespace {

WorkingValues ValuesWith(const std::vector<std::pair<std::string, std::string>>& neighbours) {
    ModelTexts model = DefaultModel();
    for (std::size_t j = 0; j < kNeighbourCount; ++j) {
        SpinSlot& slot = model.slots[j];
        slot.nucleus = j < neighbours.size() ? neighbours[j].first : std::string();
        slot.distance = j < neighbours.size() ? neighbours[j].second : std::string("1");
    }
    model.slots[kCentralSlot].nucleus = "13C";
    model.csa = "0";
    InputPreparation preparation;
    return preparation.Prepare(model).values;
}

// Each neighbour contributes its own J values, whatever other neighbours share.
TEST(RelaxationAtField, NeighboursOfDifferentNucleiAddUp) {
    const std::vector<std::pair<std::string, std::string>> each = {
        {"1H", "1.09"}, {"15N", "1.4"}, {"Like", "1.5"}, {"13C", "1.6"}, {"1H", "2"}};
    const WorkingValues all = ValuesWith(each);
    for (const Field& field : kFieldTable) {
        const float wH = ProtonOmega(field.frequencyMHz);
        const FieldResult together = RelaxationAtField(all, wH);
        double r1 = 0.0, r2 = 0.0, crr = 0.0;
        for (const auto& neighbour : each) {
            const FieldResult alone = RelaxationAtField(ValuesWith({neighbour}), wH);
            r1 += alone.r1;
            r2 += alone.r2;
            crr += alone.crr;
        }
        EXPECT_NEAR(together.r1, r1, 1e-5 * r1) << field.frequencyMHz;
        EXPECT_NEAR(together.r2, r2, 1e-5 * r2) << field.frequencyMHz;
        EXPECT_NEAR(together.crr, crr, 1e-5 * std::abs(crr)) << field.frequencyMHz;
    }
}

}  // namespace
}  // namespace veldorin
