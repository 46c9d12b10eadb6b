// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/motion_fit.h"

#include <cmath>
#include <limits>

#include "fit/compared_values.h"
#include "fit/model_free.h"
#include "fit/monte_carlo.h"

namespace veldorin {
namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();

// The range a motion's parameter keeps during a fit and the grid that covers it, in the
// parameter's units: tm and ts in ns, te and tf in ps, D in 1e7 1/s, theta in degrees (the
// rates depend on it through cos^2, so 0 to 90 covers 0 to 180).
FitParameter RangeOf(MotionParameter parameter) {
    switch (parameter) {
        case MotionParameter::TauM: return {0.0, kOpen, {2.0, 4.5, 10.0, 22.0}};
        case MotionParameter::S2: return {0.0, 1.0, {0.2, 0.5, 0.7, 0.85, 0.95}};
        // The slow motion may be a small one, as in the batch fit's grid.
        case MotionParameter::S2Slow: return {0.0, 1.0, {0.2, 0.5, 0.7, 0.85, 0.95, 0.99, 0.998}};
        case MotionParameter::S2Fast: return {0.0, 1.0, {0.65, 0.8, 0.9, 0.97}};
        case MotionParameter::TauE: return {0.0, kOpen, {10.0, 50.0, 250.0, 1250.0, 50000.0}};
        case MotionParameter::TauF: return {0.0, kOpen, {10.0, 60.0, 300.0, 1500.0, 6400.0}};
        case MotionParameter::TauS: return {0.0, kOpen, {0.025, 0.1, 0.4, 1.6, 6.4, 50.0}};
        case MotionParameter::DParallel:
        case MotionParameter::DPerpendicular: return {0.0, kOpen, {1.0, 3.0, 10.0, 30.0}};
        case MotionParameter::DiffusionRatio: return {0.0, kOpen, {0.5, 1.0, 1.5, 2.5}};
        case MotionParameter::Theta: return {0.0, 180.0, {0.0, 20.0, 40.0, 60.0, 90.0}};
    }
    return {};
}

// The freed parameters' ranges in the fit's order (the motion's, then Rex, then the CSA)
// with their covering grids, or with the one point of the current values as grid.
std::vector<FitParameter> RangesOf(const MotionFitChoice& choice, const Motion& motion,
                                   const FitSpinSystem& system, bool covering) {
    std::vector<FitParameter> ranges;
    std::vector<double> current;
    for (MotionParameter parameter : choice.free) {
        ranges.push_back(RangeOf(parameter));
        current.push_back(motion[parameter]);
    }
    if (choice.rex) {
        ranges.push_back({0.0, kOpen, {0.0, 1.0, 4.0, 15.0}});
        current.push_back(system.rexAt800);
    }
    if (choice.csa) {
        const double csa = system.csaPpm;
        ranges.push_back({-kOpen, kOpen, {csa - 30.0, csa, csa + 30.0}});
        current.push_back(csa);
    }
    for (std::size_t i = 0; i < ranges.size() && !covering; ++i) ranges[i].grid = {current[i]};
    return ranges;
}

// The fit of FitMotion: from the current values and the covering grids, or (for the Monte
// Carlo's refits, which start next to their answer) from the current values alone.
MotionFitResult FitMotionFrom(const FitSpinSystem& system, const Motion& start,
                              const MotionFitChoice& choice,
                              const std::vector<std::optional<Measurement>>& rows, bool covering) {
    MotionFitResult result;
    result.motion = start;
    result.rex = system.rexAt800;
    result.csa = system.csaPpm;
    std::vector<Measurement> data;
    for (const auto& row : rows) {
        if (row) data.push_back(Compared(*row));
    }
    result.measurements = static_cast<int>(data.size());
    const std::vector<FitParameter> ranges = RangesOf(choice, start, system, covering);
    result.freeCount = static_cast<int>(ranges.size());
    if (ranges.empty()) {
        result.reason = "no parameter is free";
        return result;
    }
    if (data.size() <= ranges.size()) {
        result.reason = std::to_string(data.size()) + " measurements cannot tell " +
                        std::to_string(ranges.size()) + " free parameters apart";
        return result;
    }
    // The point's motion, Rex and CSA; nothing where the motion has no Lorentzians.
    const auto apply = [&](std::span<const double> point, Motion& motion, FitSpinSystem& spins) {
        std::size_t i = 0;
        for (MotionParameter parameter : choice.free) motion[parameter] = point[i++];
        if (choice.rex) spins.rexAt800 = point[i++];
        if (choice.csa) spins.csaPpm = point[i++];
        return Validate(motion).empty();
    };
    const ResidualFunction residuals = [&](std::span<const double> point, std::span<double> out) {
        Motion motion = start;
        FitSpinSystem spins = system;
        if (!apply(point, motion, spins)) return false;
        WeightedResiduals(spins, MotionTerms(motion), data, out);
        return true;
    };
    std::vector<double> current;
    for (const FitParameter& range : RangesOf(choice, start, system, false))
        current.push_back(range.grid.front());
    const int scattered =
        covering && start.kind == MotionKind::ExtendedModelFree ? kExtendedScatteredStarts : 0;
    const FitResult fit = FitLeastSquares(
        ranges, data.size(), residuals,
        covering ? std::span<const double>(current) : std::span<const double>(), scattered);
    result.status = fit.status;
    result.reason = fit.reason;
    result.chi2 = fit.chi2;
    result.flags = fit.flags;
    if (fit.values.empty()) return result;
    FitSpinSystem spins = system;
    apply(fit.values, result.motion, spins);
    result.rex = spins.rexAt800;
    result.csa = spins.csaPpm;
    std::size_t i = 0;
    for (MotionParameter parameter : choice.free) result.errors[parameter] = fit.errors[i++];
    if (choice.rex) result.rexError = fit.errors[i++];
    if (choice.csa) result.csaError = fit.errors[i++];
    return result;
}

}  // namespace

