// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/fit_command.h"
#include "app/map_command.h"
#include "app/option_table.h"
#include "app/rates_command.h"

namespace veldorin {

// What the program was asked to do by its arguments.
struct CommandLineOptions {
    enum class Mode {
        Window,   // the window, as without arguments
        Table,    // --table: each model file's results table on standard output
        Help,     // --help
        Version,  // --version
        Fit,      // --fit: every residue of a protein fitted, as CSV
        Map,      // --map: every residue's reduced spectral densities, as CSV
        Rates,    // --rates: R1 and R2 fitted to peak intensities, as CSV
    };
    Mode mode = Mode::Window;
    bool timesTable = false;            // --times: the times table whatever the files say
    std::vector<std::string> tables;    // the model files of --table, as given
    std::optional<std::string> model;   // the model file to open in the window
    std::optional<FitCommand> fit;      // what --fit is to do
    std::optional<MapCommand> map;      // what --map is to do
    std::optional<RatesCommand> rates;  // what --rates is to do
};

struct CommandLineParse {
    std::optional<CommandLineOptions> options;  // set when the arguments make sense
    std::string usageError;                     // otherwise what is wrong with them
};

// Exit statuses of the modes without a window.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitTableFailed = 1;  // a file was bad, or its table failed or stopped
inline constexpr int kExitUsage = 2;        // the arguments did not make sense

// The options outside --fit, --map and --rates, which the help lists first.
extern const OptionTable kGeneralOptions;

// Reads the arguments after the program's name. "--" ends the options, so a file whose
// name begins with "-" can follow it.
CommandLineParse ParseCommandLine(const std::vector<std::string>& arguments);

// The "veldorin: ..." lines for a usage error, on the error stream; returns kExitUsage.
int ReportUsageError(const std::string& usageError, std::ostream& errors);

// Runs a mode without a window (Table, Fit, Map, Rates, Help or Version), writing to the given
// streams, and returns the exit status. Needs no application object.
int RunWithoutWindow(const CommandLineOptions& options, std::ostream& out, std::ostream& errors);

}  // namespace veldorin
