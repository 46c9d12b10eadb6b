// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/model.h"
#include "engine/results_table.h"
#include "graph/draw_command.h"
#include "graph/graph_scale.h"
#include "run_phases/run_phases.h"
#include "tests/support/recording_sink.h"

namespace veldorin::graph_test {

inline constexpr float kWidth = kGraphWidthTwips;
inline constexpr float kHeight = kGraphHeightTwips;

// The commands of one kind, in order.
template <typename Command>
std::vector<Command> All(const DrawCommands& commands) {
    std::vector<Command> found;
    for (const auto& command : commands) {
        if (const auto* typed = std::get_if<Command>(&command)) found.push_back(*typed);
    }
    return found;
}

template <typename Command>
int CountOf(const DrawCommands& commands) {
    return static_cast<int>(All<Command>(commands).size());
}

// The central nucleus with the given neighbours ("" for an empty slot), weights and times.
inline ModelTexts Model(const std::string& central, const std::vector<std::string>& neighbours,
                        const std::vector<std::string>& weights = {"1", "0", "0", "0", "0", "0"},
                        const std::vector<std::string>& times = {"1000", "0", "0", "0", "0", "0"}) {
    ModelTexts model = DefaultModel();
    for (int j = 0; j < kNeighbourCount; ++j) {
        const auto index = static_cast<std::size_t>(j);
        model.slots[index] = {index < neighbours.size() ? neighbours[index] : "", "1.09", "1"};
    }
    model.slots[kCentralSlot] = {central, "", "1"};
    for (int i = 0; i < kLorentzianCount; ++i) {
        model.weights[static_cast<std::size_t>(i)] = weights[static_cast<std::size_t>(i)];
        model.times[static_cast<std::size_t>(i)] = times[static_cast<std::size_t>(i)];
    }
    model.csa = "0";
    return model;
}

inline GraphSettings Settings(PlotMode mode, bool arrayOn = false,
                              std::optional<ArrayParameter> parameter = ArrayParameter::C1) {
    GraphSettings settings;
    settings.plotMode = mode;
    settings.arrayOn = arrayOn;
    settings.arrayParameter = parameter;
    settings.width = kWidth;
    settings.height = kHeight;
    return settings;
}

// Both phases of one recalculation, as the window runs them.
struct BothPhases {
    TablePhase table;
    CurvePhase curves;
};

inline BothPhases RunBoth(const ModelTexts& model, const GraphSettings& settings) {
    RunPhases phases;
    test::RecordingSink sink;
    BothPhases run;
    run.table = phases.RunTable(model, settings, sink);
    run.curves = phases.RunCurves(model, settings);
    return run;
}

}  // namespace veldorin::graph_test
