// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/residue_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "engine/constants.h"

namespace veldorin {
namespace {

using enum ModelFreeParameter;

ResidueFitSettings Amide(bool fitTm) {
    ResidueFitSettings settings;
    settings.system = BackboneAmide();
    settings.fitTm = fitTm;
    settings.tmPs = 5000.0;
    return settings;
}

// R1, R2 and the NOE ratio of the model at the fields, with errors of 1 %, and noise of
// that size when a generator is given.
std::vector<Measurement> DataOf(const ResidueFitSettings& settings, int model,
                                const ModelFreeValues& truth, std::vector<double> fields,
                                std::mt19937_64* noise = nullptr) {
    FitSpinSystem system = settings.system;
    system.rexAt800 = truth[Rex];
    const SpectralTerms terms = ModelFreeTerms(ModelFreeModelNumber(model), truth);
    std::normal_distribution<double> normal;
    std::vector<Measurement> data;
    for (double field : fields) {
        for (Quantity quantity : {Quantity::R1, Quantity::R2, Quantity::Noe}) {
            Measurement m{field, quantity, 0.0, 0.0};
            m.value = CalculatedValue(system, terms, m);
            m.error = 0.01 * std::abs(m.value) + 0.005;
            if (noise != nullptr) m.value += normal(*noise) * m.error;
            data.push_back(m);
        }
    }
    return data;
}

ModelFreeValues Truth(std::initializer_list<std::pair<ModelFreeParameter, double>> values) {
    ModelFreeValues truth;
    truth[Tm] = 6300.0;
    for (const auto& [parameter, value] : values) truth[parameter] = value;
    return truth;
}

// A methine carbon: 13C with its proton at 1.09 Å and a CSA of 25 ppm.
FitSpinSystem Methine() {
    FitSpinSystem system;
    system.centralGamma = *GammaOf("13C");
    system.neighbours = {{*GammaOf("1H"), 1.09, 1.0, SlotKind::Unlike}};
    system.csaPpm = 25.0;
    return system;
}

// The extended models' two internal motions with their labels swapped: the same spectral
// density, so an equally good answer when tf is free (m6, m8).
ModelFreeValues Swapped(const ModelFreeValues& truth) {
    ModelFreeValues swapped = truth;
    const double s2 = truth[S2f] * truth[S2s];
    // The slow motion's weight S2f - S2 becomes the fast one's, 1 - S2f.
    swapped[S2f] = 1.0 - (truth[S2f] - s2);
    swapped[S2s] = s2 / swapped[S2f];
    swapped[Tf] = truth[Ts];
    swapped[Ts] = truth[Tf];
    return swapped;
}

bool Recovered(const ModelFit& fit, const ModelFreeValues& truth, std::string& why) {
    why.clear();
    for (ModelFreeParameter parameter : fit.free) {
        if (std::abs(fit.values[parameter] - truth[parameter]) > 1e-6 * std::abs(truth[parameter]))
            why += std::string(ParameterName(parameter)) + " = " +
                   std::to_string(fit.values[parameter]) + " ";
    }
    return why.empty();
}

// Noise-free data from every model, starting where users start (the grid): the truth to a
// relative 1e-6 and chi2 near 0, at and away from the bounds.
TEST(ResidueFit, RecoversEveryModelFromNoiseFreeData) {
    const std::vector<double> three = {500.0, 600.0, 800.0};
    const std::vector<double> five = {400.0, 500.0, 600.0, 700.0, 900.0};
    const struct {
        const char* name;
        int model;
        bool localTm;
        bool carbon;
        ModelFreeValues truth;
        std::vector<double> fields;
        const char* flags = "";
    } rows[] = {
        {"m0 local tm", 0, true, false, Truth({}), three},
        {"m1 S2 near 1", 1, true, false, Truth({{S2s, 0.98}}), three},
        {"m2 slow te", 2, true, false, Truth({{S2s, 0.2}, {Te, 2000.0}}), three},
        {"m2 carbon", 2, true, true, Truth({{S2s, 0.85}, {Te, 40.0}}), three},
        {"m3 Rex 1, tm 8 ns", 3, false, false, Truth({{Tm, 8000.0}, {S2s, 0.8}, {Rex, 1.0}}),
         three},
        {"m3 Rex 0 on its bound", 3, true, false, Truth({{S2s, 0.8}, {Rex, 0.0}}), three,
         "at_bound:Rex_800"},
        {"m4 Rex 20", 4, true, false, Truth({{S2s, 0.9}, {Te, 10.0}, {Rex, 20.0}}), three},
        {"m4 carbon", 4, false, true, Truth({{S2s, 0.7}, {Te, 300.0}, {Rex, 2.0}}), three},
        {"m5 ts near tm", 5, false, false, Truth({{S2f, 0.9}, {S2s, 0.8}, {Ts, 5000.0}}), five},
        {"m5 fast ts", 5, false, false, Truth({{S2f, 0.95}, {S2s, 0.6}, {Ts, 20.0}}), five},
        {"m6", 6, false, false, Truth({{S2f, 0.7}, {Tf, 50.0}, {S2s, 0.8}, {Ts, 900.0}}), five},
        {"m7", 7, false, false, Truth({{S2f, 0.85}, {S2s, 0.75}, {Ts, 800.0}, {Rex, 3.0}}), five},
        {"m8", 8, false, false,
         Truth({{S2f, 0.8}, {Tf, 40.0}, {S2s, 0.7}, {Ts, 1500.0}, {Rex, 2.0}}), five},
        {"m9", 9, false, false, Truth({{Rex, 6.0}}), three},
    };
    for (const auto& row : rows) {
        ResidueFitSettings settings = Amide(row.localTm);
        if (row.carbon) settings.system = Methine();
        settings.tmPs = row.truth[Tm];
        const std::vector<Measurement> data = DataOf(settings, row.model, row.truth, row.fields);
        if (row.localTm) settings.tmPs = 5000.0;
        const ModelFit fit = FitModel(data, settings, ModelFreeModelNumber(row.model));
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << row.name << ": " << fit.reason;
        EXPECT_LE(fit.chi2, 1e-8) << row.name;
        std::string why;
        std::string swappedWhy;
        EXPECT_TRUE(Recovered(fit, row.truth, why) ||
                    (fit.values[Tf] > 0.0 && Recovered(fit, Swapped(row.truth), swappedWhy)))
            << row.name << ": " << why;
        EXPECT_EQ(fit.FlagsText(), row.flags) << row.name;
    }
}

TEST(ResidueFit, TooFewMeasurementsIsAClearFailure) {
    const ResidueFitSettings settings = Amide(true);
    std::vector<Measurement> data = DataOf(settings, 4, Truth({{S2s, 0.8}}), {600.0});
    const ModelFit fit = FitModel(data, settings, ModelFreeModelNumber(4));
    EXPECT_EQ(fit.status, FitResult::Status::Failed);
    EXPECT_NE(fit.reason.find("cannot tell"), std::string::npos) << fit.reason;
}

// Model selection picks the model the data were made with when the noise is small.
TEST(ResidueFit, SelectionPrefersTheModelOfTheData) {
    const ResidueFitSettings settings = Amide(false);
    std::mt19937_64 noise(3);
    const ModelFreeValues truth = Truth({{Tm, 5000.0}, {S2s, 0.8}, {Rex, 6.0}});
    const auto data = DataOf(settings, 3, truth, {500.0, 600.0, 800.0}, &noise);
    const ModelSelection selection = SelectModel(data, settings, Criterion::Aic);
    EXPECT_EQ(selection.chosen, 3);
}

// With noise, the Monte Carlo 95 % intervals hold the true values about 95 % of the time.
TEST(ResidueFit, MonteCarloIntervalsCoverTheTruthAtTheirLevel) {
    const ResidueFitSettings settings = Amide(false);
    const ModelFreeValues truth = Truth({{Tm, 5000.0}, {S2s, 0.85}, {Te, 50.0}});
    std::mt19937_64 noise(2026);
    constexpr int kResidues = 400;
    int covered = 0;
    for (int residue = 0; residue < kResidues; ++residue) {
        const auto data = DataOf(settings, 2, truth, {500.0, 600.0, 800.0}, &noise);
        const ModelFit fit = FitModel(data, settings, ModelFreeModelNumber(2));
        ASSERT_EQ(fit.status, FitResult::Status::Converged);
        const MonteCarloErrors errors = MonteCarlo(data, settings, fit, 150, residue);
        covered += errors.s2.low <= truth[S2s] && truth[S2s] <= errors.s2.high;
    }
    EXPECT_GE(covered, kResidues * 93 / 100) << covered;
    EXPECT_LE(covered, kResidues * 97 / 100) << covered;
}

}  // namespace
}  // namespace veldorin
