// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

// Standard output's own kind of stream buffer.
#include <ext/stdio_sync_filebuf.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/diffusion_protein.h"
#include "engine/results_table.h"
#include "run_phases/run_phases.h"
#include "storage/model_file.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::TempFolder;
using Mode = CommandLineOptions::Mode;

struct ParseRow {
    const char* name;
    std::vector<std::string> arguments;
    Mode mode;
    bool timesTable;
    std::vector<std::string> tables;
    std::optional<std::string> model;
    const char* usageError;  // "" when the arguments make sense
};

void PrintTo(const ParseRow& row, std::ostream* out) { *out << row.name; }

class ParsingTheCommandLine : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParsingTheCommandLine, GivesTheModeAndFilesOrTheMistake) {
    const ParseRow& row = GetParam();

    const CommandLineParse parse = ParseCommandLine(row.arguments);

    if (*row.usageError != '\0') {
        EXPECT_FALSE(parse.options);
        EXPECT_NE(parse.usageError.find(row.usageError), std::string::npos) << parse.usageError;
        return;
    }
    ASSERT_TRUE(parse.options) << parse.usageError;
    EXPECT_EQ(parse.options->mode, row.mode);
    EXPECT_EQ(parse.options->timesTable, row.timesTable);
    EXPECT_EQ(parse.options->tables, row.tables);
    EXPECT_EQ(parse.options->model, row.model);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ParsingTheCommandLine,
    ::testing::Values(
        ParseRow{"nothing", {}, Mode::Window, false, {}, std::nullopt, ""},
        ParseRow{"model_to_open", {"a.veldorin"}, Mode::Window, false, {}, "a.veldorin", ""},
        ParseRow{"two_models_to_open", {"a", "b"}, Mode::Window, false, {}, {}, "one model"},
        ParseRow{"tables", {"--table", "a", "b"}, Mode::Table, false, {"a", "b"}, {}, ""},
        ParseRow{"times_anywhere", {"a", "--times", "--table"}, Mode::Table, true, {"a"}, {}, ""},
        ParseRow{"dash_file_after_end",
                 {"--table", "--", "-x", "--times"},
                 Mode::Table,
                 false,
                 {"-x", "--times"},
                 {},
                 ""},
        ParseRow{"table_without_file",
                 {"--table", "--times"},
                 Mode::Table,
                 true,
                 {},
                 {},
                 "--table needs"},
        ParseRow{"times_without_table",
                 {"--times", "a"},
                 Mode::Window,
                 true,
                 {},
                 {},
                 "--times goes with --table"},
        ParseRow{"unknown_option",
                 {"--table", "a", "-t"},
                 Mode::Table,
                 false,
                 {},
                 {},
                 "unknown option '-t'"},
        ParseRow{"help_wins", {"--version", "--table", "--help"}, Mode::Help, false, {}, {}, ""},
        ParseRow{"version", {"--version"}, Mode::Version, false, {}, {}, ""}),
    [](const ::testing::TestParamInfo<ParseRow>& info) { return info.param.name; });

// The bytes "table.dat" would hold for the document's texts in the given mode.
std::string TableFileOf(ModelTexts texts, TableMode mode) {
    texts.tableMode = mode;
    test::RecordingSink sink;
    RunPhases().RunTable(texts, GraphSettings{}, sink);
    return TableFileContents(sink.lines);
}

ModelDocument TimesDocument() {
    ModelDocument document = DefaultModelDocument();
    document.texts.tableMode = TableMode::Times;
    document.texts.slots[2].distance = "3.5";
    return document;
}

ModelDocument WithTexts(const std::function<void(ModelTexts&)>& edit) {
    ModelDocument document = DefaultModelDocument();
    edit(document.texts);
    return document;
}

struct TableRunRow {
    const char* name;
    std::vector<std::string> arguments;  // "@name" stands for the path of a file below
    std::vector<std::pair<std::string, ModelDocument>> files;
    std::function<std::string(const std::function<std::string(const char*)>&)> out;
    int exitStatus;
    std::vector<std::string> errorParts;  // each appears on the error stream
};

