// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "bench/diffusion_protein.h"
#include "fit/protein_report.h"

namespace veldorin {
namespace {

ProteinFitOptions WithTensor(const std::map<std::string, Vector3>& bonds,
                             std::vector<DiffusionModel> models) {
    ProteinFitOptions options;
    options.residue.system = BackboneAmide();
    options.globalTm = true;
    options.monteCarloSets = 0;
    options.jobs = 2;
    options.diffusion = DiffusionOptions{bonds, std::move(models)};
    return options;
}

double AngleDegrees(const Vector3& a, const Vector3& b) {
    const double dot = std::abs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
    return std::acos(std::min(dot, 1.0)) * 180.0 / 3.141592653589793;
}

// Tumbling of one term at tm is isotropic tumbling: every model's spectral density the same
// either way, the internal motions weighted alike.
TEST(DiffusionFit, OneTermOfTumblingIsTheModelsOwnTm) {
    ModelFreeValues values;
    using enum ModelFreeParameter;
    values[Tm] = 6000.0;
    values[S2f] = 0.9;
    values[S2s] = 0.8;
    values[Te] = values[Tf] = 40.0;
    values[Ts] = 900.0;
    for (int number = 0; number < kModelFreeModelCount; ++number) {
        const ModelFreeModel& model = ModelFreeModelNumber(number);
        const SpectralTerms isotropic = ModelFreeTerms(model, values);
        const SpectralTerms tumbling = ModelFreeTerms(model, values, {{1.0, values[Tm]}});
        for (const double w : {0.0, 500.0, 3000.0, 5000.0})
            EXPECT_NEAR(SpectralDensityOf(tumbling, w), SpectralDensityOf(isotropic, w),
                        1e-9 * SpectralDensityOf(isotropic, 0.0))
                << "m" << number << " at " << w;
    }
}

// Noise-free rates of a protein tumbling as each shape gives its tensor back, and every
// model left to the criterion picks that shape.
TEST(DiffusionFit, ExactDataGiveTheTensorAndItsShapeBack) {
    // D∥/D⊥ the synthetic proteins are made with; an ellipsoid has none.
    const std::pair<DiffusionModel, double> shapes[] = {{DiffusionModel::Prolate, 1.6},
                                                        {DiffusionModel::Oblate, 0.6},
                                                        {DiffusionModel::Ellipsoid, NAN}};
    for (const auto& [shape, ratio] : shapes) {
        const DiffusionTensor truth = diffusion_check::TrueTensor(shape, 3);
        const auto protein = diffusion_check::MakeProtein(truth, 40, false, 3);
        const ProteinFit fit = FitProtein(
            protein.data,
            WithTensor(protein.bonds, {DiffusionModel::Sphere, shape, DiffusionModel::Ellipsoid}));
        const std::string name(DiffusionModelName(shape));
        ASSERT_TRUE(fit.diffusion) << name;
        const DiffusionModelFit& chosen = fit.diffusion->Chosen();
        EXPECT_EQ(chosen.model, shape) << name;
        EXPECT_NEAR(TmPsOf(chosen.tensor) / TmPsOf(truth), 1.0, 1e-6) << name;
        if (std::isfinite(ratio)) {
            EXPECT_NEAR(SpheroidRatioOf(chosen.tensor), ratio, 1e-6) << name;
            EXPECT_GT(chosen.errors.spheroidRatio, 0.0) << name;
        } else {
            EXPECT_TRUE(std::isnan(SpheroidRatioOf(chosen.tensor))) << name;
        }
        const auto fitted = PrincipalAxesOf(chosen.tensor);
        const auto expected = PrincipalAxesOf(truth);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR(fitted[k].d / expected[k].d, 1.0, 1e-6) << name << " D" << k;
            if (std::isfinite(chosen.errors.axesDegrees[k])) {
                EXPECT_LT(AngleDegrees(fitted[k].axis, expected[k].axis), 1e-4) << name;
            }
        }
        // Each residue's rates explained: its true model, or a simpler one the criterion
        // prefers where the internal motion changes them by less than its price.
        for (const ResidueOutcome& residue : fit.residues) {
            ASSERT_TRUE(residue.fit) << name << " " << residue.residue;
            EXPECT_LT(residue.fit->chi2, 2.0) << name << " " << residue.residue;
        }
    }
}

// A residue the structure has no bond for is named and left out; the report gives the tensor
// as other tools read it.
TEST(DiffusionFit, AResidueWithoutABondIsLeftOutAndTheReportGivesTheTensor) {
    const DiffusionTensor truth = diffusion_check::TrueTensor(DiffusionModel::Prolate, 5);
    auto protein = diffusion_check::MakeProtein(truth, 30, false, 5);
    protein.bonds.erase("7");
    const ProteinFitOptions options = WithTensor(protein.bonds, {DiffusionModel::Prolate});
    const ProteinFit fit = FitProtein(protein.data, options);
    ASSERT_TRUE(fit.diffusion);
    EXPECT_EQ(fit.diffusion->withoutBond, std::vector<std::string>{"7"});
    EXPECT_FALSE(fit.residues[6].fit);
    EXPECT_EQ(fit.residues[6].failure, kNoBond);
    const std::string report = ProteinReportJson("15N", "1H", options, {}, fit);
    // Too few residues for a first estimate of the tensor: each residue says so.
    protein.data.residues.resize(3);
    const ProteinFit few = FitProtein(protein.data, options);
    ASSERT_EQ(few.residues.size(), 3u);
    EXPECT_FALSE(few.residues[0].fit);
    EXPECT_NE(few.residues[0].failure.find("prolate: too few residues"), std::string::npos)
        << few.residues[0].failure;
    for (const char* key : {"\"diffusion\": {\"model\": \"prolate\", \"tm_ps\": ", "\"D_per_s\": [",
                            "\"axes\": [[", "\"tm_ps_error\": ", "\"D_per_s_error\": [",
                            "\"D_par_over_D_perp\": 1.", "\"D_par_over_D_perp_error\": ",
                            "\"without_bond\": [\"7\"]", "\"estimate\": {", "\"candidates\": ["}) {
        EXPECT_NE(report.find(key), std::string::npos) << key;
    }
}

}  // namespace
}  // namespace veldorin
