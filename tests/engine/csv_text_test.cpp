// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/csv_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/measurement.h"

namespace veldorin {
namespace {

using Cells = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string text;
    char separator;
    std::vector<std::pair<int, Cells>> lines;  // each line's number and cells
};

TEST(CsvText, SplitsLinesAndCellsAsAFileMeansThem) {
    const std::vector<SplitCase> cases = {
        {"quoted separator", "\"A,1\",600\n", ',', {{1, {"A,1", "600"}}}},
        {"doubled quotes", "\"say \"\"hi\"\"\";x\n", ';', {{1, {"say \"hi\"", "x"}}}},
        {"CR LF and blank lines",
         "a,b\r\n\r\n \t\r\nc,\r\n",
         ',',
         {{1, {"a", "b"}}, {4, {"c", ""}}}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "a\tb",
         '\t',
         {{1, {"a", "b"}}}},
        {"runs of blanks", "  1  2\t 3 \n", kBlanks, {{1, {"1", "2", "3"}}}},
        {"empty cells kept", "\t\tz\n", '\t', {{1, {"", "", "z"}}}},
    };
    for (const SplitCase& c : cases) {
        std::vector<std::pair<int, Cells>> split;
        for (const CsvLine& line : CsvLines(c.text)) {
            split.emplace_back(line.number, CsvCells(line.text, c.separator));
        }
        EXPECT_EQ(split, c.lines) << c.name;
    }
}

TEST(CsvText, FindsTheSeparatorOnTheFirstLineThatHoldsText) {
    EXPECT_EQ(SeparatorOf("\n\xEF\xBB\xBF"
                          "a,b\tc\n"),
              '\t');
    EXPECT_EQ(SeparatorOf("\r\na;b,c\nx\ty"), ',');
    EXPECT_EQ(SeparatorOf("600 R1 1 0.1\na\tb"), kBlanks);
}

struct RefusalCase {
    const char* name;
    std::string text;
    const char* error;  // how the refusal starts
};

TEST(CsvText, AnImportRefusedNamesTheLine) {
    const std::string header = "\nfield,quantity,value,error\n";
    const std::vector<RefusalCase> cases = {
        {"line too long", header + "\n" + std::string(kMaxLineBytes + 1, '1'),
         "line 4: longer than the limit of 64 KiB: \"111"},
        {"header alone", header + "\r\n", "line 2: a header with no rows after it"},
        {"column missing", "\r\nfield,quantity,value\n1,R1,1\n",
         "line 2: the header names no \"error\" column"},
    };
    for (const RefusalCase& c : cases) {
        const MeasurementImport import = ParseMeasurements(c.text, ',', HeaderRule::Required);
        ASSERT_TRUE(import.error) << c.name;
        EXPECT_TRUE(import.error->starts_with(c.error)) << c.name << ": " << *import.error;
    }
}

}  // namespace
}  // namespace veldorin
