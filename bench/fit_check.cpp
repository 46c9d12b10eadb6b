// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// veldorin_fit_check: whether the fit of measured rates can be trusted, on synthetic data
// with known answers. Run by hand; each subcommand prints a short table and a verdict.
//   recovery   noise-free data of m0..m9: every parameter the data pin found again
//   minima     noisy data: the fit's chi2 against an independent multi-start minimum
//   selection  the true model picked by AIC, beside an independent selection
//   coverage   Monte Carlo errors of whole proteins against the truth, and tm's error
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "bench/fit_check_reference.h"
#include "bench/fit_check_truth.h"
#include "fit/protein_fit.h"

namespace veldorin::fit_check {
namespace {

using enum ModelFreeParameter;

constexpr std::array<double, 3> kThreeFields{500.0, 600.0, 800.0};
constexpr std::array<double, 2> kTwoFields{600.0, 800.0};

struct Options {
    std::string command;
    std::uint64_t seed = 1;
    std::optional<int> count;
};

struct NamedSystem {
    const char* name;
    FitSpinSystem system;
};

std::array<NamedSystem, 2> Systems() {
    return {{{"15N-1H", BackboneAmide()}, {"13C-1H", CarbonProtonPair()}}};
}

double OverallTm(std::mt19937_64& random) { return LogUniform(random, 4000.0, 16000.0); }

// The parameters as "name=value", for the lists of failures.
std::string Describe(const std::vector<ModelFreeParameter>& free, const ModelFreeValues& values) {
    std::string text;
    for (ModelFreeParameter parameter : free) {
        std::array<char, 64> cell{};
        std::snprintf(cell.data(), cell.size(), "%s%s=%.7g", text.empty() ? "" : " ",
                      std::string(ParameterName(parameter)).c_str(), values[parameter]);
        text += cell.data();
    }
    return text.empty() ? "-" : text;
}

double Percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

void Verdict(bool met, const std::string& text) {
    std::printf("verdict: %s: %s\n", met ? "MET" : "NOT MET", text.c_str());
}

// The size a parameter's error is measured against: its value, or for a value near 0 the
// smallest size that matters (1 ps, 1/s, 0.01 in an order parameter).
double SizeOf(ModelFreeParameter parameter, double value) {
    const double floor = parameter == S2f || parameter == S2s ? 0.01 : 1.0;
    return std::max(std::abs(value), floor);
}

// The data pin a parameter when its standard error at the truth, with the 2 % uncertainties,
// is at most 100 times its size: then a fit that reaches chi2 1e-16 is within 1e-6 of it.
// Beyond that the Jacobian is numerically close to singular along it.
constexpr double kPinnedRelativeError = 100.0;

// m6 and m8 give the same rates with the two internal motions' roles exchanged.
ModelFreeValues MotionsExchanged(const ModelFreeValues& truth) {
    ModelFreeValues exchanged = truth;
    const double s2 = truth[S2f] * truth[S2s];
    exchanged[S2f] = 1.0 - truth[S2f] + s2;
    exchanged[S2s] = s2 / exchanged[S2f];
    exchanged[Tf] = truth[Ts];
    exchanged[Ts] = truth[Tf];
    return exchanged;
}

struct RecoveryCase {
    const char* system = "";
    bool fitTm = false;
    const ModelFreeModel* model = nullptr;
    ModelFreeValues truth;
    ResidueFitSettings settings;
    std::vector<Measurement> data;
};

RecoveryCase MakeRecoveryCase(const NamedSystem& system, std::size_t systemIndex, bool fitTm,
                              int model, std::uint64_t seed, int index) {
    RecoveryCase made{system.name, fitTm, &ModelFreeModelNumber(model), {}, {}, {}};
    std::mt19937_64 random = CaseRandom(seed, 100 * systemIndex + 10 * fitTm + model, index);
    const double tm = OverallTm(random);
    made.truth = DrawTruth(*made.model, tm, system.system.csaPpm, random);
    // Every fifth case with exchange has none: the minimum then lies on Rex's bound.
    if (HasParameter(*made.model, Rex) && index % 5 == 0) made.truth[Rex] = 0.0;
    made.data = ExactData(system.system, *made.model, made.truth, kThreeFields);
    made.settings = SettingsFor(system.system, fitTm, fitTm ? 5000.0 : tm);
    return made;
}

struct ParameterMiss {
    ModelFreeParameter parameter;
    double relativeError;  // the standard error at the truth over the parameter's size
};

// Each free parameter's standard error at the values over its size.
ModelFreeValues RelativeErrors(const RecoveryCase& c, const ModelFreeValues& at) {
    const ReferenceProblem problem(c.data, c.settings, *c.model);
    const Covariance covariance(problem, at);
    ModelFreeValues relative;
    for (ModelFreeParameter parameter : problem.Free()) {
        relative[parameter] = covariance.ErrorOf(parameter) / SizeOf(parameter, at[parameter]);
    }
    return relative;
}

bool Pinned(double relativeError) { return relativeError <= kPinnedRelativeError; }

// The pinned parameters the fit missed by more than 1e-6 of their size, against the truth
// as labelled, or exchanged when that labelling misses fewer.
std::vector<ParameterMiss> Misses(const RecoveryCase& c, const ModelFit& fit) {
    std::vector<ModelFreeValues> labellings{c.truth};
    if (HasParameter(*c.model, Tf)) labellings.push_back(MotionsExchanged(c.truth));
    std::optional<std::vector<ParameterMiss>> fewest;
    for (const ModelFreeValues& truth : labellings) {
        const ModelFreeValues relative = RelativeErrors(c, truth);
        std::vector<ParameterMiss> misses;
        for (ModelFreeParameter parameter : fit.free) {
            const double off = std::abs(fit.values[parameter] - truth[parameter]);
            if (Pinned(relative[parameter]) &&
                !(off <= 1e-6 * SizeOf(parameter, truth[parameter]))) {
                misses.push_back({parameter, relative[parameter]});
            }
        }
        if (!fewest || misses.size() < fewest->size()) fewest = std::move(misses);
    }
    return *fewest;
}

int UnpinnedCount(const RecoveryCase& c) {
    const ModelFreeValues relative = RelativeErrors(c, c.truth);
    return static_cast<int>(std::ranges::count_if(
        FreeParameters(*c.model, c.settings),
        [&](ModelFreeParameter parameter) { return !Pinned(relative[parameter]); }));
}

struct RecoveryRow {
    int fits = 0;
    int recovered = 0;
    int chi2Above = 0;
    int missed = 0;
    int notConverged = 0;
    int unpinned = 0;
};

void PrintFailure(const RecoveryCase& c, const ModelFit& fit,
                  const std::vector<ParameterMiss>& misses) {
    std::string missed;
    for (const ParameterMiss& miss : misses) {
        std::array<char, 64> cell{};
        std::snprintf(cell.data(), cell.size(), " %s(sd/size %.2g)",
                      std::string(ParameterName(miss.parameter)).c_str(), miss.relativeError);
        missed += cell.data();
    }
    std::printf("  %s %s m%d: truth %s | found %s | chi2 %.3g%s%s\n", c.system,
                c.fitTm ? "local-tm" : "tm-given", c.model->number,
                Describe(fit.free, c.truth).c_str(), Describe(fit.free, fit.values).c_str(),
                fit.chi2, fit.status == FitResult::Status::Converged ? "" : " (not converged)",
                missed.empty() ? "" : (" | missed" + missed).c_str());
}

// The cases of one system, tm and model, with the first failures listed.
RecoveryRow RecoverModel(const NamedSystem& system, std::size_t systemIndex, bool fitTm, int model,
                         const Options& options) {
    constexpr int kListed = 2;
    RecoveryRow row;
    for (int index = 0; index < options.count.value_or(40); ++index) {
        const RecoveryCase c =
            MakeRecoveryCase(system, systemIndex, fitTm, model, options.seed, index);
        const ModelFit fit = FitModel(c.data, c.settings, *c.model);
        const std::vector<ParameterMiss> misses = Misses(c, fit);
        const bool converged = fit.status == FitResult::Status::Converged;
        const bool low = fit.chi2 <= 1e-8;
        ++row.fits;
        row.unpinned += UnpinnedCount(c);
        row.notConverged += !converged;
        row.chi2Above += !low;
        row.missed += !misses.empty();
        if (converged && low && misses.empty()) {
            ++row.recovered;
        } else if (row.fits - row.recovered <= kListed) {
            PrintFailure(c, fit, misses);
        }
    }
    return row;
}

int RunRecovery(const Options& options) {
    std::printf(
        "recovery: noise-free R1, R2, NOE at 500/600/800 MHz, 2 %% errors; %d cases per "
        "system, tm and model;\na parameter counts where its standard error at the truth is at "
        "most %.0f times its size (it is pinned); the first two failures of each row listed above "
        "it\n",
        options.count.value_or(40), kPinnedRelativeError);
    std::printf("%-7s %-9s %-5s %6s %10s %10s %7s %14s %9s\n", "system", "tm", "model", "fits",
                "recovered", "chi2>1e-8", "missed", "not-converged", "unpinned");
    int fits = 0;
    int recovered = 0;
    const auto systems = Systems();
    for (std::size_t s = 0; s < systems.size(); ++s) {
        for (const bool fitTm : {false, true}) {
            for (int model = 0; model < (fitTm ? 5 : kModelFreeModelCount); ++model) {
                const RecoveryRow row = RecoverModel(systems[s], s, fitTm, model, options);
                std::printf("%-7s %-9s m%-4d %6d %10d %10d %7d %14d %9d\n", systems[s].name,
                            fitTm ? "local" : "given", model, row.fits, row.recovered,
                            row.chi2Above, row.missed, row.notConverged, row.unpinned);
                fits += row.fits;
                recovered += row.recovered;
            }
        }
    }
    Verdict(recovered == fits, std::to_string(recovered) + " of " + std::to_string(fits) +
                                   " noise-free fits recovered (target: all)");
    return 0;
}

// An internal time (te, tf, ts) of at least twice tm: the literature eliminates such a fit.
bool SlowInternalMotion(const ModelFreeModel& model, const ModelFreeValues& values) {
    return std::ranges::any_of(model.free, [&](ModelFreeParameter p) {
        return (p == Te || p == Tf || p == Ts) && values[p] >= 2.0 * values[Tm];
    });
}

struct NoisyResidue {
    int trueModel = 0;
    ModelFreeValues truth;
    ResidueFitSettings settings;
    std::vector<Measurement> data;
};

NoisyResidue MakeNoisyResidue(int trueModel, std::span<const double> fields, std::uint64_t seed,
                              std::uint64_t stream, int index) {
    NoisyResidue residue;
    residue.trueModel = trueModel;
    std::mt19937_64 random = CaseRandom(seed, stream, index);
    const double tm = OverallTm(random);
    const FitSpinSystem amide = BackboneAmide();
    const ModelFreeModel& model = ModelFreeModelNumber(trueModel);
    residue.truth = DrawTruth(model, tm, amide.csaPpm, random);
    residue.data = ExactData(amide, model, residue.truth, fields);
    AddNoise(residue.data, random);
    residue.settings = SettingsFor(amide, false, tm);
    return residue;
}

struct MinimaRow {
    int fits = 0;
    int above = 0;
    int convergedAbove = 0;  // of those above, the fits that say they converged
    int eliminable = 0;      // of those above, the reference's minimum has a time >= 2 tm
    int referenceAbove = 0;
    int notConverged = 0;
    double worst = 0.0;  // the largest relative excess of the fit's chi2
};

// The fit's chi2 above the reference's by more than 1e-6 relative (and a rounding's worth).
bool Above(double chi2, double reference) { return chi2 - reference > 1e-6 * reference + 1e-12; }

void PrintMinimaPair(int index, int trueModel, const ModelFit& fit, const ReferenceFit& reference) {
    std::printf("  residue %d (true m%d) m%d: fit chi2 %.8g (%s) %s | reference chi2 %.8g %s\n",
                index, trueModel, fit.model, fit.chi2,
                fit.status == FitResult::Status::Converged ? "converged" : "not converged",
                Describe(fit.free, fit.values).c_str(), reference.chi2,
                Describe(fit.free, reference.values).c_str());
}

int RunMinima(const Options& options) {
    const int count = options.count.value_or(100);
    constexpr int kListed = 25;
    constexpr int kFittedModels = 9;
    std::printf(
        "minima: %d noisy 15N-1H residues (true models m1..m8 in turn, tm given, 2 %% "
        "noise, 500/600/800 MHz), each fitted with m0..m8\n",
        count);
    std::array<MinimaRow, kFittedModels> rows{};
    int listed = 0;
    for (int index = 0; index < count; ++index) {
        const NoisyResidue residue =
            MakeNoisyResidue(1 + index % 8, kThreeFields, options.seed, 2000, index);
        for (int number = 0; number < kFittedModels; ++number) {
            const ModelFreeModel& model = ModelFreeModelNumber(number);
            const ModelFit fit = FitModel(residue.data, residue.settings, model);
            const ReferenceFit reference = ReferenceMinimum(
                ReferenceProblem(residue.data, residue.settings, model),
                options.seed * 1000003 + static_cast<std::uint64_t>(index * 16 + number));
            MinimaRow& row = rows[static_cast<std::size_t>(number)];
            ++row.fits;
            row.notConverged += fit.status != FitResult::Status::Converged;
            const bool referenceAbove = Above(reference.chi2, fit.chi2);
            const bool fitAbove = Above(fit.chi2, reference.chi2);
            row.referenceAbove += referenceAbove;
            if (fitAbove) {
                ++row.above;
                row.convergedAbove += fit.status == FitResult::Status::Converged;
                row.eliminable += SlowInternalMotion(model, reference.values);
                const double excess = (fit.chi2 - reference.chi2) / std::max(reference.chi2, 1e-12);
                row.worst = std::max(row.worst, excess);
            }
            if ((fitAbove || referenceAbove) && listed++ < kListed) {
                PrintMinimaPair(index, residue.trueModel, fit, reference);
            }
        }
    }
    if (listed > kListed) std::printf("  (%d more not listed)\n", listed - kListed);
    std::printf("%-6s %6s %10s %16s %16s %13s %14s %16s\n", "model", "fits", "fit-above",
                "above-converged", "above-ref>=2tm", "worst-excess", "not-converged",
                "reference-above");
    int above = 0;
    int fits = 0;
    for (int number = 0; number < kFittedModels; ++number) {
        const MinimaRow& row = rows[static_cast<std::size_t>(number)];
        std::printf("m%-5d %6d %10d %16d %16d %12.3g%% %14d %16d\n", number, row.fits, row.above,
                    row.convergedAbove, row.eliminable, 100.0 * row.worst, row.notConverged,
                    row.referenceAbove);
        above += row.above;
        fits += row.fits;
    }
    Verdict(above == 0, std::to_string(above) + " of " + std::to_string(fits) +
                            " fits end above the independent minimum by more than 1e-6 "
                            "relative (target: none)");
    return 0;
}

// The independent selection: every model's reference minimum, the literature's
// elimination (an internal time of at least twice tm, no degrees of freedom), then the
// lowest AIC.
int ReferenceChoice(const NoisyResidue& residue, std::uint64_t seed) {
    int chosen = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int number = 0; number < kModelFreeModelCount; ++number) {
        const ModelFreeModel& model = ModelFreeModelNumber(number);
        const ReferenceProblem problem(residue.data, residue.settings, model);
        const ReferenceFit fit = ReferenceMinimum(problem, seed + number);
        const std::size_t k = problem.Free().size();
        if (k > 0 && problem.MeasurementCount() <= k) continue;
        if (SlowInternalMotion(model, fit.values)) continue;
        if (const double aic = fit.chi2 + 2.0 * static_cast<double>(k); aic < best) {
            best = aic;
            chosen = number;
        }
    }
    return chosen;
}

int RunSelection(const Options& options) {
    const int count = options.count.value_or(400);
    constexpr int kTrueModels = 5;
    std::printf(
        "selection: %d noisy 15N-1H residues (true models m1..m5 in turn, tm given, 2 %% "
        "noise, 600/800 MHz), AIC\n",
        count);
    std::array<int, kTrueModels> residues{};
    std::array<int, kTrueModels> picked{};
    std::array<int, kTrueModels> referencePicked{};
    for (int index = 0; index < count; ++index) {
        const int trueModel = 1 + index % kTrueModels;
        const NoisyResidue residue =
            MakeNoisyResidue(trueModel, kTwoFields, options.seed, 3000, index);
        const ModelSelection selection =
            SelectModel(residue.data, residue.settings, Criterion::Aic);
        const std::size_t row = static_cast<std::size_t>(trueModel - 1);
        ++residues[row];
        picked[row] += selection.chosen == trueModel;
        referencePicked[row] +=
            ReferenceChoice(residue, options.seed * 1000003 +
                                         static_cast<std::uint64_t>(index) * 16) == trueModel;
    }
    std::printf("%-10s %9s %14s %14s\n", "true", "residues", "SelectModel", "independent");
    int total = 0;
    int right = 0;
    int referenceRight = 0;
    for (std::size_t row = 0; row < residues.size(); ++row) {
        std::printf("m%-9zu %9d %13.1f%% %13.1f%%\n", row + 1, residues[row],
                    Percent(picked[row], residues[row]),
                    Percent(referencePicked[row], residues[row]));
        total += residues[row];
        right += picked[row];
        referenceRight += referencePicked[row];
    }
    std::printf("%-10s %9d %13.1f%% %13.1f%%\n", "all", total, Percent(right, total),
                Percent(referenceRight, total));
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(),
                  "SelectModel picks the true model in %.1f %%, the independent selection in "
                  "%.1f %% (target: at least as often)",
                  Percent(right, total), Percent(referenceRight, total));
    Verdict(right >= referenceRight, text.data());
    return 0;
}

