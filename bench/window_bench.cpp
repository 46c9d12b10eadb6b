// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "engine/results_table.h"
#include "graph_panel/graph_canvas.h"
#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "motion/motion_window.h"
#include "options/options_panel.h"
#include "results/results_list.h"
#include "spins/spin_editors.h"
#include "tests/support/paint_counter.h"
#include "window/layout.h"
#include "window/main_window.h"
#include "window/panel_controller.h"

namespace veldorin {
namespace {

// A started window whose program folder (and so "table.dat") is thrown away afterwards.
struct StartedWindow {
    StartedWindow() {
        window.Start({folder.path(), {}});
        QCoreApplication::processEvents();
    }

    QTemporaryDir folder;
    MainWindow window;
};

// Milliseconds at the given share (0..1) of the sorted samples, the nearest rank.
double Percentile(std::vector<double> samples, double share) {
    std::sort(samples.begin(), samples.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(samples.size())));
    return samples[std::max<std::size_t>(rank, 1) - 1];
}

// The moments of one key release, in milliseconds from the release: the table phase
// shown (its paints processed, the curves about to start), the curves computed, the run
// over (the curves drawn into the graph's image) and the final picture painted.
struct KeyReleaseTimes {
    std::vector<double> tableShown;
    std::vector<double> curvesComputed;
    std::vector<double> curvesDrawn;
    std::vector<double> picturePainted;

