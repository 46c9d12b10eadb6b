// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/map_command.h"

#include <ostream>

#include "app/fit_command.h"
#include "fit/reduced_mapping.h"

namespace veldorin {

const char* const kMapUsage = "  or:  veldorin --map DATA... [OPTION...]\n";

namespace {

// The spin system's options of --fit, which --map reads as --fit does.
constexpr OptionHelp kMapOptionList[] = {
    {"--nucleus", "1H|13C|15N", "the nucleus whose relaxation was measured (default 15N)\n",
     "veldorin --map rates.csv --nucleus 15N", ""},
    {"--partner", "1H|13C|15N", "the nucleus bonded to it (default 1H)\n",
     "veldorin --map rates.csv --partner 1H", ""},
    {"--distance", "A", "their distance in Angstrom (default 1.02)\n",
     "veldorin --map rates.csv --distance 1.04", ""},
    {"--csa", "PPM", "the chemical shift anisotropy in ppm (default -172)\n",
     "veldorin --map rates.csv --csa -160", ""},
};

MapCommandParse Refused(std::string why) { return {std::nullopt, std::move(why)}; }

}  // namespace

const OptionTable kMapOptions = kMapOptionList;

MapCommandParse ParseMapCommand(const std::vector<std::string>& arguments) {
    bool files = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.empty() || argument.front() != '-') {
            files = true;
        } else if (!FindOption(kMapOptions, argument)) {
            return Refused("--map takes no option '" + argument + "'");
        } else {
            ++i;  // the option's value, read below
        }
    }
    if (!files) return Refused("--map needs a data file");
    // Read as --fit reads them, so that both take the same spin system from the same words.
    FitCommandParse fit = ParseFitCommand(arguments);
    if (!fit.command) return Refused(std::move(fit.usageError));
    return {MapCommand{fit.command->dataFiles, fit.command->options.residue.system}, {}};
}

int RunMapCommand(const MapCommand& command, std::ostream& out, std::ostream& errors) {
    const std::optional<ProteinData> data = ReadProteinDataFiles(command.dataFiles, errors);
    if (!data) return 1;
    const std::vector<ResidueMap> maps = MapProtein(*data, command.system);
    out << SpectralDensityMapCsv(maps);
    int status = 0;
    for (const ResidueMap& residue : maps) {
        for (const UnmappedField& field : residue.unmapped) {
            errors << "veldorin: residue " << residue.residue << ": " << field.fieldMHz
                   << " MHz not mapped: " << field.reason << '\n';
            status = 1;
        }
    }
    return status;
}

}  // namespace veldorin
