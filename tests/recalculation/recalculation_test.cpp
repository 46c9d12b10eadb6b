// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recalculation/recalculation.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/format.h"
#include "engine/numeric_text.h"
#include "recalculation/document_fit.h"
#include "tests/support/recording_sink.h"

namespace veldorin::test {
namespace {

using enum MotionParameter;

MotionTexts ModelFree(const char* tauM, const char* s2, const char* tauE) {
    MotionTexts motion{MotionKind::ModelFree, {}};
    motion[TauM] = tauM;
    motion[S2] = s2;
    motion[TauE] = tauE;
    return motion;
}

// An amide: 15N with its proton, as measured relaxation is fitted.
ModelDocument Amide() {
    ModelDocument document = DefaultModelDocument();
    for (SpinSlot& slot : document.texts.slots) slot = {"", "", "1"};
    document.texts.slots[kCentralSlot].nucleus = "15N";
    document.texts.slots[0] = {"1H", "1.02", "1"};
    document.texts.csa = "-170";
    return document;
}

struct EditRow {
    const char* name;
    std::function<bool(ModelDocument&)> edit;  // what the edit returned
    bool returned;
    std::function<bool(const ModelDocument&)> holds;
};

const EditRow kEditRows[] = {
    {"a usable motion sets the Lorentzians",
     [](ModelDocument& d) { return d.SetMotion(ModelFree("5", "0.85", "50")); }, true,
     [](const ModelDocument& d) { return d.LorentziansHoldMotion(); }},
    {"a weight typed after it no longer holds the motion",
     [](ModelDocument& d) {
         d.SetMotion(ModelFree("5", "0.85", "50"));
         d.texts.weights[0] = "1";
         return true;
     },
     true, [](const ModelDocument& d) { return !d.LorentziansHoldMotion(); }},
    {"an unusable motion is kept and leaves the Lorentzians",
     [](ModelDocument& d) { return d.SetMotion(ModelFree("5", "2", "50")); }, false,
     [](const ModelDocument& d) {
         return d.motion && (*d.motion)[S2] == "2" && d.texts.weights == DefaultModel().weights;
     }},
    {"another kind frees only its own parameters",
     [](ModelDocument& d) {
         d.fit.choice.free = {TauM, S2, Theta};
         return d.SetMotion({MotionKind::Rigid, {"5"}});
     },
     true,
     [](const ModelDocument& d) {
         return d.fit.choice.free == std::vector<MotionParameter>{TauM};
     }},
    {"the first rows switch to signed pair frequencies",
     [](ModelDocument& d) {
         return d.SetMeasurements({MeasurementTexts{{"600", "R1", "1.5", "0.1"}}});
     },
     true,
     [](const ModelDocument& d) { return d.texts.pairFrequencies == PairFrequencySigns::Signed; }},
    {"once: magnitudes chosen again stay",
     [](ModelDocument& d) {
         d.SetMeasurements({MeasurementTexts{{"600", "R1", "1.5", "0.1"}}});
         d.texts.pairFrequencies = PairFrequencySigns::Magnitudes;
         return d.SetMeasurements({MeasurementTexts{{"600", "R1", "1.6", "0.1"}}});
     },
     false,
     [](const ModelDocument& d) {
         return d.texts.pairFrequencies == PairFrequencySigns::Magnitudes;
     }},
    {"a 15N centre with a proton is a pair of opposite signs",
     [](ModelDocument& d) { return (d = Amide(), true); }, true,
     [](const ModelDocument& d) { return d.HasOppositeSignPair(); }},
    {"protons alone are not", [](ModelDocument&) { return true; }, true,
     [](const ModelDocument& d) { return !d.HasOppositeSignPair(); }},
};

TEST(ModelDocument, EachEditKeepsTheModelWhole) {
    for (const EditRow& row : kEditRows) {
        ModelDocument document = DefaultModelDocument();
        EXPECT_EQ(row.edit(document), row.returned) << row.name;
        EXPECT_TRUE(row.holds(document)) << row.name;
    }
}

// A fit writes each value as the shortest text that reads back as the same double, as the
// motion, Rex and CSA are read.
TEST(ModelDocument, AFitWritesTheShortestTextsThatReadBack) {
    const std::pair<double, const char*> rows[] = {
        {0.8, "0.8"}, {19.950125, "19.950125"}, {0.1 + 0.2, "0.30000000000000004"}};
    for (const auto& [value, text] : rows) {
        ModelDocument document = Amide();
        document.ApplyFit({MotionKind::Rigid, {value}}, std::array{TauM}, value, value);
        EXPECT_EQ((*document.motion)[TauM], text);
        EXPECT_EQ(document.texts.rex + document.texts.csa, std::string(text) + text);
        EXPECT_EQ(ReadDouble(text), value);
    }
}

// The rows a motion gives at three fields, as measured with a 2 % error.
std::vector<MeasurementTexts> RowsOf(const ModelDocument& truth) {
    ModelDocument asked = truth;
    for (const char* field : {"500", "600", "800"}) {
        for (const char* quantity : {"R1", "R2", "NOE"}) {
            asked.measurements.push_back({{field, quantity, "1", "1"}});
        }
    }
    const Comparisons compared = CompareMeasurements(asked);
    std::vector<MeasurementTexts> rows;
    for (std::size_t k = 0; k < asked.measurements.size(); ++k) {
        MeasurementTexts row = asked.measurements[k];
        const double value = compared.rows[k]->calculated;
        row.cells[2] = FormatDouble(value);
        row.cells[3] = FormatDouble(0.02 * value);
        rows.push_back(row);
    }
    return rows;
}

// A run with the live fit computes the table of the document the fit gives, and returns
// each line it wrote; without rows to compare there are no values.
TEST(Recalculation, TheLiveFitsDocumentIsTheOneTheTableShows) {
    ModelDocument truth = Amide();
    truth.texts.pairFrequencies = PairFrequencySigns::Signed;  // as the rows will switch to
    truth.SetMotion(ModelFree("7.5", "0.8", "40"));
    ModelDocument edited = Amide();
    edited.SetMotion(ModelFree("5", "0.85", "50"));
    edited.SetMeasurements(RowsOf(truth));
    edited.fit = {{{TauM, S2, TauE}, false, false}, true};

    RecordingSink sink;
    const TableStep step = Recalculation().Table(edited, {}, sink);
    ASSERT_TRUE(step.liveFit);
    const MotionFitResult& fit = step.liveFit->result;
    ASSERT_EQ(fit.status, FitResult::Status::Converged) << fit.reason;
    EXPECT_NEAR(fit.motion[TauM], 7.5, 1e-4);
    EXPECT_EQ(step.lines, sink.lines);
    EXPECT_LT(step.table.comparisons.chiSquared, 1e-6);

    ModelDocument fitted = edited;
    ApplyFitResult(fit, fitted);
    fitted.fit.live = false;
    RecordingSink plain;
    const TableStep again = Recalculation().Table(fitted, {}, plain);
    EXPECT_FALSE(again.liveFit);
    EXPECT_EQ(again.lines, step.lines);
    EXPECT_EQ(again.table.comparisons.chiSquared, step.table.comparisons.chiSquared);
    EXPECT_TRUE(Recalculation().Table(Amide(), {}, plain).table.comparisons.rows.empty());
}

}  // namespace
}  // namespace veldorin::test
