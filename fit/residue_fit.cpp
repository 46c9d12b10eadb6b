// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/residue_fit.h"

#include <cstdio>
#include <limits>
#include <optional>

namespace veldorin {
namespace {

using enum ModelFreeParameter;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kOpen = std::numeric_limits<double>::infinity();

// Where each parameter may go and the grid its fit starts from: order parameters across
// [0, 1], times over log-spaced decades, Rex from 0 to well above it. The internal times'
// grids overlap, so that a fit of m6 or m8 starts from both orderings of tf and ts. The slow
// motion of m5 to m8 may be a small one, S2s close to 1.
FitParameter RangeOf(ModelFreeParameter parameter, const ModelFreeModel& model) {
    switch (parameter) {
        case Tm: return {0.0, kOpen, {2000.0, 4500.0, 10000.0, 22000.0}};
        case S2f: return {0.0, 1.0, {0.65, 0.8, 0.9, 0.97}};
        case S2s:
            if (model.extended) return {0.0, 1.0, {0.2, 0.5, 0.7, 0.85, 0.95, 0.99, 0.998}};
            return {0.0, 1.0, {0.2, 0.5, 0.7, 0.85, 0.95}};
        case Te: return {0.0, kOpen, {10.0, 50.0, 250.0, 1250.0, 50000.0}};
        case Tf: return {0.0, kOpen, {10.0, 60.0, 300.0, 1500.0, 6400.0}};
        case Ts: return {0.0, kOpen, {25.0, 100.0, 400.0, 1600.0, 6400.0, 50000.0}};
        case Rex: return {0.0, kOpen, {0.0, 2.0, 10.0}};
        case Csa: return {-kOpen, kOpen, {-200.0, -170.0, -140.0}};
    }
    return {};
}

// The values of a model's parameters at a fit's point: the fixed ones from the settings.
ModelFreeValues ValuesAt(const ResidueFitSettings& settings, const ModelFreeModel& model,
                         const std::vector<ModelFreeParameter>& free,
                         std::span<const double> point) {
    ModelFreeValues values;
    values[Tm] = settings.tmPs;
    values[Rex] = settings.system.rexAt800;
    values[Csa] = settings.system.csaPpm;
    if (model.rigid) values[S2s] = 1.0;
    for (std::size_t i = 0; i < free.size(); ++i) values[free[i]] = point[i];
    return values;
}

// The fit of the model from the ranges' grids, and from scattered starts too where asked.
ModelFit Fitted(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                const ModelFreeModel& model, std::vector<FitParameter> ranges,
                int scatteredStarts = 0) {
    ModelFit fit;
    fit.model = model.number;
    fit.free = FreeParameters(model, settings);
    fit.measurements = data.size();
    fit.errors.values.fill(kNaN);
    std::vector<Measurement> compared;
    for (const Measurement& measurement : data) compared.push_back(Compared(measurement));
    // The spin system takes each point's exchange and anisotropy in place: a copy at every
    // point would allocate its neighbours again, in the fit's innermost loop.
    FitSpinSystem system = settings.system;
    const ResidualFunction residuals = [&](std::span<const double> point, std::span<double> out) {
        const ModelFreeValues values = ValuesAt(settings, model, fit.free, point);
        system.rexAt800 = values[Rex];
        system.csaPpm = values[Csa];
        WeightedResiduals(system, ModelFreeTerms(model, values, settings.tumbling), compared, out);
        return true;
    };
    if (data.size() < fit.free.size()) {
        fit.reason = std::to_string(data.size()) + " measurements cannot tell " +
                     std::to_string(fit.free.size()) + " free parameters apart";
        fit.values = ValuesAt(settings, model, {}, {});
        return fit;
    }
    if (fit.free.empty()) {
        fit.values = ValuesAt(settings, model, {}, {});
        std::vector<double> out(data.size());
        ModelResiduals(settings.system, model, fit.values, compared, out, settings.tumbling);
        for (double r : out) fit.chi2 += r * r;
        fit.status = FitResult::Status::Converged;
        return fit;
    }
    const FitResult result = FitLeastSquares(ranges, data.size(), residuals, {}, scatteredStarts);
    fit.status = result.status;
    fit.reason = result.reason;
    fit.chi2 = result.chi2;
    fit.flags = result.flags;
    fit.values =
        ValuesAt(settings, model, fit.free,
                 result.values.empty() ? std::vector<double>(fit.free.size()) : result.values);
    for (std::size_t i = 0; i < result.errors.size(); ++i)
        fit.errors[fit.free[i]] = result.errors[i];
    return fit;
}

std::vector<FitParameter> GridRanges(const std::vector<ModelFreeParameter>& free,
                                     const ModelFreeModel& model) {
    std::vector<FitParameter> ranges;
    for (ModelFreeParameter parameter : free) ranges.push_back(RangeOf(parameter, model));
    return ranges;
}

// The ranges with a one-point grid at the values: a refit from where a fit ended.
std::vector<FitParameter> RangesFrom(const std::vector<ModelFreeParameter>& free,
                                     const ModelFreeModel& model, const ModelFreeValues& values) {
    std::vector<FitParameter> ranges = GridRanges(free, model);
    for (std::size_t i = 0; i < ranges.size(); ++i) ranges[i].grid = {values[free[i]]};
    return ranges;
}

// A time in whole picoseconds, for the reasons a model is eliminated.
std::string Picoseconds(double time) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.0f ps", time);
    return text.data();
}

}  // namespace