SpectralTerms MotionTerms(const Motion& motion) {
    const MotionLorentzians lorentzians = ToLorentzians(motion);
    SpectralTerms terms;
    for (int row = 0; row < kLorentzianCount; ++row) {
        terms.push_back({lorentzians.weights[row], lorentzians.timesPs[row]});
    }
    return terms;
}

MotionFitResult FitMotion(const FitSpinSystem& system, const Motion& start,
                          const MotionFitChoice& choice,
                          const std::vector<std::optional<Measurement>>& rows) {
    return FitMotionFrom(system, start, choice, rows, true);
}

MotionMonteCarlo MonteCarloOfMotion(const FitSpinSystem& system, const MotionFitResult& fitted,
                                    const MotionFitChoice& choice,
                                    const std::vector<std::optional<Measurement>>& rows, int sets,
                                    std::uint64_t seed,
                                    const std::function<bool(int done)>& carryOn) {
    FitSpinSystem spins = system;
    spins.rexAt800 = fitted.rex;
    spins.csaPpm = fitted.csa;
    const SpectralTerms terms = MotionTerms(fitted.motion);
    std::vector<Measurement> compared;
    std::vector<double> calculated;
    for (const auto& row : rows) {
        if (!row) continue;
        compared.push_back(Compared(*row));
        calculated.push_back(CalculatedValue(spins, terms, compared.back()));
    }
    std::vector<std::optional<Measurement>> set;
    const SyntheticRefit refit =
        [&](const std::vector<Measurement>& next) -> std::optional<std::vector<double>> {
        set.assign(next.begin(), next.end());
        const MotionFitResult again = FitMotionFrom(spins, fitted.motion, choice, set, false);
        if (again.status != FitResult::Status::Converged) return std::nullopt;
        std::vector<double> sample;
        for (MotionParameter parameter : choice.free) sample.push_back(again.motion[parameter]);
        if (choice.rex) sample.push_back(again.rex);
        if (choice.csa) sample.push_back(again.csa);
        return sample;
    };
    const std::size_t freed = choice.free.size() + (choice.rex ? 1 : 0) + (choice.csa ? 1 : 0);
    MonteCarloSpreads run =
        RunMonteCarlo(SyntheticSets(std::move(compared), std::move(calculated), seed), sets, freed,
                      refit, carryOn);
    return {std::move(run.spread), run.drawn, run.fitted, run.stopped};
}

}  // namespace veldorin
