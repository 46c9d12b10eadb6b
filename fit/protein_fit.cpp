// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_fit.h"
#include "fit/diffusion_fit.h"
#include "fit/protein_fit_steps.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_min.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

#include "engine/csv_text.h"
#include "engine/format.h"

namespace veldorin {
namespace {

using enum ModelFreeParameter;

using Stage = ProteinFitProgress::Stage;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The residue with tm fixed or its own: the best candidate whose Monte Carlo run mostly
// succeeds, with its errors.
ResidueOutcome ResidueApart(const ResidueData& residue, const ResidueFitSettings& settings,
                            const ProteinFitOptions& options, std::uint64_t seed) {
    ResidueOutcome outcome;
    outcome.residue = residue.residue;
    Candidates candidates =
        CandidatesAmong(ModelFitsOf(residue, settings, options, {}), options, {});
    const int sets = options.monteCarloSets;
    for (ModelFit& fit : candidates.ranked) {
        if (sets > 0) {
            MonteCarloErrors errors = MonteCarlo(residue.measurements, settings, fit, sets, seed);
            const int failed = sets - errors.fitted;
            if (TooManyFailed(failed, sets)) {
                candidates.eliminated.push_back({fit.model, MonteCarloFailures(failed, sets)});
                continue;
            }
            outcome.monteCarlo = errors;
            outcome.monteCarloFailed = failed;
        }
        outcome.fit = std::move(fit);
        break;
    }
    std::ranges::sort(candidates.eliminated, {}, &EliminatedModel::model);
    outcome.eliminated = std::move(candidates.eliminated);
    if (!outcome.fit) outcome.failure = "no model left";
    return outcome;
}

// The total chi2 of every residue's model refitted with tm fixed at the value. Far from
// the values tried, each residue is fitted from the grid; near them, from its fit at the
// lowest total so far, as the minimum moves little there (one that does not converge from
// that start is fitted from the grid).
class GlobalTmProblem {
public:
    enum class Start { Grid, Best };

    // `outcomes`: the residues fitted at `tmPs`.
    GlobalTmProblem(const ProteinData& data, const ProteinFitOptions& options,
                    const std::vector<ResidueOutcome>& outcomes, double tmPs)
        : data_(data), options_(options), bestTmPs_(tmPs) {
        for (const ResidueOutcome& outcome : outcomes) {
            best_.push_back(outcome.fit);
            if (outcome.fit) bestChi2_ += outcome.fit->chi2;
        }
    }

    const ProteinFitOptions& options() const { return options_; }
    double bestTmPs() const { return bestTmPs_; }
    const std::vector<std::optional<ModelFit>>& bestFits() const { return best_; }

