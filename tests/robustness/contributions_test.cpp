// The parts of each rate over random models: added up as the table adds them they give
// its totals bit for bit, and their shares in 1/s add up to the totals.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/calculation.h"
#include "engine/relaxation.h"
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
    Calculation calculation;
    int compared = 0;
    for (int run = 0; run < 5000; ++run) {
        const PreparedRun prepared = calculation.Prepare(random.NextModel());
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

}  // namespace
}  // namespace veldorin