    // The medians of the moments and of the spans between them.
    void Report(benchmark::State& state) const {
        std::vector<double> curves;
        std::vector<double> drawing;
        std::vector<double> painting;
        for (std::size_t i = 0; i < picturePainted.size(); ++i) {
            curves.push_back(curvesComputed[i] - tableShown[i]);
            drawing.push_back(curvesDrawn[i] - curvesComputed[i]);
            painting.push_back(picturePainted[i] - curvesDrawn[i]);
        }
        state.counters["table_shown_ms"] = Percentile(tableShown, 0.5);
        state.counters["curves_computed_ms"] = Percentile(curvesComputed, 0.5);
        state.counters["median_ms"] = Percentile(picturePainted, 0.5);
        state.counters["p99_ms"] = Percentile(picturePainted, 0.99);
        state.counters["span_curves_ms"] = Percentile(curves, 0.5);
        state.counters["span_drawing_ms"] = Percentile(drawing, 0.5);
        state.counters["span_painting_ms"] = Percentile(painting, 0.5);
    }
};

// One key released in the first weight box, through the cleaning of the column, the
// table, "table.dat" and the curves to the window drawn again: the pending events,
// among them the repaints of the list and of the graph with its new curves, are
// processed once. Each iteration's moments are taken by hand and kept, for the medians
// and the 99th percentile. The table phase ends once its pending events (its paints)
// are processed, when the curves start.
void ReleaseKeysInWeightBox(benchmark::State& state, MainWindow& window) {
    using Clock = std::chrono::steady_clock;
    const WindowControls& controls = window.controls();
    QWidget* box = controls.weightBoxes[0];
    const ResultsList* list = controls.resultsList;
    test::PaintCounter graphPaints(controls.graphCanvas);
    test::PaintCounter listPaints(list->viewport());
    // The enlarged graph covers the list, which then has nothing to show.
    const bool listShown = !list->viewport()->visibleRegion().isEmpty();
    box->setFocus();
    Clock::time_point start;
    const auto since = [&start] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    KeyReleaseTimes times;
    const QMetaObject::Connection curvesStarted = QObject::connect(
        &window, &MainWindow::curvesStarted, [&] { times.tableShown.push_back(since()); });
    const QMetaObject::Connection curvesComputed = QObject::connect(
        &window, &MainWindow::curvesComputed, [&] { times.curvesComputed.push_back(since()); });
    for (auto _ : state) {
        const int listBefore = listPaints.paints;
        start = Clock::now();
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QApplication::sendEvent(box, &release);
        times.curvesDrawn.push_back(since());
        // The run has drawn its curves into the graph's image; the panel shows them
        // at its next paint.
        const int graphAfterRun = graphPaints.paints;
        QCoreApplication::processEvents();
        const double painted = since();
        state.SetIterationTime(painted / 1000.0);
        times.picturePainted.push_back(painted);
        if (graphPaints.paints == graphAfterRun || (listShown && listPaints.paints == listBefore) ||
            times.tableShown.size() != times.picturePainted.size() ||
            times.curvesComputed.size() != times.picturePainted.size()) {
            state.SkipWithError("the window was not drawn again");
            return;
        }
    }
    QObject::disconnect(curvesStarted);
    QObject::disconnect(curvesComputed);
    QFile table(QString::fromStdString(
        TableFilePath(controls.optionsPanel->WorkingDirectory().toStdString())));
    if (list->Lines().size() != 7 || list->stale() || !controls.failureLine->text().isEmpty() ||
        !table.open(QIODevice::ReadOnly) ||
        table.readAll() != list->Lines().join("\r\n").toLatin1() + "\r\n") {
        state.SkipWithError("no complete run");
        return;
    }
    times.Report(state);
}

void BM_WeightKeyDefaultModel(benchmark::State& state) {
    StartedWindow started;
    ReleaseKeysInWeightBox(state, started.window);
}
BENCHMARK(BM_WeightKeyDefaultModel)->Unit(benchmark::kMillisecond)->UseManualTime();

// Eight neighbours, the rate curves, array mode on c1 (eleven curve passes) and the
// graph enlarged to nearly the whole window; false (and the benchmark skipped) when the
// graph did not enlarge.
bool SetUpWorstCase(benchmark::State& state, MainWindow& window) {
    // Through the editors, as a user fills the spin system.
    SpinEditors& spins = window.spinEditors();
    const WindowControls& controls = window.controls();
    const char* nuclei[] = {"1H", "1H", "13C", "15N", "Like", "1H", "13C", "1H"};
    for (int j = 0; j < kNeighbourCount; ++j) {
        spins.OpenNucleusMenu(j);
        spins.ChooseNucleus(controls.nucleusMenu->findText(QLatin1String(nuclei[j])));
        spins.EditDistance(j);
        controls.distanceEditor->setText(QString::number(1.0 + 0.2 * j));
        spins.CommitDistance();
    }
    if (window.document().texts.slots[kNeighbourCount - 1].nucleus != "1H") {
        state.SkipWithError("the spin system was not taken");
        return false;
    }
    window.OnArrayClicked();
    window.panels().ToggleGraphEnlarged();
    if (window.state().graphEnlarged) return true;
    state.SkipWithError("the graph did not enlarge");
    return false;
}

void BM_WeightKeyWorstCase(benchmark::State& state) {
    StartedWindow started;
    if (SetUpWorstCase(state, started.window)) ReleaseKeysInWeightBox(state, started.window);
}
BENCHMARK(BM_WeightKeyWorstCase)->Unit(benchmark::kMillisecond)->UseManualTime();

// The worst case with a model-free motion and measurements of R1, R2 and the NOE at
// `fields` fields; with `live`, the fit of tm, S2 and te runs at every key.
void WorstCaseWithMeasurements(benchmark::State& state, int fields, bool live) {
    StartedWindow started;
    MainWindow& window = started.window;
    if (!SetUpWorstCase(state, window)) return;
    Q_EMIT window.motionWindow().motionEdited(DefaultMotionTexts(MotionKind::ModelFree));
    QString rows;
    for (int field = 0; field < fields; ++field) {
        const QString mhz = QString::number(400 + 50 * field);
        rows += mhz + "\tR1\t2.5\t0.05\n" + mhz + "\tR2\t7\t0.2\n" + mhz + "\tNOE\t0.8\t0.03\n";
    }
    window.measurementsWindow().Append(rows, '\t');
    if (live) {
        FitPanel& fit = *window.measurementsWindow().fitPanel();
        for (MotionParameter p :
             {MotionParameter::TauM, MotionParameter::S2, MotionParameter::TauE}) {
            fit.freeBox(p)->setChecked(true);
        }
        fit.liveBox()->setChecked(true);
    }
    if (window.document().measurements.size() != static_cast<std::size_t>(3 * fields)) {
        state.SkipWithError("the measurements were not taken");
        return;
    }
    ReleaseKeysInWeightBox(state, window);
}

void BM_WeightKeyWorstCaseWith30Measurements(benchmark::State& state) {
    WorstCaseWithMeasurements(state, 10, false);
}
BENCHMARK(BM_WeightKeyWorstCaseWith30Measurements)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_WeightKeyWorstCaseWithLiveFit(benchmark::State& state) {
    WorstCaseWithMeasurements(state, 3, true);
}
BENCHMARK(BM_WeightKeyWorstCaseWithLiveFit)->Unit(benchmark::kMillisecond)->UseManualTime();

constexpr int kManyRows = 100'000;

// Rows as a file of a many-residue study holds them: five quantities at fields from 400 to
// 999 MHz, every row good.
QString ManyRows() {
    const char* quantities[] = {"R1", "R2", "NOE", "T1", "T2"};
    const char* values[] = {"1.6", "12", "0.78", "0.62", "0.083"};
    QString text = QStringLiteral("field,quantity,value,error\n");
    for (int row = 0; row < kManyRows; ++row) {
        text += QStringLiteral("%1,%2,%3,0.05\n")
                    .arg(400 + row % 600)
                    .arg(QLatin1String(quantities[row % 5]), QLatin1String(values[row % 5]));
    }
    return text;
}

// The Measurements window open beside a started window with the rows of ManyRows;
// false (and the benchmark skipped) when they were not all taken.
bool ImportManyRows(benchmark::State& state, MainWindow& window, const QString& rows) {
    window.measurementsWindow().Import(rows);
    QCoreApplication::processEvents();
    if (window.document().measurements.size() == static_cast<std::size_t>(kManyRows) &&
        window.measurementsWindow().table()->model()->rowCount() == kManyRows + 1) {
        return true;
    }
    state.SkipWithError("the rows were not taken");
    return false;
}

// 100,000 rows imported into the open Measurements window: read, put into the document,
// the recalculation that compares every row with the model and draws them as points, and
// the window drawn again (its pending events processed once).
void BM_ImportManyMeasurements(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    StartedWindow started;
    MainWindow& window = started.window;
    window.OpenMeasurementsWindow();
    const QString rows = ManyRows();
    for (auto _ : state) {
        Q_EMIT window.measurementsWindow().rowsEdited({});
        QCoreApplication::processEvents();
        const Clock::time_point start = Clock::now();
        if (!ImportManyRows(state, window, rows)) return;
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_ImportManyMeasurements)->Unit(benchmark::kMillisecond)->UseManualTime();

// One cell edited among the 100,000 rows, as the user waits for the window after it: the
// rows into the document, the recalculation and the window drawn again.
void BM_EditAmongManyMeasurements(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    StartedWindow started;
    MainWindow& window = started.window;
    window.OpenMeasurementsWindow();
    if (!ImportManyRows(state, window, ManyRows())) return;
    QAbstractItemModel& table = *window.measurementsWindow().table()->model();
    const QModelIndex value = table.index(kManyRows / 2, 2);
    int edits = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        table.setData(value, QString::number(1.5 + 0.001 * (++edits % 100)));
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    if (window.document().measurements[std::size_t{kManyRows / 2}].cells[2] !=
        table.data(value).toString().toStdString()) {
        state.SkipWithError("the edit was not taken");
    }
}
BENCHMARK(BM_EditAmongManyMeasurements)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace veldorin