void PrintTo(const TableRunRow& row, std::ostream* out) { *out << row.name; }

class RunningTables : public ::testing::TestWithParam<TableRunRow> {};

TEST_P(RunningTables, PrintsTheTablesAndExitsWithTheirStatus) {
    const TableRunRow& row = GetParam();
    const TempFolder folder;
    const auto pathOf = [&folder](const char* name) {
        return QFile::encodeName(folder.Path(QString::fromUtf8(name))).toStdString();
    };
    for (const auto& [name, document] : row.files) {
        ASSERT_EQ(WriteModelFile(folder.Path(QString::fromStdString(name)), document),
                  std::nullopt);
    }
    std::vector<std::string> arguments;
    for (const std::string& argument : row.arguments) {
        arguments.push_back(argument.starts_with('@') ? pathOf(argument.c_str() + 1) : argument);
    }
    const CommandLineParse parse = ParseCommandLine(arguments);
    ASSERT_TRUE(parse.options) << parse.usageError;
    std::ostringstream out;
    std::ostringstream errors;

    const int exitStatus = RunWithoutWindow(*parse.options, out, errors);

    EXPECT_EQ(exitStatus, row.exitStatus);
    EXPECT_EQ(out.str(), row.out(pathOf));
    for (const std::string& part : row.errorParts) {
        const std::string expected = part.starts_with('@') ? pathOf(part.c_str() + 1) : part;
        EXPECT_NE(errors.str().find(expected), std::string::npos) << errors.str();
    }
    if (row.errorParts.empty()) {
        EXPECT_EQ(errors.str(), "");
    }
}

const ModelDocument kDefault = DefaultModelDocument();

INSTANTIATE_TEST_SUITE_P(
    CommandLine, RunningTables,
    ::testing::Values(
        TableRunRow{"one_file",
                    {"--table", "@m.veldorin"},
                    {{"m.veldorin", kDefault}},
                    [](auto) { return TableFileOf(kDefault.texts, TableMode::Rates); },
                    kExitSuccess,
                    {}},
        TableRunRow{"the_file_s_own_mode",
                    {"--table", "@m.veldorin"},
                    {{"m.veldorin", TimesDocument()}},
                    [](auto) { return TableFileOf(TimesDocument().texts, TableMode::Times); },
                    kExitSuccess,
                    {}},
        TableRunRow{"times_forced",
                    {"--times", "--table", "@m.veldorin"},
                    {{"m.veldorin", kDefault}},
                    [](auto) { return TableFileOf(kDefault.texts, TableMode::Times); },
                    kExitSuccess,
                    {}},
        TableRunRow{"several_files_one_missing",
                    {"--table", "@ä b.veldorin", "@none", "@t.veldorin"},
                    {{"ä b.veldorin", kDefault}, {"t.veldorin", TimesDocument()}},
                    [](const auto& pathOf) {
                        return "== " + pathOf("ä b.veldorin") + "\r\n" +
                               TableFileOf(kDefault.texts, TableMode::Rates) +
                               "== " + pathOf("none") + "\r\n" + "== " + pathOf("t.veldorin") +
                               "\r\n" + TableFileOf(TimesDocument().texts, TableMode::Times);
                    },
                    kExitTableFailed,
                    {"@none", "no such file"}},
        TableRunRow{"run_failed",
                    {"--table", "@m.veldorin"},
                    {{"m.veldorin", WithTexts([](ModelTexts& texts) { texts.csa = "x"; })}},
                    [](auto) { return std::string(); },
                    kExitTableFailed,
                    {"@m.veldorin", "the table failed: CSA (ppm): \"x\" is not a number"}},
        TableRunRow{"run_failed_names_the_first_text_read",
                    {"--table", "@m.veldorin"},
                    {{"m.veldorin", WithTexts([](ModelTexts& texts) {
                          texts.times[2] = "1,5";
                          texts.slots[1].distance = "1e39";
                      })}},
                    [](auto) { return std::string(); },
                    kExitTableFailed,
                    {"the table failed: t3 (ps): \"1,5\" is not a number"}},
        TableRunRow{"run_failed_on_a_distance",
                    {"--table", "@m.veldorin"},
                    {{"m.veldorin",
                      WithTexts([](ModelTexts& texts) { texts.slots[1].distance = "1e39"; })}},
                    [](auto) { return std::string(); },
                    kExitTableFailed,
                    {"neighbour 2 distance (Å): \"1e39\" is too large"}},
        TableRunRow{"run_stopped",
                    {"--table", "@m.veldorin"},
                    {{"m.veldorin", WithTexts([](ModelTexts& texts) {
                          texts.weights = {"0", "0", "0", "0", "0", "0"};
                      })}},
                    [](auto) { return std::string(); },
                    kExitTableFailed,
                    {"@m.veldorin", "do not sum above 0"}}),
    [](const ::testing::TestParamInfo<TableRunRow>& info) { return info.param.name; });

