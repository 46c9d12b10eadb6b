// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <string>

#include "graph/sequence_plot.h"
#include "graph_panel/figure_export.h"
#include "graph_panel/sequence_plot_view.h"

namespace veldorin {
namespace {

constexpr int kResidues = 280;
constexpr int kWidthPixels = 900;
constexpr int kHeightPixels = 300;

// R1 of a protein at three fields: three points with error bars at each residue.
SequencePlot ThreeFieldsAlongAProtein() {
    const Rgb colours[] = {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}};
    SequencePlot plot{"R1 (1/s)", false, {}, {}};
    for (int residue = 1; residue <= kResidues; ++residue) {
        for (int field = 0; field < 3; ++field) {
            const double value = 1.0 + 0.4 * field + 0.2 * std::sin(residue * 0.37 + field);
            plot.points.push_back(
                {"A:" + std::to_string(residue), value, 0.03 + 0.01 * field, colours[field]});
        }
    }
    plot.legend = {{colours[0], "500 MHz"}, {colours[1], "600 MHz"}, {colours[2], "800 MHz"}};
    return plot;
}

// The figure laid out for the image's size and resolution and painted on it.
void BM_SequencePlotLayOutAndPaint(benchmark::State& state) {
    const SequencePlot plot = ThreeFieldsAlongAProtein();
    QImage image(kWidthPixels, kHeightPixels, QImage::Format_ARGB32_Premultiplied);
    const double scale = image.logicalDpiX() / 25.4;
    for (auto _ : state) {
        const SequenceLayout layout = LayOutSequencePlot(
            plot, kWidthPixels / scale, kHeightPixels / scale, FigureTextWidth(image));
        QPainter painter(&image);
        PaintFigureLayout(painter, layout.figure, scale);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_SequencePlotLayOutAndPaint)->Unit(benchmark::kMillisecond);

// The widget given a new plot and redrawn whole, as a window showing another fit does.
void BM_SequencePlotViewNewPlot(benchmark::State& state) {
    const SequencePlot plot = ThreeFieldsAlongAProtein();
    SequencePlotView view;
    view.resize(kWidthPixels, kHeightPixels);
    QImage image(kWidthPixels, kHeightPixels, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.setPlot(plot);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_SequencePlotViewNewPlot)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin
