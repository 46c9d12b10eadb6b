// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "fit/residue_fit.h"

namespace veldorin {
namespace {

using enum ModelFreeParameter;
using Status = FitResult::Status;

// A converged fit of the model with the given values, tm 8 ns, nine measurements.
ModelFit FitOf(int model, std::initializer_list<std::pair<ModelFreeParameter, double>> values,
               bool fitTm = false) {
    ModelFit fit;
    fit.model = model;
    fit.status = Status::Converged;
    fit.measurements = 9;
    fit.values[Tm] = 8000.0;
    if (fitTm) fit.free.push_back(Tm);
    const ModelFreeModel& family = ModelFreeModelNumber(model);
    fit.free.insert(fit.free.end(), family.free.begin(), family.free.end());
    fit.flags.assign(fit.free.size(), ParameterFlag::None);
    for (const auto& [parameter, value] : values) fit.values[parameter] = value;
    return fit;
}

TEST(ModelSelection, EliminatesUnphysicalAndUnfinishedFitsWithTheirReason) {
    ModelFit notConverged = FitOf(2, {{S2s, 0.8}, {Te, 50.0}});
    notConverged.status = Status::NotConverged;
    ModelFit noFreedom = FitOf(4, {{S2s, 0.8}, {Te, 50.0}}, true);
    noFreedom.measurements = 4;
    ModelFit weightless = FitOf(5, {{S2f, 0.9}, {S2s, 1.0}, {Ts, 404000.0}});
    weightless.flags = {ParameterFlag::None, ParameterFlag::AtBound, ParameterFlag::Undetermined};
    const struct {
        const char* name;
        ModelFit fit;
        bool fitTm;
        const char* reasonNames;  // a word the reason must hold; empty: the model stays
    } rows[] = {
        {"plain m2", FitOf(2, {{S2s, 0.8}, {Te, 50.0}}), false, ""},
        {"not converged", notConverged, false, "converge"},
        {"no degrees of freedom", noFreedom, true, "as many"},
        {"te of twice tm", FitOf(2, {{S2s, 0.1}, {Te, 16000.0}}), false, "te_ps"},
        {"ts just under twice tm", FitOf(5, {{S2f, 0.9}, {S2s, 0.9}, {Ts, 15999.0}}), false, ""},
        {"ts far above tm", FitOf(5, {{S2f, 0.9}, {S2s, 0.1}, {Ts, 373000.0}}), false, "ts_ps"},
        {"an undetermined ts far above tm", weightless, false, ""},
        {"tf above tm", FitOf(6, {{S2f, 0.9}, {Tf, 20000.0}, {S2s, 0.9}, {Ts, 900.0}}), false,
         "tf_ps"},
        {"local tm of 60 ns", FitOf(1, {{Tm, 60000.0}, {S2s, 0.9}}, true), true, "50 ns"},
        {"a given tm of 60 ns", FitOf(1, {{Tm, 60000.0}, {S2s, 0.9}}), false, ""},
    };
    for (const auto& row : rows) {
        ResidueFitSettings settings;
        settings.fitTm = row.fitTm;
        const std::string reason = EliminationReason(row.fit, settings);
        if (*row.reasonNames == '\0') {
            EXPECT_EQ(reason, "") << row.name;
        } else {
            EXPECT_NE(reason.find(row.reasonNames), std::string::npos)
                << row.name << ": " << reason;
        }
    }
}

TEST(ModelSelection, FlagsAreWrittenWithTheParametersOutputNames) {
    ModelFit fit = FitOf(4, {{S2s, 1.0}, {Te, 90.0}, {Rex, 0.0}});
    EXPECT_EQ(fit.FlagsText(), "");
    fit.flags = {ParameterFlag::AtBound, ParameterFlag::Undetermined, ParameterFlag::AtBound};
    EXPECT_EQ(fit.FlagsText(), "at_bound:S2s;undetermined:te_ps;at_bound:Rex_800");
    fit.measurements = 3;
    EXPECT_EQ(fit.FlagsText(), "at_bound:S2s;undetermined:te_ps;at_bound:Rex_800;no_dof");
}

// m9 is rigid tumbling with exchange: without exchange its rates are m0's, not a
// spectral density of nothing.
TEST(ModelSelection, RigidModelsTumbleWithAnOrderOfOne) {
    ModelFreeValues values;
    values[Tm] = 8000.0;
    const SpectralTerms rigid = ModelFreeTerms(ModelFreeModelNumber(0), values);
    const SpectralTerms exchange = ModelFreeTerms(ModelFreeModelNumber(9), values);
    const RatesAtField r0 = RatesOf(BackboneAmide(), rigid, 600.0);
    const RatesAtField r9 = RatesOf(BackboneAmide(), exchange, 600.0);
    EXPECT_GT(r9.r1, 0.5);
    EXPECT_EQ(r9.r1, r0.r1);
    EXPECT_EQ(r9.enhancement, r0.enhancement);
    EXPECT_EQ(OrderParameter(ModelFreeModelNumber(9), values), 1.0);
}

}  // namespace
}  // namespace veldorin