TEST(CommandLine, HelpAndVersionGoToStandardOutput) {
    for (const char* option : {"--help", "--version"}) {
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({option}).options, out, errors), kExitSuccess);
        EXPECT_TRUE(out.str().starts_with(option == std::string("--help") ? "Usage: veldorin"
                                                                          : "veldorin "));
        EXPECT_EQ(errors.str(), "");
    }
}

// The words of an example's command line after the program's name, up to a redirection.
std::vector<std::string> ExampleArguments(std::string_view example) {
    std::istringstream words{std::string(example)};
    std::vector<std::string> arguments;
    for (std::string word; words >> word && word != ">";) arguments.push_back(word);
    arguments.erase(arguments.begin());
    return arguments;
}

// The parsers accept exactly the options of their tables: --help must show each as its
// table says, with an example that the parser takes and that uses it.
TEST(CommandLine, HelpNamesEveryAcceptedOptionWithAnExampleThatParses) {
    std::ostringstream help;
    std::ostringstream errors;
    ASSERT_EQ(RunWithoutWindow(*ParseCommandLine({"--help"}).options, help, errors), kExitSuccess);
    for (const OptionTable table : {kGeneralOptions, kFitOptions, kMapOptions, kRatesOptions}) {
        for (const OptionHelp& option : table) {
            std::string heading = "\n  ";
            if (!option.alias.empty()) heading += std::string(option.alias) + ", ";
            heading += option.name;
            if (!option.value.empty()) heading += " " + std::string(option.value);
            EXPECT_NE(help.str().find(heading + "\n"), std::string::npos) << option.name;
            EXPECT_NE(help.str().find("Example: " + std::string(option.example) + "\n"),
                      std::string::npos)
                << option.name;
            const std::vector<std::string> arguments = ExampleArguments(option.example);
            EXPECT_NE(std::ranges::find(arguments, option.name), arguments.end()) << option.example;
            const CommandLineParse parse = ParseCommandLine(arguments);
            EXPECT_TRUE(parse.options) << option.example << ": " << parse.usageError;
        }
    }
    for (const char* mode : {"--table", "--fit", "--map", "--rates"}) {
        EXPECT_FALSE(ParseCommandLine({mode, "a.csv", "--no-such"}).options) << mode;
    }
}

TEST(CommandLine, HelpAndVersionIntoAFullOutputFail) {
    for (const char* option : {"--help", "--version"}) {
        std::ostringstream out;
        out.setstate(std::ios::badbit);
        std::ostringstream errors;
        EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({option}).options, out, errors),
                  kExitTableFailed);
        EXPECT_TRUE(errors.str().starts_with("veldorin: standard output could not be written"));
    }
}