double ModelFit::Score(enum Criterion criterion) const {
    const std::size_t k = free.size();
    switch (criterion) {
        case Criterion::Aic: return Akaike(chi2, k);
        case Criterion::Aicc: return CorrectedAkaike(chi2, measurements, k);
        case Criterion::Bic: return Bayesian(chi2, measurements, k);
    }
    return kNaN;
}

std::string ModelFit::FlagsText() const {
    std::string text;
    const auto add = [&text](std::string_view flag) {
        if (!text.empty()) text += ';';
        text += flag;
    };
    for (std::size_t i = 0; i < flags.size() && i < free.size(); ++i) {
        if (flags[i] == ParameterFlag::None) continue;
        add(flags[i] == ParameterFlag::AtBound ? "at_bound:" : "undetermined:");
        text += ParameterName(free[i]);
    }
    if (NoDegreesOfFreedom()) add("no_dof");
    return text;
}

std::string EliminationReason(const ModelFit& fit, const ResidueFitSettings& settings) {
    if (fit.status != FitResult::Status::Converged) {
        return "did not converge" + (fit.reason.empty() ? "" : ": " + fit.reason);
    }
    if (fit.NoDegreesOfFreedom()) return "as many free parameters as measurements";
    const double tmPs = fit.values[Tm];
    // A time the data do not determine (its motion has no weight) says nothing.
    for (std::size_t i = 0; i < fit.free.size(); ++i) {
        const ModelFreeParameter time = fit.free[i];
        if (time != Te && time != Tf && time != Ts) continue;
        if (i < fit.flags.size() && fit.flags[i] == ParameterFlag::Undetermined) continue;
        if (fit.values[time] >= 2.0 * tmPs) {
            return std::string(ParameterName(time)) + " = " + Picoseconds(fit.values[time]) +
                   " is at least twice tm (" + Picoseconds(tmPs) + ")";
        }
    }
    constexpr double kLongestLocalTmPs = 50000.0;
    if (settings.fitTm && tmPs >= kLongestLocalTmPs) {
        return "local tm = " + Picoseconds(tmPs) + " is 50 ns or more";
    }
    return {};
}

std::vector<ModelFreeParameter> FreeParameters(const ModelFreeModel& model,
                                               const ResidueFitSettings& settings) {
    std::vector<ModelFreeParameter> free;
    if (settings.fitTm) free.push_back(Tm);
    free.insert(free.end(), model.free.begin(), model.free.end());
    if (settings.fitCsa) free.push_back(Csa);
    return free;
}

ModelFit FitModel(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                  const ModelFreeModel& model) {
    return Fitted(data, settings, model, GridRanges(FreeParameters(model, settings), model),
                  model.extended ? kExtendedScatteredStarts : 0);
}

ModelFit RefitModel(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                    const ModelFit& from) {
    const ModelFreeModel& model = ModelFreeModelNumber(from.model);
    const std::vector<ModelFreeParameter> free = FreeParameters(model, settings);
    return Fitted(data, settings, model, RangesFrom(free, model, from.values));
}

ModelSelection SelectModel(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                           Criterion criterion) {
    ModelSelection selection;
    double best = kOpen;
    for (int number = 0; number < kModelFreeModelCount; ++number) {
        selection.fits.push_back(FitModel(data, settings, ModelFreeModelNumber(number)));
        ModelFit& fit = selection.fits.back();
        fit.eliminated = EliminationReason(fit, settings);
        if (!fit.eliminated.empty()) continue;
        if (const double score = fit.Score(criterion); score < best) {
            best = score;
            selection.chosen = number;
        }
    }
    return selection;
}

MonteCarloErrors MonteCarlo(const std::vector<Measurement>& data,
                            const ResidueFitSettings& settings, const ModelFit& fit, int sets,
                            std::uint64_t seed) {
    const ModelFreeModel& model = ModelFreeModelNumber(fit.model);
    std::vector<double> back =
        CalculatedValues(settings.system, model, fit.values, data, settings.tumbling);
    // Each synthetic fit starts from the fitted values alone: no grid.
    const std::vector<FitParameter> ranges = RangesFrom(fit.free, model, fit.values);
    const SyntheticRefit refit =
        [&](const std::vector<Measurement>& set) -> std::optional<std::vector<double>> {
        const ModelFit again = Fitted(set, settings, model, ranges);
        if (again.status != FitResult::Status::Converged) return std::nullopt;
        return SampleOf(fit, again.values);
    };
    // The synthetic sets are rates, whatever was measured: the noise of a time is that of
    // its rate.
    std::vector<Measurement> compared;
    for (const Measurement& measurement : data) compared.push_back(Compared(measurement));
    const MonteCarloSpreads run =
        RunMonteCarlo(SyntheticSets(std::move(compared), std::move(back), seed), sets,
                      fit.free.size() + 1, refit);
    return ErrorsOf(fit, run.spread, run.fitted);
}

std::vector<double> SampleOf(const ModelFit& fit, const ModelFreeValues& values) {
    std::vector<double> sample;
    for (ModelFreeParameter parameter : fit.free) sample.push_back(values[parameter]);
    sample.push_back(OrderParameter(ModelFreeModelNumber(fit.model), values));
    return sample;
}

MonteCarloErrors ErrorsOf(const ModelFit& fit, const std::vector<ParameterSpread>& spreads,
                          int fitted) {
    MonteCarloErrors errors;
    errors.spread.fill(SpreadOf({}));
    for (std::size_t i = 0; i < fit.free.size(); ++i) {
        errors.spread[static_cast<std::size_t>(fit.free[i])] = spreads[i];
    }
    errors.s2 = spreads.back();
    errors.fitted = fitted;
    return errors;
}

}  // namespace veldorin
