// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/reduced_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"

namespace veldorin {
namespace {

// The rates the fit's own model gives for rigid tumbling (m0) of the backbone amide.
FieldRates RigidRates(double tmPs, double protonMHz) {
    const RatesAtField rates = RatesOf(BackboneAmide(), {{1.0, tmPs}}, protonMHz);
    return {{rates.r1, 0.02}, {rates.r2, 0.1}, {1.0 + rates.enhancement, 0.03}};
}

// (2/5) tm / (1 + (w tm)^2) in ns/rad, w in rad/s.
double Lorentzian(double tmPs, double w) {
    const double tm = tmPs * 1e-12;
    return 0.4 * tm / (1.0 + w * w * tm * tm) * 1e9;
}

// The mapping takes J(wH - wN), J(wH) and J(wH + wN) as one J(0.87 wH), as if the density
// fell as 1/w^2 there, which a Lorentzian does only for wH tm >> 1. The error is then a part
// of J(0.87 wH) itself but only of the small high-frequency terms beside J(0) and J(wN), so
// those two are compared tightly (more loosely at a low field and short tm) and J(0.87 wH)
// to a percent.
TEST(SpectralDensityMap, GivesTheLorentzianOfRigidTumbling) {
    struct Row {
        const char* name;
        double tmPs;
        double protonMHz;
        double tolerance;  // of J(0) and J(wN), relative
    };
    for (const Row& row : {Row{"small_protein_at_500", 4000.0, 500.0, 1e-4},
                           Row{"default_tm_at_600", 5000.0, 600.0, 1e-4},
                           Row{"large_protein_at_800", 15000.0, 800.0, 1e-4},
                           Row{"fast_tumbling_at_250", 2000.0, 250.0, 1e-2}}) {
        const MappedDensities j = MapDensities(RigidRates(row.tmPs, row.protonMHz),
                                               MappingConstantsOf(BackboneAmide(), row.protonMHz));
        const double wH = 2.0 * kPi * row.protonMHz * 1e6;
        const double wN = wH * *GammaOf("15N") / *GammaOf("1H");
        EXPECT_NEAR(j.j0.value / Lorentzian(row.tmPs, 0.0), 1.0, row.tolerance) << row.name;
        EXPECT_NEAR(j.jN.value / Lorentzian(row.tmPs, wN), 1.0, row.tolerance) << row.name;
        EXPECT_NEAR(j.jH.value / Lorentzian(row.tmPs, 0.87 * wH), 1.0, 1e-2) << row.name;
    }
}

// Each error is the density's derivative by the one rate that has an error, times that error.
TEST(SpectralDensityMap, PropagatesEachRatesErrorByTheDerivative) {
    const MappingConstants constants = MappingConstantsOf(BackboneAmide(), 600.0);
    const auto map = [&](Uncertain FieldRates::*rate, double shift, double error) {
        FieldRates rates{{2.0697, 0.0}, {6.5679, 0.0}, {0.6579, 0.0}};
        (rates.*rate).value += shift;
        (rates.*rate).error = error;
        return MapDensities(rates, constants);
    };
    const double step = 1e-5;
    for (Uncertain FieldRates::*rate : {&FieldRates::r1, &FieldRates::r2, &FieldRates::noe}) {
        const MappedDensities errors = map(rate, 0.0, 0.05);
        const MappedDensities high = map(rate, step, 0.0);
        const MappedDensities low = map(rate, -step, 0.0);
        for (Uncertain MappedDensities::*j :
             {&MappedDensities::j0, &MappedDensities::jN, &MappedDensities::jH}) {
            const double derivative = ((high.*j).value - (low.*j).value) / (2.0 * step);
            EXPECT_NEAR((errors.*j).error, std::abs(derivative) * 0.05,
                        1e-6 * (errors.*j).value + 1e-12);
        }
    }
}

TEST(SpectralDensityMap, J0AgreesWhenEveryPairIsWithinTwiceItsCombinedError) {
    const auto field = [](double j0, double error) {
        return MappedField{600.0, {{j0, error}, {}, {}}};
    };
    struct Row {
        const char* name;
        std::vector<MappedField> fields;
        std::optional<bool> agrees;
    };
    for (const Row& row :
         {Row{"one_field", {field(2.0, 0.1)}, std::nullopt},
          Row{"at_twice_the_error", {field(2.0, 0.375), field(3.25, 0.5)}, true},
          Row{"ends_apart", {field(2.0, 0.1), field(2.25, 0.1), field(2.5, 0.1)}, false}}) {
        EXPECT_EQ(J0Agrees(row.fields), row.agrees) << row.name;
    }
}

}  // namespace
}  // namespace veldorin
