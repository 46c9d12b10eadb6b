// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

#include "engine/model.h"
#include "engine/relaxation.h"
#include "graph/draw_command.h"
#include "graph/graph_scale.h"
#include "graph/plot_mode.h"

namespace veldorin {

// The reference and marker lines, drawn in line width 1 while the results table
// is computed: after each present neighbour at each field it appends the lines of
// the plot mode to the commands. Markers: the pair's characteristic frequencies
// for F(w) and J(w), the six fields for the rates and the NOE, the correlation
// times for C(t).
class Decorations final : public NeighbourObserver {
public:
    Decorations(PlotMode plotMode, const GraphScale& scale,
                const std::array<float, kLorentzianCount>& times, DrawCommands& out)
        : plotMode_(plotMode), scale_(scale), times_(times), out_(out) {}

    void FieldStarted(int field) override { field_ = field; }
    void NeighbourEvaluated(int slot, SlotKind kind, const JFrequencies& frequencies) override;

private:
    void FrequencyMarkers(int field, SlotKind kind, const JFrequencies& frequencies);
    void FieldMarkers();
    void TimeMarkers();
    // The black lines at round values of the plot mode's vertical axis.
    void ReferenceLines();
    void Marker(Rgb colour, float x, float yTop, float yBottom);
    void ReferenceLine(double y);

    PlotMode plotMode_;
    GraphScale scale_;
    std::array<float, kLorentzianCount> times_;
    DrawCommands& out_;
    int field_ = 0;  // the field being evaluated, 1..6
};

}  // namespace veldorin
