// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <optional>

#include "graph/sequence_plot.h"

class QMenu;

namespace veldorin {

class FigureSaver;

// Values along a protein's sequence as a figure of the widget's size on white, the
// millimetres from its logical resolution. The point under the pointer is ringed and read
// out in the plot's corner; a click chooses it. The menu on the right button saves the
// figure as PNG, SVG or PDF.
class SequencePlotView : public QWidget {
    Q_OBJECT

public:
    explicit SequencePlotView(QWidget* parent = nullptr);

    void setPlot(SequencePlot plot);
    const SequencePlot& plot() const { return plot_; }
    // The point under the pointer, −1 for none.
    int pointedIndex() const { return pointed_; }

Q_SIGNALS:
    // The pointer came onto a point (its index in the plot's points) or off all (−1).
    void pointed(int index);
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    double PixelsPerMillimetre() const;
    // The layout for the widget's current size, laid out again only after a change.
    const SequenceLayout& Layout();
    int PointAt(const QPointF& position);
    void Point(int index);
    void PaintPointed(QPainter& painter, const SequenceLayout& layout);

    SequencePlot plot_;
    std::optional<SequenceLayout> layout_;
    int pointed_ = -1;
    QMenu* menu_;
    FigureSaver* saver_;
};

}  // namespace veldorin
