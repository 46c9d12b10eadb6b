// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <streambuf>
#include <string>

#include "engine/input_names.h"
#include "engine/results_table.h"
#include "files/native_name.h"
#include "run_phases/run_phases.h"
#include "storage/model_file.h"

namespace veldorin {
namespace {

constexpr const char* kUsageHead =
    "Usage: veldorin [FILE]\n"
    "  or:  veldorin --table [--times] FILE...\n";
constexpr const char* kUsageWindow =
    "\n"
    "Without --table, --fit, --map or --rates, opens the window (with the model FILE).\n"
    "\n";
constexpr const char* kUsageTail =
    "\n"
    "Exit status: 0 when every table was computed (every residue or series fitted\n"
    "or mapped), 1 when a file could not be read, a table failed or stopped or a\n"
    "residue or series could not be fitted or mapped (the reason on standard\n"
    "error), 2 for wrong arguments.\n";

constexpr OptionHelp kGeneralOptionList[] = {
    {"--table", "FILE...",
     "print each model file's results table, the lines of \"table.dat\"\n"
     "(tab-separated, each ending in CR LF); with several files, a line\n"
     "\"== FILE\" comes before each table\n",
     "veldorin --table docs/examples/amide-15N.veldorin", ""},
    {"--times", "", "print the times table, whatever table the files hold\n",
     "veldorin --table --times model.veldorin", ""},
    {"--fit", "DATA...",
     "fit the model-free motion of every residue in the DATA files,\n"
     "merged by residue (a row per measurement, header\n"
     "residue,field_mhz,quantity,value,error; or a row per residue,\n"
     "header residue,R1_600,R1_600_err,NOE_600,NOE_600_err,...; R1, R2 in\n"
     "1/s, T1, T2 in s, NOE as the intensity ratio; cells separated by\n"
     "commas, tabs or blanks; # starts a comment line) with one tm for\n"
     "the whole protein (unless --tm or --local-tm), eliminating\n"
     "unphysical models, and print one CSV row per residue; --report\n"
     "writes how the fit was made as JSON; see README and the options below\n",
     "veldorin --fit rates.csv noe.csv > fit.csv", ""},
    {"--map", "DATA...",
     "print the reduced spectral densities J(0), J(wN) and J(0.87 wH)\n"
     "(ns/rad) with their errors, one CSV row per residue and field of\n"
     "the DATA files with R1, R2 and NOE, and whether J(0) agrees across\n"
     "the fields; see README\n",
     "veldorin --map rates.csv > map.csv", ""},
    {"--rates", "SERIES...",
     "fit R1 and R2 to the peak intensities of SERIES files (header\n"
     "residue,quantity,field_mhz,delay_s,intensity[,error]; without an\n"
     "error column, repeated delays give it), I0 exp(-R t) (+ a constant\n"
     "with --offset), and print them as --fit reads them; see README\n",
     "veldorin --rates r1.csv r2.csv > rates.csv", ""},
    {"--help", "", "show this help and exit\n", "veldorin --help", "-h"},
    {"--version", "", "show the version and exit\n", "veldorin --version", ""},
    {"--", "", "end of options: the arguments after it are files\n",
     "veldorin --table -- -draft.veldorin", ""},
};

// The whole help: how to call the program, then every option of every mode.
void PrintHelp(std::ostream& out) {
    out << kUsageHead << kFitUsage << kMapUsage << kRatesUsage << kUsageWindow;
    PrintOptions(kGeneralOptions, out);
    out << "\nOptions of --fit:\n";
    PrintOptions(kFitOptions, out);
    out << "\nOptions of --map (read as --fit reads them):\n";
    PrintOptions(kMapOptions, out);
    out << "\nOptions of --rates:\n";
    PrintOptions(kRatesOptions, out);
    out << kUsageTail;
}

// Passes everything written on to another stream's buffer and keeps the system's reason
// for the first write that failed: the stream's state alone keeps only that one did, and
// errno is long overwritten by the time the output is flushed at the end.
class CheckedOutput final : public std::streambuf {
public:
    explicit CheckedOutput(std::ostream& target)
        : target_(*target.rdbuf()), failed_(!target.good()) {}

