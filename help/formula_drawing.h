// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a laid-out formula draws (formula_layout.h), in the painter's units, and the
// drawing of it: text runs and vector strokes, so that it stays sharp at any scale.

#include <QChar>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <variant>

class QPainter;

namespace veldorin {

struct TextRun {
    QPointF baseline;  // left end of the baseline
    QFont font;
    QString text;
};

// A fraction bar, filled with the pen's colour.
struct FractionBar {
    QRectF rect;
};

// A bracket stretched to fill `box`: '(', ')', '[' or ']', in the pen's colour.
struct StretchedDelimiter {
    QChar delimiter;
    QRectF box;
    qreal rule = 0;  // thickness of the thin strokes; the stem is a little thicker
};

using FormulaMark = std::variant<TextRun, FractionBar, StretchedDelimiter>;

// Draws one mark with the painter's pen colour.
void DrawFormulaMark(QPainter& painter, const FormulaMark& mark);

}  // namespace veldorin