constexpr int kProteins = 16;
constexpr int kResiduesPerProtein = 24;
constexpr double kProteinTm = 8000.0;

struct SyntheticProtein {
    int model = 0;
    ProteinData data;
    std::vector<ModelFreeValues> truths;
};

SyntheticProtein MakeProtein(int model, std::uint64_t seed, int protein) {
    SyntheticProtein made;
    made.model = model;
    const FitSpinSystem amide = BackboneAmide();
    for (int r = 0; r < kResiduesPerProtein; ++r) {
        std::mt19937_64 random = CaseRandom(seed, 4000 + protein, r);
        const ModelFreeModel& family = ModelFreeModelNumber(model);
        ModelFreeValues truth = DrawTruth(family, kProteinTm, amide.csaPpm, random);
        std::vector<Measurement> data = ExactData(amide, family, truth, kThreeFields);
        AddNoise(data, random);
        made.data.residues.push_back({std::to_string(r + 1), std::move(data), {}});
        made.truths.push_back(truth);
    }
    return made;
}

// One checked quantity of a residue: the truth, the fit, the Monte Carlo and the
// covariance's standard deviations, and its range.
struct Checked {
    double truth = 0.0;
    double found = 0.0;
    double monteCarlo = 0.0;
    double predicted = 0.0;
    double upper = 0.0;
};

