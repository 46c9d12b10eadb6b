// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_fit.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_min.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <thread>

namespace veldorin {
namespace {

using enum ModelFreeParameter;

constexpr std::array<const char*, 5> kColumns = {"residue", "field_mhz", "quantity", "value",
                                                 "error"};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(Trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos) return fields;
        line.remove_prefix(comma + 1);
    }
}

std::optional<double> NumberIn(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string Where(int line, const char* column) {
    return "line " + std::to_string(line) + ", column \"" + column + "\": ";
}

// Runs `work` for 0..count-1 on up to `jobs` threads.
void ForEachIndex(std::size_t count, int jobs, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next = 0;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    std::vector<std::thread> threads;
    const int extra = std::min<int>(jobs, static_cast<int>(count)) - 1;
    for (int t = 0; t < extra; ++t) threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads) thread.join();
}

// The residue's fit with tm fixed or free as the settings say: one model or the best.
ResidueOutcome FitResidue(const ResidueData& residue, const ResidueFitSettings& settings,
                          const ProteinFitOptions& options) {
    ResidueOutcome outcome{residue.residue, std::nullopt, std::nullopt, {}, {}};
    if (options.model) {
        ModelFit fit =
            FitModel(residue.measurements, settings, ModelFreeModelNumber(*options.model));
        if (fit.status == FitResult::Status::Converged) {
            outcome.fit = std::move(fit);
        } else {
            outcome.failure = "m" + std::to_string(*options.model) + ": " + fit.reason;
        }
        return outcome;
    }
    ModelSelection selection = SelectModel(residue.measurements, settings, options.criterion);
    if (selection.chosen < 0) {
        outcome.failure = "no model converged";
        for (const ModelFit& fit : selection.fits) {
            if (!fit.reason.empty()) {
                outcome.failure += " (m" + std::to_string(fit.model) + ": " + fit.reason + ")";
                break;
            }
        }
        return outcome;
    }
    outcome.fit = std::move(selection.fits[static_cast<std::size_t>(selection.chosen)]);
    return outcome;
}

std::vector<ResidueOutcome> FitAll(const ProteinData& data, const ResidueFitSettings& settings,
                                   const ProteinFitOptions& options) {
    std::vector<ResidueOutcome> outcomes(data.residues.size());
    ForEachIndex(outcomes.size(), options.jobs, [&](std::size_t i) {
        outcomes[i] = FitResidue(data.residues[i], settings, options);
    });
    return outcomes;
}

std::vector<int> ChosenModels(const std::vector<ResidueOutcome>& outcomes) {
    std::vector<int> models;
    for (const ResidueOutcome& outcome : outcomes)
        models.push_back(outcome.fit ? outcome.fit->model : -1);
    return models;
}

// The total chi2 of every residue's model refitted with tm fixed at the value.
struct GlobalTmProblem {
    const ProteinData& data;
    const ProteinFitOptions& options;
    std::vector<int> models;

    double Chi2At(double tm) const {
        ResidueFitSettings settings = options.residue;
        settings.fitTm = false;
        settings.tm = tm;
        std::vector<double> chi2(data.residues.size(), 0.0);
        ForEachIndex(chi2.size(), options.jobs, [&](std::size_t i) {
            if (models[i] < 0) return;
            chi2[i] =
                FitModel(data.residues[i].measurements, settings, ModelFreeModelNumber(models[i]))
                    .chi2;
        });
        double total = 0.0;
        for (double c : chi2) total += c;
        return total;
    }
};

double Chi2AtLogTm(double logTm, void* problem) {
    return static_cast<const GlobalTmProblem*>(problem)->Chi2At(std::exp(logTm));
}

