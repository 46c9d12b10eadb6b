// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/fit_command.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <thread>

#include "app/structure_input.h"
#include "engine/constants.h"
#include "engine/numeric_text.h"
#include "files/input_file.h"
#include "files/native_name.h"
#include "files/save_aside.h"
#include "fit/protein_report.h"
#include "fit/protein_sources.h"
#include "protein/structure_results.h"

namespace veldorin {

const char* const kFitUsage = "  or:  veldorin --fit DATA... [OPTION...]\n";

namespace {

constexpr OptionHelp kFitOptionList[] = {
    {"--model", "auto|m0..m9",
     "the model of the motion: m0 {} and m9 {Rex} (rigid), m1 {S2},\n"
     "m2 {S2, te}, m3 {S2, Rex}, m4 {S2, te, Rex}, m5 to m8 with two internal\n"
     "motions; auto (the default) fits every model and keeps the best one left\n",
     "veldorin --fit rates.csv --model m2", ""},
    {"--select", "aic|aicc|bic",
     "the criterion that chooses the model with --model auto (default aic)\n",
     "veldorin --fit rates.csv --select bic", ""},
    {"--global-tm", "", "one tm for the whole protein, fitted to all residues (the default)\n",
     "veldorin --fit rates.csv --global-tm", ""},
    {"--local-tm", "", "a tm of each residue's own\n", "veldorin --fit rates.csv --local-tm", ""},
    {"--tm", "PS", "a fixed tm in ps, not fitted\n", "veldorin --fit rates.csv --tm 8000", ""},
    {"--mc", "N",
     "the errors from N Monte Carlo sets (default 500, up to 10000; 0: from\n"
     "the covariance)\n",
     "veldorin --fit rates.csv --mc 0", ""},
    {"--seed", "S", "the seed of the Monte Carlo noise, so that a run repeats\n",
     "veldorin --fit rates.csv --seed 7", ""},
    {"--jobs", "N", "fits on N threads (default: every core); the output is the same\n",
     "veldorin --fit rates.csv --jobs 2", ""},
    {"--nucleus", "1H|13C|15N", "the nucleus whose relaxation was measured (default 15N)\n",
     "veldorin --fit rates.csv --nucleus 13C --partner 1H --distance 1.09", ""},
    {"--partner", "1H|13C|15N", "the nucleus bonded to it (default 1H)\n",
     "veldorin --fit rates.csv --partner 1H", ""},
    {"--distance", "A", "their distance in Angstrom (default 1.02)\n",
     "veldorin --fit rates.csv --distance 1.04", ""},
    {"--csa", "PPM", "the chemical shift anisotropy in ppm (default -172)\n",
     "veldorin --fit rates.csv --csa -160", ""},
    {"--frequencies", "signed|magnitudes",
     "the pair's zero- and double-quantum frequencies: signed (the default),\n"
     "or from magnitudes as the window's table has them\n",
     "veldorin --fit rates.csv --frequencies magnitudes", ""},
    {"--back", "FILE", "also writes each measurement beside its model's value, as CSV\n",
     "veldorin --fit rates.csv --back back.csv", ""},
    {"--report", "FILE.json",
     "also writes how the fit was made: the options, tm, each residue's\n"
     "models and why others were eliminated\n",
     "veldorin --fit rates.csv --report fit.json", ""},
    {"--structure", "FILE.pdb|FILE.cif",
     "fits the overall tumbling as a rotational diffusion tensor, each\n"
     "residue's bond seeing it from its direction in this PDB or mmCIF\n"
     "structure\n",
     "veldorin --fit rates.csv --structure protein.pdb", ""},
    {"--diffusion", "sphere|prolate|oblate|ellipsoid|auto",
     "the diffusion model with --structure; auto (the default) fits all four\n"
     "and the criterion chooses\n",
     "veldorin --fit rates.csv --structure protein.pdb --diffusion prolate", ""},
    {"--bond", "FROM-TO", "the atoms of each residue's bond (default N-H)\n",
     "veldorin --fit rates.csv --structure protein.pdb --bond CA-HA", ""},
    {"--ensemble", "N|average",
     "the model of an NMR ensemble whose bonds are taken (default 1), or the\n"
     "mean direction over all models\n",
     "veldorin --fit rates.csv --structure ensemble.pdb --ensemble average", ""},
    {"--write-structure", "FILE",
     "writes the structure with a result in its B-factor column, and scripts\n"
     "for two molecular viewers beside it (FILE.pml, FILE.cxc)\n",
     "veldorin --fit rates.csv --structure protein.pdb --write-structure s2.pdb", ""},
    {"--bfactor", "COLUMN",
     "the result written as B-factors: S2 (the default), Rex_800, te_ps, S2f,\n"
     "S2s, tf_ps, ts_ps, tm_ps or CSA_ppm\n",
     "veldorin --fit rates.csv --structure protein.pdb --write-structure out.pdb "
     "--bfactor te_ps",
     ""},
};

}  // namespace

const OptionTable kFitOptions = kFitOptionList;

namespace {

FitCommandParse Refused(std::string why) { return {std::nullopt, std::move(why)}; }

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

// The options of the structure: its file, the bond, the diffusion models, what is written.
ValueRead ReadStructureOption(FitCommand& command, const std::string& option,
                              const std::string& value) {
    if (option == "--structure") {
        command.structureFile = value;
    } else if (option == "--diffusion") {
        if (value == "auto") {
            command.diffusionModels = {DiffusionModel::Sphere, DiffusionModel::Prolate,
                                       DiffusionModel::Oblate, DiffusionModel::Ellipsoid};
        } else if (const auto model = DiffusionModelNamed(value)) {
            command.diffusionModels = {*model};
        } else {
            return Takes("sphere, prolate, oblate, ellipsoid or auto");
        }
    } else if (option == "--bond") {
        const std::size_t dash = value.find('-');
        if (dash == 0 || dash == std::string::npos || dash + 1 == value.size()) {
            return Takes("two atom names, as N-H or CA-HA");
        }
        command.bond.from = value.substr(0, dash);
        command.bond.to = value.substr(dash + 1);
    } else if (option == "--ensemble") {
        const auto read = WholeNumberIn<int>(value);
        if (value == "average") {
            command.bond.averageModels = true;
        } else if (read && *read >= 1) {
            command.bond.model = *read;
        } else {
            return Takes("a model number from 1 or average");
        }
    } else if (option == "--write-structure") {
        command.structureOut = value;
    } else if (option == "--bfactor") {
        for (int q = 0; q < kResultQuantityCount; ++q) {
            if (value == CsvNameOf(static_cast<ResultQuantity>(q))) {
                command.bFactor = static_cast<ResultQuantity>(q);
                return kTaken;
            }
        }
        return Takes(
            "a column of the results: S2, Rex_800, te_ps, S2f, S2s, tf_ps, ts_ps, "
            "tm_ps or CSA_ppm");
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
    if (read.verdict == ValueRead::Verdict::UnknownOption) {
        read = ReadStructureOption(command, option, value);
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
        const OptionHelp* const known = FindOption(kFitOptions, option);
        if (option.empty() || option.front() != '-') {
            files.push_back(option);
        } else if (!known) {
            return Refused("unknown option '" + option + "'");
        } else if (known->value.empty()) {
            // The options without a value, --global-tm and --local-tm, say how tm is found.
            tmModes.insert(option);
        } else if (i + 1 == arguments.size()) {
            return Refused(option + " needs a value");
        } else if (auto refusal = Refusal(command, tmModes, option, arguments[++i])) {
            return Refused(*std::move(refusal));
        }
    }
    if (files.empty()) return Refused("--fit needs a data file");
    if (tmModes.size() > 1) return Refused("--tm, --global-tm and --local-tm exclude each other");
    if (!command.structureFile) {
        for (const std::string_view option :
             {"--diffusion", "--bond", "--ensemble", "--write-structure", "--bfactor"}) {
            if (std::ranges::find(arguments, option) != arguments.end())
                return Refused(std::string(option) + " needs --structure");
        }
    } else if (tmModes.contains("--tm") || tmModes.contains("--local-tm")) {
        return Refused(
            "--structure fits the tumbling as a tensor, which --tm and --local-tm "
            "do not");
    } else if (command.diffusionModels.empty()) {
        command.diffusionModels = {DiffusionModel::Sphere, DiffusionModel::Prolate,
                                   DiffusionModel::Oblate, DiffusionModel::Ellipsoid};
    }
    // One tm for the whole protein unless it is given or asked for per residue.
    command.options.globalTm = !tmModes.contains("--tm") && !tmModes.contains("--local-tm");
    command.options.residue.fitTm = tmModes.contains("--local-tm");
    command.dataFiles = std::move(files);
    return {std::move(command), {}};
}

namespace {

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
    ProteinFitOptions options = command.options;
    std::optional<ProteinStructure> structure;
    if (command.structureFile) {
        structure = ReadStructureInput(*command.structureFile, command.bond, *data, errors);
        if (!structure) return 1;
        options.diffusion = DiffusionOptions{structure->bonds.unitVectors, command.diffusionModels};
    }
    const ProteinFit fit = FitProtein(*data, options);
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
    if (command.reportFile && !Saved(*command.reportFile,
                                     ProteinReportJson(command.nucleus, command.partner, options,
                                                       {command.dataFiles, command.backFile,
                                                        command.reportFile, command.structureFile},
                                                       fit),
                                     errors)) {
        status = 1;
    }
    if (command.structureOut && fit.diffusion) {
        const StructureResults results = StructureResultFiles(
            *command.structureOut, structure->text, structure->bonds.centre, fit, command.bFactor);
        if (results.files.empty()) {
            errors << "veldorin: " << *command.structureOut << ": " << results.error << '\n';
            status = 1;
        }
        for (const OutputFile& file : results.files) {
            if (!Saved(file.path, file.bytes, errors)) status = 1;
        }
    }
    return status;
}

}  // namespace veldorin
