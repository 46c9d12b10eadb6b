// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The parts of each rate over random models: added up as the table adds them they give
// its totals bit for bit, and their shares in 1/s add up to the totals. The evaluation
// across many fields at once gives the bits of the evaluation at each field, and says
// no exactly when one of them fails.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/input_preparation.h"
#include "engine/relaxation.h"
#include "engine/relaxation_across_fields.h"
#include "graph/graph_scale.h"
#include "tests/robustness/random_models.h"

namespace veldorin {
namespace {

bool SameBits(const FieldResult& a, const FieldResult& b) {
    return std::memcmp(&a, &b, sizeof(FieldResult)) == 0;
}

// A share sum and the total it should give, with what single-precision rounding allows:
// one rounding of each addend's share and of each partial sum, on the scale of the parts.
struct ShareSum {
    double sum = 0.0;
    double scale = 0.0;
    int roundings = 1;

    void Add(double share) {
        sum += share;
        scale += std::abs(share);
        roundings += 2;
    }
    bool Gives(float total) const {
        const double epsilon = std::numeric_limits<float>::epsilon();
        return std::abs(sum - total) <= roundings * epsilon * (scale + std::abs(total));
    }
};

TEST(RandomModels, ContributionsAddUpToTheTotalsOfEveryField) {
    test::RandomModels random(20261209);
    InputPreparation preparation;
    int compared = 0;
    for (int run = 0; run < 5000; ++run) {
        const PreparedRun prepared = preparation.Prepare(random.NextModel());
        if (prepared.stage != PreparedRun::Stage::Ready) continue;
        for (const Field& field : kFieldTable) {
            const float wH = ProtonOmega(field.frequencyMHz);
            FieldContributions parts;
            FieldResult total;
            try {
                parts = ContributionsAtField(prepared.values, wH);
                total = RelaxationAtField(prepared.values, wH);
            } catch (const CalculationError&) {
                continue;
            }
            ASSERT_TRUE(SameBits(TotalOf(parts), total)) << "run " << run;

            ShareSum r1;
            ShareSum r2;
            ShareSum crr;
            for (const NeighbourContribution& part : parts.neighbours) {
                if (!part.present) continue;
                r1.Add(part.r1 / parts.centralShare);
                r2.Add(part.r2 / parts.centralShare);
                crr.Add(part.crr / parts.centralShare);
            }
            r1.Add(parts.csaR1);
            r2.Add(parts.csaR2);
            r2.Add(parts.rexR2);
            EXPECT_TRUE(r1.Gives(total.r1)) << "run " << run << " R1 " << r1.sum << " " << total.r1;
            EXPECT_TRUE(r2.Gives(total.r2)) << "run " << run << " R2 " << r2.sum << " " << total.r2;
            EXPECT_TRUE(crr.Gives(total.crr)) << "run " << run << " CRR " << crr.sum;
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000);
}

// The curve grid, the table's fields, and frequencies whose Larmor frequencies or term
// scales leave single precision or are not numbers.
std::vector<std::vector<float>> FieldSets() {
    std::vector<float> grid;
    for (const GridPoint& point : FrequencyGrid(3855.0f)) grid.push_back(point.value);
    std::vector<float> table;
    for (const Field& field : kFieldTable) table.push_back(ProtonOmega(field.frequencyMHz));
    const std::vector<float> extreme = {0.0f,
                                        -9.0f,
                                        1e10f,
                                        1e12f,
                                        1e20f,
                                        1e38f,
                                        -1e10f,
                                        std::numeric_limits<float>::infinity(),
                                        std::numeric_limits<float>::quiet_NaN()};
    std::vector<std::vector<float>> sets = {grid, table, {grid.front()}};
    for (const float w : extreme) sets.push_back({grid[0], grid[1], grid[2], w, grid[3]});
    return sets;
}

TEST(RandomModels, RelaxationAcrossFieldsIsRelaxationAtEachField) {
    test::RandomModels random(20261208);
    InputPreparation preparation;
    const std::vector<std::vector<float>> fieldSets = FieldSets();
    int swept = 0;
    int refused = 0;
    for (int run = 0; run < 4000; ++run) {
        ModelTexts model = run % 2 ? random.NextModel() : random.NextPlausibleModel();
        if (run % 4 >= 2) model.pairFrequencies = PairFrequencySigns::Signed;
        const PreparedRun prepared = preparation.Prepare(model);
        if (prepared.stage != PreparedRun::Stage::Ready) continue;
        for (const std::vector<float>& fields : fieldSets) {
            std::vector<FieldResult> results(fields.size());
            const bool allSwept = RelaxationAcrossFields(prepared.values, fields, results);
            bool anyFails = false;
            for (std::size_t k = 0; k < fields.size(); ++k) {
                try {
                    const FieldResult one = RelaxationAtField(prepared.values, fields[k]);
                    if (allSwept) {
                        ASSERT_TRUE(SameBits(results[k], one)) << "run " << run;
                    }
                } catch (const CalculationError&) {
                    anyFails = true;
                }
            }
            ASSERT_EQ(allSwept, !anyFails) << "run " << run << " at " << fields.size();
            ++(allSwept ? swept : refused);
        }
    }
    EXPECT_GT(swept, 2000);
    EXPECT_GT(refused, 2000);
}

}  // namespace
}  // namespace veldorin