    double Chi2At(double tmPs, Start start) {
        // Brent's method asks again for points it has, once its interval is as narrow as
        // its own tolerance lets it be; the total there stays until the best fits change.
        const auto known = std::ranges::find_if(
            known_, [&](const Known& k) { return k.tmPs == tmPs && k.start == start; });
        if (known != known_.end()) return known->chi2;
        ResidueFitSettings settings = options_.residue;
        settings.fitTm = false;
        settings.tmPs = tmPs;
        std::vector<std::optional<ModelFit>> fits(best_.size());
        ForEachIndex(fits.size(), options_, [&](std::size_t i) {
            if (!best_[i]) return;
            const std::vector<Measurement>& measurements = data_.residues[i].measurements;
            if (start == Start::Best) {
                fits[i] = RefitModel(measurements, settings, *best_[i]);
                if (fits[i]->status == FitResult::Status::Converged) return;
            }
            fits[i] = FitModel(measurements, settings, ModelFreeModelNumber(best_[i]->model));
        });
        Step(options_);
        double total = 0.0;
        for (const std::optional<ModelFit>& fit : fits) total += fit ? fit->chi2 : 0.0;
        if (Stopped(options_)) return total;
        if (total < bestChi2_) {
            bestChi2_ = total;
            bestTmPs_ = tmPs;
            best_ = std::move(fits);
            known_.clear();
        } else {
            known_.push_back({tmPs, start, total});
        }
        return total;
    }

private:
    struct Known {
        double tmPs;
        Start start;
        double chi2;
    };
    const ProteinData& data_;
    const ProteinFitOptions& options_;
    std::vector<std::optional<ModelFit>> best_;  // nothing for a residue without a model
    double bestChi2_ = 0.0;
    double bestTmPs_;
    std::vector<Known> known_;  // totals found since the best fits last changed
};

double Chi2AtLogTm(double logTm, void* problem) {
    return static_cast<GlobalTmProblem*>(problem)->Chi2At(std::exp(logTm),
                                                          GlobalTmProblem::Start::Best);
}

// A scan of tm on a log grid around the start, each residue fitted as `start` says.
struct TmScan {
    static constexpr int kPoints = 9;
    std::array<double, kPoints> logs{};
    std::array<double, kPoints> chi2{};
    int best = 0;
};

TmScan ScanTm(GlobalTmProblem& problem, double startPs, double factor,
              GlobalTmProblem::Start start) {
    TmScan scan;
    constexpr int kHalf = TmScan::kPoints / 2;
    for (int k = 0; k < TmScan::kPoints; ++k) {
        scan.logs[k] = std::log(startPs) + std::log(factor) * (k - kHalf) / kHalf;
        scan.chi2[k] = problem.Chi2At(std::exp(scan.logs[k]), start);
    }
    scan.best =
        static_cast<int>(std::min_element(scan.chi2.begin(), scan.chi2.end()) - scan.chi2.begin());
    return scan;
}

// Brent's method of GSL on log tm, bracketed by a scan around the start: a factor of four
// each way with every residue fitted from the grid, or, after a round whose tm is close,
// a tenth each way from the fits there (widened when the minimum lies at an edge).
double MinimiseTm(GlobalTmProblem& problem, double startPs, bool close) {
    constexpr int kUsualIterations = 25;
    BeginStage(problem.options(), Stage::Tm, TmScan::kPoints + kUsualIterations);
    TmScan scan = close ? ScanTm(problem, startPs, 1.1, GlobalTmProblem::Start::Best) : TmScan{};
    const auto atEdge = [](const TmScan& s) {
        return s.best == 0 || s.best == TmScan::kPoints - 1;
    };
    if (!close || atEdge(scan)) scan = ScanTm(problem, startPs, 4.0, GlobalTmProblem::Start::Grid);
    const int best = scan.best;
    if (atEdge(scan)) return std::exp(scan.logs[best]);
    const auto& logs = scan.logs;
    const auto& chi2 = scan.chi2;
    gsl_function function{&Chi2AtLogTm, &problem};
    gsl_min_fminimizer* minimiser = gsl_min_fminimizer_alloc(gsl_min_fminimizer_brent);
    double minimum = logs[best];
    if (gsl_min_fminimizer_set_with_values(minimiser, &function, logs[best], chi2[best],
                                           logs[best - 1], chi2[best - 1], logs[best + 1],
                                           chi2[best + 1]) == GSL_SUCCESS) {
        for (int iteration = 0; iteration < 100 && !Stopped(problem.options()); ++iteration) {
            if (gsl_min_fminimizer_iterate(minimiser) != GSL_SUCCESS) break;
            minimum = gsl_min_fminimizer_x_minimum(minimiser);
            if (gsl_min_test_interval(gsl_min_fminimizer_x_lower(minimiser),
                                      gsl_min_fminimizer_x_upper(minimiser), 1e-9,
                                      0.0) == GSL_SUCCESS) {
                break;
            }
        }
    }
    gsl_min_fminimizer_free(minimiser);
    return std::exp(minimum);
}

// Whether a selection from the grid at the tm found confirms the round that found it: the
// same models, fitted to the same chi2 as the search of tm had them there. A refit from an
// earlier round's minimum may stay in it where the grid now finds another.
bool Confirms(const Selection& grid, const std::vector<int>& chosen, const GlobalTmProblem& problem,
              double tmPs) {
    if (ChosenModels(grid.outcomes) != chosen || problem.bestTmPs() != tmPs) return false;
    const std::vector<std::optional<ModelFit>>& searched = problem.bestFits();
    for (std::size_t i = 0; i < searched.size(); ++i) {
        const std::optional<ModelFit>& fit = grid.outcomes[i].fit;
        if (!fit || !searched[i]) continue;
        const double chi2 = searched[i]->chi2;
        if (std::abs(fit->chi2 - chi2) > 1e-6 * std::max(chi2, 1.0)) return false;
    }
    return true;
}

struct GlobalTm {
    double tmPs = 0.0;
    std::vector<ResidueOutcome> outcomes;  // selected from the grid at that tm
};

// Rounds of selection at a fixed tm and a fit of the one tm, until the chosen models stop
// changing or come back to those of an earlier round: among many residues, one may swing
// between two models whose scores are nearly equal. The first round selects from the
// grid, the later ones from the fits of the round before; a selection from the grid at the
// tm found then ends the rounds, unless it disagrees with them and they go on from it.
GlobalTm GlobalTmRounds(const ProteinData& data, const ProteinFitOptions& options,
                        const std::vector<std::vector<EliminatedModel>>& banned, double tmPs,
                        int& rounds) {
    ResidueFitSettings settings = options.residue;
    settings.fitTm = false;
    settings.tmPs = tmPs;
    if (options.progress) options.progress->round = 1;
    Selection selection = SelectionAt(data, ResidueSettings(settings), options, banned);
    std::vector<std::vector<int>> earlier;
    constexpr int kMaxRounds = 10;
    for (rounds = 1; !Stopped(options); ++rounds) {
        GlobalTmProblem problem(data, options, selection.outcomes, settings.tmPs);
        settings.tmPs = MinimiseTm(problem, settings.tmPs, rounds > 1);
        std::vector<int> chosen = ChosenModels(selection.outcomes);
        const bool repeated = std::ranges::find(earlier, chosen) != earlier.end();
        earlier.push_back(chosen);
        const bool last = repeated || rounds == kMaxRounds;
        if (options.progress) options.progress->round = last ? rounds : rounds + 1;
        if (!last) {
            selection = SelectionAt(data, ResidueSettings(settings), options, banned, &selection);
            continue;
        }
        Selection grid = SelectionAt(data, ResidueSettings(settings), options, banned);
        if (selection.fromGrid || rounds == kMaxRounds ||
            Confirms(grid, chosen, problem, settings.tmPs)) {
            return {settings.tmPs, std::move(grid.outcomes)};
        }
        selection = std::move(grid);
    }
    rounds = std::min(rounds, kMaxRounds);
    return {settings.tmPs, std::move(selection.outcomes)};
}

// Where the total chi2 has risen by 1 from its minimum at tm, on the side `direction`
// (+1 or -1): bracketed by doubling steps, then bisected. NaN when it does not rise that
// far within reach.
double ProfileEdge(GlobalTmProblem& problem, double tmPs, double minimum, double direction) {
    const auto risen = [&](double at) {
        return problem.Chi2At(at, GlobalTmProblem::Start::Best) >= minimum + 1.0;
    };
    double step = 1e-3 * tmPs;
    double inside = tmPs;
    while (!risen(tmPs + direction * step)) {
        inside = tmPs + direction * step;
        step *= 2.0;
        if (step >= (direction < 0.0 ? 0.5 : 10.0) * tmPs) return kNaN;
    }
    double outside = tmPs + direction * step;
    while (std::abs(outside - inside) > 1e-3 * std::abs(outside - tmPs)) {
        const double middle = (inside + outside) / 2.0;
        (risen(middle) ? outside : inside) = middle;
    }
    return (inside + outside) / 2.0;
}

// How a residue's fit at a fixed tm changes with tm, from its Gauss-Newton matrix in its
// moving parameters and tm: the slope of its chi2 profile (the envelope theorem: the
// parameters held), the profile's curvature (the Schur complement of the parameters'
// block) and each moving parameter's drift.
struct ProfileSlope {
    double gradient = 0.0;
    double curvature = 0.0;
    std::vector<ModelFreeParameter> moving;  // the free parameters not flagged
    std::vector<double> drift;               // d parameter / d tm
};

ProfileSlope SlopeAt(const ModelFit& fit, const FitSpinSystem& system,
                     std::span<const Measurement> compared) {
    const ModelFreeModel& model = ModelFreeModelNumber(fit.model);
    ProfileSlope slope;
    for (std::size_t i = 0; i < fit.free.size(); ++i) {
        if (i >= fit.flags.size() || fit.flags[i] == ParameterFlag::None) {
            slope.moving.push_back(fit.free[i]);
        }
    }
    std::vector<ModelFreeParameter> columns = slope.moving;
    columns.push_back(Tm);
    const std::size_t n = compared.size();
    const std::size_t p = columns.size();
    std::vector<double> residuals(n);
    std::vector<double> up(n);
    std::vector<double> down(n);
    std::vector<double> jacobian(n * p);
    ModelResiduals(system, model, fit.values, compared, residuals);
    for (std::size_t j = 0; j < p; ++j) {
        const double value = fit.values[columns[j]];
        ModelFreeValues plus = fit.values;
        ModelFreeValues minus = fit.values;
        const double step = 1e-6 * std::max(std::abs(value), 1.0);
        plus[columns[j]] = value + step;
        // Times, order parameters and Rex are not negative.
        minus[columns[j]] = value >= 0.0 ? std::max(value - step, 0.0) : value - step;
        ModelResiduals(system, model, plus, compared, up);
        ModelResiduals(system, model, minus, compared, down);
        const double width = plus[columns[j]] - minus[columns[j]];
        for (std::size_t i = 0; i < n; ++i) jacobian[i * p + j] = (up[i] - down[i]) / width;
    }
    const auto dot = [&](std::size_t a, std::size_t b) {
        double sum = 0.0;
        for (std::size_t i = 0; i < n; ++i) sum += jacobian[i * p + a] * jacobian[i * p + b];
        return sum;
    };
    const std::size_t q = p - 1;
    std::vector<double> normal(q * q);
    std::vector<double> coupling(q);
    for (std::size_t a = 0; a < q; ++a) {
        coupling[a] = dot(a, q);
        for (std::size_t b = 0; b < q; ++b) normal[a * q + b] = dot(a, b);
    }
    const std::vector<double> x = SolveNormal(normal, coupling, q);
    slope.curvature = dot(q, q);
    for (std::size_t a = 0; a < q; ++a) {
        slope.curvature -= coupling[a] * x[a];
        slope.drift.push_back(-x[a]);
    }
    slope.curvature *= 2.0;
    for (std::size_t i = 0; i < n; ++i) slope.gradient += 2.0 * residuals[i] * jacobian[i * p + q];
    return slope;
}

// A parameter moved along its drift stays inside its range.
double Inside(ModelFreeParameter parameter, double value) {
    if (parameter == Csa) return value;
    if (parameter == S2f || parameter == S2s) value = std::min(value, 1.0);
    return std::max(value, 0.0);
}

// One synthetic protein fitted with its tm: each residue's values (nothing where its fit
// failed) and the tm.
struct SyntheticFit {
    double tmPs = 0.0;
    std::vector<std::optional<ModelFreeValues>> values;
};

// Newton steps on tm: each residue refitted at the fixed tm from where it was, its
// profile's slope and curvature summed over the protein, then tm and every parameter
// moved along the step. Two steps reach the minimum to well within its spread.
SyntheticFit FitSyntheticProtein(const std::vector<SyntheticResidue>& residues, std::size_t set,
                                 ResidueFitSettings settings, double tmPs) {
    constexpr int kNewtonSteps = 2;
    std::vector<std::optional<ModelFit>> current(residues.size());
    for (std::size_t i = 0; i < residues.size(); ++i) {
        if (residues[i].fit) current[i] = *residues[i].fit;
    }
    std::vector<ProfileSlope> slopes(residues.size());
    std::vector<Measurement> data;
    for (int step = 0; step < kNewtonSteps; ++step) {
        settings.tmPs = tmPs;
        double gradient = 0.0;
        double curvature = 0.0;
        for (std::size_t i = 0; i < residues.size(); ++i) {
            if (!current[i]) continue;
            data = SyntheticData(residues[i], set);
            ModelFit again = RefitModel(data, settings, *current[i]);
            if (again.status != FitResult::Status::Converged) {
                current[i].reset();
                continue;
            }
            slopes[i] = SlopeAt(again, settings.system, data);
            gradient += slopes[i].gradient;
            curvature += slopes[i].curvature;
            current[i] = std::move(again);
        }
        if (!(curvature > 0.0)) break;
        const double shift = std::clamp(-gradient / curvature, -0.5 * tmPs, 0.5 * tmPs);
        tmPs += shift;
        for (std::size_t i = 0; i < residues.size(); ++i) {
            if (!current[i]) continue;
            ModelFreeValues& values = current[i]->values;
            for (std::size_t k = 0; k < slopes[i].moving.size(); ++k) {
                const ModelFreeParameter parameter = slopes[i].moving[k];
                values[parameter] =
                    Inside(parameter, values[parameter] + slopes[i].drift[k] * shift);
            }
            values[Tm] = tmPs;
        }
    }
    SyntheticFit fit{tmPs, {}};
    for (const std::optional<ModelFit>& residue : current) {
        fit.values.push_back(residue ? std::optional(residue->values) : std::nullopt);
    }
    return fit;
}

// Monte Carlo of the whole protein with its one tm: every synthetic set of every residue
// fitted together with tm, so that tm gets its spread and each residue's spread holds
// tm's. Sets run in parallel, residues in order within a set.
struct ProteinMonteCarlo {
    std::vector<MonteCarloErrors> residues;
    ParameterSpread tmPs;
};

ProteinMonteCarlo JointMonteCarlo(const ProteinData& data,
                                  const std::vector<ResidueOutcome>& outcomes,
                                  const ResidueFitSettings& settings,
                                  const ProteinFitOptions& options, double tmPs) {
    const std::vector<SyntheticResidue> residues =
        SyntheticResidues(data, outcomes, ResidueSettings(settings), options);
    std::vector<SyntheticFit> fits(static_cast<std::size_t>(options.monteCarloSets));
    BeginStage(options, Stage::MonteCarlo, fits.size());
    ForEachIndex(
        fits.size(), options,
        [&](std::size_t set) { fits[set] = FitSyntheticProtein(residues, set, settings, tmPs); },
        Counted::Yes);
    ProteinMonteCarlo result;
    if (Stopped(options)) return result;
    std::vector<double> tms;
    for (const SyntheticFit& fit : fits) tms.push_back(fit.tmPs);
    result.tmPs = SpreadOf(tms);
    for (std::size_t i = 0; i < residues.size(); ++i) {
        MonteCarloErrors& errors = result.residues.emplace_back();
        if (!residues[i].fit) continue;
        const ModelFit& fit = *residues[i].fit;
        Samples samples(fit.free.size() + 1);
        int fitted = 0;
        for (const SyntheticFit& set : fits) {
            if (!set.values[i]) continue;
            ++fitted;
            samples.Add(SampleOf(fit, *set.values[i]));
        }
        errors = ErrorsOf(fit, samples.Spreads(), fitted);
        errors.spread[static_cast<std::size_t>(Tm)] = result.tmPs;
    }
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool InModel(const ModelFit& fit, ModelFreeParameter parameter) {
    return std::find(fit.free.begin(), fit.free.end(), parameter) != fit.free.end();
}

ParameterFlag FlagOf(const ModelFit& fit, ModelFreeParameter parameter) {
    const auto at = static_cast<std::size_t>(
        std::find(fit.free.begin(), fit.free.end(), parameter) - fit.free.begin());
    return at < fit.flags.size() ? fit.flags[at] : ParameterFlag::None;
}

ProteinFit FitResiduesApart(const ProteinData& data, const ProteinFitOptions& options) {
    ProteinFit result;
    result.residues.resize(data.residues.size());
    BeginStage(options, Stage::Selecting, result.residues.size());
    ForEachIndex(
        result.residues.size(), options,
        [&](std::size_t i) {
            result.residues[i] =
                ResidueApart(data.residues[i], options.residue, options, options.seed + i);
        },
        Counted::Yes);
    if (Stopped(options)) return result;
    BackCalculate(data, ResidueSettings(options.residue), options, result.residues);
    return result;
}

// The error of the global tm where the total chi2 rises by 1 on each side of its minimum.
void ProfileTmError(const ProteinData& data, const ProteinFitOptions& options, ProteinFit& result) {
    GlobalTmProblem problem(data, options, result.residues, *result.globalTmPs);
    BeginStage(options, Stage::TmError, 0);
    const double tmPs = *result.globalTmPs;
    const double minimum = problem.Chi2At(tmPs, GlobalTmProblem::Start::Best);
    result.globalTmLowPs = ProfileEdge(problem, tmPs, minimum, -1.0);
    result.globalTmHighPs = ProfileEdge(problem, tmPs, minimum, 1.0);
    result.globalTmErrorPs = (result.globalTmHighPs - result.globalTmLowPs) / 2.0;
    result.globalTmErrorSource =
        std::isfinite(result.globalTmErrorPs) ? TmErrorSource::Profile : TmErrorSource::None;
}

// Where the search for the one tm starts: the median of the residues' own tm, each fitted
// with the model asked for, or else with m2 (S2 and te), which most residues' rates
// follow well enough for a start; the search scans a factor of four around it.
double StartingTm(const ProteinData& data, ResidueFitSettings settings,
                  const ProteinFitOptions& options) {
    settings.fitTm = true;
    constexpr int kStartingModel = 2;
    const ModelFreeModel& model = ModelFreeModelNumber(options.model.value_or(kStartingModel));
    std::vector<std::optional<double>> local(data.residues.size());
    BeginStage(options, Stage::LocalTm, local.size());
    ForEachIndex(
        local.size(), options,
        [&](std::size_t i) {
            const ModelFit fit = FitModel(data.residues[i].measurements, settings, model);
            if (fit.status == FitResult::Status::Converged) local[i] = fit.values[Tm];
        },
        Counted::Yes);
    std::vector<double> tms;
    for (const std::optional<double>& tmPs : local) {
        if (tmPs) tms.push_back(*tmPs);
    }
    return tms.empty() ? settings.tmPs : Median(tms);
}

}  // namespace

ProteinFit FitWithGlobalTm(const ProteinData& data, const ProteinFitOptions& options) {
    ProteinFit result;
    ResidueFitSettings settings = options.residue;
    std::vector<std::vector<EliminatedModel>> banned(data.residues.size());
    double tmPs = StartingTm(data, settings, options);
    settings.fitTm = false;
    const int sets = options.monteCarloSets;
    for (;;) {
        GlobalTm global = GlobalTmRounds(data, options, banned, tmPs, result.rounds);
        tmPs = global.tmPs;
        settings.tmPs = tmPs;
        result.residues = std::move(global.outcomes);
        result.globalTmPs = tmPs;
        if (sets == 0 || Stopped(options)) break;
        ProteinMonteCarlo joint = JointMonteCarlo(data, result.residues, settings, options, tmPs);
        if (Stopped(options)) break;
        bool eliminated = false;
        for (std::size_t i = 0; i < result.residues.size(); ++i) {
            ResidueOutcome& outcome = result.residues[i];
            if (!outcome.fit) continue;
            outcome.monteCarloFailed = sets - joint.residues[i].fitted;
            outcome.monteCarlo = joint.residues[i];
            if (TooManyFailed(outcome.monteCarloFailed, sets)) {
                banned[i].push_back(
                    {outcome.fit->model, MonteCarloFailures(outcome.monteCarloFailed, sets)});
                eliminated = true;
            }
        }
        if (!eliminated) {
            result.globalTmErrorPs = joint.tmPs.standardDeviation;
            result.globalTmLowPs = joint.tmPs.low;
            result.globalTmHighPs = joint.tmPs.high;
            result.globalTmErrorSource = TmErrorSource::MonteCarlo;
            break;
        }
    }
    if (Stopped(options)) return result;
    if (sets == 0) ProfileTmError(data, options, result);
    BackCalculate(data, ResidueSettings(settings), options, result.residues);
    return result;
}

ProteinFit FitProtein(const ProteinData& data, const ProteinFitOptions& options) {
    gsl_set_error_handler_off();
    ProteinFit fit = options.diffusion  ? FitWithDiffusion(data, options)
                     : options.globalTm ? FitWithGlobalTm(data, options)
                                        : FitResiduesApart(data, options);
    fit.stopped = Stopped(options);
    return fit;
}

std::string_view CsvNameOf(ResultQuantity quantity) {
    static constexpr std::array<std::string_view, kResultQuantityCount> kNames = {
        "tm_ps", "S2", "S2f", "S2s", "te_ps", "tf_ps", "ts_ps", "Rex_800", "CSA_ppm"};
    return kNames[static_cast<std::size_t>(quantity)];
}

std::optional<ResultValue> ResultOf(const ProteinFit& fit, const ResidueOutcome& outcome,
                                    ResultQuantity quantity) {
    if (!outcome.fit) return std::nullopt;
    const ModelFit& model = *outcome.fit;
    const ModelFreeModel& family = ModelFreeModelNumber(model.model);
    // A parameter the data do not determine has no error; one at a bound has the Monte
    // Carlo spread, which is honest there, but no covariance error.
    const auto error = [&](ModelFreeParameter parameter) {
        const ParameterFlag flag = FlagOf(model, parameter);
        if (flag == ParameterFlag::Undetermined) return kNaN;
        if (outcome.monteCarlo) {
            return outcome.monteCarlo->spread[static_cast<std::size_t>(parameter)]
                .standardDeviation;
        }
        return flag == ParameterFlag::AtBound ? kNaN : model.errors[parameter];
    };
    const auto parameter = [&](ModelFreeParameter p) -> std::optional<ResultValue> {
        if (!InModel(model, p)) return std::nullopt;
        return ResultValue{model.values[p], error(p)};
    };
    switch (quantity) {
        case ResultQuantity::Tm: {
            const double tmError = InModel(model, Tm) ? error(Tm)
                                   : fit.globalTmPs   ? fit.globalTmErrorPs
                                                      : kNaN;
            return ResultValue{model.values[Tm], tmError};
        }
        case ResultQuantity::S2: {
            if (family.rigid) return std::nullopt;
            // In models 1 to 4 S2 is S2s itself; the derived S2 of models 5 to 8 has an
            // error only from Monte Carlo.
            const double orderError = !family.extended ? error(S2s)
                                      : outcome.monteCarlo
                                          ? outcome.monteCarlo->s2.standardDeviation
                                          : kNaN;
            return ResultValue{OrderParameter(family, model.values), orderError};
        }
        case ResultQuantity::S2f:
        case ResultQuantity::S2s:
            if (!family.extended) return std::nullopt;
            return ResultValue{model.values[quantity == ResultQuantity::S2f ? S2f : S2s],
                               error(quantity == ResultQuantity::S2f ? S2f : S2s)};
        case ResultQuantity::Te: return parameter(Te);
        case ResultQuantity::Tf: return parameter(Tf);
        case ResultQuantity::Ts: return parameter(Ts);
        case ResultQuantity::Rex: return parameter(Rex);
        case ResultQuantity::Csa: return parameter(Csa);
    }
    return std::nullopt;
}

namespace {

std::string FullCell(double value) {
    return std::isfinite(value) ? FormatShortestDouble(value) : "";
}

}  // namespace

ResultCells ResultCellsOf(const ResultValue& result, CsvRounding rounding) {
    if (rounding == CsvRounding::ToError) {
        if (std::optional<RoundedToError> rounded = RoundToError(result.value, result.error)) {
            return {std::move(rounded->value), std::move(rounded->error)};
        }
    }
    return {FullCell(result.value), FullCell(result.error)};
}

std::string ProteinFitCsv(const ProteinFit& fit, CsvRounding rounding) {
    std::string csv = "residue,model";
    for (int q = 0; q < kResultQuantityCount; ++q) {
        const std::string name(CsvNameOf(static_cast<ResultQuantity>(q)));
        csv += "," + name + "," + name + "_error";
    }
    csv += ",chi2,aicc,flags\n";
    for (const ResidueOutcome& outcome : fit.residues) {
        if (!outcome.fit) continue;
        const ModelFit& model = *outcome.fit;
        csv += CsvCell(outcome.residue) + ",m" + std::to_string(model.model);
        for (int q = 0; q < kResultQuantityCount; ++q) {
            const auto result = ResultOf(fit, outcome, static_cast<ResultQuantity>(q));
            const ResultCells cells = result ? ResultCellsOf(*result, rounding) : ResultCells{};
            csv += "," + cells.value + "," + cells.error;
        }
        csv += "," + FormatShortestDouble(model.chi2) + "," +
               FullCell(model.Score(Criterion::Aicc)) + "," + CsvCell(model.FlagsText()) + "\n";
    }
    return csv;
}

std::string BackCalculatedCsv(const ProteinData& data, const ProteinFit& fit) {
    std::string csv = "residue,field_mhz,quantity,value,error,calculated\n";
    for (std::size_t r = 0; r < data.residues.size(); ++r) {
        const ResidueData& residue = data.residues[r];
        const ResidueOutcome& outcome = fit.residues[r];
        for (std::size_t m = 0; m < residue.measurements.size(); ++m) {
            const Measurement& measurement = residue.measurements[m];
            // A time is given back as a time.
            const bool time = ComparedQuantity(measurement.quantity) != measurement.quantity;
            const std::string calculated =
                m < outcome.calculated.size()
                    ? FormatShortestDouble(time ? 1.0 / outcome.calculated[m]
                                                : outcome.calculated[m])
                    : "";
            csv += CsvCell(residue.residue) + "," + FormatShortestDouble(measurement.fieldMHz) +
                   "," + std::string(NameOf(measurement.quantity)) + "," +
                   FormatShortestDouble(measurement.value) + "," +
                   FormatShortestDouble(measurement.error) + "," + calculated + "\n";
        }
    }
    return csv;
}

}  // namespace veldorin
