// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_fit_steps.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <system_error>
#include <thread>

#include "fit/compared_values.h"

namespace veldorin {
namespace {

bool Among(const std::vector<EliminatedModel>& models, int model) {
    return std::ranges::any_of(models, [&](const EliminatedModel& e) { return e.model == model; });
}

// The fits made again at other settings, each from where it ended, as the minima move
// little with a small change of tm; from the grid where it had not converged or its refit
// does not.
std::vector<ModelFit> RefittedAt(const std::vector<ModelFit>& fits, const ResidueData& residue,
                                 const ResidueFitSettings& settings) {
    std::vector<ModelFit> again;
    for (const ModelFit& fit : fits) {
        std::optional<ModelFit> refit;
        if (fit.status == FitResult::Status::Converged) {
            refit = RefitModel(residue.measurements, settings, fit);
        }
        if (!refit || refit->status != FitResult::Status::Converged) {
            refit = FitModel(residue.measurements, settings, ModelFreeModelNumber(fit.model));
        }
        refit->eliminated = EliminationReason(*refit, settings);
        again.push_back(std::move(*refit));
    }
    return again;
}

}  // namespace

bool Stopped(const ProteinFitOptions& options) {
    return options.progress && options.progress->stop.load();
}

void BeginStage(const ProteinFitOptions& options, ProteinFitProgress::Stage stage,
                std::size_t steps) {
    if (!options.progress) return;
    options.progress->stage = stage;
    options.progress->done = 0;
    options.progress->steps = static_cast<int>(steps);
}

void Step(const ProteinFitOptions& options) {
    if (options.progress) ++options.progress->done;
}

void ForEachIndex(std::size_t count, const ProteinFitOptions& options,
                  const std::function<void(std::size_t)>& work, Counted counted) {
    std::atomic<std::size_t> next = 0;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count && !Stopped(options); i = next++) {
            work(i);
            if (counted == Counted::Yes) Step(options);
        }
    };
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t extra = std::min({static_cast<std::size_t>(std::max(options.jobs, 1)),
                                        std::max(count, std::size_t{1}), cores}) -
                              1;
    std::vector<std::thread> threads;
    try {
        while (threads.size() < extra) threads.emplace_back(worker);
    } catch (const std::system_error&) {
        // The threads already running, and this one, do it all.
    }
    worker();
    for (std::thread& thread : threads) thread.join();
}

std::string MonteCarloFailures(int failed, int sets) {
    return std::to_string(failed) + " of " + std::to_string(sets) + " Monte Carlo fits failed";
}

std::vector<ModelFit> ModelFitsOf(const ResidueData& residue, const ResidueFitSettings& settings,
                                  const ProteinFitOptions& options,
                                  const std::vector<EliminatedModel>& banned) {
    const auto chosen = options.chosenModels.find(residue.residue);
    const std::optional<int> model =
        chosen != options.chosenModels.end() ? std::optional(chosen->second) : options.model;
    if (!model) return SelectModel(residue.measurements, settings, options.criterion).fits;
    if (Among(banned, *model)) return {};
    std::vector<ModelFit> fits{
        FitModel(residue.measurements, settings, ModelFreeModelNumber(*model))};
    fits.back().eliminated = EliminationReason(fits.back(), settings);
    return fits;
}

Candidates CandidatesAmong(std::vector<ModelFit> fits, const ProteinFitOptions& options,
                           const std::vector<EliminatedModel>& banned) {
    Candidates candidates{{}, banned};
    for (ModelFit& fit : fits) {
        if (Among(banned, fit.model)) continue;
        if (fit.eliminated.empty()) {
            candidates.ranked.push_back(std::move(fit));
        } else {
            candidates.eliminated.push_back({fit.model, fit.eliminated});
        }
    }
    std::ranges::stable_sort(candidates.ranked, {},
                             [&](const ModelFit& fit) { return fit.Score(options.criterion); });
    std::ranges::sort(candidates.eliminated, {}, &EliminatedModel::model);
    return candidates;
}

Selection SelectionAt(const ProteinData& data, const ResidueSettings& settings,
                      const ProteinFitOptions& options,
                      const std::vector<std::vector<EliminatedModel>>& banned,
                      const Selection* earlier) {
    const std::size_t count = data.residues.size();
    Selection selection{std::vector<std::vector<ModelFit>>(count),
                        std::vector<ResidueOutcome>(count), earlier == nullptr};
    BeginStage(options, ProteinFitProgress::Stage::Selecting, count);
    ForEachIndex(
        count, options,
        [&](std::size_t i) {
            const ResidueData& residue = data.residues[i];
            std::vector<ModelFit>& fits = selection.fits[i];
            fits = earlier ? RefittedAt(earlier->fits[i], residue, settings[i])
                           : ModelFitsOf(residue, settings[i], options, banned[i]);
            Candidates candidates = CandidatesAmong(fits, options, banned[i]);
            ResidueOutcome& outcome = selection.outcomes[i];
            outcome.residue = residue.residue;
            if (candidates.ranked.empty()) {
                outcome.failure = "no model left";
            } else {
                outcome.fit = std::move(candidates.ranked.front());
            }
            outcome.eliminated = std::move(candidates.eliminated);
        },
        Counted::Yes);
    return selection;
}