    // Flushes the target; true when everything reached it.
    bool Flush() {
        Check([&] { return target_.pubsync() == 0; });
        return !failed_;
    }
    // The system's reason for the failure, "" when it gave none.
    const std::string& reason() const { return reason_; }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return Check([&] { return target_.sputn(&byte, 1) == 1; }) ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        return Check([&] { return target_.sputn(bytes, count) == count; }) ? count : 0;
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    // Runs the write unless one failed before; notes errno when it fails.
    template <typename Write>
    bool Check(const Write& write) {
        if (failed_) return false;
        errno = 0;
        if (write()) return true;
        failed_ = true;
        if (errno != 0) reason_ = std::strerror(errno);
        return false;
    }

    std::streambuf& target_;
    bool failed_;
    std::string reason_;
};

// Success when everything printed reached standard output; a full disk or a closed
// pipe is said on standard error with the system's reason.
int Flushed(CheckedOutput& out, std::ostream& errors) {
    if (out.Flush()) return kExitSuccess;
    errors << "veldorin: standard output could not be written";
    if (!out.reason().empty()) errors << " (" << out.reason() << ')';
    errors << '\n';
    return kExitTableFailed;
}

constexpr const char* kLicence =
    "Copyright (C) 2026 The VELDORIN developers\n"
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// Keeps the table's lines for one file; the sink of a run without a list or a file.
class CollectedTable final : public TableSink {
public:
    bool Begin() override {
        lines.clear();
        return true;
    }
    bool AddLine(const std::string& line) override {
        lines.push_back(line);
        return true;
    }
    bool Finish() override { return true; }

