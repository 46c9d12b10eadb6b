// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Sets a formula tree (formula_node.h) in a font: measures it and places the marks that
// draw it (formula_drawing.h). Scripts and limits are set smaller than the main level.

#include <QFont>
#include <QPointF>
#include <vector>

#include "help/formula_drawing.h"
#include "help/formula_node.h"

namespace veldorin {

// Horizontal advance and the extent above and below the baseline, in the painter's units.
struct FormulaExtent {
    qreal width = 0;
    qreal ascent = 0;
    qreal descent = 0;
};

// `font` sets the face and size of the main level.
FormulaExtent MeasureFormula(const FormulaNode& root, const QFont& font);

// The marks of the formula with the left end of its baseline at `baseline`, in the order
// they are drawn.
std::vector<FormulaMark> LayOutFormula(const FormulaNode& root, const QFont& font,
                                       QPointF baseline);

}  // namespace veldorin