// The Gaussian picture holds when the truth's predicted error is under half its size
// and two of them leave the truth inside its range; otherwise the case is not identifiable.
bool Identifiable(const Checked& c) {
    return c.predicted <= 0.5 * std::abs(c.truth) && c.truth - 2.0 * c.predicted >= 0.0 &&
           c.truth + 2.0 * c.predicted <= c.upper;
}

constexpr std::array<const char*, 5> kCheckedNames{"S2", "te_ps", "Rex_800", "S2f", "ts_ps"};

std::optional<Checked> CheckedQuantity(std::size_t which, const ModelFreeModel& model,
                                       const ModelFreeValues& truth, const ModelFit& fit,
                                       const MonteCarloErrors& errors,
                                       const Covariance& covariance) {
    if (which == 0) {
        return Checked{OrderParameter(model, truth), OrderParameter(model, fit.values),
                       errors.s2.standardDeviation, covariance.OrderParameterError(model, truth),
                       1.0};
    }
    constexpr std::array<ModelFreeParameter, 5> kParameters{S2s, Te, Rex, S2f, Ts};
    const ModelFreeParameter parameter = kParameters[which];
    if (!HasParameter(model, parameter)) return std::nullopt;
    const double upper = parameter == S2f ? 1.0 : std::numeric_limits<double>::infinity();
    return Checked{truth[parameter], fit.values[parameter],
                   errors.spread[static_cast<std::size_t>(parameter)].standardDeviation,
                   covariance.ErrorOf(parameter), upper};
}

struct CoverageRow {
    int counted = 0;
    int excluded = 0;
    int within1 = 0;
    int within2 = 0;

    CoverageRow& operator+=(const CoverageRow& other) {
        counted += other.counted;
        excluded += other.excluded;
        within1 += other.within1;
        within2 += other.within2;
        return *this;
    }
};

constexpr int kProteinModels = 5;  // m1..m5
// The counts by the proteins' true model and by checked quantity.
using CoverageTally = std::array<std::array<CoverageRow, kCheckedNames.size()>, kProteinModels>;

void CountResidue(const SyntheticProtein& protein, std::size_t r, const ResidueOutcome& outcome,
                  CoverageTally& tally) {
    const ModelFreeModel& model = ModelFreeModelNumber(protein.model);
    const ModelFreeValues& truth = protein.truths[r];
    const ResidueFitSettings atTruth = SettingsFor(BackboneAmide(), false, kProteinTm);
    const Covariance covariance(
        ReferenceProblem(protein.data.residues[r].measurements, atTruth, model), truth);
    for (std::size_t which = 0; which < kCheckedNames.size(); ++which) {
        const auto c =
            CheckedQuantity(which, model, truth, *outcome.fit, *outcome.monteCarlo, covariance);
        if (!c) continue;
        CoverageRow& row = tally[static_cast<std::size_t>(protein.model - 1)][which];
        if (!Identifiable(*c)) {
            ++row.excluded;
            continue;
        }
        ++row.counted;
        const double off = std::abs(c->found - c->truth);
        row.within1 += off <= c->monteCarlo;
        row.within2 += off <= 2.0 * c->monteCarlo;
    }
}

