// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/rates_command.h"

#include <ostream>

#include "app/fit_command.h"
#include "engine/numeric_text.h"

namespace veldorin {

const char* const kRatesUsage = "  or:  veldorin --rates SERIES... [OPTION...]\n";

namespace {

constexpr OptionHelp kRatesOptionList[] = {
    {"--offset", "", "fits I0 exp(-R t) + c, with a constant c, instead of I0 exp(-R t)\n",
     "veldorin --rates r1.csv --offset", ""},
    {"--mc", "N",
     "the errors of R from N Monte Carlo sets (default 500, 2 to 10000;\n"
     "0: from the covariance)\n",
     "veldorin --rates r1.csv r2.csv --mc 1000", ""},
    {"--seed", "S", "the seed of the Monte Carlo noise (default 1)\n",
     "veldorin --rates r1.csv --seed 7", ""},
};

// As --fit bounds its sets; one set has no spread, so the least is two.
constexpr int kMaxMonteCarloSets = 10000;

RatesCommandParse Refused(std::string why) { return {std::nullopt, std::move(why)}; }

// The value of --mc or --seed read into the options; the refusal when it cannot be.
std::optional<std::string> Refusal(DecayFitOptions& options, const std::string& option,
                                   const std::string& value) {
    if (option == "--mc") {
        const auto sets = WholeNumberIn<int>(value);
        if (!sets || *sets < 0 || *sets == 1 || *sets > kMaxMonteCarloSets) {
            return "--mc takes 0 (errors from the covariance) or 2 to " +
                   std::to_string(kMaxMonteCarloSets) + " sets, not '" + value + "'";
        }
        options.monteCarloSets = *sets;
    } else {
        const auto seed = WholeNumberIn<std::uint64_t>(value);
        if (!seed) return "'" + value + "' is no value for --seed";
        options.seed = *seed;
    }
    return std::nullopt;
}

}  // namespace

const OptionTable kRatesOptions = kRatesOptionList;

RatesCommandParse ParseRatesCommand(const std::vector<std::string>& arguments) {
    RatesCommand command;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option.empty() || option.front() != '-') {
            command.seriesFiles.push_back(option);
        } else if (!FindOption(kRatesOptions, option)) {
            return Refused("--rates takes no option '" + option + "'");
        } else if (option == "--offset") {
            command.options.offset = true;
        } else if (i + 1 == arguments.size()) {
            return Refused(option + " needs a value");
        } else if (auto refusal = Refusal(command.options, option, arguments[++i])) {
            return Refused(*std::move(refusal));
        }
    }
    if (command.seriesFiles.empty()) return Refused("--rates needs a series file");
    return {std::move(command), {}};
}

int RunRatesCommand(const RatesCommand& command, std::ostream& out, std::ostream& errors) {
    const auto series = [&](std::string_view text) -> ProteinDataRead {
        if (!IsIntensitySeriesText(text)) {
            return {std::nullopt,
                    "not a series of intensities: expected a header with delay_s and intensity "
                    "columns"};
        }
        IntensityDecayRead read = ReadIntensityDecays(text, command.options);
        return {std::move(read.data), std::move(read.error)};
    };
    const std::optional<ProteinData> rates = ReadDataFiles(command.seriesFiles, series, errors);
    if (!rates) return 1;
    out << LongFormCsv(*rates);
    return 0;
}

}  // namespace veldorin
