// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <optional>

#include "graph_panel/figure_export.h"

class QMenu;

namespace veldorin {

class FigureSaver;

// Any figure laid out at the widget's size on white, the millimetres from its logical
// resolution. The menu on the right button saves it as PNG, SVG or PDF.
class FigureView : public QWidget {
    Q_OBJECT

public:
    explicit FigureView(QWidget* parent = nullptr);

    void setSource(FigureSource source);
    // The figure as the widget shows it at its current size.
    const FigureLayout& figure();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    double PixelsPerMillimetre() const;

    FigureSource source_;
    std::optional<FigureLayout> figure_;  // laid out again only after a change
    QMenu* menu_;
    FigureSaver* saver_;
};

}  // namespace veldorin