void PrintCoverageRow(const std::string& name, const CoverageRow& row) {
    std::printf("%-9s %8d %9d %9.1f%% %9.1f%%\n", name.c_str(), row.counted, row.excluded,
                Percent(row.within1, row.counted), Percent(row.within2, row.counted));
}

// The tally by quantity, then by model; the whole.
CoverageRow PrintCoverage(const CoverageTally& tally) {
    std::printf("%-9s %8s %9s %10s %10s\n", "quantity", "counted", "excluded", "within-1sd",
                "within-2sd");
    CoverageRow all;
    for (std::size_t which = 0; which < kCheckedNames.size(); ++which) {
        CoverageRow row;
        for (const auto& byModel : tally) row += byModel[which];
        PrintCoverageRow(kCheckedNames[which], row);
        all += row;
    }
    PrintCoverageRow("all", all);
    std::printf("%-9s %8s %9s %10s %10s\n", "model", "counted", "excluded", "within-1sd",
                "within-2sd");
    for (std::size_t m = 0; m < tally.size(); ++m) {
        CoverageRow row;
        for (const CoverageRow& quantity : tally[m]) row += quantity;
        PrintCoverageRow("m" + std::to_string(m + 1), row);
    }
    return all;
}

ProteinFit FitSyntheticProtein(const SyntheticProtein& protein, int sets, std::uint64_t seed) {
    ProteinFitOptions options;
    options.residue = SettingsFor(BackboneAmide(), false, 5000.0);
    options.model = protein.model;
    options.globalTm = true;
    options.monteCarloSets = sets;
    options.seed = seed;
    return FitProtein(protein.data, options);
}

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : 0.5 * (values[half - 1] + values[half]);
}

