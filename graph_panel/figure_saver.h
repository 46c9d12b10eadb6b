// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QObject>
#include <functional>
#include <optional>

#include "graph_panel/figure_export.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace veldorin {

class GraphCanvas;

// Asks for a figure's width and height in millimetres, its resolution and, for the
// graph's figure, its options, and shows the pixels a PNG of them would have, warning when
// that is too many.
class FigureSizeDialog : public QDialog {
    Q_OBJECT

public:
    FigureSizeDialog(const FigureSize& size, const std::optional<FigureOptions>& options,
                     QWidget* parent);

    FigureSize size() const;
    // Nothing when the dialog was not asked for options.
    std::optional<FigureOptions> options() const;

private:
    void ShowPngSize();

    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    QSpinBox* dotsPerInch_;
    QCheckBox* noeAsRatio_ = nullptr;
    QCheckBox* allFields_ = nullptr;
    QLabel* pngSize_;
};

// "Save figure…": the size, then the file, then the figure as it is then, written as PNG,
// SVG or PDF by the file's extension. A name without one gets that of the chosen format.
// The dialogs do not block: each goes on when it is accepted. The last size and options
// chosen are proposed again. It belongs to the widget whose figure it saves.
class FigureSaver : public QObject {
    Q_OBJECT

public:
    // The figure of the graph panel's current curves, with the graph's options.
    explicit FigureSaver(GraphCanvas& canvas);
    // Any figure, laid out by `source` when it is saved.
    FigureSaver(QWidget& owner, FigureSource source);

    void Start();

private:
    using OptionedSource = std::function<FigureSource(const FigureOptions&)>;
    FigureSaver(QWidget& owner, OptionedSource source, std::optional<FigureOptions> options);

    void ChooseFile();
    void Save(const QString& path);

    QWidget& owner_;
    OptionedSource source_;
    FigureSize size_;
    std::optional<FigureOptions> options_;  // only for a figure that has options
};

}  // namespace veldorin
