// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/fit_command.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <thread>

#include "engine/constants.h"
#include "engine/numeric_text.h"
#include "files/input_file.h"
#include "files/native_name.h"
#include "files/save_aside.h"
#include "fit/protein_sources.h"

namespace veldorin {

const char* const kFitUsage =
    "       veldorin --fit DATA... [--model auto|m0..m9] [--select aic|aicc|bic]\n"
    "                [--global-tm | --local-tm | --tm PS] [--mc N] [--seed S]\n"
    "                [--jobs N] [--nucleus 15N] [--partner 1H] [--distance 1.02]\n"
    "                [--csa -172] [--frequencies signed|magnitudes] [--back FILE]\n"
    "                [--report FILE.json]\n";

namespace {

FitCommandParse Refused(std::string why) { return {std::nullopt, std::move(why)}; }

// Enough sets for errors to two digits many times over; the whole protein's sets are held
// at once, so more would only fill the memory.
constexpr int kMaxMonteCarloSets = 10000;

// How an option's value was read: taken, refused as no value for the option, refused
// with what the option takes instead, or the option is none of those read here.
struct ValueRead {
    enum class Verdict { Taken, NoValue, Takes, UnknownOption };
    Verdict verdict = Verdict::Taken;
    std::string takes;
};
const ValueRead kTaken{};
const ValueRead kNoValue{ValueRead::Verdict::NoValue, {}};
const ValueRead kUnknownOption{ValueRead::Verdict::UnknownOption, {}};
ValueRead Takes(std::string what) { return {ValueRead::Verdict::Takes, std::move(what)}; }

// The options of the spin system: its nuclei, their distance, the anisotropy and the pair
// frequencies.
ValueRead ReadSpinSystemOption(FitCommand& command, const std::string& option,
                               const std::string& value) {
    FitSpinSystem& system = command.options.residue.system;
    FitSpinSystem::Neighbour& partner = system.neighbours.front();
    if (option == "--nucleus" || option == "--partner") {
        const auto gamma = GammaOf(value);
        if (!gamma) return Takes("1H, 13C or 15N");
        (option == "--nucleus" ? system.centralGamma : partner.gamma) = *gamma;
        (option == "--nucleus" ? command.nucleus : command.partner) = value;
    } else if (option == "--distance") {
        // In single precision, as a model in the window holds it.
        const auto read = SingleIn(value).value;
        if (!read || !(*read > 0.0f)) return Takes("Å above 0");
        partner.distance = static_cast<double>(*read);
    } else if (option == "--csa") {
        const auto read = DoubleIn(value).value;
        if (!read) return Takes("a number of ppm");
        system.csaPpm = *read;
    } else if (option == "--frequencies") {
        if (value != "signed" && value != "magnitudes") return kNoValue;
        system.pairFrequencies =
            value == "signed" ? PairFrequencySigns::Signed : PairFrequencySigns::Magnitudes;
    } else {
        return kUnknownOption;
    }
    return kTaken;
}

// The options of the models: which model, how one is selected, a fixed tm.
ValueRead ReadModelOption(FitCommand& command, std::set<std::string>& tmModes,
                          const std::string& option, const std::string& value) {
    ProteinFitOptions& options = command.options;
    if (option == "--model") {
        const auto number = value.size() == 2 && value[0] == 'm'
                                ? WholeNumberIn<int>(std::string_view(value).substr(1))
                                : std::nullopt;
        if (value != "auto" && !number) return kNoValue;
        if (number) options.model = *number;
    } else if (option == "--select") {
        const std::map<std::string, Criterion> criteria = {
            {"aic", Criterion::Aic}, {"aicc", Criterion::Aicc}, {"bic", Criterion::Bic}};
        const auto found = criteria.find(value);
        if (found == criteria.end()) return kNoValue;
        options.criterion = found->second;
    } else if (option == "--tm") {
        const auto read = DoubleIn(value).value;
        if (!read || !(*read > 0.0)) return Takes("ps above 0");
        options.residue.tmPs = *read;
        tmModes.insert(option);
    } else {
        return kUnknownOption;
    }
    return kTaken;
}

// The options of the run: Monte Carlo sets, threads, the seed, the files written.
ValueRead ReadRunOption(FitCommand& command, const std::string& option, const std::string& value) {
    ProteinFitOptions& options = command.options;
    if (option == "--mc") {
        const auto read = WholeNumberIn<int>(value);
        if (!read || *read < 0 || *read > kMaxMonteCarloSets) {
            return Takes("0 to " + std::to_string(kMaxMonteCarloSets) + " sets");
        }
        options.monteCarloSets = *read;
    } else if (option == "--jobs") {
        const auto read = WholeNumberIn<int>(value);
        if (!read || *read < 1) return Takes("a number of threads from 1");
        options.jobs = *read;
    } else if (option == "--seed") {
        const auto read = WholeNumberIn<std::uint64_t>(value);
        if (!read) return kNoValue;
        options.seed = *read;
    } else if (option == "--back" || option == "--report") {
        (option == "--back" ? command.backFile : command.reportFile) = value;
    } else {
        return kUnknownOption;
    }
    return kTaken;
}

// The option's value read into the command; the refusal when it cannot be.
std::optional<std::string> Refusal(FitCommand& command, std::set<std::string>& tmModes,
                                   const std::string& option, const std::string& value) {
    ValueRead read = ReadSpinSystemOption(command, option, value);
    if (read.verdict == ValueRead::Verdict::UnknownOption) {
        read = ReadModelOption(command, tmModes, option, value);
    }
    if (read.verdict == ValueRead::Verdict::UnknownOption) {
        read = ReadRunOption(command, option, value);
    }
    switch (read.verdict) {
        case ValueRead::Verdict::Taken: return std::nullopt;
        case ValueRead::Verdict::NoValue: return "'" + value + "' is no value for " + option;
        case ValueRead::Verdict::Takes:
            return option + " takes " + read.takes + ", not '" + value + "'";
        case ValueRead::Verdict::UnknownOption: break;
    }
    return "unknown option '" + option + "'";
}

// The command as it stands before its options: the backbone amide, a thread for each core.
FitCommand DefaultFitCommand() {
    FitCommand command;
    command.options.residue.system = BackboneAmide();
    command.options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return command;
}

}  // namespace

FitCommandParse ParseFitCommand(const std::vector<std::string>& arguments) {
    FitCommand command = DefaultFitCommand();
    std::set<std::string> tmModes;  // of --tm, --global-tm, --local-tm
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option.empty() || option.front() != '-') {
            files.push_back(option);
        } else if (option == "--global-tm" || option == "--local-tm") {
            tmModes.insert(option);
        } else if (i + 1 == arguments.size()) {
            return Refused(option + " needs a value");
        } else if (auto refusal = Refusal(command, tmModes, option, arguments[++i])) {
            return Refused(*std::move(refusal));
        }
    }
    if (files.empty()) return Refused("--fit needs a data file");
    if (tmModes.size() > 1) return Refused("--tm, --global-tm and --local-tm exclude each other");
    // One tm for the whole protein unless it is given or asked for per residue.
    command.options.globalTm = !tmModes.contains("--tm") && !tmModes.contains("--local-tm");
    command.options.residue.fitTm = tmModes.contains("--local-tm");
    command.dataFiles = std::move(files);
    return {std::move(command), {}};
}

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