TEST(CommandLine, AUsageErrorExitsWithTwoAndPointsToTheHelp) {
    std::ostringstream errors;
    EXPECT_EQ(ReportUsageError("unknown option '-x'", errors), kExitUsage);
    EXPECT_EQ(errors.str(),
              "veldorin: unknown option '-x'\nTry 'veldorin --help' for more information.\n");
}

// Four residues of the benchmark's protein, the last with too few measurements for m4.
const char kFitData[] =
    "residue,field_mhz,quantity,value,error\n"
    "1,500,R1,2.4708,0.0492\n1,500,R2,6.5016,0.128\n1,500,NOE,0.57321,0.03\n"
    "1,600,R1,2.0697,0.0411\n1,600,R2,6.9151,0.138\n1,600,NOE,0.65987,0.03\n"
    "1,800,R1,1.5485,0.0312\n1,800,R2,7.7898,0.155\n1,800,NOE,0.75124,0.03\n"
    "2,500,R1,2.3938,0.048\n2,500,R2,7.7318,0.153\n2,500,NOE,0.62066,0.03\n"
    "2,600,R1,2.0146,0.0397\n2,600,R2,8.2021,0.166\n2,600,NOE,0.70126,0.03\n"
    "2,800,R1,1.5215,0.0301\n2,800,R2,9.7347,0.196\n2,800,NOE,0.79055,0.03\n"
    "few,600,R1,2.0,0.04\nfew,600,NOE,0.7,0.03\n";

TEST(CommandLine, FitsEveryResidueTheSameForAnyNumberOfJobsAndNamesTheOnesItCannot) {
    const TempFolder folder;
    const QString data = folder.MakeFile("protein.csv", kFitData);
    const std::string path = QFile::encodeName(data).toStdString();
    std::string first;
    for (const char* jobs : {"1", "3"}) {
        const CommandLineParse parse = ParseCommandLine(
            {"--fit", path, "--model", "m4", "--tm", "4800", "--mc", "20", "--jobs", jobs});
        ASSERT_TRUE(parse.options) << parse.usageError;
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(RunWithoutWindow(*parse.options, out, errors), kExitTableFailed);
        EXPECT_NE(errors.str().find("residue few: m4 eliminated: "), std::string::npos)
            << errors.str();
        EXPECT_NE(errors.str().find("residue few: no model left\n"), std::string::npos);
        if (first.empty()) first = out.str();
        EXPECT_EQ(out.str(), first) << jobs << " jobs";
    }
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3) << first;
    EXPECT_TRUE(first.starts_with("residue,model,tm_ps,tm_ps_error,S2,S2_error,")) << first;
    EXPECT_NE(first.find(",chi2,aicc,flags\n"), std::string::npos) << first;
}

TEST(CommandLine, AFitTakesOneTmForTheWholeProteinUnlessToldOtherwise) {
    struct Row {
        const char* name;
        std::vector<std::string> options;
        bool valid;
        bool globalTm;
        bool fitTm;
    };
    for (const Row& row :
         {Row{"by default", {}, true, true, false},
          Row{"asked for", {"--global-tm"}, true, true, false},
          Row{"per residue", {"--local-tm"}, true, false, true},
          Row{"given", {"--tm", "4800"}, true, false, false},
          Row{"given and global", {"--tm", "4800", "--global-tm"}, false, false, false},
          Row{"given and local", {"--local-tm", "--tm", "4800"}, false, false, false},
          Row{"global and local", {"--global-tm", "--local-tm"}, false, false, false}}) {
        std::vector<std::string> arguments = {"--fit", "data.csv"};
        arguments.insert(arguments.end(), row.options.begin(), row.options.end());
        const CommandLineParse parse = ParseCommandLine(arguments);
        ASSERT_EQ(parse.options.has_value(), row.valid) << row.name;
        if (!row.valid) {
            EXPECT_EQ(parse.usageError, "--tm, --global-tm and --local-tm exclude each other");
            continue;
        }
        EXPECT_EQ(parse.options->fit->options.globalTm, row.globalTm) << row.name;
        EXPECT_EQ(parse.options->fit->options.residue.fitTm, row.fitTm) << row.name;
    }
}

