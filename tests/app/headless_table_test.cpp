// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/results_table.h"
#include "run_phases/run_phases.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

struct ProgramRun {
    std::string printed;
    int status = -1;
};

// The built program with these arguments, from a shell; what it printed and its status.
ProgramRun RunProgram(const std::string& arguments) {
    ProgramRun run;
    const std::string command = std::string("'") + VELDORIN_PROGRAM + "' " + arguments;
    FILE* program = popen(command.c_str(), "r");
    if (program == nullptr) return run;
    std::array<char, 4096> buffer{};
    for (std::size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), program)) > 0;) {
        run.printed.append(buffer.data(), read);
    }
    run.status = pclose(program);
    return run;
}

bool Succeeded(const ProgramRun& run) {
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
}

// The installed program run from a shell where there is no display: ctest removes
// QT_QPA_PLATFORM and DISPLAY from this test's environment.
TEST(HeadlessTable, ThePrintedTableIsTheDefaultModelsTableDat) {
    ASSERT_EQ(std::getenv("DISPLAY"), nullptr);
    ASSERT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);
    const ProgramRun run = RunProgram(std::string("--table '") + VELDORIN_DEFAULT_MODEL_FILE + "'");

    test::RecordingSink table;
    RunPhases().RunTable(DefaultModel(), GraphSettings{}, table);
    EXPECT_TRUE(Succeeded(run)) << run.status;
    EXPECT_EQ(run.printed, TableFileContents(table.lines));
}

using Rows = std::vector<std::vector<std::string>>;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The cells of the Markdown table between README's markers around the worked example,
// without the line under the header.
Rows ReadmeTableRows() {
    std::ifstream readme(VELDORIN_README);
    Rows rows;
    bool inside = false;
    for (std::string line; std::getline(readme, line);) {
        if (line == "<!-- worked example table: begin -->") inside = true;
        if (line == "<!-- worked example table: end -->") break;
        if (!inside || !line.starts_with('|')) continue;
        if (line.find_first_not_of("|-: ") == std::string::npos) continue;
        std::vector<std::string> cells;
        std::istringstream cellTexts(line.substr(1));
        for (std::string cell; std::getline(cellTexts, cell, '|');) cells.push_back(Trimmed(cell));
        rows.push_back(cells);
    }
    return rows;
}

// The fields of the program's table, tab-separated lines ending in CR LF.
Rows PrintedRows(const std::string& printed) {
    Rows rows;
    std::istringstream lines(printed);
    for (std::string line; std::getline(lines, line);) {
        if (line.ends_with('\r')) line.pop_back();
        std::vector<std::string> fields;
        std::istringstream fieldTexts(line);
        for (std::string field; std::getline(fieldTexts, field, '\t');) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

// README's first steps quote the table of the example model; the program must print
// exactly that, so that the two cannot drift apart.
TEST(HeadlessTable, TheReadmeQuotesTheWorkedExamplesTable) {
    const ProgramRun run =
        RunProgram(std::string("--table '") + VELDORIN_WORKED_EXAMPLE_MODEL_FILE + "'");
    ASSERT_TRUE(Succeeded(run)) << run.status;
    const Rows quoted = ReadmeTableRows();
    ASSERT_EQ(quoted.size(), 7u) << "the header and six fields between README's markers";
    EXPECT_EQ(quoted, PrintedRows(run.printed));
}

// Beyond a file-size limit the program says why and fails instead of being killed by
// the limit's signal: standard output goes to a file under a limit of nothing, standard
// error to the pipe read here.
TEST(HeadlessTable, AFileSizeLimitIsReportedNotFatal) {
    const std::string command = std::string("out=$(mktemp) && (ulimit -f 0; exec '") +
                                VELDORIN_PROGRAM + "' --table '" + VELDORIN_DEFAULT_MODEL_FILE +
                                "' 2>&1 >\"$out\"); echo \"status $?\"; rm -f \"$out\"";
    FILE* shell = popen(command.c_str(), "r");
    ASSERT_NE(shell, nullptr);
    std::string said;
    std::array<char, 4096> buffer{};
    for (std::size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), shell)) > 0;) {
        said.append(buffer.data(), read);
    }
    pclose(shell);
    EXPECT_NE(said.find("File too large"), std::string::npos) << said;
    EXPECT_NE(said.find("status 1"), std::string::npos) << said;
}

}  // namespace
}  // namespace veldorin