std::string OptionsJson(const FitCommand& command) {
    const ProteinFitOptions& options = command.options;
    const ResidueFitSettings& residue = options.residue;
    const FitSpinSystem::Neighbour& partner = residue.system.neighbours.front();
    std::string files;
    for (const std::string& file : command.dataFiles) {
        files += (files.empty() ? "" : ", ") + Quoted(file);
    }
    return "{\"data\": [" + files + "]" +
           ", \"model\": " + Quoted(options.model ? "m" + std::to_string(*options.model) : "auto") +
           ", \"select\": " + Quoted(CriterionName(options.criterion)) +
           ", \"tm\": " + Quoted(TmMode(options)) +
           ", \"tm_ps\": " + (TmMode(options) == "fixed" ? JsonNumber(residue.tmPs) : "null") +
           ", \"mc\": " + std::to_string(options.monteCarloSets) +
           ", \"seed\": " + std::to_string(options.seed) +
           ", \"jobs\": " + std::to_string(options.jobs) +
           ", \"nucleus\": " + Quoted(command.nucleus) +
           ", \"partner\": " + Quoted(command.partner) +
           ", \"distance_angstrom\": " + JsonNumber(static_cast<float>(partner.distance)) +
           ", \"csa_ppm\": " + JsonNumber(residue.system.csaPpm) +
           ", \"frequencies\": " + Quoted(Frequencies(residue)) +
           ", \"back\": " + OptionalText(command.backFile) +
           ", \"report\": " + OptionalText(command.reportFile) + "}";
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

// How the fit was made, for whoever reads its numbers later.
std::string ReportJson(const FitCommand& command, const ProteinFit& fit) {
    const ProteinFitOptions& options = command.options;
    std::string residues;
    for (const ResidueOutcome& outcome : fit.residues) {
        residues +=
            std::string(residues.empty() ? "\n    " : ",\n    ") + ResidueJson(outcome, options);
    }
    return std::string("{\n  \"program\": \"veldorin\",\n  \"version\": \"") + VELDORIN_VERSION +
           "\",\n  \"options\": " + OptionsJson(command) +
           ",\n  \"pair_frequencies\": " + Quoted(Frequencies(options.residue)) +
           ",\n  \"tm\": " + TmJson(fit, options) + ",\n  \"residues\": [" + residues +
           "\n  ]\n}\n";
}

// Each line of the text on `errors`, after the prefix.
void Tell(const std::string& text, const std::string& prefix, std::ostream& errors) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) errors << prefix << line << '\n';
}