TEST(CommandLine, AFitReadsItsNumbersAsTheWindowsBoxesReadThem) {
    struct Row {
        const char* name;
        std::string option;
        std::string text;
        double (*read)(const FitCommand&);
        double expected;
    };
    const auto csa = [](const FitCommand& c) { return c.options.residue.system.csaPpm; };
    const auto tm = [](const FitCommand& c) { return c.options.residue.tmPs; };
    const auto distance = [](const FitCommand& c) {
        return c.options.residue.system.neighbours.front().distance;
    };
    for (const Row& row : {Row{"a signed exponent", "--csa", "+1.6e2", csa, 160.0},
                           Row{"blanks around", "--tm", " 4800 ", tm, 4800.0},
                           Row{"a single, as a model holds it", "--distance", "1.015", distance,
                               static_cast<double>(1.015f)}}) {
        const CommandLineParse parse =
            ParseCommandLine({"--fit", "data.csv", row.option, row.text});
        ASSERT_TRUE(parse.options) << row.name << ": " << parse.usageError;
        EXPECT_EQ(row.read(*parse.options->fit), row.expected) << row.name;
    }
}

TEST(CommandLine, AFitReportsTheOptionsInForceAndHowTmWasFound) {
    const TempFolder folder;
    const std::string data =
        QFile::encodeName(folder.MakeFile("protein.csv", kFitData)).toStdString();
    const QString reportPath = folder.Path("report.json");
    const std::string report = QFile::encodeName(reportPath).toStdString();
    const CommandLineParse parse = ParseCommandLine(
        {"--fit", data, "--model", "m2", "--mc", "8", "--seed", "7", "--report", report});
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(RunWithoutWindow(*parse.options, out, errors), kExitTableFailed);
    QFile file(reportPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << errors.str();
    const std::string json = file.readAll().toStdString();
    for (const char* expected :
         {"\"version\": \"", "\"model\": \"m2\"", "\"select\": \"aic\"", "\"tm\": \"global\"",
          "\"mc\": 8", "\"seed\": 7", "\"nucleus\": \"15N\"", "\"distance_angstrom\": 1.02",
          "\"csa_ppm\": -172", "\"pair_frequencies\": \"signed\"",
          "\"error_from\": \"monte_carlo_whole_protein\"", "\"residue\": \"few\"",
          "\"failure\": \"no model left\"", "\"monte_carlo_failed\": "}) {
        EXPECT_NE(json.find(expected), std::string::npos) << expected << " in\n" << json;
    }

    const std::string nowhere = QFile::encodeName(folder.Path("no/such/report.json")).toStdString();
    std::ostringstream failed;
    EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({"--fit", data, "--model", "m1", "--mc", "0",
                                                  "--report", nowhere})
                                    .options,
                               out, failed),
              kExitTableFailed);
    EXPECT_NE(failed.str().find("report.json"), std::string::npos) << failed.str();
}

TEST(CommandLine, AFitNamesEveryBadLineAndEveryBadOption) {
    const TempFolder folder;
    const std::string path =
        QFile::encodeName(
            folder.MakeFile(
                "bad.csv",
                "quantity,residue,field_mhz,value,error\nR1,1,600,x,0.1\nR3,2,600,1,1\n"))
            .toStdString();
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({"--fit", path}).options, out, errors),
              kExitTableFailed);
    EXPECT_NE(errors.str().find("line 2, column \"value\""), std::string::npos) << errors.str();
    EXPECT_NE(errors.str().find("line 3, column \"quantity\""), std::string::npos);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--fit"},
                                                  {"--fit", path, "--model", "m10"},
                                                  {"--fit", path, "--jobs", "0"},
                                                  {"--fit", path, "--nucleus", "2H"},
                                                  {"--fit", path, "--tm", "nan"},
                                                  {"--fit", path, "--distance", "inf"},
                                                  {"--fit", path, "--distance", "1e300"},
                                                  {"--fit", path, "--csa", "nan"},
                                                  {"--fit", path, "--mc", "2000000000"},
                                                  {"--fit", path, "--diffusion", "cube"},
                                                  {"--fit", path, "--bond", "NH"},
                                                  {"--fit", path, "--ensemble", "0"},
                                                  {"--fit", path, "--bfactor", "S3"},
                                                  {"--fit", path, "--bfactor", "--structure"}}) {
        const CommandLineParse parse = ParseCommandLine(wrong);
        EXPECT_FALSE(parse.options) << wrong.back();
        EXPECT_NE(parse.usageError.find(wrong.back()), std::string::npos) << parse.usageError;
    }
}