// Brent's method of GSL on log tm, bracketed by a coarse scan around the start.
double MinimiseTm(const GlobalTmProblem& problem, double start) {
    constexpr int kScan = 9;
    std::array<double, kScan> logs{};
    std::array<double, kScan> chi2{};
    for (int k = 0; k < kScan; ++k) {
        logs[k] = std::log(start) + std::log(4.0) * (k - kScan / 2) / (kScan / 2);
        chi2[k] = Chi2AtLogTm(logs[k], const_cast<GlobalTmProblem*>(&problem));
    }
    const int best = static_cast<int>(std::min_element(chi2.begin(), chi2.end()) - chi2.begin());
    if (best == 0 || best == kScan - 1) return std::exp(logs[best]);
    gsl_function function{&Chi2AtLogTm, const_cast<GlobalTmProblem*>(&problem)};
    gsl_min_fminimizer* minimiser = gsl_min_fminimizer_alloc(gsl_min_fminimizer_brent);
    double minimum = logs[best];
    if (gsl_min_fminimizer_set_with_values(minimiser, &function, logs[best], chi2[best],
                                           logs[best - 1], chi2[best - 1], logs[best + 1],
                                           chi2[best + 1]) == GSL_SUCCESS) {
        for (int iteration = 0; iteration < 100; ++iteration) {
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

// The error of tm from the curvature of the total chi2: chi2 rises by 1 one standard
// deviation away.
double TmError(const GlobalTmProblem& problem, double tm) {
    const double h = 1e-3 * tm;
    const double curvature =
        (problem.Chi2At(tm + h) - 2.0 * problem.Chi2At(tm) + problem.Chi2At(tm - h)) / (h * h);
    return curvature > 0.0 ? std::sqrt(2.0 / curvature) : std::numeric_limits<double>::quiet_NaN();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string Number(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

bool InModel(const ModelFit& fit, ModelFreeParameter parameter) {
    return std::find(fit.free.begin(), fit.free.end(), parameter) != fit.free.end();
}

}  // namespace

ProteinDataRead ReadProteinData(std::string_view text) {
    ProteinData data;
    std::map<std::string, std::size_t, std::less<>> indexOf;
    std::array<std::size_t, kColumns.size()> column{};
    bool headerRead = false;
    int lineNumber = 0;
    std::string errors;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty()) continue;
        const std::vector<std::string_view> fields = Fields(line);
        if (!headerRead) {
            for (std::size_t c = 0; c < kColumns.size(); ++c) {
                const auto at = std::find(fields.begin(), fields.end(), kColumns[c]);
                if (at == fields.end()) {
                    return {std::nullopt, "line " + std::to_string(lineNumber) +
                                              ": the header has no column \"" + kColumns[c] + "\""};
                }
                column[c] = static_cast<std::size_t>(at - fields.begin());
            }
            headerRead = true;
            continue;
        }
        const auto field = [&](std::size_t c) {
            return column[c] < fields.size() ? fields[column[c]] : std::string_view();
        };
        std::string problem;
        const std::optional<double> frequency = NumberIn(field(1));
        const std::optional<double> value = NumberIn(field(3));
        const std::optional<double> error = NumberIn(field(4));
        const std::optional<Quantity> quantity = QuantityNamed(field(2));
        if (field(0).empty()) {
            problem = Where(lineNumber, "residue") + "missing";
        } else if (!frequency || *frequency <= 0.0) {
            problem = Where(lineNumber, "field_mhz") + "\"" + std::string(field(1)) +
                      "\" is not a frequency above 0";
        } else if (!quantity) {
            problem = Where(lineNumber, "quantity") + "\"" + std::string(field(2)) +
                      "\" is not R1, R2, NOE, T1 or T2";
        } else if (!value || (ComparedQuantity(*quantity) != *quantity && *value <= 0.0)) {
            problem = Where(lineNumber, "value") + "\"" + std::string(field(3)) +
                      "\" is not a number (above 0 for a time)";
        } else if (!error || *error <= 0.0) {
            problem = Where(lineNumber, "error") + "\"" + std::string(field(4)) +
                      "\" is not an uncertainty above 0";
        }
        if (!problem.empty()) {
            errors += (errors.empty() ? "" : "\n") + problem;
            continue;
        }
        const std::string residue(field(0));
        auto [at, added] = indexOf.try_emplace(residue, data.residues.size());
        if (added) data.residues.push_back({residue, {}, {}});
        ResidueData& target = data.residues[at->second];
        target.measurements.push_back({*frequency, *quantity, *value, *error});
        target.lines.push_back(lineNumber);
    }
    if (!headerRead) return {std::nullopt, "no header line"};
    if (!errors.empty()) return {std::nullopt, errors};
    return {std::move(data), {}};
}

ProteinFit FitProtein(const ProteinData& data, const ProteinFitOptions& options) {
    gsl_set_error_handler_off();
    ProteinFit result;
    ResidueFitSettings settings = options.residue;
    if (options.globalTm) {
        // Local fits give the start; then rounds of selection at a fixed tm and a fit of
        // the one tm, until the chosen models stop changing.
        settings.fitTm = true;
        std::vector<ResidueOutcome> outcomes = FitAll(data, settings, options);
        std::vector<double> localTms;
        for (const ResidueOutcome& outcome : outcomes) {
            if (outcome.fit) localTms.push_back(outcome.fit->values[Tm]);
        }
        double tm = localTms.empty() ? settings.tm : Median(localTms);
        settings.fitTm = false;
        std::vector<int> models;
        constexpr int kMaxRounds = 10;
        for (result.rounds = 1; result.rounds <= kMaxRounds; ++result.rounds) {
            settings.tm = tm;
            const std::vector<int> chosen = ChosenModels(FitAll(data, settings, options));
            const GlobalTmProblem problem{data, options, chosen};
            tm = MinimiseTm(problem, tm);
            if (chosen == models) {
                result.globalTmError = TmError(problem, tm);
                break;
            }
            models = chosen;
        }
        result.rounds = std::min(result.rounds, kMaxRounds);
        settings.tm = tm;
        result.globalTm = tm;
    }
    result.residues = FitAll(data, settings, options);
    ForEachIndex(result.residues.size(), options.jobs, [&](std::size_t i) {
        ResidueOutcome& outcome = result.residues[i];
        if (!outcome.fit) return;
        const ResidueData& residue = data.residues[i];
        if (options.monteCarloSets > 0) {
            outcome.monteCarlo = MonteCarlo(residue.measurements, settings, *outcome.fit,
                                            options.monteCarloSets, options.seed + i);
        }
        FitSpinSystem system = settings.system;
        system.rexAt800 = outcome.fit->values[Rex];
        system.csaPpm = outcome.fit->values[Csa];
        const SpectralTerms terms =
            SpectralTermsOf(ModelFreeModelNumber(outcome.fit->model), outcome.fit->values);
        for (const Measurement& m : residue.measurements) {
            outcome.calculated.push_back(CalculatedValue(system, terms, m));
        }
    });
    return result;
}

std::string ProteinFitCsv(const ProteinFit& fit) {
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    std::string csv = "residue,model";
    const std::array<const char*, 9> names = {"tm_ps", "S2",    "S2f",     "S2s",    "te_ps",
                                              "tf_ps", "ts_ps", "Rex_800", "CSA_ppm"};
    for (const char* name : names) csv += std::string(",") + name + "," + name + "_error";
    csv += ",chi2,aicc\n";
    const auto cell = [](double value) { return std::isfinite(value) ? Number(value) : ""; };
    for (const ResidueOutcome& outcome : fit.residues) {
        if (!outcome.fit) continue;
        const ModelFit& model = *outcome.fit;
        const ModelFreeModel& family = ModelFreeModelNumber(model.model);
        const auto error = [&](ModelFreeParameter parameter) {
            return outcome.monteCarlo
                       ? outcome.monteCarlo->spread[static_cast<std::size_t>(parameter)]
                             .standardDeviation
                       : model.errors[parameter];
        };
        // A parameter the model has, with its error; two empty cells otherwise.
        const auto column = [&](bool present, double value, double valueError) {
            csv += "," + (present ? cell(value) : "") + "," + (present ? cell(valueError) : "");
        };
        csv += outcome.residue + ",m" + std::to_string(model.model);
        const double tmError = InModel(model, Tm) ? error(Tm)
                               : fit.globalTm     ? fit.globalTmError
                                                  : kNone;
        column(true, model.values[Tm], tmError);
        // Without Monte Carlo the error of the derived S2 of models 5 to 8 is not known.
        const double orderError = outcome.monteCarlo ? outcome.monteCarlo->s2.standardDeviation
                                  : family.extended  ? kNone
                                                     : model.errors[S2s];
        column(!family.rigid, OrderParameter(family, model.values),
               orderError);
        column(family.extended, model.values[S2f], error(S2f));
        column(family.extended, model.values[S2s], error(S2s));
        for (ModelFreeParameter parameter : {Te, Tf, Ts, Rex, Csa}) {
            column(InModel(model, parameter), model.values[parameter], error(parameter));
        }
        csv += "," + Number(model.chi2) + "," + cell(model.Score(Criterion::Aicc)) + "\n";
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
                    ? Number(time ? 1.0 / outcome.calculated[m] : outcome.calculated[m])
                    : "";
            csv += residue.residue + "," + Number(measurement.fieldMHz) + "," +
                   std::string(NameOf(measurement.quantity)) + "," + Number(measurement.value) +
                   "," + Number(measurement.error) + "," + calculated + "\n";
        }
    }
    return csv;
}

}  // namespace veldorin
