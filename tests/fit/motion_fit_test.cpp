// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/motion_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fit/residue_fit.h"

namespace veldorin {
namespace {

using enum MotionParameter;

FitSpinSystem Amide() {
    FitSpinSystem system = BackboneAmide();
    system.rexAt800 = 1.5;
    return system;
}

// Noise-free rows of every quantity at five fields, made by the motion itself.
std::vector<std::optional<Measurement>> RowsOf(const FitSpinSystem& system, const Motion& motion) {
    std::vector<std::optional<Measurement>> rows;
    for (double field : {400.0, 500.0, 600.0, 700.0, 900.0}) {
        for (Quantity quantity : {Quantity::R1, Quantity::R2, Quantity::Noe}) {
            Measurement m{field, quantity, 0.0, 0.0};
            m.value = CalculatedValue(system, SpectralTermsOf(motion), m);
            m.error = 0.02 * std::abs(m.value);
            rows.push_back(m);
        }
    }
    return rows;
}

Motion MotionOf(MotionKind kind, std::initializer_list<std::pair<MotionParameter, double>> values) {
    Motion motion;
    motion.kind = kind;
    for (const auto& [parameter, value] : values) motion[parameter] = value;
    return motion;
}

// From a start a tenth away, every kind's freed parameters come back to 1e-6, Rex too.
TEST(MotionFit, RecoversTheFreedParametersOfEveryKind) {
    const struct {
        Motion truth;
        std::vector<MotionParameter> free;
    } rows[] = {
        {MotionOf(MotionKind::Rigid, {{TauM, 6.0}}), {TauM}},
        {MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.82}, {TauE, 40.0}}),
         {TauM, S2, TauE}},
        {MotionOf(MotionKind::ExtendedModelFree,
                  {{TauM, 6.0}, {S2Fast, 0.9}, {S2Slow, 0.8}, {TauS, 1.2}, {TauF, 0.0}}),
         {S2Fast, S2Slow, TauS}},
        {MotionOf(MotionKind::AxialDiffusionByTime,
                  {{TauM, 6.0}, {DiffusionRatio, 1.8}, {Theta, 30.0}, {S2, 1.0}, {TauE, 0.0}}),
         {TauM, Theta}},
    };
    const FitSpinSystem system = Amide();
    for (const auto& row : rows) {
        Motion start = row.truth;
        for (MotionParameter parameter : row.free) start[parameter] *= 0.9;
        FitSpinSystem off = system;
        off.rexAt800 = 2.0;
        const MotionFitResult fit =
            FitMotion(off, start, {row.free, true, false}, RowsOf(system, row.truth));
        const auto kind = static_cast<int>(row.truth.kind);
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << kind << ": " << fit.reason;
        for (MotionParameter parameter : row.free) {
            EXPECT_NEAR(fit.motion[parameter], row.truth[parameter], 1e-6 * row.truth[parameter])
                << kind << " " << static_cast<int>(parameter);
        }
        EXPECT_NEAR(fit.rex, 1.5, 1e-6) << kind;
        EXPECT_EQ(fit.DegreesOfFreedom(), 15 - static_cast<int>(row.free.size()) - 1);
    }
}

TEST(MotionFit, SaysWhenItCannotFit) {
    const Motion motion = MotionOf(MotionKind::ModelFree, {{TauM, 6.0}, {S2, 0.8}, {TauE, 40.0}});
    const auto rows = RowsOf(Amide(), motion);
    EXPECT_EQ(FitMotion(Amide(), motion, {}, rows).reason, "no parameter is free");
    const std::vector<std::optional<Measurement>> two(rows.begin(), rows.begin() + 2);
    EXPECT_NE(
        FitMotion(Amide(), motion, {{TauM, S2}, false, false}, two).reason.find("cannot tell"),
        std::string::npos);
}

}  // namespace
}  // namespace veldorin
