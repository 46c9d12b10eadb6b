// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/measurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/csv_text.h"
#include "engine/format.h"
#include "engine/input_preparation.h"
#include "tests/engine/engine_test_support.h"

namespace veldorin {
namespace {

struct ImportCase {
    const char* name;
    std::string text;
    char separator;
    HeaderRule header;
    std::size_t rows;
    std::vector<std::string> problems;  // "row N, column" of each bad cell
    bool refused = false;
};

TEST(MeasurementImport, KeepsEveryRowAndNamesEachBadCell) {
    const std::string longLine =
        "field,quantity,value,error\n" + std::string(kMaxLineBytes + 1, ',');
    const std::vector<ImportCase> cases = {
        {"csv with units and CRLF",
         "field (MHz),quantity,value,error\r\n600,R1,1.52,0.03\r\n\r\n800,noe,0.78,0.02\r\n",
         ',',
         HeaderRule::Required,
         2,
         {}},
        {"columns in another order, one skipped",
         "error,note,value,quantity,field\n0.1,\"a, b\",12.5,R2,500\n",
         ',',
         HeaderRule::Required,
         1,
         {}},
        {"pasted without header",
         "600\tT1\t0.6\t0.02\n700\tT2\t0.08\t0.004\n",
         '\t',
         HeaderRule::Optional,
         2,
         {}},
        {"bad cells",
         "field,quantity,value,error\n600,R3,1,0.1\n-5,R1,x,0\n600,T2,0,0.1\n,R1,1\n",
         ',',
         HeaderRule::Required,
         4,
         {"line 2, quantity", "line 3, field", "line 3, value", "line 3, error", "line 4, value",
          "line 5, field", "line 5, error"}},
        {"decimal comma is not a number",
         "600\tR1\t1,5\t0.1\n",
         '\t',
         HeaderRule::Optional,
         1,
         {"line 1, value"}},
        {"decimal commas against a header",
         "field,quantity,value,error\n600,R1,1,52,0,03\n",
         ',',
         HeaderRule::Required,
         1,
         {"line 2, error", "line 2, error"}},
        {"byte-order mark before the header",
         "\xEF\xBB\xBF"
         "field,quantity,value,error\n600,R1,1.5,0.1\n",
         ',',
         HeaderRule::Required,
         1,
         {}},
        {"fields outside 1 to 10000 MHz",
         "0.5\tR1\t1\t0.1\n20000\tR1\t1\t0.1\n1\tR1\t1\t0.1\n10000\tR1\t1\t0.1\n",
         '\t',
         HeaderRule::Optional,
         4,
         {"line 1, field", "line 2, field"}},
        {"header alone", "field,quantity,value,error\n", ',', HeaderRule::Required, 0, {}, true},
        {"line beyond the limit", longLine, ',', HeaderRule::Required, 0, {}, true},
        {"csv without header", "600,R1,1.5,0.1\n", ',', HeaderRule::Required, 0, {}, true},
        {"header without error column",
         "field,quantity,value\n600,R1,1\n",
         ',',
         HeaderRule::Required,
         0,
         {},
         true},
    };
    for (const ImportCase& c : cases) {
        const MeasurementImport import = ParseMeasurements(c.text, c.separator, c.header);
        EXPECT_EQ(import.error.has_value(), c.refused) << c.name;
        EXPECT_EQ(import.rows.size(), c.rows) << c.name;
        std::vector<std::string> named;
        for (const CellProblem& problem : import.problems) {
            named.push_back(Describe(problem).substr(0, Describe(problem).find(':')));
        }
        EXPECT_EQ(named, c.problems) << c.name;
    }
}

TEST(MeasurementImport, CsvOfTheRowsReadsBackAsTyped) {
    std::vector<MeasurementTexts> rows(3);
    rows[0].cells = {"600", "R1", "1.5", "0.1"};
    rows[1].cells = {"6\"00", "x,y", "", " 2 "};
    rows[2].cells = {"", "", "", ""};
    const MeasurementImport back =
        ParseMeasurements(MeasurementsCsv(rows), ',', HeaderRule::Required);
    EXPECT_EQ(back.rows, rows);
}

TEST(Measurement, ACellIsRefusedWithAReasonQuotingAtMostItsStart) {
    const std::string junk(kMaxCellBytes, 'x');
    struct Row {
        const char* name;
        MeasurementColumn column;
        std::string text;
    };
    for (const Row& row :
         {Row{"nan", MeasurementColumn::Value, "nan"}, Row{"inf", MeasurementColumn::Error, "inf"},
          Row{"beyond double", MeasurementColumn::Error, "1e999"},
          Row{"long quantity", MeasurementColumn::Quantity, junk + "R1"},
          Row{"long digits", MeasurementColumn::Field, "6" + junk}}) {
        MeasurementTexts texts;
        texts.cells = {"600", "R1", "1.5", "0.1"};
        texts[row.column] = row.text;
        const MeasurementReading reading = ReadMeasurement(texts, 1);
        ASSERT_EQ(reading.problems.size(), 1u) << row.name;
        EXPECT_EQ(reading.problems.front().column, row.column) << row.name;
        EXPECT_LT(reading.problems.front().reason.size(), 120u) << row.name;
    }
}

TEST(Measurement, CsvCellsKeepTheirShapeAndNeverRunAsFormulas) {
    struct Row {
        const char* text;
        const char* cell;
    };
    for (const Row& row : {Row{"A12", "A12"}, Row{"\"A", "\"\"\"A\""}, Row{"a,b", "\"a,b\""},
                           Row{"two\nlines", "\"two\nlines\""}, Row{"=1+2", "'=1+2"},
                           Row{"@SUM(A1)", "'@SUM(A1)"}, Row{"+x,y", "\"'+x,y\""},
                           Row{"-cmd", "'-cmd"}, Row{"-1.5", "-1.5"}, Row{"+2e3", "+2e3"}}) {
        EXPECT_EQ(CsvCell(row.text), row.cell) << row.text;
    }
}

TEST(Measurement, TimesAreComparedAsRates) {
    const Measurement t1{600.0, Quantity::T1, 0.5, 0.05};
    EXPECT_DOUBLE_EQ(t1.ComparedValue(), 2.0);
    EXPECT_DOUBLE_EQ(t1.ComparedError(), 0.2);
    EXPECT_EQ(ComparedQuantity(Quantity::T2), Quantity::R2);
}

ModelTexts AmideModel() {
    ModelTexts model = test::SingleLorentzianModel("15N", "5000");
    test::PlaceNeighbour(model, 0, "1H", "1.02");
    test::PlaceNeighbour(model, 1, "1H", "2.4", "0.5");
    model.weights = {"0.85", "0.15", "0", "0", "0", "0"};
    model.times = {"5000", "49.5", "0", "0", "0", "0"};
    model.csa = "-172";
    model.rex = "0.7";
    return model;
}

std::vector<std::string> CellsOfRow(const std::string& line) {
    std::vector<std::string> cells(1);
    for (const char c : line) {
        if (c == '\t') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

TEST(Measurement, TheTablesFieldsGiveTheTablesNumbers) {
    for (const ModelTexts& model : {DefaultModel(), AmideModel()}) {
        const std::vector<std::string> lines = test::TableLines(model, TableMode::Rates);
        InputPreparation calculation;
        const WorkingValues values = calculation.Prepare(model).values;
        for (int k = 0; k < kFieldCount; ++k) {
            const std::vector<std::string> cells =
                CellsOfRow(lines[static_cast<std::size_t>(k + 1)]);
            const double megahertz = kFieldTable[static_cast<std::size_t>(k)].frequencyMHz;
            const auto calculated = [&](Quantity quantity) {
                return CalculatedValue(values, {megahertz, quantity, 1.0, 0.1});
            };
            const double eta = std::floor((calculated(Quantity::Noe) - 1.0) * 1000.0) / 1000.0;
            EXPECT_EQ(FormatDouble(eta), cells[1]);
            EXPECT_EQ(RateField(static_cast<float>(calculated(Quantity::R1)), TableMode::Rates),
                      cells[3]);
            EXPECT_EQ(RateField(static_cast<float>(calculated(Quantity::T2)), TableMode::Rates),
                      cells[4]);
        }
    }
}

TEST(Measurement, ComparisonsAcrossFieldsEqualEachFieldsValue) {
    InputPreparation calculation;
    const WorkingValues values = calculation.Prepare(AmideModel()).values;
    std::vector<std::optional<Measurement>> measurements;
    double chiSquared = 0.0;
    for (int k = 0; k < 30; ++k) {
        const Measurement m{123.4 + 31.7 * k, static_cast<Quantity>(k % kQuantityCount),
                            k % 5 >= 3 ? 0.8 : 1.1, 0.05 + 0.01 * k};
        measurements.push_back(k % 7 == 3 ? std::nullopt : std::optional(m));
        if (k % 7 == 3) continue;
        const double residual =
            (CalculatedValue(values, m) - m.ComparedValue()) / m.ComparedError();
        chiSquared += residual * residual;
    }
    const Comparisons comparisons = Compare(values, measurements);
    ASSERT_EQ(comparisons.rows.size(), measurements.size());
    for (std::size_t k = 0; k < measurements.size(); ++k) {
        ASSERT_EQ(comparisons.rows[k].has_value(), measurements[k].has_value());
        if (measurements[k]) {
            EXPECT_EQ(comparisons.rows[k]->calculated, CalculatedValue(values, *measurements[k]));
        }
    }
    EXPECT_EQ(comparisons.compared, 26);
    EXPECT_NEAR(comparisons.chiSquared, chiSquared, chiSquared * 1e-14);
}

}  // namespace
}  // namespace veldorin
