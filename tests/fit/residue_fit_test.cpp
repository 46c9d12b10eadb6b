// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/residue_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace veldorin {
namespace {

using enum ModelFreeParameter;

ResidueFitSettings Amide(bool fitTm) {
    ResidueFitSettings settings;
    settings.system = BackboneAmide();
    settings.fitTm = fitTm;
    settings.tm = 5000.0;
    return settings;
}

// R1, R2 and the NOE ratio of the model at the fields, with errors of 1 %, and noise of
// that size when a generator is given.
std::vector<Measurement> DataOf(const ResidueFitSettings& settings, int model,
                                const ModelFreeValues& truth, std::vector<double> fields,
                                std::mt19937_64* noise = nullptr) {
    FitSpinSystem system = settings.system;
    system.rexAt800 = truth[Rex];
    const SpectralTerms terms = SpectralTermsOf(ModelFreeModelNumber(model), truth);
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

// Noise-free data are met to a relative 1e-6 where the data tell the parameters apart.
TEST(ResidueFit, RecoversTheParametersOfEveryModelFromNoiseFreeData) {
    const std::vector<double> three = {500.0, 600.0, 800.0};
    const std::vector<double> five = {400.0, 500.0, 600.0, 700.0, 900.0};
    const struct {
        int model;
        ModelFreeValues truth;
        std::vector<double> fields;
    } rows[] = {
        {0, Truth({}), three},
        {1, Truth({{S2s, 0.83}}), three},
        {2, Truth({{S2s, 0.83}, {Te, 60.0}}), three},
        {3, Truth({{S2s, 0.83}, {Rex, 3.2}}), three},
        {4, Truth({{S2s, 0.83}, {Te, 60.0}, {Rex, 3.2}}), three},
        {5, Truth({{S2f, 0.88}, {S2s, 0.8}, {Ts, 1500.0}}), five},
        {6, Truth({{S2f, 0.88}, {Tf, 30.0}, {S2s, 0.8}, {Ts, 1500.0}}), five},
        {7, Truth({{S2f, 0.88}, {S2s, 0.8}, {Ts, 1500.0}, {Rex, 2.0}}), five},
        {9, Truth({{S2s, 0.0}, {Rex, 4.0}}), three},
    };
    for (const auto& row : rows) {
        const ResidueFitSettings settings = Amide(row.model != 9);
        const std::vector<Measurement> data = DataOf(settings, row.model, row.truth, row.fields);
        const ModelFit fit = FitModel(data, settings, ModelFreeModelNumber(row.model));
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << "m" << row.model << fit.reason;
        for (ModelFreeParameter parameter : fit.free) {
            EXPECT_NEAR(fit.values[parameter], row.truth[parameter],
                        1e-6 * std::abs(row.truth[parameter]))
                << "m" << row.model << " " << ParameterName(parameter);
        }
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
