// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "engine/csv_text.h"

namespace veldorin {
namespace {

using enum ModelFreeParameter;

// Four residues of the benchmark's protein (tm 4800 ps) and one with two measurements.
const char kProtein[] =
    "residue,field_mhz,quantity,value,error\n"
    "1,500,R1,2.4708,0.0492\n1,500,R2,6.5016,0.128\n1,500,NOE,0.57321,0.03\n"
    "1,600,R1,2.0697,0.0411\n1,600,R2,6.5679,0.133\n1,600,NOE,0.6579,0.03\n"
    "1,800,R1,1.5583,0.0314\n1,800,R2,7.5719,0.151\n1,800,NOE,0.62163,0.03\n"
    "2,500,R1,2.5408,0.0514\n2,500,R2,7.0543,0.143\n2,500,NOE,0.72191,0.03\n"
    "2,600,R1,2.0371,0.0426\n2,600,R2,7.2943,0.151\n2,600,NOE,0.79368,0.03\n"
    "2,800,R1,1.5725,0.032\n2,800,R2,8.8288,0.178\n2,800,NOE,0.84911,0.03\n"
    "3,500,R1,2.4574,0.0503\n3,500,R2,7.3776,0.151\n3,500,NOE,0.75775,0.03\n"
    "3,600,R1,2.1228,0.0418\n3,600,R2,8.1963,0.165\n3,600,NOE,0.73589,0.03\n"
    "3,800,R1,1.5746,0.0315\n3,800,R2,10.111,0.204\n3,800,NOE,0.83842,0.03\n"
    "4,500,R1,2.556,0.0509\n4,500,R2,6.2556,0.129\n4,500,NOE,0.6629,0.03\n"
    "4,600,R1,2.0995,0.0429\n4,600,R2,6.7742,0.135\n4,600,NOE,0.7852,0.03\n"
    "4,800,R1,1.6437,0.0333\n4,800,R2,7.3424,0.153\n4,800,NOE,0.82738,0.03\n";
const char kTwoMeasurements[] = "few,600,R1,2.0,0.04\nfew,600,NOE,0.7,0.03\n";

ProteinData Read(const std::string& text) { return *ReadProteinData(text).data; }

ProteinFitOptions GlobalTm(int sets, int jobs) {
    ProteinFitOptions options;
    options.residue.system = BackboneAmide();
    options.residue.fitTm = false;
    options.globalTm = true;
    options.monteCarloSets = sets;
    options.jobs = jobs;
    return options;
}

TEST(ProteinData, AFileIsReadWithTheWindowsRulesOrRefusedWithItsLines) {
    const std::string header = "residue,field_mhz,quantity,value,error\n";
    const std::string good = "1,500,R1,2.4708,0.0492\n";
    std::string manyBad = header;
    for (int line = 0; line < 1000; ++line) manyBad += "1,500,R1,x,1\n";
    struct Row {
        const char* name;
        std::string text;
        const char* problem;  // "" when the file reads
    };
    for (const Row& row :
         {Row{"byte-order mark", "\xEF\xBB\xBF" + header + good, ""},
          Row{"decimal commas", header + good + "1,500,R1,2,4708,0,0492\n", "line 3: 7 "},
          Row{"quoted residue", header + "\"A,1\",500,R1,2.4708,0.0492\r\n", ""},
          Row{"more cells than the header", header + "\r\n1,500,R1,2,0.1,\n", "line 3: 6 "},
          Row{"header alone", header, "line 1: "},
          Row{"line of commas", header + std::string(kMaxLineBytes + 1, ','), "line 2: "},
          Row{"long residue", header + std::string(kMaxCellBytes + 1, 'A') + ",500,R1,2,0.1\n",
              "line 2, column \"residue\""},
          Row{"a thousand bad lines", manyBad, "line 2, column \"value\""}}) {
        const ProteinDataRead read = ReadProteinData(row.text);
        EXPECT_EQ(read.data.has_value(), *row.problem == '\0') << row.name << ": " << read.error;
        const std::string told = read.error.substr(0, read.error.find('\n'));
        EXPECT_TRUE(told.starts_with(row.problem)) << row.name << ": " << read.error;
        EXPECT_LT(read.error.size(), 100u * 60u) << row.name;
    }
}

TEST(ProteinFit, TheCsvKeepsItsShapeWhateverTheResiduesAreNamed) {
    for (const char* name : {"\"A", "=HYPERLINK(\"x\")", "a,b", "two\nlines"}) {
        ModelFit model;
        model.model = 1;
        model.free = {S2s};
        model.flags = {ParameterFlag::None};
        ProteinFit fit;
        fit.residues.push_back({name, model, std::nullopt, {}, {}, 0, {1.5}});
        ProteinData data;
        data.residues.push_back({name, {{600.0, Quantity::R1, 1.5, 0.1}}, {2}});
        for (const std::string& csv : {ProteinFitCsv(fit), BackCalculatedCsv(data, fit)}) {
            const std::string row = csv.substr(csv.find('\n') + 1);
            EXPECT_TRUE(row.starts_with(CsvCell(name) + ",")) << row;
        }
    }
}

TEST(ProteinFit, TheGlobalTmHasAnErrorFromTheWholeProteinInMonteCarloOrFromItsProfile) {
    const ProteinData data = Read(kProtein);
    const ProteinFit profile = FitProtein(data, GlobalTm(0, 1));
    ASSERT_TRUE(profile.globalTmPs);
    EXPECT_EQ(profile.globalTmErrorSource, TmErrorSource::Profile);
    EXPECT_LT(profile.globalTmLowPs, *profile.globalTmPs);
    EXPECT_GT(profile.globalTmHighPs, *profile.globalTmPs);

    const ProteinFit monteCarlo = FitProtein(data, GlobalTm(60, 1));
    EXPECT_EQ(monteCarlo.globalTmErrorSource, TmErrorSource::MonteCarlo);
    // Both measure the same spread: the sampling error of 60 sets is about a tenth.
    EXPECT_NEAR(monteCarlo.globalTmErrorPs / profile.globalTmErrorPs, 1.0, 0.4)
        << monteCarlo.globalTmErrorPs << " against " << profile.globalTmErrorPs;
    for (const ResidueOutcome& residue : monteCarlo.residues) {
        ASSERT_TRUE(residue.monteCarlo) << residue.residue;
        EXPECT_EQ(residue.monteCarlo->spread[static_cast<std::size_t>(Tm)].standardDeviation,
                  monteCarlo.globalTmErrorPs);
    }
    EXPECT_EQ(ProteinFitCsv(FitProtein(data, GlobalTm(60, 2))), ProteinFitCsv(monteCarlo));
}

// Later rounds select from the fits of the round before; what is reported is still each
// residue's selection from the grid at the tm reported, and that tm the lowest total of
// those models.
TEST(ProteinFit, TheGlobalTmEndsWhereTheGridSelectsTheModelsItWasFoundWith) {
    const ProteinData data = Read(kProtein);
    const ProteinFit fit = FitProtein(data, GlobalTm(0, 2));
    ASSERT_TRUE(fit.globalTmPs);
    ResidueFitSettings settings = GlobalTm(0, 1).residue;
    const auto totalAt = [&](double tmPs) {
        settings.tmPs = tmPs;
        double total = 0.0;
        for (std::size_t i = 0; i < data.residues.size(); ++i) {
            const ModelFreeModel& model = ModelFreeModelNumber(fit.residues[i].fit->model);
            total += FitModel(data.residues[i].measurements, settings, model).chi2;
        }
        return total;
    };
    const double total = totalAt(*fit.globalTmPs);
    EXPECT_LE(total, totalAt(*fit.globalTmPs * 0.999));
    EXPECT_LE(total, totalAt(*fit.globalTmPs * 1.001));
    settings.tmPs = *fit.globalTmPs;
    for (std::size_t i = 0; i < data.residues.size(); ++i) {
        const ModelSelection grid =
            SelectModel(data.residues[i].measurements, settings, Criterion::Aic);
        ASSERT_GE(grid.chosen, 0);
        EXPECT_EQ(fit.residues[i].fit->model, grid.chosen) << data.residues[i].residue;
        EXPECT_EQ(fit.residues[i].fit->chi2, grid.fits[grid.chosen].chi2);
    }
}

TEST(ProteinFit, NamesEveryModelItEliminatesAndNeverFitsAResidueWithNoneLeft) {
    struct Row {
        const char* name;
        std::optional<int> model;
        std::vector<int> eliminated;
        bool fitted;
    };
    for (const Row& row : {Row{"the model asked for", 4, {4}, false},
                           Row{"every model", std::nullopt, {2, 3, 4, 5, 6, 7, 8}, true}}) {
        ProteinFitOptions options = GlobalTm(20, 1);
        options.globalTm = false;
        options.residue.tmPs = 4800.0;
        options.model = row.model;
        const ProteinFit fit = FitProtein(
            Read(std::string("residue,field_mhz,quantity,value,error\n") + kTwoMeasurements),
            options);
        const ResidueOutcome& residue = fit.residues.front();
        std::vector<int> eliminated;
        for (const EliminatedModel& model : residue.eliminated) {
            eliminated.push_back(model.model);
            EXPECT_FALSE(model.reason.empty()) << row.name;
        }
        EXPECT_EQ(eliminated, row.eliminated) << row.name;
        EXPECT_EQ(residue.fit.has_value(), row.fitted) << row.name;
        EXPECT_EQ(residue.failure, row.fitted ? "" : "no model left") << row.name;
    }
}

// The cells of the CSV's one residue, by the header's names.
std::map<std::string, std::string> CellsOf(const std::string& csv) {
    std::istringstream lines(csv);
    std::string header;
    std::string row;
    std::getline(lines, header);
    std::getline(lines, row);
    std::istringstream names(header);
    std::istringstream cells(row + ",");
    std::map<std::string, std::string> byName;
    for (std::string name, cell; std::getline(names, name, ',') && std::getline(cells, cell, ',');)
        byName[name] = cell;
    return byName;
}

TEST(ProteinFit, AFlaggedParameterHasNoMadeUpError) {
    struct Row {
        const char* name;
        ParameterFlag flag;
        bool monteCarlo;
        const char* teError;
        const char* flags;
    };
    for (const Row& row :
         {Row{"determined", ParameterFlag::None, false, "0.5", ""},
          Row{"at a bound", ParameterFlag::AtBound, false, "", "at_bound:te_ps"},
          Row{"at a bound, Monte Carlo", ParameterFlag::AtBound, true, "7", "at_bound:te_ps"},
          Row{"undetermined, Monte Carlo", ParameterFlag::Undetermined, true, "",
              "undetermined:te_ps"}}) {
        ModelFit model;
        model.model = 2;
        model.status = FitResult::Status::Converged;
        model.free = {S2s, Te};
        model.flags = {ParameterFlag::None, row.flag};
        model.measurements = 9;
        model.errors.values.fill(std::nan(""));
        model.errors[S2s] = 0.01;
        model.errors[Te] = row.flag == ParameterFlag::None ? 0.5 : std::nan("");
        ProteinFit fit;
        fit.residues.push_back({"1", model, std::nullopt, {}, {}, 0, {}});
        if (row.monteCarlo) {
            fit.residues.back().monteCarlo.emplace();
            fit.residues.back().monteCarlo->spread[static_cast<std::size_t>(Te)] = {7.0, 1.0, 20.0};
        }
        const auto cells = CellsOf(ProteinFitCsv(fit));
        EXPECT_EQ(cells.at("te_ps_error"), row.teError) << row.name;
        EXPECT_EQ(cells.at("flags"), row.flags) << row.name;
    }
}

TEST(ProteinFit, ResultsRoundedToTheirErrorKeepTwoDigitsOfIt) {
    const double none = std::nan("");
    struct Row {
        const char* name;
        double value;
        double error;
        const char* valueText;
        const char* errorText;
    };
    for (const Row& row : {Row{"below 1", 0.851234, 0.0123456, "0.851", "0.012"},
                           Row{"an error rounding up a decade", 1.23456, 0.0996, "1.23", "0.10"},
                           Row{"an error in the hundreds", 4567.8, 123.4, "4570", "120"},
                           Row{"a tie goes to the even digit", 0.375, 0.125, "0.38", "0.12"},
                           Row{"a value below its error", 0.0004, 0.0123, "0.000", "0.012"},
                           Row{"a negative zero loses its sign", -0.0004, 0.0123, "0.000", "0.012"},
                           Row{"no error", 0.123456789, none, "0.123456789", ""},
                           Row{"an error of 0", 0.123456789, 0.0, "0.123456789", "0"}}) {
        const ResultCells cells = ResultCellsOf({row.value, row.error}, CsvRounding::ToError);
        EXPECT_EQ(cells.value, row.valueText) << row.name;
        EXPECT_EQ(cells.error, row.errorText) << row.name;
    }
    EXPECT_EQ(ResultCellsOf({0.851234, 0.0123456}, CsvRounding::Full).value, "0.851234");
    // An error as small as a double holds: every digit down to its place, 325 of them.
    EXPECT_EQ(ResultCellsOf({5000.0, 5e-324}, CsvRounding::ToError).value.size(), 4u + 1u + 325u);

    ModelFit model;
    model.model = 1;
    model.free = {S2s};
    model.flags = {ParameterFlag::None};
    model.values[S2s] = 0.851234;
    model.errors[S2s] = 0.0123456;
    ProteinFit fit;
    fit.residues.push_back({"1", model, std::nullopt, {}, {}, 0, {}});
    EXPECT_EQ(CellsOf(ProteinFitCsv(fit, CsvRounding::ToError)).at("S2_error"), "0.012");
}

}  // namespace
}  // namespace veldorin
