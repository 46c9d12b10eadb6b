// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recalculation/recalculation.h"

#include "recalculation/document_fit.h"

namespace veldorin {

namespace {

// Passes each line on to the window's sink and keeps it for the step's value.
class KeepingSink final : public TableSink {
public:
    KeepingSink(TableSink& sink, std::vector<std::string>& lines) : sink_(sink), lines_(lines) {}

    bool Begin() override { return sink_.Begin(); }
    bool AddLine(const std::string& line) override {
        lines_.push_back(line);
        return sink_.AddLine(line);
    }
    bool Finish() override { return sink_.Finish(); }

private:
    TableSink& sink_;
    std::vector<std::string>& lines_;
};

}  // namespace

GraphSettings GraphSettingsOf(const ModelDocument& document, GraphFrame frame) {
    GraphSettings settings;
    settings.plotMode = document.plotMode;
    settings.arrayOn = document.arrayOn;
    settings.arrayParameter = document.arrayParameter;
    settings.measurements = ReadMeasurements(document.measurements);
    settings.width = frame.width;
    settings.height = frame.height;
    return settings;
}

Comparisons CompareMeasurements(const ModelDocument& document) {
    const PreparedRun run = InputPreparation().Prepare(document.texts);
    if (run.stage != PreparedRun::Stage::Ready) return {};
    return Compare(run.values, ReadMeasurements(document.measurements));
}

TableStep Recalculation::Table(const ModelDocument& document, GraphFrame frame, TableSink& sink) {
    TableStep step;
    if (document.fit.live && document.motion) {
        TableStep::LiveFit& live = step.liveFit.emplace(FitDocumentMotion(document), document);
        ApplyFitResult(live.result, live.document);
    }
    const ModelDocument& computed = step.liveFit ? step.liveFit->document : document;
    const GraphSettings settings = GraphSettingsOf(computed, frame);
    KeepingSink keeping(sink, step.lines);
    step.table = phases_.RunTable(computed.texts, settings, keeping);
    return step;
}

CurvePhase Recalculation::Curves(const ModelDocument& document, GraphFrame frame) {
    return phases_.RunCurves(document.texts, GraphSettingsOf(document, frame));
}

}  // namespace veldorin
