#include "recalculation.h"

namespace veldorin {

TablePhase Recalculation::RunTable(const ModelTexts& model, const GraphSettings& settings,
                                   TableSink& sink) {
    TablePhase phase;
    phase.commands.emplace_back(draw::SetAxisCaption{"Log(w/2pi)"});

    PreparedRun prepared = calculation_.Prepare(model);
    phase.weightTexts = prepared.weightTexts;
    switch (prepared.stage) {
        case PreparedRun::Stage::InputsFailed:
            phase.outcome = {RunOutcome::Status::Failed, prepared.failure};
            return phase;
        case PreparedRun::Stage::WeightsNotPositive:
            phase.commands.emplace_back(draw::Refresh{});
            phase.outcome = {RunOutcome::Status::Stopped, std::nullopt};
            return phase;
        case PreparedRun::Stage::SpinSystemFailed:
        case PreparedRun::Stage::Ready:
            break;
    }

    phase.commands.emplace_back(draw::RetainOn{});
    phase.commands.emplace_back(draw::Clear{});
    phase.commands.emplace_back(draw::SetLineWidth{1});
    phase.commands.emplace_back(draw::SetScale{settings.width, settings.height});
    if (prepared.stage == PreparedRun::Stage::SpinSystemFailed) {
        phase.outcome = {RunOutcome::Status::Failed, prepared.failure};
        return phase;
    }

    working_ = prepared.values;
    const TableMode mode = TableModeFromCaption(model.tableModeCaption);
    if (const auto failure = WriteResultsTable(working_, mode, sink, nullptr)) {
        phase.outcome = {RunOutcome::Status::Failed, failure};
    }
    return phase;
}

CurvePhase Recalculation::RunCurves(const ModelTexts&, const GraphSettings&) {
    return {};
}

}  // namespace veldorin
