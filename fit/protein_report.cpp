// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_report.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>

namespace veldorin {

namespace {

// A JSON string: quotes, backslashes and control characters escaped, other bytes as they are.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\u%04x", static_cast<unsigned>(c));
            quoted += escape.data();
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

// A JSON number, shortest round trip; null for what is not finite.
template <typename Floating>
std::string JsonNumber(Floating value) {
    if (!std::isfinite(value)) return "null";
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

std::string OptionalText(const std::optional<std::string>& text) {
    return text ? Quoted(*text) : "null";
}

std::string CriterionName(Criterion criterion) {
    switch (criterion) {
        case Criterion::Aic: return "aic";
        case Criterion::Aicc: return "aicc";
        case Criterion::Bic: return "bic";
    }
    return "";
}

std::string TmMode(const ProteinFitOptions& options) {
    if (options.globalTm) return "global";
    return options.residue.fitTm ? "local" : "fixed";
}

std::string Frequencies(const ResidueFitSettings& settings) {
    return settings.system.pairFrequencies == PairFrequencySigns::Signed ? "signed" : "magnitudes";
}

std::string TmErrorFrom(const ProteinFit& fit, const ProteinFitOptions& options) {
    if (fit.globalTmPs) {
        switch (fit.globalTmErrorSource) {
            case TmErrorSource::MonteCarlo: return "monte_carlo_whole_protein";
            case TmErrorSource::Profile: return "chi2_profile";
            case TmErrorSource::None: return "none";
        }
    }
    if (options.residue.fitTm) return options.monteCarloSets > 0 ? "monte_carlo" : "covariance";
    return "none";
}

std::string OptionsJson(std::string_view nucleus, std::string_view partnerName,
                        const ProteinFitOptions& options, const ReportedFiles& reported) {
    const ResidueFitSettings& residue = options.residue;
    const double distance = residue.system.neighbours.front().distance;
    std::string files;
    for (const std::string& file : reported.data) {
        files += (files.empty() ? "" : ", ") + Quoted(file);
    }
    return "{\"data\": [" + files + "]" +
           ", \"model\": " + Quoted(options.model ? "m" + std::to_string(*options.model) : "auto") +
           ", \"select\": " + Quoted(CriterionName(options.criterion)) +
           ", \"tm\": " + Quoted(TmMode(options)) +
           ", \"tm_ps\": " + (TmMode(options) == "fixed" ? JsonNumber(residue.tmPs) : "null") +
           ", \"mc\": " + std::to_string(options.monteCarloSets) +
           ", \"seed\": " + std::to_string(options.seed) +
           ", \"jobs\": " + std::to_string(options.jobs) + ", \"nucleus\": " + Quoted(nucleus) +
           ", \"partner\": " + Quoted(partnerName) +
           ", \"distance_angstrom\": " + JsonNumber(static_cast<float>(distance)) +
           ", \"csa_ppm\": " + JsonNumber(residue.system.csaPpm) +
           ", \"frequencies\": " + Quoted(Frequencies(residue)) +
           ", \"back\": " + OptionalText(reported.back) +
           ", \"report\": " + OptionalText(reported.report) + "}";
}

std::string TmJson(const ProteinFit& fit, const ProteinFitOptions& options) {
    const std::string mode = TmMode(options);
    std::string json = "{\"mode\": " + Quoted(mode);
    if (fit.globalTmPs) {
        const bool interval = fit.globalTmErrorSource != TmErrorSource::None;
        json += ", \"value_ps\": " + JsonNumber(*fit.globalTmPs) +
                ", \"found_by\": \"Brent's method on the total chi2 of every residue refitted, "
                "in rounds of model selection\", \"rounds\": " +
                std::to_string(fit.rounds) + ", \"error_ps\": " + JsonNumber(fit.globalTmErrorPs) +
                ", \"low_ps\": " + (interval ? JsonNumber(fit.globalTmLowPs) : "null") +
                ", \"high_ps\": " + (interval ? JsonNumber(fit.globalTmHighPs) : "null");
    } else if (mode == "fixed") {
        json += ", \"value_ps\": " + JsonNumber(options.residue.tmPs) + ", \"found_by\": \"given\"";
    } else {
        json += ", \"found_by\": \"fitted with each residue's model\"";
    }
    return json + ", \"error_from\": " + Quoted(TmErrorFrom(fit, options)) + "}";
}

std::string ResidueJson(const ResidueOutcome& outcome, const ProteinFitOptions& options) {
    std::string eliminated;
    for (const EliminatedModel& model : outcome.eliminated) {
        eliminated += std::string(eliminated.empty() ? "" : ", ") + "{\"model\": \"m" +
                      std::to_string(model.model) + "\", \"reason\": " + Quoted(model.reason) + "}";
    }
    const bool fitted = outcome.fit.has_value();
    return "{\"residue\": " + Quoted(outcome.residue) +
           ", \"model\": " + (fitted ? Quoted("m" + std::to_string(outcome.fit->model)) : "null") +
           ", \"failure\": " + (fitted ? "null" : Quoted(outcome.failure)) + ", \"eliminated\": [" +
           eliminated + "], \"flags\": " + (fitted ? Quoted(outcome.fit->FlagsText()) : "null") +
           ", \"monte_carlo_sets\": " + std::to_string(fitted ? options.monteCarloSets : 0) +
           ", \"monte_carlo_failed\": " + std::to_string(outcome.monteCarloFailed) + "}";
}

std::string NumberList(std::span<const double> values) {
    std::string json = "[";
    for (const double value : values) json += (json.size() > 1 ? ", " : "") + JsonNumber(value);
    return json + "]";
}

std::string TextList(const std::vector<std::string>& texts) {
    std::string json = "[";
    for (const std::string& text : texts) json += (json.size() > 1 ? ", " : "") + Quoted(text);
    return json + "]";
}

// A tensor as other tools read it: the model, tm, the principal values ascending and
// their axes in the structure's frame in the same order.
std::string TensorJson(const DiffusionTensor& tensor) {
    const std::array<PrincipalAxis, 3> axes = PrincipalAxesOf(tensor);
    std::array<double, 3> values{};
    std::string axesJson = "[";
    for (std::size_t k = 0; k < 3; ++k) {
        values[k] = axes[k].d;
        axesJson += (k ? ", " : "") + NumberList(axes[k].axis);
    }
    return "\"model\": " + Quoted(DiffusionModelName(tensor.model)) +
           ", \"tm_ps\": " + JsonNumber(TmPsOf(tensor)) + ", \"D_per_s\": " + NumberList(values) +
           ", \"axes\": " + axesJson + "]";
}

std::string RoundJson(const DiffusionRound& round, const ProteinFit& fit) {
    std::string models;
    for (std::size_t i = 0, r = 0; i < fit.residues.size() && r < round.models.size(); ++i) {
        // The rounds hold the residues with a bond, in the data's order.
        if (!fit.residues[i].fit && fit.residues[i].failure == kNoBond) continue;
        const int model = round.models[r++];
        models += std::string(models.empty() ? "" : ", ") + Quoted(fit.residues[i].residue) + ": " +
                  (model < 0 ? "null" : Quoted("m" + std::to_string(model)));
    }
    return "{" + TensorJson(round.tensor) + ", \"chi2\": " + JsonNumber(round.chi2) +
           ", \"models\": {" + models + "}}";
}

std::string CandidateJson(const DiffusionModelFit& candidate, const ProteinFit& fit) {
    std::string rounds;
    for (const DiffusionRound& round : candidate.rounds)
        rounds += (rounds.empty() ? "" : ", ") + RoundJson(round, fit);
    return "{\"model\": " + Quoted(DiffusionModelName(candidate.model)) +
           ", \"failure\": " + (candidate.failure.empty() ? "null" : Quoted(candidate.failure)) +
           ", \"chi2\": " + JsonNumber(candidate.chi2) +
           ", \"parameters\": " + std::to_string(candidate.parameters) +
           ", \"measurements\": " + std::to_string(candidate.measurements) +
           ", \"score\": " + JsonNumber(candidate.score) + ", \"rounds\": [" + rounds + "]}";
}

std::string EstimateJson(const std::optional<TensorEstimate>& estimate) {
    if (!estimate) return "null";
    std::string leftOut;
    for (const LeftOutResidue& residue : estimate->leftOut) {
        leftOut += std::string(leftOut.empty() ? "" : ", ") +
                   "{\"residue\": " + Quoted(residue.residue) +
                   ", \"reason\": " + Quoted(residue.reason) + "}";
    }
    return "{" + TensorJson(estimate->tensor) + ", \"filters\": " + Quoted(estimate->filters) +
           ", \"used\": " + TextList(estimate->used) + ", \"left_out\": [" + leftOut + "]}";
}

// The tensor chosen with its errors, how it was found and what it was chosen from.
std::string DiffusionJson(const DiffusionResult& diffusion, const ProteinFitOptions& options,
                          const ProteinFit& fit) {
    const DiffusionModelFit& chosen = diffusion.Chosen();
    std::string candidates;
    for (const DiffusionModelFit& candidate : diffusion.candidates)
        candidates +=
            std::string(candidates.empty() ? "" : ",\n      ") + CandidateJson(candidate, fit);
    return "{" + TensorJson(chosen.tensor) +
           ", \"tm_ps_error\": " + JsonNumber(chosen.errors.tmPs) +
           ", \"D_per_s_error\": " + NumberList(chosen.errors.d) +
           ", \"axes_error_deg\": " + NumberList(chosen.errors.axesDegrees) +
           ", \"D_par_over_D_perp\": " + JsonNumber(SpheroidRatioOf(chosen.tensor)) +
           ", \"D_par_over_D_perp_error\": " + JsonNumber(chosen.errors.spheroidRatio) +
           ", \"error_from\": " +
           Quoted(chosen.errors.monteCarlo ? "monte_carlo_whole_protein" : "covariance") +
           ", \"chosen_by\": " + Quoted(CriterionName(options.criterion)) +
           ", \"without_bond\": " + TextList(diffusion.withoutBond) +
           ",\n    \"estimate\": " + EstimateJson(chosen.estimate) +
           ",\n    \"candidates\": [\n      " + candidates + "]}";
}

}  // namespace

std::string ProteinReportJson(std::string_view nucleus, std::string_view partner,
                              const ProteinFitOptions& options, const ReportedFiles& files,
                              const ProteinFit& fit) {
    std::string residues;
    for (const ResidueOutcome& outcome : fit.residues) {
        residues +=
            std::string(residues.empty() ? "\n    " : ",\n    ") + ResidueJson(outcome, options);
    }
    return std::string("{\n  \"program\": \"veldorin\",\n  \"version\": \"") + VELDORIN_VERSION +
           "\",\n  \"options\": " + OptionsJson(nucleus, partner, options, files) +
           ",\n  \"pair_frequencies\": " + Quoted(Frequencies(options.residue)) +
           ",\n  \"tm\": " + TmJson(fit, options) +
           (fit.diffusion ? ",\n  \"structure\": " + OptionalText(files.structure) +
                                ",\n  \"diffusion\": " + DiffusionJson(*fit.diffusion, options, fit)
                          : "") +
           ",\n  \"residues\": [" + residues + "\n  ]\n}\n";
}

}  // namespace veldorin