// A protein with a structure: the tensor fitted, the structure written back with the
// values as B-factors and a script for each viewer beside it; a structure that cannot be
// read, or that names none of the data's residues, is refused before any fit.
TEST(CommandLine, AFitWithAStructureFitsTheTensorAndWritesTheStructureBack) {
    const TempFolder folder;
    const auto protein = diffusion_check::MakeProtein(
        diffusion_check::TrueTensor(DiffusionModel::Prolate, 2), 24, false, 2);
    const auto path = [&](const char* name, const std::string& bytes) {
        return QFile::encodeName(folder.MakeFile(name, QByteArray::fromStdString(bytes)))
            .toStdString();
    };
    const std::string data = path("protein.csv", LongFormCsv(protein.data));
    const std::string structure = path("protein.pdb", diffusion_check::PdbOf(protein));
    const std::string out = QFile::encodeName(folder.Path("out.pdb")).toStdString();
    std::ostringstream csv;
    std::ostringstream errors;
    EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({"--fit", data, "--structure", structure,
                                                  "--diffusion", "prolate", "--mc", "0",
                                                  "--write-structure", out, "--bfactor", "S2"})
                                    .options,
                               csv, errors),
              0)
        << errors.str();
    EXPECT_NE(testing::ReadBytes(folder.Path("out.pdb")).indexOf("  0.8"), -1);
    for (const char* script : {"out.pml", "out.cxc"})
        EXPECT_NE(testing::ReadBytes(folder.Path(script)).indexOf("out.pdb"), -1) << script;

    struct Row {
        const char* name;
        std::string structure;
        const char* said;
    };
    for (const Row& row : {Row{"not a structure", path("bad.pdb", "no atoms\n"), "bad.pdb"},
                           Row{"other residues",
                               path("other.pdb",
                                    "ATOM      1  N   ALA A 900  "
                                    "     0.000   0.000   0.000  "
                                    "1.00  0.00           N\nATOM  "
                                    "    2  H   ALA A 900       "
                                    "1.000   0.000   0.000  1.00  "
                                    "0.00           H\n"),
                               "no N-H bond of the data's residues"}}) {
        std::ostringstream refused;
        EXPECT_EQ(RunWithoutWindow(
                      *ParseCommandLine({"--fit", data, "--structure", row.structure}).options, csv,
                      refused),
                  kExitTableFailed)
            << row.name;
        EXPECT_NE(refused.str().find(row.said), std::string::npos) << row.name << refused.str();
    }
}

TEST(CommandLine, AFitDataFileThatIsNoFileIsRefusedWithTheReason) {
    const TempFolder folder;
    const std::string fifo = QFile::encodeName(folder.Path("fifo")).toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Row {
        std::string path;
        const char* reason;
    };
    for (const Row& row : {Row{QFile::encodeName(folder.Path()).toStdString(), "a folder"},
                           Row{"/dev/zero", "not an ordinary file"},
                           Row{fifo, "not an ordinary file"}, Row{fifo + ".csv", "no such file"}}) {
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({"--fit", row.path}).options, out, errors),
                  kExitTableFailed);
        EXPECT_TRUE(errors.str().starts_with("veldorin: " + row.path + ": " + row.reason))
            << errors.str();
    }
}

