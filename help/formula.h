// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A one-line formula: markup (formula_parser.h) read once, then measured and laid out in
// any font (formula_layout.h) and drawn from its marks (formula_drawing.h).

#include <QFont>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <vector>

#include "help/formula_drawing.h"
#include "help/formula_layout.h"
#include "help/formula_node.h"
#include "help/formula_parser.h"

namespace veldorin {

class Formula {
public:
    explicit Formula(const QString& markup, FormulaMode mode = FormulaMode::Math);

    // False when the markup has an unknown command, a missing brace or a stray \right.
    bool wellFormed() const { return wellFormed_; }

    // `font` sets the face and size of the main level; scripts and limits are smaller.
    FormulaExtent Measure(const QFont& font) const;
    // The marks that draw the formula with the left end of its baseline at `baseline`.
    std::vector<FormulaMark> LayOut(QPointF baseline, const QFont& font) const;

private:
    FormulaNode root_;
    bool wellFormed_ = true;
};

// Breaks markup into lines no wider than `width`, at spaces outside braces; a word wider
// than `width` stands on a line of its own.
QStringList WrapMarkup(const QString& markup, FormulaMode mode, const QFont& font, qreal width);

}  // namespace veldorin
