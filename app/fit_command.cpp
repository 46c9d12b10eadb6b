// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/fit_command.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>
#include <thread>

#include "engine/constants.h"
#include "storage/native_name.h"
#include "storage/save_aside.h"

namespace veldorin {

const char* const kFitUsage =
    "       veldorin --fit DATA.csv [--model auto|m0..m9] [--select aic|aicc|bic]\n"
    "                [--tm PS | --global-tm] [--mc N] [--seed S] [--jobs N]\n"
    "                [--nucleus 15N] [--partner 1H] [--distance 1.02] [--csa -172]\n"
    "                [--frequencies signed|magnitudes] [--back FILE]\n";

namespace {

template <typename Number>
std::optional<Number> Read(const std::string& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

FitCommandParse Refused(std::string why) { return {std::nullopt, std::move(why)}; }

}  // namespace

FitCommandParse ParseFitCommand(const std::vector<std::string>& arguments) {
    FitCommand command;
    ProteinFitOptions& options = command.options;
    ResidueFitSettings& residue = options.residue;
    residue.system = BackboneAmide();
    FitSpinSystem::Neighbour& partner = residue.system.neighbours.front();
    options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool tmGiven = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option.empty() || option.front() != '-') {
            files.push_back(option);
            continue;
        }
        if (option == "--global-tm") {
            options.globalTm = true;
            continue;
        }
        if (i + 1 == arguments.size()) return Refused(option + " needs a value");
        const std::string& value = arguments[++i];
        const auto bad = [&] { return Refused("'" + value + "' is no value for " + option); };
        if (option == "--nucleus" || option == "--partner") {
            const auto gamma = GammaOf(value);
            if (!gamma) return Refused(option + " takes 1H, 13C or 15N, not '" + value + "'");
            (option == "--nucleus" ? residue.system.centralGamma : partner.gamma) = *gamma;
        } else if (option == "--distance") {
            // In single precision, as a model in the window holds it.
            const auto read = Read<float>(value);
            if (!read || !(*read > 0.0f)) return bad();
            partner.distance = static_cast<double>(*read);
        } else if (option == "--csa") {
            const auto read = Read<double>(value);
            if (!read) return bad();
            residue.system.csaPpm = *read;
        } else if (option == "--model") {
            const auto number =
                value.size() == 2 && value[0] == 'm' ? Read<int>(value.substr(1)) : std::nullopt;
            if (value != "auto" && !number) return bad();
            if (number) options.model = *number;
        } else if (option == "--select") {
            const std::map<std::string, Criterion> criteria = {
                {"aic", Criterion::Aic}, {"aicc", Criterion::Aicc}, {"bic", Criterion::Bic}};
            const auto found = criteria.find(value);
            if (found == criteria.end()) return bad();
            options.criterion = found->second;
        } else if (option == "--tm") {
            const auto read = Read<double>(value);
            if (!read || *read <= 0.0) return bad();
            residue.tm = *read;
            tmGiven = true;
        } else if (option == "--mc" || option == "--jobs") {
            const auto read = Read<int>(value);
            if (!read || *read < (option == "--jobs" ? 1 : 0)) return bad();
            (option == "--mc" ? options.monteCarloSets : options.jobs) = *read;
        } else if (option == "--seed") {
            const auto read = Read<std::uint64_t>(value);
            if (!read) return bad();
            options.seed = *read;
        } else if (option == "--frequencies") {
            if (value != "signed" && value != "magnitudes") return bad();
            residue.system.pairFrequencies =
                value == "signed" ? PairFrequencySigns::Signed : PairFrequencySigns::Magnitudes;
        } else if (option == "--back") {
            command.backFile = value;
        } else {
            return Refused("unknown option '" + option + "'");
        }
    }
    if (files.size() != 1) return Refused("--fit takes one data file");
    if (tmGiven && options.globalTm) return Refused("--tm and --global-tm exclude each other");
    residue.fitTm = !tmGiven;
    command.dataFile = files.front();
    return {std::move(command), {}};
}

int RunFitCommand(const FitCommand& command, std::ostream& out, std::ostream& errors) {
    std::ifstream file(command.dataFile, std::ios::binary);
    if (!file) {
        errors << "veldorin: " << command.dataFile << ": cannot be read\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const ProteinDataRead read = ReadProteinData(text);
    if (!read.data) {
        std::istringstream lines(read.error);
        for (std::string line; std::getline(lines, line);) {
            errors << "veldorin: " << command.dataFile << ": " << line << '\n';
        }
        return 1;
    }
    const ProteinFit fit = FitProtein(*read.data, command.options);
    out << ProteinFitCsv(fit);
    int status = 0;
    for (const ResidueOutcome& residue : fit.residues) {
        if (residue.fit) continue;
        errors << "veldorin: residue " << residue.residue << ": " << residue.failure << '\n';
        status = 1;
    }
    if (command.backFile) {
        const std::string back = BackCalculatedCsv(*read.data, fit);
        if (const auto failure =
                SaveBytesAside(NameFromNative(QByteArray::fromStdString(*command.backFile)),
                               QByteArray::fromStdString(back))) {
            errors << "veldorin: " << NativeName(*failure).toStdString() << '\n';
            status = 1;
        }
    }
    return status;
}

}  // namespace veldorin