// Residue 1 at two fields, residue 2 at one and at another without its NOE.
TEST(CommandLine, AMapGivesARowPerFieldAndNamesTheFieldsItCannotMap) {
    const TempFolder folder;
    const std::string path =
        QFile::encodeName(
            folder.MakeFile(
                "map.csv",
                "residue,field_mhz,quantity,value,error\n"
                "1,600,R1,2.0697,0.0411\n1,600,R2,6.5679,0.133\n1,600,NOE,0.6579,0.03\n"
                "1,800,R1,1.5583,0.0314\n1,800,R2,7.5719,0.151\n1,800,NOE,0.62163,0.03\n"
                "2,600,R1,2.0371,0.0426\n2,600,R2,7.2943,0.151\n2,600,NOE,0.79368,0.03\n"
                "2,800,R1,1.5725,0.032\n2,800,R2,8.8288,0.178\n"))
            .toStdString();
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(RunWithoutWindow(*ParseCommandLine({"--map", path}).options, out, errors),
              kExitTableFailed);
    EXPECT_EQ(errors.str(), "veldorin: residue 2: 800 MHz not mapped: no NOE\n");
    std::istringstream lines(out.str());
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u) << out.str();
    EXPECT_EQ(rows[0], "residue,field_mhz,J0,J0_error,JN,JN_error,JH,JH_error,J0_agrees");
    EXPECT_TRUE(rows[1].starts_with("1,600,") && rows[1].ends_with(",yes")) << rows[1];
    EXPECT_TRUE(rows[2].starts_with("1,800,") && rows[2].ends_with(",yes")) << rows[2];
    EXPECT_TRUE(rows[3].starts_with("2,600,") && rows[3].ends_with(",")) << rows[3];

    const CommandLineParse negativeCsa = ParseCommandLine({"--map", path, "--csa", "-160"});
    ASSERT_TRUE(negativeCsa.options) << negativeCsa.usageError;
    EXPECT_EQ(negativeCsa.options->map->system.csaPpm, -160.0);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--map"},
                                                  {"--map", "--csa", "-160"},
                                                  {"--map", path, "--mc", "5"},
                                                  {"--map", path, "--csa", "nan"},
                                                  {"--map", path, "--nucleus", "2H"}}) {
        EXPECT_FALSE(ParseCommandLine(wrong).options) << wrong.back();
    }
}

TEST(CommandLine, OutputThatCannotBeWrittenIsSaidWithTheSystemsReason) {
    struct Row {
        std::vector<std::string> arguments;
        int buffering;  // unbuffered, the write fails long before the output is flushed
    };
    // Standard output's own kind of buffer, whose failed flush drops what it held; and
    // each message on the error stream flushes the output first, as std::cerr does
    // std::cout: the failure of that flush must not be lost either.
    const TempFolder folder;
    const std::string data =
        QFile::encodeName(folder.MakeFile("protein.csv", kFitData)).toStdString();
    for (const Row& row :
         {Row{{"--help"}, _IONBF},
          Row{{"--fit", data, "--model", "m4", "--tm", "4800", "--mc", "0"}, _IOFBF}}) {
        const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen("/dev/full", "w"), std::fclose);
        ASSERT_NE(file, nullptr);
        std::setvbuf(file.get(), nullptr, row.buffering, BUFSIZ);
        __gnu_cxx::stdio_sync_filebuf<char> buffer(file.get());
        std::ostream full(&buffer);
        std::ostringstream errors;
        errors.tie(&full);
        EXPECT_EQ(RunWithoutWindow(*ParseCommandLine(row.arguments).options, full, errors),
                  kExitTableFailed);
        EXPECT_NE(errors.str().find(std::string("(") + std::strerror(ENOSPC) + ")\n"),
                  std::string::npos)
            << errors.str();
    }
}

}  // namespace
}  // namespace veldorin