    std::vector<std::string> lines;
};

// Why the table of a file that was read did not complete, naming the text that is not
// a number where that was the cause; nothing when it completed.
std::optional<std::string> WhyNotCompleted(const RunOutcome& outcome, const ModelTexts& texts) {
    switch (outcome.status) {
        case RunOutcome::Status::Completed: return std::nullopt;
        case RunOutcome::Status::Stopped:
            return "the weights do not sum above 0, nothing was computed";
        case RunOutcome::Status::Failed: break;
    }
    const bool unreadable = outcome.failure == FailureReason::NotNumeric ||
                            outcome.failure == FailureReason::ConversionOverflow;
    if (const auto input = unreadable ? DescribeUnreadableInput(texts) : std::nullopt) {
        return "the table failed: " + *input;
    }
    return "the table failed: " +
           std::string(outcome.failure ? Describe(*outcome.failure) : "unknown error");
}

// Prints one file's table as the bytes of "table.dat" (what was computed before a
// failure included, as there); false when the file or its table failed.
bool PrintTable(const std::string& path, bool timesTable, std::ostream& out, std::ostream& errors) {
    const ModelFileRead read = ReadModelFile(NameFromNative(QByteArray::fromStdString(path)));
    if (!read.document) {
        // The name as given, byte for byte, whatever its encoding.
        errors << "veldorin: " << NativeName(read.error).toStdString() << '\n';
        return false;
    }
    ModelTexts texts = read.document->texts;
    if (timesTable) texts.tableMode = TableMode::Times;
    GraphSettings settings;
    settings.plotMode = read.document->plotMode;
    settings.arrayOn = read.document->arrayOn;
    settings.arrayParameter = read.document->arrayParameter;
    CollectedTable table;
    const TablePhase phase = RunPhases().RunTable(texts, settings, table);
    out << TableFileContents(table.lines);
    if (const auto reason = WhyNotCompleted(phase.outcome, texts)) {
        errors << "veldorin: " << path << ": " << *reason << '\n';
        return false;
    }
    return true;
}

// Each file's table; false when one of them failed.
bool PrintTables(const CommandLineOptions& options, std::ostream& out, std::ostream& errors) {
    const bool namesFiles = options.tables.size() > 1;
    bool allCompleted = true;
    for (const std::string& path : options.tables) {
        if (namesFiles) out << "== " << path << "\r\n";
        allCompleted = PrintTable(path, options.timesTable, out, errors) && allCompleted;
    }
    return allCompleted;
}

// The mode's work and its status, before the output is known to have been written.
int RunMode(const CommandLineOptions& options, std::ostream& out, std::ostream& errors) {
    switch (options.mode) {
        case CommandLineOptions::Mode::Help: PrintHelp(out); return kExitSuccess;
        case CommandLineOptions::Mode::Version:
            out << "veldorin " << VELDORIN_VERSION << '\n' << kLicence;
            return kExitSuccess;
        case CommandLineOptions::Mode::Table:
            return PrintTables(options, out, errors) ? kExitSuccess : kExitTableFailed;
        case CommandLineOptions::Mode::Fit: return RunFitCommand(*options.fit, out, errors);
        case CommandLineOptions::Mode::Map: return RunMapCommand(*options.map, out, errors);
        case CommandLineOptions::Mode::Rates: return RunRatesCommand(*options.rates, out, errors);
        case CommandLineOptions::Mode::Window: break;
    }
    // The window is main's to open; asked for here, it is the caller's mistake.
    return ReportUsageError("the window cannot be opened without an application", errors);
}

CommandLineParse UsageError(std::string text) { return {std::nullopt, std::move(text)}; }

// --fit, --map or --rates with the other arguments, which are all theirs.
CommandLineParse CommandParse(const std::string& command, const std::vector<std::string>& rest) {
    CommandLineOptions options;
    if (command == "--fit") {
        FitCommandParse parse = ParseFitCommand(rest);
        if (!parse.command) return UsageError(parse.usageError);
        options.mode = CommandLineOptions::Mode::Fit;
        options.fit = std::move(parse.command);
    } else if (command == "--map") {
        MapCommandParse parse = ParseMapCommand(rest);
        if (!parse.command) return UsageError(parse.usageError);
        options.mode = CommandLineOptions::Mode::Map;
        options.map = std::move(parse.command);
    } else {
        RatesCommandParse parse = ParseRatesCommand(rest);
        if (!parse.command) return UsageError(parse.usageError);
        options.mode = CommandLineOptions::Mode::Rates;
        options.rates = std::move(parse.command);
    }
    return {options, {}};
}

}  // namespace

const OptionTable kGeneralOptions = kGeneralOptionList;

CommandLineParse ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineOptions options;
    // --fit, --map and --rates have options of their own: everything else is theirs.
    const auto command = std::find_if(arguments.begin(), arguments.end(), [](const auto& argument) {
        return argument == "--fit" || argument == "--map" || argument == "--rates";
    });
    const bool helpAsked = std::ranges::any_of(
        arguments, [](const auto& argument) { return argument == "--help" || argument == "-h"; });
    if (command != arguments.end()) {
        // The options of those are not this loop's; help wins over them all the same.
        if (helpAsked) {
            options.mode = CommandLineOptions::Mode::Help;
            return {options, {}};
        }
        std::vector<std::string> rest(arguments.begin(), command);
        rest.insert(rest.end(), command + 1, arguments.end());
        return CommandParse(*command, rest);
    }
    std::vector<std::string> files;
    bool tableAsked = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.empty() || argument.front() != '-' || argument == "-") {
            files.push_back(argument);
        } else if (!FindOption(kGeneralOptions, argument)) {
            return UsageError("unknown option '" + argument + "'");
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--table") {
            tableAsked = true;
        } else if (argument == "--times") {
            options.timesTable = true;
        } else if (argument == "--version") {
            if (options.mode != CommandLineOptions::Mode::Help) {
                options.mode = CommandLineOptions::Mode::Version;
            }
        } else {  // --help or -h
            options.mode = CommandLineOptions::Mode::Help;
        }
    }
    if (options.mode != CommandLineOptions::Mode::Window) return {options, {}};
    if (tableAsked) {
        if (files.empty()) return UsageError("--table needs at least one model file");
        options.mode = CommandLineOptions::Mode::Table;
        options.tables = std::move(files);
        return {options, {}};
    }
    if (options.timesTable) return UsageError("--times goes with --table");
    if (files.size() > 1) return UsageError("the window opens one model file at a time");
    if (!files.empty()) options.model = files.front();
    return {options, {}};
}

int ReportUsageError(const std::string& usageError, std::ostream& errors) {
    errors << "veldorin: " << usageError << "\nTry 'veldorin --help' for more information.\n";
    return kExitUsage;
}

int RunWithoutWindow(const CommandLineOptions& options, std::ostream& out, std::ostream& errors) {
    CheckedOutput checked(out);
    std::ostream written(&checked);
    // The error stream flushes the output before each message, as it would standard
    // output; through the check, so that a failure then is not lost unseen.
    std::ostream* const tied = errors.tie(&written);
    const int status = RunMode(options, written, errors);
    errors.tie(tied);
    const int flushed = Flushed(checked, errors);
    return flushed == kExitSuccess ? status : flushed;
}

}  // namespace veldorin
