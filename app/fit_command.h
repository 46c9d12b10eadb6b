// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/option_table.h"
#include "fit/protein_fit.h"
#include "structure/bond_vectors.h"

namespace veldorin {

// `veldorin --fit DATA... [options]`: every residue of a protein fitted, as CSV.
struct FitCommand {
    std::vector<std::string> dataFiles;     // as given, in the file system's bytes
    std::optional<std::string> backFile;    // --back: the measurements beside the model's values
    std::optional<std::string> reportFile;  // --report: how the fit was made, as JSON
    std::string nucleus = "15N";            // as named on the command line
    std::string partner = "1H";
    ProteinFitOptions options;
    // --structure: the bonds' directions, the overall tumbling fitted as a tensor of each
    // of the diffusion models (--diffusion; all four, the criterion choosing, by default).
    std::optional<std::string> structureFile;
    BondSelection bond;  // --bond FROM-TO, --ensemble average|N
    std::vector<DiffusionModel> diffusionModels;
    // --write-structure: the structure with a fitted quantity (--bfactor) in its B-factor
    // column, and scripts beside it that colour it by that in two molecular viewers.
    std::optional<std::string> structureOut;
    ResultQuantity bFactor = ResultQuantity::S2;
};

struct FitCommandParse {
    std::optional<FitCommand> command;
    std::string usageError;
};

// The arguments after --fit (the data files and the options, in any order).
FitCommandParse ParseFitCommand(const std::vector<std::string>& arguments);

// The usage lines of --fit and the options it accepts, for --help.
extern const char* const kFitUsage;
extern const OptionTable kFitOptions;

// Reads a file's text as a protein's data.
using ProteinDataReader = std::function<ProteinDataRead(std::string_view text)>;
// The data of every file, each read by `read`, merged as MergedProteinData merges them;
// nothing when a file cannot be read or holds lines that cannot, each reason on `errors`
// with the file's name.
std::optional<ProteinData> ReadDataFiles(const std::vector<std::string>& paths,
                                         const ProteinDataReader& read, std::ostream& errors);
// The data of every file, each read by its content (ReadProteinSource).
std::optional<ProteinData> ReadProteinDataFiles(const std::vector<std::string>& paths,
                                                std::ostream& errors);

// Fits, prints the CSV on `out`, and on `errors` each model a residue lost with the
// reason and each residue that could not be fitted. 0 when every residue was fitted, 1
// when a file or a residue failed or a file could not be written.
int RunFitCommand(const FitCommand& command, std::ostream& out, std::ostream& errors);

}  // namespace veldorin
