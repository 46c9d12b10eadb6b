// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/motion_fit.h"

#include <cmath>
#include <limits>

#include "fit/residue_fit.h"

namespace veldorin {
namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();

// The range a motion's parameter keeps during a fit.
FitParameter RangeOf(MotionParameter parameter, double start) {
    switch (parameter) {
        case MotionParameter::S2:
        case MotionParameter::S2Fast:
        case MotionParameter::S2Slow: return {0.0, 1.0, {start}};
        case MotionParameter::Theta: return {0.0, 180.0, {start}};
        default: return {0.0, kOpen, {start}};
    }
}

}  // namespace

SpectralTerms SpectralTermsOf(const Motion& motion) {
    const MotionLorentzians lorentzians = ToLorentzians(motion);
    SpectralTerms terms;
    for (int row = 0; row < kLorentzianCount; ++row) {
        terms.push_back({lorentzians.weights[row], lorentzians.times[row]});
    }
    return terms;
}

MotionFitResult FitMotion(const FitSpinSystem& system, const Motion& start,
                          const MotionFitChoice& choice,
                          const std::vector<std::optional<Measurement>>& rows) {
    MotionFitResult result;
    result.motion = start;
    result.rex = system.rexAt800;
    result.csa = system.csaPpm;
    std::vector<Measurement> data;
    for (const auto& row : rows) {
        if (row) data.push_back(Compared(*row));
    }
    result.measurements = static_cast<int>(data.size());
    std::vector<FitParameter> ranges;
    for (MotionParameter parameter : choice.free)
        ranges.push_back(RangeOf(parameter, start[parameter]));
    if (choice.rex) ranges.push_back({0.0, kOpen, {system.rexAt800}});
    if (choice.csa) ranges.push_back({-kOpen, kOpen, {system.csaPpm}});
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
        WeightedResiduals(spins, SpectralTermsOf(motion), data, out);
        return true;
    };
    const FitResult fit = FitLeastSquares(ranges, data.size(), residuals);
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

MotionMonteCarlo MonteCarloOfMotion(const FitSpinSystem& system, const MotionFitResult& fitted,
                                    const MotionFitChoice& choice,
                                    const std::vector<std::optional<Measurement>>& rows, int sets,
                                    std::uint64_t seed,
                                    const std::function<bool(int done)>& carryOn) {
    FitSpinSystem spins = system;
    spins.rexAt800 = fitted.rex;
    spins.csaPpm = fitted.csa;
    const SpectralTerms terms = SpectralTermsOf(fitted.motion);
    std::vector<Measurement> compared;
    std::vector<double> calculated;
    for (const auto& row : rows) {
        if (!row) continue;
        compared.push_back(Compared(*row));
        calculated.push_back(CalculatedValue(spins, terms, compared.back()));
    }
    SyntheticSets synthetic(std::move(compared), std::move(calculated), seed);
    std::vector<std::vector<double>> samples(choice.free.size() + (choice.rex ? 1 : 0) +
                                             (choice.csa ? 1 : 0));
    MotionMonteCarlo result;
    std::vector<std::optional<Measurement>> set;
    for (int done = 0; done < sets; ++done) {
        if (!carryOn(done)) {
            result.stopped = true;
            break;
        }
        const std::vector<Measurement>& next = synthetic.Next();
        ++result.drawn;
        set.assign(next.begin(), next.end());
        const MotionFitResult again = FitMotion(spins, fitted.motion, choice, set);
        if (again.status != FitResult::Status::Converged) continue;
        ++result.fitted;
        std::size_t i = 0;
        for (MotionParameter parameter : choice.free)
            samples[i++].push_back(again.motion[parameter]);
        if (choice.rex) samples[i++].push_back(again.rex);
        if (choice.csa) samples[i++].push_back(again.csa);
    }
    if (!result.stopped) carryOn(sets);
    for (std::vector<double>& parameter : samples)
        result.spread.push_back(SpreadOf(std::move(parameter)));
    return result;
}

}  // namespace veldorin
