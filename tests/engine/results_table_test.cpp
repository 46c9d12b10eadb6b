// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/results_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/format.h"
#include "engine/input_preparation.h"
#include "tests/engine/engine_test_support.h"

namespace veldorin {
namespace {

using test::PlaceNeighbour;
using test::RecordingSink;
using test::SingleLorentzianModel;
using test::TableLines;
using Lines = std::vector<std::string>;

const std::string kRatesHeader = "f, MHz\tNOE\tCRR,1/s\tR1,1/s\tR2,1/s";
const std::string kTimesHeader = "f, MHz\tNOE\t1/CRR,s\tT1, s\tT2, s";

TEST(TableHeader, NamesRatesOrTimes) {
    EXPECT_EQ(HeaderLine(TableMode::Rates), kRatesHeader);
    EXPECT_EQ(HeaderLine(TableMode::Times), kTimesHeader);
}

struct RowCase {
    const char* name;
    int field;  // index into the field table
    FieldResult result;
    TableMode mode;
    const char* line;
};

class TableRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(TableRow, IsCutTowardsMinusInfinity) {
    const RowCase& c = GetParam();
    EXPECT_EQ(RowLine(kFieldTable[c.field], c.result, c.mode), c.line);
}

// FieldResult is {r1, r2, noeSum, crr}; the row shows crr, r1, r2.
INSTANTIATE_TEST_SUITE_P(
    Results, TableRow,
    ::testing::Values(
        RowCase{"AllZeroRates", 0, {0, 0, 0, 0}, TableMode::Rates, "100\t0\t0\t0\t0"},
        RowCase{"AllZeroTimes", 0, {0, 0, 0, 0}, TableMode::Times, "100\t0\t_\t_\t_"},
        RowCase{"OnlyExchangeTimes", 2, {0, 0.75f, 0, 0}, TableMode::Times, "300\t0\t_\t_\t1.3333"},
        // The cut works on the single's exact value: 0.7 as a single is 0.69999999.
        RowCase{"SingleJustBelowItsDecimal",
                1,
                {0.3f, 123456.7f, 0, 0.7f},
                TableMode::Rates,
                "250\t0\t0.6999\t0.3\t123456.7"},
        RowCase{"NegativeRateCutAwayFromZero",
                5,
                {1, 1, 0, -1.57582f},
                TableMode::Rates,
                "800\t0\t-1.5759\t1\t1"},
        RowCase{
            "TimesAreInverses", 3, {2, -3, 0, 3}, TableMode::Times, "500\t0\t0.3333\t0.5\t-0.3334"},
        RowCase{"NoeCutToThreeDecimals",
                4,
                {1, 1, 1.5419f, 0},
                TableMode::Rates,
                "600\t1.541\t0\t1\t1"},
        RowCase{"NegativeNoeCutAwayFromZero",
                4,
                {1, 1, -0.1146f, 0},
                TableMode::Rates,
                "600\t-0.115\t0\t1\t1"}),
    [](const auto& info) { return std::string(info.param.name); });

ModelTexts WorkedModel(const char* central, const char* neighbour, const char* distance,
                       const char* t0 = "1000", const char* csa = "0") {
    ModelTexts model = SingleLorentzianModel(central, t0);
    model.csa = csa;
    PlaceNeighbour(model, 0, neighbour, distance);
    return model;
}

TEST(TableRows, WorkedCarbonProtonFirstRowInBothModes) {
    const ModelTexts model = WorkedModel("13C", "1H", "1.09");
    EXPECT_EQ(TableLines(model, TableMode::Rates).at(1), "100\t1.541\t6.2013\t16.0001\t16.9106");
    EXPECT_EQ(TableLines(model, TableMode::Times).at(1), "100\t1.541\t0.1612\t0.0624\t0.0591");
}

TEST(TableRows, NegativeTimeIsCutAwayFromZero) {
    // 1/CRR is -0.63459...: towards zero it would read -0.6345.
    const ModelTexts model = WorkedModel("1H", "Like", "1.8");
    EXPECT_EQ(TableLines(model, TableMode::Times).at(6), "800\t-4.061\t-0.6346\t2.5768\t0.124");
}

TEST(TableRows, NegativeNoeIsCutAwayFromZero) {
    // The NOE value is -0.11478...: towards zero it would read -0.114.
    const ModelTexts model = WorkedModel("15N", "1H", "1.02", "5000", "-170");
    EXPECT_EQ(TableLines(model, TableMode::Rates).at(5), "600\t-0.115\t0.027\t2.3257\t8.2558");
}

TEST(TableRows, NoNeighbourAndNoCsa) {
    ModelTexts model = SingleLorentzianModel("13C");
    const Lines rates = TableLines(model, TableMode::Rates);
    const Lines times = TableLines(model, TableMode::Times);
    model.rex = "3";
    const Lines exchange = TableLines(model, TableMode::Times);
    ASSERT_EQ(rates.size(), 7u);
    ASSERT_EQ(times.size(), 7u);
    ASSERT_EQ(exchange.size(), 7u);
    for (int k = 0; k < kFieldCount; ++k) {
        const std::string f = FormatSingle(kFieldTable[k].frequencyMHz);
        EXPECT_EQ(rates[k + 1], f + "\t0\t0\t0\t0");
        EXPECT_EQ(times[k + 1], f + "\t0\t_\t_\t_");
        EXPECT_EQ(exchange[k + 1].rfind(f + "\t0\t_\t_\t", 0), 0u) << exchange[k + 1];
        EXPECT_NE(exchange[k + 1].back(), '_');
    }
}

ModelTexts EightNeighbours(const char* central) {
    ModelTexts model = DefaultModel();
    model.slots[kCentralSlot].nucleus = central;
    const SpinSlot slots[kNeighbourCount] = {
        {"1H", "1.09", "1"},  {"1H", "2.0", "0.5"},   {"13C", "1.5", "1"}, {"15N", "1.45", "0.3"},
        {"Like", "1.8", "1"}, {"Like", "2.5", "0.7"}, {"1H", "2.9", "1"},  {"13C", "2.2", "0.011"}};
    for (int j = 0; j < kNeighbourCount; ++j) model.slots[j] = slots[j];
    model.weights = {"0.3", "0.2", "0.1", "0.4", "0", "0.05"};
    model.times = {"5000", "800", "120", "40", "10", "3"};
    model.csa = "-170";
    model.rex = "2";
    return model;
}

ModelTexts EightAroundNitrogen() {
    ModelTexts model = EightNeighbours("15N");
    model.slots[0].distance = "1.02";
    model.slots[2].distance = "1.45";
    model.slots[3].distance = "2.4";
    model.slots[4].distance = "2.8";
    model.times[0] = "9000";
    model.csa = "-160";
    model.rex = "0.5";
    return model;
}

struct GoldenCase {
    const char* name;
    ModelTexts (*model)();
    TableMode mode;
    Lines rows;
};

class GoldenTable : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTable, MatchesToTheLastDigit) {
    const GoldenCase& c = GetParam();
    Lines expected = {c.mode == TableMode::Rates ? kRatesHeader : kTimesHeader};
    expected.insert(expected.end(), c.rows.begin(), c.rows.end());
    EXPECT_EQ(TableLines(c.model(), c.mode), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, GoldenTable,
    ::testing::Values(
        GoldenCase{"DefaultRates",
                   DefaultModel,
                   TableMode::Rates,
                   {"100\t0.874\t3.2431\t14.59\t20.4402", "250\t0.763\t1.2517\t6.5475\t14.7641",
                    "300\t0.743\t1.0223\t5.5233\t14.0689", "500\t0.679\t0.5522\t3.3496\t12.6365",
                    "600\t0.655\t0.4367\t2.7864\t12.2891", "800\t0.612\t0.2951\t2.0829\t11.902"}},
        GoldenCase{"DefaultTimes",
                   DefaultModel,
                   TableMode::Times,
                   {"100\t0.874\t0.3083\t0.0685\t0.0489", "250\t0.763\t0.7988\t0.1527\t0.0677",
                    "300\t0.743\t0.9781\t0.181\t0.071", "500\t0.679\t1.8106\t0.2985\t0.0791",
                    "600\t0.655\t2.2893\t0.3588\t0.0813", "800\t0.612\t3.3881\t0.48\t0.084"}},
        GoldenCase{"EightAroundCarbonRates",
                   [] { return EightNeighbours("13C"); },
                   TableMode::Rates,
                   {"100\t0.758\t2.1424\t11.0044\t14.7036", "250\t0.647\t0.7792\t4.8135\t11.1348",
                    "300\t0.626\t0.6307\t4.0639\t10.993", "500\t0.564\t0.3725\t2.7601\t12.2336",
                    "600\t0.537\t0.3174\t2.5087\t13.5287", "800\t0.482\t0.2509\t2.2694\t17.1045"}},
        GoldenCase{
            "EightAroundNitrogenTimes",
            EightAroundNitrogen,
            TableMode::Times,
            {"100\t-1.239\t1.871\t0.2383\t0.1848", "250\t-1.078\t4.4085\t0.4872\t0.2323",
             "300\t-1.078\t5.3138\t0.5877\t0.2385", "500\t-1.079\t8.6556\t0.9585\t0.2302",
             "600\t-1.058\t10.0701\t1.0936\t0.2159", "800\t-0.979\t12.498\t1.2534\t0.1821"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The results table of a prepared model, written into a recording sink.
struct TableRun {
    std::optional<FailureReason> failure;
    RecordingSink sink;
};

void RunTable(const ModelTexts& model, TableRun& run, NeighbourObserver* observer = nullptr) {
    InputPreparation preparation;
    const PreparedRun prepared = preparation.Prepare(model);
    ASSERT_EQ(prepared.stage, PreparedRun::Stage::Ready);
    run.failure = WriteResultsTable(prepared.values, TableMode::Rates, run.sink, observer);
}

TEST(ResultsTable, OpensWritesSevenLinesAndCloses) {
    struct Counter final : NeighbourObserver {
        void NeighbourEvaluated(int slot, SlotKind, const JFrequencies&) override {
            slots.push_back(slot);
        }
        std::vector<int> slots;
    } counter;
    TableRun run;
    RunTable(DefaultModel(), run, &counter);
    EXPECT_FALSE(run.failure.has_value());
    EXPECT_EQ(run.sink.begins, 1);
    EXPECT_EQ(run.sink.finishes, 1);
    EXPECT_EQ(run.sink.lines.size(), 7u);
    const std::vector<int> perField = {0, 1, 2};
    ASSERT_EQ(counter.slots.size(), 18u);
    for (int k = 0; k < kFieldCount; ++k) {
        EXPECT_EQ(
            std::vector<int>(counter.slots.begin() + 3 * k, counter.slots.begin() + 3 * k + 3),
            perField);
    }
}

struct FailureCase {
    const char* name;
    void (*edit)(ModelTexts&, RecordingSink&);
    FailureReason failure;
    std::size_t linesKept;
    int finishes;
};

class ResultsTableFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ResultsTableFailure, KeepsWhatWasWrittenAndClosesTheFile) {
    const FailureCase& c = GetParam();
    ModelTexts model = DefaultModel();
    TableRun run;
    c.edit(model, run.sink);
    RunTable(model, run);
    EXPECT_EQ(run.failure, c.failure);
    ASSERT_EQ(run.sink.lines.size(), c.linesKept);
    if (c.linesKept > 0) {
        EXPECT_EQ(run.sink.lines[0], kRatesHeader);
    }
    EXPECT_EQ(run.sink.finishes, c.finishes);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ResultsTableFailure,
    ::testing::Values(
        FailureCase{"UnreadableAbundanceAfterHeader",
                    [](ModelTexts& m, RecordingSink&) { m.slots[1].abundance = "abc"; },
                    FailureReason::NotNumeric, 1, 1},
        FailureCase{"UnreadableCentralAbundanceAfterHeader",
                    [](ModelTexts& m, RecordingSink&) { m.slots[kCentralSlot].abundance = ""; },
                    FailureReason::NotNumeric, 1, 1},
        // Rex / 64 still fits a single at 100 MHz; at 250 MHz R2 overflows.
        FailureCase{"OverflowAfterFirstRow", [](ModelTexts& m, RecordingSink&) { m.rex = "1e40"; },
                    FailureReason::Overflow, 2, 1},
        FailureCase{"FileCannotBeCreated",
                    [](ModelTexts&, RecordingSink& s) { s.refuseBegin = true; },
                    FailureReason::FileNotWritable, 0, 0},
        FailureCase{"WriteErrorMidTable", [](ModelTexts&, RecordingSink& s) { s.refuseLineAt = 3; },
                    FailureReason::FileNotWritable, 3, 1},
        FailureCase{"CloseFails", [](ModelTexts&, RecordingSink& s) { s.refuseFinish = true; },
                    FailureReason::FileNotWritable, 7, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TableFile, EveryLineEndsWithCarriageReturnAndLineFeed) {
    EXPECT_EQ(TableFileContents({"a\tb", "c"}), "a\tb\r\nc\r\n");
    EXPECT_EQ(TableFileContents({}), "");

    const Lines lines = TableLines(DefaultModel(), TableMode::Times);
    const std::string bytes = TableFileContents(lines);
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        ++breaks;
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
    }
    EXPECT_EQ(breaks, 7u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

struct TooltipCase {
    const char* name;
    TableMode mode;
    bool secondSlotEmptied;  // its nucleus text cleared
    const char* rex;
    const char* tooltip;
};

// The 600 MHz row of the default model: always rates, cut like the table, empty slots
// left out.
class RowTooltip : public ::testing::TestWithParam<TooltipCase> {};

TEST_P(RowTooltip, ListsEachPartOfTheRates) {
    const TooltipCase& c = GetParam();
    ModelTexts model = DefaultModel();
    model.tableMode = c.mode;
    model.rex = c.rex;
    if (c.secondSlotEmptied) model.slots[1].nucleus.clear();
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(model);
    const Field& field = kFieldTable[4];
    const FieldContributions parts =
        ContributionsAtField(run.values, ProtonOmega(field.frequencyMHz));
    EXPECT_EQ(ContributionsTooltip(field, parts, model), c.tooltip);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultModel, RowTooltip,
    ::testing::Values(
        TooltipCase{"Rates", TableMode::Rates, false, "0",
                    "Rates at 600 MHz, 1/s\n"
                    "slot 1 (1H, 2 A, abundance 1): R1 0.0685, R2 0.3067, CRR 0.0119\n"
                    "slot 2 (1H, 1.09 A, abundance 1): R1 2.6177, R2 11.7068, CRR 0.4548\n"
                    "slot 3 (13C, 1.5 A, abundance 1): R1 0.0794, R2 0.1491, CRR -0.03\n"
                    "CSA: R1 0.0206, R2 0.1263\n"
                    "Rex: R2 0"},
        TooltipCase{"TimesWithExchangeAndAnEmptySlot", TableMode::Times, true, "2",
                    "Rates at 600 MHz, 1/s (the table shows times)\n"
                    "slot 1 (1H, 2 A, abundance 1): R1 0.0685, R2 0.3067, CRR 0.0119\n"
                    "slot 3 (13C, 1.5 A, abundance 1): R1 0.0794, R2 0.1491, CRR -0.03\n"
                    "CSA: R1 0.0206, R2 0.1263\n"
                    "Rex: R2 1.125"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PathCase {
    const char* name;
    const char* directory;
    const char* path;
};

class TableFilePathJoin : public ::testing::TestWithParam<PathCase> {};

TEST_P(TableFilePathJoin, NeverRunsOnIntoTheFolderName) {
    EXPECT_EQ(TableFilePath(GetParam().directory), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Directories, TableFilePathJoin,
                         ::testing::Values(PathCase{"WithoutSeparator", "/tmp/x",
                                                    "/tmp/x/table.dat"},
                                           PathCase{"WithSeparator", "/tmp/x/", "/tmp/x/table.dat"},
                                           PathCase{"Relative", "out", "out/table.dat"},
                                           PathCase{"Root", "/", "/table.dat"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veldorin