std::vector<int> ChosenModels(const std::vector<ResidueOutcome>& outcomes) {
    std::vector<int> models;
    for (const ResidueOutcome& outcome : outcomes)
        models.push_back(outcome.fit ? outcome.fit->model : -1);
    return models;
}

std::vector<double> SolveNormal(std::vector<double> a, std::vector<double> b, std::size_t q) {
    std::vector<double> scale(q, 0.0);
    for (std::size_t i = 0; i < q; ++i)
        scale[i] = a[i * q + i] > 0.0 ? 1.0 / std::sqrt(a[i * q + i]) : 0.0;
    for (std::size_t i = 0; i < q; ++i) {
        b[i] *= scale[i];
        for (std::size_t j = 0; j < q; ++j) a[i * q + j] *= scale[i] * scale[j];
    }
    constexpr double kSingular = 1e-10;
    std::vector<bool> kept(q, false);
    for (std::size_t k = 0; k < q; ++k) {
        double pivot = a[k * q + k];
        for (std::size_t j = 0; j < k; ++j) pivot -= a[k * q + j] * a[k * q + j];
        kept[k] = scale[k] > 0.0 && pivot > kSingular;
        const double root = kept[k] ? std::sqrt(pivot) : 0.0;
        for (std::size_t i = k; i < q; ++i) {
            double sum = i == k ? pivot : a[i * q + k];
            if (i != k) {
                for (std::size_t j = 0; j < k; ++j) sum -= a[i * q + j] * a[k * q + j];
            }
            a[i * q + k] = kept[k] ? (i == k ? root : sum / root) : 0.0;
        }
    }
    std::vector<double> x(q, 0.0);
    for (std::size_t i = 0; i < q; ++i) {
        if (!kept[i]) continue;
        double sum = b[i];
        for (std::size_t j = 0; j < i; ++j) sum -= a[i * q + j] * x[j];
        x[i] = sum / a[i * q + i];
    }
    for (std::size_t i = q; i-- > 0;) {
        if (!kept[i]) continue;
        double sum = x[i];
        for (std::size_t j = i + 1; j < q; ++j) sum -= a[j * q + i] * x[j];
        x[i] = sum / a[i * q + i];
    }
    for (std::size_t i = 0; i < q; ++i) x[i] *= scale[i];
    return x;
}

std::vector<SyntheticResidue> SyntheticResidues(const ProteinData& data,
                                                const std::vector<ResidueOutcome>& outcomes,
                                                const ResidueSettings& settings,
                                                const ProteinFitOptions& options) {
    std::vector<SyntheticResidue> residues(outcomes.size());
    ForEachIndex(residues.size(), options, [&](std::size_t i) {
        if (!outcomes[i].fit) return;
        SyntheticResidue& residue = residues[i];
        residue.fit = &*outcomes[i].fit;
        const std::vector<Measurement>& measurements = data.residues[i].measurements;
        for (const Measurement& measurement : measurements)
            residue.compared.push_back(Compared(measurement));
        const std::vector<double> back =
            CalculatedValues(settings[i].system, ModelFreeModelNumber(residue.fit->model),
                             residue.fit->values, measurements, settings[i].tumbling);
        SyntheticSets synthetic(residue.compared, back, options.seed + i);
        for (int set = 0; set < options.monteCarloSets; ++set) {
            std::vector<double>& values = residue.sets.emplace_back();
            for (const Measurement& m : synthetic.Next()) values.push_back(m.value);
        }
    });
    return residues;
}

void BackCalculate(const ProteinData& data, const ResidueSettings& settings,
                   const ProteinFitOptions& options, std::vector<ResidueOutcome>& outcomes) {
    ForEachIndex(outcomes.size(), options, [&](std::size_t i) {
        ResidueOutcome& outcome = outcomes[i];
        if (!outcome.fit) return;
        outcome.calculated = CalculatedValues(
            settings[i].system, ModelFreeModelNumber(outcome.fit->model), outcome.fit->values,
            data.residues[i].measurements, settings[i].tumbling);
    });
}

std::vector<Measurement> SyntheticData(const SyntheticResidue& residue, std::size_t set) {
    std::vector<Measurement> data = residue.compared;
    for (std::size_t m = 0; m < data.size(); ++m) data[m].value = residue.sets[set][m];
    return data;
}

}  // namespace veldorin
