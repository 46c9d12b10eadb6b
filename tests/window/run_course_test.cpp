// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/run_course.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/recording_sink.h"

namespace veldorin::test {
namespace {

// A window that records what a run asks of it, in order.
class RecordingSide final : public WindowSide {
public:
    bool shown = true;
    ModelDocument document = DefaultModelDocument();
    std::function<void()> duringEvents;  // what the user did while events ran
    std::vector<std::string> calls;

    bool Shown() const override { return shown; }
    void ShowNeighbours() override { calls.push_back("neighbours"); }
    const ModelDocument& Document() const override { return document; }
    GraphFrame ReadFrame() const override { return {}; }
    std::unique_ptr<TableSink> OpenTable() override {
        calls.push_back("table");
        return std::make_unique<RecordingSink>();
    }
    void ApplyLiveFit(const TableStep::LiveFit&) override { calls.push_back("live fit"); }
    void ShowNormalisedWeights(const WeightTexts&) override { calls.push_back("weights"); }
    void ShowArrayRange(const std::pair<std::string, std::string>&) override {
        calls.push_back("range");
    }
    void Draw(const DrawCommands&) override { calls.push_back("draw"); }
    void KeepCurves(const SampledCurves&) override {}
    void ReportTable(const RunOutcome& outcome) override {
        calls.push_back(outcome.status == RunOutcome::Status::Completed ? "table completed"
                        : outcome.status == RunOutcome::Status::Stopped ? "table stopped"
                                                                        : "table failed");
    }
    void ShowRowContributions(const RowContributionTexts&) override {
        calls.push_back("contributions");
    }
    void ReportCurvesFailed(FailureReason) override { calls.push_back("curves failed"); }
    void ShowComparisons(const Comparisons&) override { calls.push_back("compared"); }
    void ProcessPendingEvents() override {
        calls.push_back(picturesHeld > 0 ? "events" : "events with the picture shown");
        if (duringEvents) std::exchange(duringEvents, nullptr)();
    }
    void HoldPicture() override { ++picturesHeld; }
    void ShowPicture() override { --picturesHeld; }

    int picturesHeld = 0;
};

struct FlowRow {
    const char* name;
    std::function<void(RecordingSide&, RunCourse&)> arrange;
    std::vector<std::string> calls;
};

const FlowRow kFlowRows[] = {
    {"hidden window: the diagram only",
     [](RecordingSide& view, RunCourse&) { view.shown = false; },
     {"neighbours"}},
    {"a complete run",
     [](RecordingSide&, RunCourse&) {},
     {"neighbours", "table", "weights", "draw", "table completed", "contributions", "compared",
      "events", "draw"}},
    {"weights summing to zero stop the run",
     [](RecordingSide& view, RunCourse&) { view.document.texts.weights.fill("0"); },
     {"neighbours", "table", "draw", "table stopped", "compared"}},
    {"a failed table draws no curves",
     [](RecordingSide& view, RunCourse&) { view.document.texts.times[0] = "x"; },
     {"neighbours", "table", "draw", "table failed", "compared"}},
    {"array mode shows its range",
     [](RecordingSide& view, RunCourse&) { view.document.arrayOn = true; },
     {"neighbours", "table", "weights", "draw", "table completed", "contributions", "compared",
      "events", "range", "draw"}},
    {"a live fit comes before anything is shown",
     [](RecordingSide& view, RunCourse&) {
         view.document.motion = MotionTexts{};
         view.document.fit.live = true;
     },
     {"neighbours", "table", "live fit", "weights", "draw", "table completed", "contributions",
      "compared", "events", "draw"}},
    // The newer run has drawn the current picture; the outer one must not draw over it.
    {"a run nested in the events ends the outer run",
     [](RecordingSide& view, RunCourse& flow) { view.duringEvents = [&flow] { flow.Run(); }; },
     {"neighbours", "table", "weights", "draw", "table completed", "contributions", "compared",
      "events",  // outer
      "neighbours", "table", "weights", "draw", "table completed", "contributions", "compared",
      "events", "draw"}},
};

TEST(RunCourse, EachRunShowsWhatItsPhasesProducedInOrder) {
    for (const FlowRow& row : kFlowRows) {
        RecordingSide view;
        RunCourse flow(view);
        row.arrange(view, flow);
        flow.Run();
        EXPECT_EQ(view.calls, row.calls) << row.name;
        EXPECT_EQ(view.picturesHeld, 0) << row.name;
    }
}

}  // namespace
}  // namespace veldorin::test
