// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where everything on the Theory page goes: title, equations, legend and the table of
// typical distances, then on a second page the motions and the fit, as marks in twips of
// the open page. The page is drawn at any size by
// scaling these marks (theory_page.h).

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <variant>
#include <vector>

#include "help/formula_drawing.h"

namespace veldorin {

// The calculation's page and the fit's.
inline constexpr int kTheoryPageCount = 2;

// Size of the open page in twips.
inline constexpr QSize kTheoryPageTwips{7695, 7515};

// The shaded heading row and column of the distance table and its grid lines, drawn in the
// pen's colour.
struct TableGrid {
    QRectF headingRow;
    QRectF headingColumn;
    QColor shade;
    std::vector<QLineF> lines;
    qreal lineWidth = 0;
};

// A value of the distance table, centred in its cell.
struct CellText {
    QRectF cell;
    QFont font;
    QString text;
};

// The title's text run and the formulas' marks, the table's grid and its values.
using PageMark = std::variant<FormulaMark, TableGrid, CellText>;

struct TheoryPageLayout {
    std::vector<PageMark> marks;  // in twips, in the order they are drawn
    // Below 1 when fonts wider than the preferred ones need more room than the page has:
    // the whole content then shrinks by this factor.
    qreal shrink = 1;
};

// Lays the pages out with their own fonts, which take what they do not set from the
// application's font: the calculation's page first, then the fit's.
std::vector<TheoryPageLayout> LayOutTheoryPages();

}  // namespace veldorin
