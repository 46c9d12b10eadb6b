// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/graph_interaction.h"

#include <QComboBox>
#include <QLabel>
#include <cmath>

#include "graph/readout.h"
#include "graph_panel/graph_canvas.h"

namespace veldorin {

namespace {

// Height of the window that the enlarged panel leaves uncovered, in twips.
constexpr int kUncoveredHeight = 2000;

void Caption(QLabel* label, const std::optional<std::string>& text) {
    if (text) label->setText(QString::fromStdString(*text));
}

// What the graph shows, in words, for a screen reader.
QString SpokenPlot(std::optional<PlotMode> mode) {
    if (!mode) return QStringLiteral("No plot chosen");
    return QString::fromLatin1(RowOf(*mode).spoken);
}

void DescribePlot(GraphCanvas* canvas, int listIndex) {
    canvas->setAccessibleDescription(SpokenPlot(PlotModeAt(listIndex)));
}

}  // namespace

std::optional<TwipRect> EnlargedGraphPlace(int clientWidth, int clientHeight) {
    const int height = clientHeight - kUncoveredHeight;
    if (height <= 0 || clientWidth <= 0) return std::nullopt;
    return TwipRect{0, 0, clientWidth, height};
}

GraphInteraction::GraphInteraction(const TwipScale& scale, GraphCanvas* canvas, QComboBox* plotList,
                                   QLabel* vertical, QLabel* horizontal)
    : scale_(scale),
      canvas_(canvas),
      plotList_(plotList),
      vertical_(vertical),
      horizontal_(horizontal) {
    DescribePlot(canvas_, plotList_->currentIndex());
    QObject::connect(plotList_, &QComboBox::currentIndexChanged, canvas_,
                     [canvas = canvas_](int index) { DescribePlot(canvas, index); });
}

void GraphInteraction::ShowReadout(QPointF pointer) {
    const QSizeF size = canvas_->sizeInTwips();
    const std::optional<PlotMode> plotMode = PlotModeAt(plotList_->currentIndex());
    const auto x = static_cast<float>(scale_.ToTwips(pointer.x()));
    const auto y = static_cast<float>(scale_.ToTwips(pointer.y()));
    Caption(vertical_, VerticalReadout(plotMode, y, static_cast<float>(size.height())));
    Caption(horizontal_, HorizontalReadout(plotMode, x, static_cast<float>(size.width())));
}

void GraphInteraction::ClearReadout() {
    vertical_->clear();
    horizontal_->clear();
}

bool GraphInteraction::Enlarge(QSize clientArea) {
    const auto twips = [this](int pixels) {
        return static_cast<int>(std::lround(scale_.ToTwips(pixels)));
    };
    const std::optional<TwipRect> place =
        EnlargedGraphPlace(twips(clientArea.width()), twips(clientArea.height()));
    if (!place) return false;
    canvas_->setGeometry(scale_.Rect(*place));
    // The panel covers the controls and the word mark beneath it; only its list stays in
    // front, at the panel's corner.
    canvas_->raise();
    plotList_->move(0, 0);
    plotList_->raise();
    return true;
}

}  // namespace veldorin
