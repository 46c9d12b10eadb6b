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

namespace {

template <class W>
const W& Get(const MainWindow& window, const std::string& name) {
    return *FindControl<W>(window, name);
}

}  // namespace

ExpectedTable TableOracle::Expect(const MainWindow& window) {
    ModelTexts model;
    for (int slot = 0; slot < kSlotCount; ++slot)
        model.slots[slot] = window.controls().spinDiagram->Slot(slot);
    for (int i = 0; i < kLorentzianCount; ++i) {
        model.weights[i] = Get<QLineEdit>(window, Element("Text7", i)).text().toStdString();
        model.times[i] = Get<QLineEdit>(window, Element("Text8", i)).text().toStdString();
    }
    model.rex = Get<QComboBox>(window, "Combo1(1)").currentText().toStdString();
    model.csa = Get<QComboBox>(window, "Combo1(2)").currentText().toStdString();
    model.tableMode = window.state().tableMode;
    model.workingDirectory = Get<QLineEdit>(window, "Text3").text().toStdString();

    GraphSettings settings;
    settings.plotMode = PlotModeAt(Get<QComboBox>(window, "Combo4").currentIndex());
    settings.arrayOn = Get<QPushButton>(window, "Command3").text() == QStringLiteral("off");
    settings.arrayParameter = ArrayParameterAt(Get<QComboBox>(window, "Combo2").currentIndex());
    const QSizeF size = Get<GraphCanvas>(window, "Picture1").sizeInTwips();
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
