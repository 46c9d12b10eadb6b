// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The diffusion tensor against known answers: synthetic proteins of each diffusion model,
// exact and with 2 % noise, fitted with every model and the choice left to the criterion.
// Run by hand: veldorin_diffusion_check [proteins] [residues] [mc] [aic|aicc|bic]; or
// veldorin_diffusion_check --write DIR [sphere|prolate|oblate|ellipsoid] to write one
// protein of 135 residues as DIR/data.csv and DIR/structure.pdb (its N and H atoms).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "bench/diffusion_protein.h"
#include "fit/diffusion_fit.h"

using namespace veldorin;

namespace {

double AngleDegrees(const Vector3& a, const Vector3& b) {
    const double dot = std::abs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
    return std::acos(std::min(dot, 1.0)) * 180.0 / std::numbers::pi;
}

// How far the fitted tensor lies from the truth, in units of its errors: tm, the principal
// values and the axes not free to turn, each.
std::vector<double> Deviations(const DiffusionModelFit& fit, const DiffusionTensor& truth) {
    const auto fitted = PrincipalAxesOf(fit.tensor);
    const auto expected = PrincipalAxesOf(truth);
    std::vector<double> deviations{std::abs(TmPsOf(fit.tensor) - TmPsOf(truth)) / fit.errors.tmPs};
    for (std::size_t k = 0; k < 3; ++k) {
        deviations.push_back(std::abs(fitted[k].d - expected[k].d) / fit.errors.d[k]);
        // An axis of two equal true values may lie anywhere in their plane.
        const bool free = (k > 0 && expected[k].d == expected[k - 1].d) ||
                          (k < 2 && expected[k].d == expected[k + 1].d);
        if (!free && std::isfinite(fit.errors.axesDegrees[k])) {
            deviations.push_back(AngleDegrees(fitted[k].axis, expected[k].axis) /
                                 fit.errors.axesDegrees[k]);
        }
    }
    return deviations;
}

int WriteProtein(const std::string& folder, const char* modelName) {
    const auto model = DiffusionModelNamed(modelName ? modelName : "prolate");
    if (!model) return 2;
    const auto protein =
        diffusion_check::MakeProtein(diffusion_check::TrueTensor(*model, 1), 135, true, 1);
    std::ofstream(folder + "/data.csv") << LongFormCsv(protein.data);
    std::ofstream(folder + "/structure.pdb") << diffusion_check::PdbOf(protein);
    const auto axes = PrincipalAxesOf(protein.tensor);
    std::printf("true tensor: tm %.1f ps, D %.6g %.6g %.6g /s\n", TmPsOf(protein.tensor), axes[0].d,
                axes[1].d, axes[2].d);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--write")
        return WriteProtein(argv[2], argc > 3 ? argv[3] : nullptr);
    const int proteins = argc > 1 ? std::atoi(argv[1]) : 20;
    const int residues = argc > 2 ? std::atoi(argv[2]) : 60;
    const int sets = argc > 3 ? std::atoi(argv[3]) : 0;
    const std::string criterion = argc > 4 ? argv[4] : "aic";
    ProteinFitOptions options;
    options.residue.system = BackboneAmide();
    options.globalTm = true;
    options.monteCarloSets = sets;
    options.criterion = criterion == "bic"    ? Criterion::Bic
                        : criterion == "aicc" ? Criterion::Aicc
                                              : Criterion::Aic;
    options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int m = 0; m < kDiffusionModelCount; ++m) {
        const auto model = static_cast<DiffusionModel>(m);
        int chosenRight = 0;
        int within2 = 0;
        // Each quantity's deviations: about 68 % within one error and 95 % within two when
        // the errors are right.
        int quantities = 0;
        int quantitiesWithin1 = 0;
        int quantitiesWithin2 = 0;
        double exactWorst = 0.0;
        for (int p = 0; p < proteins; ++p) {
            const DiffusionTensor truth = diffusion_check::TrueTensor(model, p + 1);
            for (const bool noise : {false, true}) {
                if (!noise && p > 0) continue;
                const auto protein = diffusion_check::MakeProtein(truth, residues, noise, p + 1);
                options.diffusion =
                    DiffusionOptions{protein.bonds,
                                     {DiffusionModel::Sphere, DiffusionModel::Prolate,
                                      DiffusionModel::Oblate, DiffusionModel::Ellipsoid}};
                const ProteinFit fit = FitProtein(protein.data, options);
                const DiffusionModelFit& chosen = fit.diffusion->Chosen();
                const auto fitted = PrincipalAxesOf(chosen.tensor);
                const auto expected = PrincipalAxesOf(truth);
                double relative = std::abs(TmPsOf(chosen.tensor) / TmPsOf(truth) - 1.0);
                for (std::size_t k = 0; k < 3; ++k)
                    relative = std::max(relative, std::abs(fitted[k].d / expected[k].d - 1.0));
                const std::vector<double> deviations = Deviations(chosen, truth);
                const double deviation = std::ranges::max(deviations);
                std::printf(
                    "%-9s protein %2d %-5s chose %-9s tm %8.1f (true %8.1f) D %.4g %.4g "
                    "%.4g worst relative %.2g, %.2f errors\n",
                    std::string(DiffusionModelName(model)).c_str(), p + 1,
                    noise ? "noisy" : "exact",
                    std::string(DiffusionModelName(chosen.model)).c_str(), TmPsOf(chosen.tensor),
                    TmPsOf(truth), fitted[0].d, fitted[1].d, fitted[2].d, relative, deviation);
                if (!noise) {
                    exactWorst = relative;
                    continue;
                }
                chosenRight += chosen.model == model;
                within2 += deviation <= 2.0;
                if (chosen.model != model) continue;
                for (const double d : deviations) {
                    ++quantities;
                    quantitiesWithin1 += d <= 1.0;
                    quantitiesWithin2 += d <= 2.0;
                }
            }
        }
        std::printf(
            "%s: chosen right in %d of %d, every quantity within 2 errors in %d, exact case off "
            "by %.2g; of the quantities of those chosen right %.0f %% within 1 error, %.0f %% "
            "within 2\n",
            std::string(DiffusionModelName(model)).c_str(), chosenRight, proteins, within2,
            exactWorst, 100.0 * quantitiesWithin1 / std::max(quantities, 1),
            100.0 * quantitiesWithin2 / std::max(quantities, 1));
    }
}
