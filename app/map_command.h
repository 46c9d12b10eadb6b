// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/option_table.h"
#include "fit/relaxation_model.h"

namespace veldorin {

// `veldorin --map DATA... [options]`: the reduced spectral densities of every residue at
// every field, as CSV.
struct MapCommand {
    std::vector<std::string> dataFiles;  // as given, in the file system's bytes
    FitSpinSystem system;                // as --fit takes it from the same options
};

struct MapCommandParse {
    std::optional<MapCommand> command;
    std::string usageError;
};

// The arguments after --map: the data files and the spin system's options of --fit
// (--nucleus, --partner, --distance, --csa), in any order.
MapCommandParse ParseMapCommand(const std::vector<std::string>& arguments);

// The usage lines of --map and the options it accepts, for --help.
extern const char* const kMapUsage;
extern const OptionTable kMapOptions;

// Maps, prints the CSV on `out`, and names on `errors` each residue's field that could not
// be mapped. 0 when every field of every residue was mapped, 1 when a file or a field
// could not be.
int RunMapCommand(const MapCommand& command, std::ostream& out, std::ostream& errors);

}  // namespace veldorin
