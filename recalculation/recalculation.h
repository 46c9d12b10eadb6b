// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/model_document.h"
#include "engine/measurement.h"
#include "fit/motion_fit.h"
#include "run_phases/run_phases.h"

namespace veldorin {

// The graph panel's size in twips, which a window reads afresh for every run.
struct GraphFrame {
    float width = kGraphWidthTwips;
    float height = kGraphHeightTwips;
};

// What a recalculation's first step gives back: the live fit's result, the table phase
// (normalised-weight texts, drawing commands, outcome, the rows' contributions, the
// measurements against the model) and the table's lines as they went to the sink.
struct TableStep {
    // The fit that runs at every change: what it found, and the document as it changed it
    // (as ApplyFitResult puts it), from which the table was computed.
    struct LiveFit {
        MotionFitResult result;
        ModelDocument document;
    };
    std::optional<LiveFit> liveFit;
    TablePhase table;
    std::vector<std::string> lines;
};

// One recalculation of a document, in two steps with the window's pending events between
// them: the table, then the curves from the document as it stands then. Keeps what
// outlives a run (RunPhases).
class Recalculation {
public:
    TableStep Table(const ModelDocument& document, GraphFrame frame, TableSink& sink);
    CurvePhase Curves(const ModelDocument& document, GraphFrame frame);

private:
    RunPhases phases_;
};

// The document's measurements against its model, without a run: for a window that opens
// between two runs.
Comparisons CompareMeasurements(const ModelDocument& document);

// What the graph draws from the document besides its texts.
GraphSettings GraphSettingsOf(const ModelDocument& document, GraphFrame frame);

}  // namespace veldorin
