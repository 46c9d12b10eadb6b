// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/option_table.h"
#include "fit/intensity_decay.h"

namespace veldorin {

// `veldorin --rates SERIES... [options]`: R1 and R2 fitted to series of peak intensities,
// printed as --fit's long form.
struct RatesCommand {
    std::vector<std::string> seriesFiles;  // as given, in the file system's bytes
    DecayFitOptions options;
};

struct RatesCommandParse {
    std::optional<RatesCommand> command;
    std::string usageError;
};

// The arguments after --rates: the series files, --offset, --mc N and --seed S, in any order.
RatesCommandParse ParseRatesCommand(const std::vector<std::string>& arguments);

// The usage lines of --rates and the options it accepts, for --help.
extern const char* const kRatesUsage;
extern const OptionTable kRatesOptions;

// Fits every series of every file, merged as --fit merges its files, and prints the rates
// as "residue,field_mhz,quantity,value,error" on `out`; 0 when every series was fitted, 1
// when a file or a series could not be (each reason on `errors`, and nothing printed).
int RunRatesCommand(const RatesCommand& command, std::ostream& out, std::ostream& errors);

}  // namespace veldorin
