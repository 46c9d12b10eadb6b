// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/formula_drawing.h"

#include <QPainter>
#include <QPainterPath>

namespace veldorin {

namespace {

void Draw(QPainter& painter, const TextRun& run) {
    painter.setFont(run.font);
    painter.drawText(run.baseline, run.text);
}

void Draw(QPainter& painter, const FractionBar& bar) {
    painter.fillRect(bar.rect, painter.pen().color());
}

// Brackets as filled outlines: thick in the middle of a parenthesis, square ends on a
// bracket, mirrored for the closing side.
void Draw(QPainter& painter, const StretchedDelimiter& mark) {
    const QRectF& box = mark.box;
    const bool closing = mark.delimiter == u')' || mark.delimiter == u']';
    QPainterPath path;
    const qreal stem = mark.rule * 1.3;
    if (mark.delimiter == u'(' || mark.delimiter == u')') {
        const qreal outer = box.left() + box.width() * 0.15;
        const qreal inner = outer + stem;
        const qreal tip = box.right() - box.width() * 0.1;
        path.moveTo(tip, box.top());
        path.cubicTo(outer, box.top() + box.height() * 0.2, outer,
                     box.bottom() - box.height() * 0.2, tip, box.bottom());
        path.cubicTo(inner, box.bottom() - box.height() * 0.22, inner,
                     box.top() + box.height() * 0.22, tip, box.top());
    } else {
        const qreal left = box.left() + box.width() * 0.3;
        const qreal arm = box.width() * 0.55;
        const qreal thin = mark.rule;
        path.addRect(QRectF(left, box.top(), stem, box.height()));
        path.addRect(QRectF(left, box.top(), arm, thin));
        path.addRect(QRectF(left, box.bottom() - thin, arm, thin));
        path.setFillRule(Qt::WindingFill);
    }
    painter.save();
    if (closing) {
        // Mirror about the box's vertical centre line.
        painter.translate(box.center().x() * 2, 0);
        painter.scale(-1, 1);
    }
    painter.fillPath(path, painter.pen().color());
    painter.restore();
}

}  // namespace

void DrawFormulaMark(QPainter& painter, const FormulaMark& mark) {
    std::visit([&painter](const auto& item) { Draw(painter, item); }, mark);
}

}  // namespace veldorin