struct TmSummary {
    double mean = 0.0;
    double deviation = 0.0;  // standard deviation of the fitted tm
    double rms = 0.0;        // root mean square off the truth
    double medianError = 0.0;
    // Root mean square of each protein's miss in units of its own reported error: the
    // proteins differ in their model, so their tm is known to different precision.
    double rmsInErrors = 0.0;
};

TmSummary SummariseTm(const std::vector<double>& tms, const std::vector<double>& errors) {
    TmSummary summary;
    const auto n = static_cast<double>(tms.size());
    for (double tm : tms) summary.mean += tm / n;
    for (double tm : tms) {
        summary.deviation += (tm - summary.mean) * (tm - summary.mean) / (n - 1.0);
        summary.rms += (tm - kProteinTm) * (tm - kProteinTm) / n;
    }
    for (std::size_t p = 0; p < tms.size(); ++p) {
        const double miss = (tms[p] - kProteinTm) / errors[p];
        summary.rmsInErrors += miss * miss / n;
    }
    summary.rmsInErrors = std::sqrt(summary.rmsInErrors);
    summary.deviation = std::sqrt(summary.deviation);
    summary.rms = std::sqrt(summary.rms);
    summary.medianError = Median(errors);
    return summary;
}

int RunCoverage(const Options& options) {
    const int sets = options.count.value_or(500);
    std::printf(
        "coverage: %d synthetic 15N-1H proteins of %d residues (one true model each, "
        "m1..m5 in turn, tm %.0f ps, 2 %% noise, 500/600/800 MHz), global tm, %d Monte "
        "Carlo sets\n",
        kProteins, kResiduesPerProtein, kProteinTm, sets);
    CoverageTally tally{};
    std::vector<double> tms;
    std::vector<double> tmErrors;
    int unfitted = 0;
    for (int p = 0; p < kProteins; ++p) {
        const SyntheticProtein protein = MakeProtein(1 + p % kProteinModels, options.seed, p);
        const ProteinFit fit =
            FitSyntheticProtein(protein, sets, options.seed + static_cast<std::uint64_t>(p));
        tms.push_back(fit.globalTmPs.value_or(std::nan("")));
        tmErrors.push_back(fit.globalTmErrorPs);
        std::printf("  protein %2d m%d: tm %.2f +- %.2f ps\n", p, protein.model, tms.back(),
                    tmErrors.back());
        for (std::size_t r = 0; r < fit.residues.size(); ++r) {
            const ResidueOutcome& outcome = fit.residues[r];
            if (!outcome.fit || !outcome.monteCarlo) {
                ++unfitted;
                continue;
            }
            CountResidue(protein, r, outcome, tally);
        }
    }
    const CoverageRow all = PrintCoverage(tally);
    const TmSummary tm = SummariseTm(tms, tmErrors);
    const double ratio = tm.rmsInErrors;
    std::printf(
        "tm over %d proteins: mean %.2f ps, sd %.2f ps, rms off the truth %.2f ps, median "
        "reported error %.2f ps, rms off the truth in reported errors %.2f; residues not "
        "fitted %d\n",
        kProteins, tm.mean, tm.deviation, tm.rms, tm.medianError, ratio, unfitted);
    const double one = Percent(all.within1, all.counted);
    const double two = Percent(all.within2, all.counted);
    std::array<char, 200> text{};
    std::snprintf(text.data(), text.size(),
                  "within 1 sd %.1f %% (target 68 +- 5), within 2 sd %.1f %% (95 +- 3), tm "
                  "scatter in reported errors %.2f (target <= 1.3)",
                  one, two, ratio);
    Verdict(std::abs(one - 68.0) <= 5.0 && std::abs(two - 95.0) <= 3.0 && ratio <= 1.3,
            text.data());
    return 0;
}

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: veldorin_fit_check recovery|minima|selection|coverage [--seed S] "
                 "[--count N]\n"
                 "  --count: cases per system, tm and model (recovery, 40), residues (minima, "
                 "100; selection, 400), Monte Carlo sets (coverage, 500)\n");
}

std::optional<std::uint64_t> WholeNumber(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<Options> ReadOptions(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    Options options;
    options.command = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::optional<std::uint64_t> value = WholeNumber(argv[i + 1]);
        if (!value) return std::nullopt;
        if (name == "--seed") {
            options.seed = *value;
        } else if (name == "--count" && *value > 0) {
            options.count = static_cast<int>(*value);
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 != 0) return std::nullopt;
    return options;
}

}  // namespace
}  // namespace veldorin::fit_check

int main(int argc, char** argv) {
    using namespace veldorin::fit_check;
    const std::optional<Options> options = ReadOptions(argc, argv);
    if (!options) {
        PrintUsage();
        return 2;
    }
    if (options->command == "recovery") return RunRecovery(*options);
    if (options->command == "minima") return RunMinima(*options);
    if (options->command == "selection") return RunSelection(*options);
    if (options->command == "coverage") return RunCoverage(*options);
    PrintUsage();
    return 2;
}
