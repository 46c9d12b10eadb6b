// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QObject>

#include "graph_panel/figure_export.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace veldorin {

class GraphCanvas;

// Asks for a figure's width and height in millimetres, its resolution and its options,
// and shows the pixels a PNG of them would have, warning when that is too many.
class FigureSizeDialog : public QDialog {
    Q_OBJECT

public:
    FigureSizeDialog(const FigureSize& size, const FigureOptions& options, QWidget* parent);

    FigureSize size() const;
    FigureOptions options() const;

private:
    void ShowPngSize();

    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    QSpinBox* dotsPerInch_;
    QCheckBox* noeAsRatio_;
    QCheckBox* allFields_;
    QLabel* pngSize_;
};

// "Save figure…": the size, then the file, then the figure of the panel's current curves
// written as PNG, SVG or PDF by the file's extension. A name without one gets that of the
// chosen format. The dialogs do not block: each goes on when it is accepted. The last size
// and options chosen are proposed again.
class FigureSaver : public QObject {
    Q_OBJECT

public:
    explicit FigureSaver(GraphCanvas& canvas);

    void Start();

private:
    void ChooseFile();
    void Save(const QString& path);

    GraphCanvas& canvas_;
    FigureSize size_;
    FigureOptions options_;
};

}  // namespace veldorin
