// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Protein window on a synthetic protein of 280 residues at three fields: opening the
// data until the table and the plot are painted, and the whole fit with one tm and model
// selection, during which the event loop's longest pause is measured.

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "document/model_document.h"
#include "protein_window/protein_controller.h"
#include "protein_window/protein_fit_run.h"
#include "protein_window/protein_window.h"

namespace veldorin {
namespace {

// The Protein window with its controller, beside a model that stands for the main window's.
struct ProteinBench {
    ProteinBench()
        : window(nullptr),
          controller(window, {[this]() -> const ModelDocument& { return document; },
                              [this](ModelDocument shown) {
                                  document = std::move(shown);
                                  return true;
                              }}) {
        window.resize(1100, 720);
        window.show();
    }

    ModelDocument document = DefaultModelDocument();
    ProteinWindow window;
    ProteinController controller;
};

void BM_OpenProtein280(benchmark::State& state) {
    ProteinBench bench;
    for (auto _ : state) {
        bench.controller.OpenData({QStringLiteral(VELDORIN_PROTEIN_280)});
        benchmark::DoNotOptimize(bench.window.grab());
    }
}
BENCHMARK(BM_OpenProtein280)->Unit(benchmark::kMillisecond);

void BM_FitProtein280(benchmark::State& state) {
    ProteinBench bench;
    bench.controller.OpenData({QStringLiteral(VELDORIN_PROTEIN_280)});
    ProteinSettings settings = bench.controller.project().settings;
    settings.fit.monteCarloSets = 0;
    Q_EMIT bench.window.settingsEdited(settings);
    double longestPause = 0.0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&bench.controller.fitRun(), &ProteinFitRun::finished, &loop,
                         &QEventLoop::quit);
        // A timer that fires as often as it may: the gaps between its shots are how long
        // the window could not answer.
        QElapsedTimer clock;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestPause = std::max(longestPause, static_cast<double>(clock.nsecsElapsed()) / 1e6);
            clock.restart();
        });
        bench.window.fitButton()->click();
        clock.start();
        tick.start();
        loop.exec();
    }
    state.counters["longest_pause_ms"] = longestPause;
}
BENCHMARK(BM_FitProtein280)->Unit(benchmark::kMillisecond)->Iterations(1);

// The results of a fitted protein shown again, as after a fit or an edit of a residue: the
// table, the plot and the window painted.
void BM_ShowFittedProtein280(benchmark::State& state) {
    ProteinBench bench;
    bench.controller.OpenData({QStringLiteral(VELDORIN_PROTEIN_280)});
    ProteinProject project = bench.controller.project();
    ProteinFitOptions options = project.FitOptions();
    options.monteCarloSets = 0;
    project.fit = FitProtein(project.data, options);
    for (auto _ : state) {
        bench.window.ShowProject(project);
        benchmark::DoNotOptimize(bench.window.grab());
    }
}
BENCHMARK(BM_ShowFittedProtein280)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin
