// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Thousands of random models through the whole calculation: every run must end as
// a complete table or as a failure with its reason and exactly the partial output
// that the point of failure allows.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "engine/results_table.h"
#include "run_phases/run_phases.h"
#include "tests/robustness/random_models.h"
#include "tests/support/recording_sink.h"

namespace veldorin {
namespace {

using test::RecordingSink;

bool AllCoordinatesFinite(const DrawCommands& commands) {
    for (const DrawCommand& command : commands) {
        const bool finite = std::visit(
            [](const auto& c) {
                using T = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<T, draw::Line> ||
                              std::is_same_v<T, draw::LineInColour>) {
                    return std::isfinite(c.x1) && std::isfinite(c.y1) && std::isfinite(c.x2) &&
                           std::isfinite(c.y2);
                } else {
                    return true;
                }
            },
            command);
        if (!finite) return false;
    }
    return true;
}

template <typename Command>
int CountOf(const DrawCommands& commands) {
    int count = 0;
    for (const DrawCommand& command : commands) count += std::holds_alternative<Command>(command);
    return count;
}

int TabsIn(const std::string& line) {
    int tabs = 0;
    for (const char c : line) tabs += c == '\t';
    return tabs;
}

void CheckTablePhase(const TablePhase& phase, const RecordingSink& sink) {
    ASSERT_FALSE(phase.commands.empty());
    EXPECT_TRUE(std::holds_alternative<draw::SetAxisCaption>(phase.commands.front()));
    EXPECT_TRUE(AllCoordinatesFinite(phase.commands));

    switch (phase.outcome.status) {
        case RunOutcome::Status::Stopped:
            // Weights not above 0: nothing recomputed, the panel only refreshed.
            EXPECT_FALSE(phase.outcome.failure);
            EXPECT_FALSE(phase.weightTexts);
            EXPECT_EQ(sink.begins, 0);
            ASSERT_EQ(phase.commands.size(), 2u);
            EXPECT_TRUE(std::holds_alternative<draw::Refresh>(phase.commands[1]));
            break;
        case RunOutcome::Status::Failed:
            ASSERT_TRUE(phase.outcome.failure);
            if (!phase.weightTexts) {
                // An input did not read: only the caption was touched.
                EXPECT_EQ(phase.commands.size(), 1u);
                EXPECT_EQ(sink.begins, 0);
            } else if (sink.begins == 0) {
                // The spin system failed: the panel is cleared, the table untouched.
                EXPECT_EQ(CountOf<draw::Clear>(phase.commands), 1);
                EXPECT_TRUE(std::holds_alternative<draw::SetScale>(phase.commands.back()));
            } else {
                // Inside the table: the header and the rows finished so far, file closed.
                EXPECT_EQ(sink.finishes, 1);
                EXPECT_GE(sink.lines.size(), 1u);
                EXPECT_LT(sink.lines.size(), 7u);
            }
            break;
        case RunOutcome::Status::Completed: {
            EXPECT_FALSE(phase.outcome.failure);
            ASSERT_TRUE(phase.weightTexts);
            EXPECT_EQ(sink.begins, 1);
            EXPECT_EQ(sink.finishes, 1);
            ASSERT_EQ(sink.lines.size(), 7u);
            const std::string bytes = TableFileContents(sink.lines);
            std::size_t lineEnds = 0;
            for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
                 at = bytes.find("\r\n", at + 2)) {
                ++lineEnds;
            }
            EXPECT_EQ(lineEnds, 7u);
            EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
            const char* frequencies[] = {"100\t", "250\t", "300\t", "500\t", "600\t", "800\t"};
            for (std::size_t k = 0; k < sink.lines.size(); ++k) {
                EXPECT_EQ(TabsIn(sink.lines[k]), 4) << sink.lines[k];
                if (k > 0) {
                    EXPECT_EQ(sink.lines[k].rfind(frequencies[k - 1], 0), 0u) << sink.lines[k];
                }
            }
            break;
        }
    }
}

void CheckCurvePhase(const CurvePhase& phase, const GraphSettings& settings) {
    EXPECT_TRUE(AllCoordinatesFinite(phase.commands));
    const int opened = CountOf<draw::RetainOn>(phase.commands);
    const int closed = CountOf<draw::RetainOff>(phase.commands);
    EXPECT_LE(opened, settings.arrayOn ? 11 : 1);
    if (phase.outcome.status == RunOutcome::Status::Completed) {
        EXPECT_FALSE(phase.outcome.failure);
        EXPECT_EQ(opened, closed);
        EXPECT_GE(opened, 1);
        EXPECT_EQ(settings.arrayOn, phase.rangeTexts.has_value());
    } else {
        ASSERT_EQ(phase.outcome.status, RunOutcome::Status::Failed);
        EXPECT_TRUE(phase.outcome.failure);
        EXPECT_TRUE(opened == closed || opened == closed + 1);
    }
}

TEST(RandomModels, EveryRunEndsCompleteOrFailsWithWhatItMayLeave) {
    test::RandomModels random(20261208);
    int completed = 0;
    int failed = 0;
    int stopped = 0;
    for (int run = 0; run < 20000; ++run) {
        const ModelTexts model = random.NextModel();
        const GraphSettings settings = random.NextSettings();
        RunPhases phases;
        RecordingSink sink;
        const TablePhase table = phases.RunTable(model, settings, sink);
        SCOPED_TRACE("run " + std::to_string(run));
        CheckTablePhase(table, sink);
        if (table.outcome.status == RunOutcome::Status::Completed) {
            ++completed;
            CheckCurvePhase(phases.RunCurves(model, settings), settings);
        }
        failed += table.outcome.status == RunOutcome::Status::Failed;
        stopped += table.outcome.status == RunOutcome::Status::Stopped;
        if (HasFatalFailure()) return;
    }
    // The generator must reach every ending, or the checks above prove little.
    EXPECT_GT(completed, 1000);
    EXPECT_GT(failed, 1000);
    EXPECT_GT(stopped, 100);
}

TEST(RandomModels, TheSameTextsGiveTheSameTable) {
    test::RandomModels random(7);
    for (int run = 0; run < 500; ++run) {
        const ModelTexts model = random.NextModel();
        const GraphSettings settings = random.NextSettings();
        RecordingSink first;
        RecordingSink second;
        RunPhases a;
        RunPhases b;
        const auto outcomeA = a.RunTable(model, settings, first).outcome;
        const auto outcomeB = b.RunTable(model, settings, second).outcome;
        EXPECT_EQ(outcomeA.status, outcomeB.status);
        EXPECT_EQ(outcomeA.failure, outcomeB.failure);
        EXPECT_EQ(first.lines, second.lines);
    }
}

}  // namespace
}  // namespace veldorin
