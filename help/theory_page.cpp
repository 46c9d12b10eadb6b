// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/theory_page.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace veldorin {

namespace {

void Draw(QPainter& painter, const FormulaMark& mark) { DrawFormulaMark(painter, mark); }

void Draw(QPainter& painter, const TableGrid& grid) {
    painter.save();
    painter.fillRect(grid.headingRow, grid.shade);
    painter.fillRect(grid.headingColumn, grid.shade);
    QPen pen(painter.pen().color());
    pen.setWidthF(grid.lineWidth);
    painter.setPen(pen);
    for (const QLineF& line : grid.lines) painter.drawLine(line);
    painter.restore();
}

void Draw(QPainter& painter, const CellText& text) {
    painter.setFont(text.font);
    painter.drawText(text.cell, Qt::AlignCenter, text.text);
}

// Fills the rectangle (0, 0, size) with the page, scaled to fit it.
void DrawTheoryPage(QPainter& painter, const TheoryPageLayout& layout, const QSizeF& size) {
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), size), kTheoryBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    const qreal scale = std::min(size.width() / kTheoryPageTwips.width(),
                                 size.height() / kTheoryPageTwips.height());
    painter.scale(scale * layout.shrink, scale * layout.shrink);
    for (const PageMark& mark : layout.marks) {
        std::visit([&painter](const auto& item) { Draw(painter, item); }, mark);
    }
    painter.restore();
}

}  // namespace

TheoryPage::TheoryPage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The pointer over the open page is not over the window's background, whose movements
    // close every panel: keep them from reaching the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

void TheoryPage::paintEvent(QPaintEvent*) {
    const QFont applicationFont;
    if (layouts_.empty() || applicationFont != layoutApplicationFont_) {
        layouts_ = LayOutTheoryPages();
        layoutApplicationFont_ = applicationFont;
    }
    QPainter painter(this);
    DrawTheoryPage(painter, layouts_[page_], size());
}

void TheoryPage::ShowPage(int page) {
    page = std::clamp(page, 0, kTheoryPageCount - 1);
    if (page == page_) return;
    page_ = page;
    update();
}

void TheoryPage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ShowPage((page_ + 1) % kTheoryPageCount);
}

void TheoryPage::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) ShowPage(delta < 0 ? page_ + 1 : page_ - 1);
}

}  // namespace veldorin