// Writes the file through the one save path; false, said on `errors`, when it failed.
bool Saved(const std::string& path, const std::string& bytes, std::ostream& errors) {
    const auto failure =
        SaveBytesAside(NameFromNative(QByteArray::fromStdString(path)),
                       QByteArray::fromStdString(bytes), NotOrdinary::WriteInPlace);
    if (failure) errors << "veldorin: " << NativeName(*failure).toStdString() << '\n';
    return !failure;
}

}  // namespace

std::optional<ProteinData> ReadDataFiles(const std::vector<std::string>& paths,
                                         const ProteinDataReader& read, std::ostream& errors) {
    std::vector<NamedProteinData> files;
    for (const std::string& path : paths) {
        const InputFileRead file = ReadInputFile(path);
        if (!file.bytes) {
            errors << "veldorin: " << path << ": " << file.reason << '\n';
            continue;
        }
        ProteinDataRead data = read(*file.bytes);
        if (!data.data) Tell(data.error, "veldorin: " + path + ": ", errors);
        if (data.data) files.push_back({path, *std::move(data.data)});
    }
    if (files.size() < paths.size()) return std::nullopt;
    ProteinDataRead merged = MergedProteinData(std::move(files));
    if (!merged.data) Tell(merged.error, "veldorin: ", errors);
    return std::move(merged.data);
}

std::optional<ProteinData> ReadProteinDataFiles(const std::vector<std::string>& paths,
                                                std::ostream& errors) {
    return ReadDataFiles(
        paths, [](std::string_view text) { return ReadProteinSource(text); }, errors);
}

int RunFitCommand(const FitCommand& command, std::ostream& out, std::ostream& errors) {
    const std::optional<ProteinData> data = ReadProteinDataFiles(command.dataFiles, errors);
    if (!data) return 1;
    const ProteinFit fit = FitProtein(*data, command.options);
    out << ProteinFitCsv(fit);
    int status = 0;
    for (const ResidueOutcome& residue : fit.residues) {
        for (const EliminatedModel& model : residue.eliminated) {
            errors << "veldorin: residue " << residue.residue << ": m" << model.model
                   << " eliminated: " << model.reason << '\n';
        }
        if (residue.fit) continue;
        errors << "veldorin: residue " << residue.residue << ": " << residue.failure << '\n';
        status = 1;
    }
    if (command.backFile && !Saved(*command.backFile, BackCalculatedCsv(*data, fit), errors)) {
        status = 1;
    }
    if (command.reportFile && !Saved(*command.reportFile, ReportJson(command, fit), errors)) {
        status = 1;
    }
    return status;
}

}  // namespace veldorin
