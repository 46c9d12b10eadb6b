// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/numeric_text.h"

namespace veldorin {
namespace {

using P = MotionParameter;

double LorentzianSum(const MotionLorentzians& lorentzians, double w) {
    double j = 0.0;
    for (int i = 0; i < kLorentzianCount; ++i) {
        const double t = lorentzians.timesPs[i];
        j += lorentzians.weights[i] * t / (1.0 + std::pow(t * w * 1e-6, 2));
    }
    return j;
}

std::vector<double> Frequencies() {
    std::vector<double> w = {0.0};
    for (int k = 0; k <= 60; ++k) w.push_back(std::pow(10.0, -1.0 + k / 10.0));  // to 1e5
    return w;
}

// Random parameters of every kind within their allowed ranges, edges included now and then.
Motion RandomMotion(MotionKind kind, std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logUniform = [&](double low, double high) {
        return low * std::pow(high / low, unit(random));
    };
    const auto maybe = [&](double edge, double value) { return unit(random) < 0.1 ? edge : value; };
    Motion motion;
    motion.kind = kind;
    motion[P::TauM] = logUniform(0.1, 100.0);
    motion[P::S2] = maybe(1.0, unit(random));
    motion[P::TauE] = maybe(0.0, logUniform(1.0, 2000.0));
    motion[P::S2Fast] = maybe(1.0, unit(random));
    motion[P::S2Slow] = maybe(0.0, unit(random));
    motion[P::TauS] = logUniform(0.1, 10.0);
    motion[P::TauF] = maybe(0.0, logUniform(1.0, 100.0));
    motion[P::DParallel] = logUniform(0.1, 100.0);
    motion[P::DPerpendicular] = logUniform(0.1, 100.0);
    motion[P::DiffusionRatio] = logUniform(0.2, 5.0);
    motion[P::Theta] = maybe(90.0, 180.0 * unit(random));
    return motion;
}

TEST(Motion, LorentziansGiveTheModelsSpectralDensity) {
    std::mt19937 random(20261208);
    for (int kind = 0; kind < kMotionKindCount; ++kind) {
        for (int set = 0; set < 300; ++set) {
            const Motion motion = RandomMotion(static_cast<MotionKind>(kind), random);
            ASSERT_TRUE(Validate(motion).empty());
            const MotionLorentzians lorentzians = ToLorentzians(motion);
            double sum = 0.0;
            for (const double c : lorentzians.weights) sum += c;
            ASSERT_NEAR(sum, 1.0, 1e-12) << NameOf(motion.kind);
            for (const double w : Frequencies()) {
                const double expected = MotionSpectralDensity(motion, w);
                ASSERT_NEAR(LorentzianSum(lorentzians, w), expected, expected * 1e-12)
                    << NameOf(motion.kind) << " set " << set << " at " << w;
            }
        }
    }
}

Motion Rigid(double tauM) {
    Motion motion;
    motion[P::TauM] = tauM;
    return motion;
}

Motion Of(MotionKind kind, std::initializer_list<std::pair<MotionParameter, double>> values) {
    Motion motion;
    motion.kind = kind;
    for (const auto& [parameter, value] : values) motion[parameter] = value;
    return motion;
}

struct Limit {
    const char* name;
    Motion motion;
    Motion same;  // the simpler motion it reduces to
};

TEST(Motion, LimitsReduceToSimplerMotions) {
    const std::vector<Limit> limits = {
        {"order 1", Of(MotionKind::ModelFree, {{P::S2, 1}, {P::TauM, 4}, {P::TauE, 50}}), Rigid(4)},
        {"extended, both orders 1",
         Of(MotionKind::ExtendedModelFree,
            {{P::S2Fast, 1}, {P::S2Slow, 1}, {P::TauM, 4}, {P::TauS, 2}, {P::TauF, 0}}),
         Rigid(4)},
        // 1/(6 D_perp) with D_perp = 5e7 1/s is 10/3 ns.
        {"theta 0",
         Of(MotionKind::AxialDiffusion,
            {{P::DParallel, 9}, {P::DPerpendicular, 5}, {P::Theta, 0}, {P::S2, 1}}),
         Rigid(10.0 / 3.0)},
        {"isotropic",
         Of(MotionKind::AxialDiffusion, {{P::DParallel, 5},
                                         {P::DPerpendicular, 5},
                                         {P::Theta, 37},
                                         {P::S2, 0.7},
                                         {P::TauE, 30}}),
         Of(MotionKind::ModelFree, {{P::S2, 0.7}, {P::TauM, 10.0 / 3.0}, {P::TauE, 30}})},
        {"by time, as constants",
         Of(MotionKind::AxialDiffusionByTime,
            {{P::TauM, 6}, {P::DiffusionRatio, 1.8}, {P::Theta, 64}, {P::S2, 0.8}, {P::TauE, 20}}),
         Of(MotionKind::AxialDiffusion, {{P::DParallel, DiffusionOf(6, 1.8).parallel},
                                         {P::DPerpendicular, DiffusionOf(6, 1.8).perpendicular},
                                         {P::Theta, 64},
                                         {P::S2, 0.8},
                                         {P::TauE, 20}})},
    };
    for (const Limit& limit : limits) {
        for (const double w : Frequencies()) {
            const double expected = LorentzianSum(ToLorentzians(limit.same), w);
            EXPECT_NEAR(LorentzianSum(ToLorentzians(limit.motion), w), expected, expected * 1e-12)
                << limit.name << " at " << w;
        }
    }
    EXPECT_NEAR(TauMNsOf(DiffusionOf(6, 1.8)), 6.0, 1e-14);
}

TEST(Motion, TextsReadBackAsTheSameSingles) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> bits(0, 0x7F7FFFFF);  // positive, finite
    for (int k = 0; k < 100000; ++k) {
        const std::uint32_t b = bits(random);
        float value;
        std::memcpy(&value, &b, sizeof value);
        ASSERT_EQ(ReadSingle(FormatShortestSingle(value)), value) << FormatShortestSingle(value);
    }
    // Values within seven digits keep the table's texts; others need more than it writes.
    for (const float value : {0.25f, 5000.0f, 0.15f, 1e7f, 4.5e-6f}) {
        EXPECT_EQ(FormatShortestSingle(value), FormatSingle(value));
    }
    EXPECT_NE(ReadSingle(FormatSingle(1.0000001f)), 1.0000001f);
    EXPECT_EQ(TextsOf(ToLorentzians(Rigid(5))).weights[3], "0");
}

struct BadValue {
    const char* name;
    MotionKind kind;
    MotionParameter parameter;
    const char* text;
};

TEST(Motion, ReadingNamesTheParameterThatCannotBe) {
    const std::vector<BadValue> cases = {
        {"order above 1", MotionKind::ModelFree, P::S2, "1.2"},
        {"negative order", MotionKind::ExtendedModelFree, P::S2Slow, "-0.1"},
        {"zero tau_m", MotionKind::Rigid, P::TauM, "0"},
        {"negative internal time", MotionKind::ModelFree, P::TauE, "-5"},
        {"angle beyond 180", MotionKind::AxialDiffusion, P::Theta, "200"},
        {"zero ratio", MotionKind::AxialDiffusionByTime, P::DiffusionRatio, "0"},
        {"not a number", MotionKind::AxialDiffusion, P::DPerpendicular, "1,5"},
        {"empty", MotionKind::ExtendedModelFree, P::TauF, ""},
        {"a time beyond 1 s", MotionKind::Rigid, P::TauM, "2e9"},
        {"model-free tau_m beyond 1 s", MotionKind::ModelFree, P::TauM, "1e30"},
        {"extended tau_m beyond 1 s", MotionKind::ExtendedModelFree, P::TauM, "1e30"},
        {"slow perpendicular diffusion", MotionKind::AxialDiffusion, P::DPerpendicular, "1e-9"},
        {"axial tau_m beyond 1 s", MotionKind::AxialDiffusionByTime, P::TauM, "1e30"},
        {"a ratio that stretches tau_m", MotionKind::AxialDiffusionByTime, P::DiffusionRatio,
         "1e30"},
    };
    for (const BadValue& bad : cases) {
        MotionTexts texts;
        texts.kind = bad.kind;
        texts.texts = {"5", "0.8", "50", "0.9", "0.7", "1", "10", "3", "3", "1.5", "30"};
        texts[bad.parameter] = bad.text;
        const MotionReading reading = ReadMotion(texts);
        EXPECT_FALSE(reading.motion) << bad.name;
        ASSERT_EQ(reading.problems.size(), 1u) << bad.name;
        EXPECT_EQ(reading.problems[0].parameter, bad.parameter) << bad.name;
    }
}

}  // namespace
}  // namespace veldorin
