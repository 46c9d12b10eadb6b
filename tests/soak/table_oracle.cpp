// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/table_oracle.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "graph_panel/graph_canvas.h"
#include "spins/spin_diagram.h"
#include "tests/support/recording_sink.h"
#include "tests/support/window_fixture.h"
#include "window/layout.h"
#include "window/main_window.h"

namespace veldorin::test {

ExpectedTable TableOracle::Expect(const MainWindow& window) {
    const WindowControls& c = window.controls();
    ModelTexts model;
    for (int slot = 0; slot < kSlotCount; ++slot) model.slots[slot] = c.spinDiagram->Slot(slot);
    for (int i = 0; i < kLorentzianCount; ++i) {
        model.weights[i] = c.weightBoxes[i]->text().toStdString();
        model.times[i] = c.timeBoxes[i]->text().toStdString();
    }
    model.rex = c.rexBox->currentText().toStdString();
    model.csa = c.csaBox->currentText().toStdString();
    model.tableMode = c.tableModeButton->text() == QLatin1String(TableModeCaption(TableMode::Times))
                          ? TableMode::Times
                          : TableMode::Rates;
    model.workingDirectory = c.optionsPanel->directoryBox()->text().toStdString();

    GraphSettings settings;
    settings.plotMode = PlotModeAt(c.plotList->currentIndex());
    settings.arrayOn = c.arrayButton->text() == QStringLiteral("off");
    settings.arrayParameter = ArrayParameterAt(c.arrayParameterList->currentIndex());
    const QSizeF size = c.graphCanvas->sizeInTwips();
    settings.width = static_cast<float>(size.width());
    settings.height = static_cast<float>(size.height());

    RecordingSink sink;
    const TablePhase phase = phases_.RunTable(model, settings, sink);
    ExpectedTable expected;
    expected.status = phase.outcome.status;
    expected.failure = phase.outcome.failure;
    expected.failedAfterOpening = sink.begins > 0;
    for (const std::string& line : sink.lines) {
        expected.lines.append(
            QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
    expected.filePath = QString::fromStdString(TableFilePath(model.workingDirectory));
    return expected;
}

}  // namespace veldorin::test
