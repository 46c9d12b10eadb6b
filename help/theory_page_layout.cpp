// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/theory_page_layout.h"

#include <QFontMetricsF>
#include <algorithm>

#include "help/formula.h"
#include "help/theory_content.h"

namespace veldorin {

namespace {

// All sizes below are twips of the open page.
constexpr qreal kMargin = 150;
constexpr qreal kTitleGap = 110;
constexpr qreal kLineGap = 20;
constexpr qreal kEquationGap = 70;
constexpr qreal kSectionGap = 110;
constexpr qreal kCellPadding = 60;
constexpr qreal kRowHeightFactor = 1.15;

QFont PageFont(QFont::StyleHint hint, const QStringList& families, int pixelSize,
               bool bold = false) {
    QFont font;
    font.setStyleHint(hint);
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Laid out in twips and scaled down: unhinted outlines keep the proportions measured.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont SerifFont(int pixelSize) {
    return PageFont(QFont::Serif,
                    {QStringLiteral("Nimbus Roman"), QStringLiteral("Times New Roman"),
                     QStringLiteral("DejaVu Serif")},
                    pixelSize);
}

QFont SansFont(int pixelSize, bool bold = false) {
    return PageFont(
        QFont::SansSerif,
        {QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
        pixelSize, bold);
}

struct PageFonts {
    QFont title = SansFont(165, true);
    QFont math = SerifFont(185);
    QFont legend = SerifFont(150);
    QFont table = SansFont(140);
    QFont tableHeading = SansFont(140, true);
    QFont hint = SansFont(120);
};

// Lays a page out from the top, keeping the marks and the extent they use.
class PageLayouter {
public:
    // The equations of the calculation, their legend and the table of typical distances.
    TheoryPageLayout LayOutCalculation() {
        SetTitle(kTheoryTitle);
        y_ += kTitleGap;
        SetEquations(TheoryEquations());
        y_ += kSectionGap;
        SetLegend(TheoryLegend());
        y_ += kSectionGap;
        SetTable();
        // Beside the table's heading, where the line has room.
        SetTurnHint(1, tableHeadingBaseline_);
        return Finish();
    }

    // The motions, the fit of measured rates and its errors.
    TheoryPageLayout LayOutFit() {
        SetTitle(kTheoryFitTitle);
        y_ += kTitleGap;
        SetEquations(TheoryFitEquations());
        y_ += kSectionGap;
        SetLegend(TheoryFitLegend());
        y_ += kSectionGap;
        SetTurnHint(2, y_ + QFontMetricsF(fonts_.hint).ascent());
        y_ += QFontMetricsF(fonts_.hint).height();
        return Finish();
    }

private:
    // Right-aligned on the page's margin.
    void SetTurnHint(int page, qreal baseline) {
        const Formula hint(TheoryTurnHint(page, kTheoryPageCount), FormulaMode::Text);
        const qreal right = kTheoryPageTwips.width() - kMargin;
        Add(hint.LayOut(QPointF(right - hint.Measure(fonts_.hint).width, baseline), fonts_.hint));
        Extend(right);
    }

    TheoryPageLayout Finish() {
        const QSizeF needed(right_ + kMargin, y_ + kMargin);
        // Fonts of another width than the preferred ones must not push the content off the
        // page.
        const qreal shrink = std::min({1.0, kTheoryPageTwips.width() / needed.width(),
                                       kTheoryPageTwips.height() / needed.height()});
        return {std::move(marks_), shrink};
    }

    void SetTitle(QLatin1StringView title) {
        const QFontMetricsF metrics(fonts_.title);
        y_ += metrics.ascent();
        marks_.emplace_back(FormulaMark{TextRun{QPointF(kMargin, y_), fonts_.title, title}});
        Extend(kMargin + metrics.horizontalAdvance(title));
        y_ += metrics.descent();
    }

    // Left sides are right-aligned on one column, so that the equals signs line up.
    void SetEquations(const std::vector<TheoryEquation>& equations) {
        qreal column = 0;
        for (const TheoryEquation& equation : equations) {
            column = std::max(column, Formula(equation.lhs).Measure(fonts_.math).width);
        }
        bool first = true;
        for (const TheoryEquation& equation : equations) {
            if (!first) y_ += kEquationGap;
            first = false;
            const Formula lhs(equation.lhs);
            const FormulaExtent lhsExtent = lhs.Measure(fonts_.math);
            for (qsizetype i = 0; i < equation.rhs.size(); ++i) {
                const Formula rhs(equation.rhs[i]);
                const FormulaExtent extent = rhs.Measure(fonts_.math);
                const qreal ascent =
                    i == 0 ? std::max(extent.ascent, lhsExtent.ascent) : extent.ascent;
                const qreal descent =
                    i == 0 ? std::max(extent.descent, lhsExtent.descent) : extent.descent;
                if (i > 0) y_ += kLineGap;
                y_ += ascent;
                const qreal x = kMargin + column;
                if (i == 0) Add(lhs.LayOut(QPointF(x - lhsExtent.width, y_), fonts_.math));
                Add(rhs.LayOut(QPointF(x, y_), fonts_.math));
                Extend(x + extent.width);
                equationsRight_ = std::max(equationsRight_, x + extent.width);
                y_ += descent;
            }
        }
    }

    void SetLegend(const QString& legend) {
        const QFontMetricsF metrics(fonts_.legend);
        const qreal width = kTheoryPageTwips.width() - 2 * kMargin;
        bool first = true;
        for (const QString& line : WrapMarkup(legend, FormulaMode::Text, fonts_.legend, width)) {
            const Formula text(line, FormulaMode::Text);
            y_ += first ? metrics.ascent() : metrics.lineSpacing();
            first = false;
            Add(text.LayOut(QPointF(kMargin, y_), fonts_.legend));
            Extend(kMargin + text.Measure(fonts_.legend).width);
        }
        y_ += metrics.descent();
    }

    void SetTable() {
        const Formula heading(DistanceTableHeading(), FormulaMode::Text);
        const QFontMetricsF metrics(fonts_.tableHeading);
        y_ += metrics.ascent();
        tableHeadingBaseline_ = y_;
        Add(heading.LayOut(QPointF(kMargin, y_), fonts_.tableHeading));
        Extend(kMargin + heading.Measure(fonts_.tableHeading).width);
        y_ += metrics.descent() + kLineGap * 2;
        SetGrid();
    }

    void SetGrid() {
        const auto atoms = DistanceTableAtoms();
        const auto distances = TypicalDistances();
        const QFontMetricsF metrics(fonts_.table);
        std::vector<Formula> labels;
        qreal cellWidth = 0;
        for (const QString& atom : atoms) {
            labels.emplace_back(atom, FormulaMode::Text);
            cellWidth = std::max(cellWidth, labels.back().Measure(fonts_.tableHeading).width);
        }
        for (const auto& row : distances) {
            for (QLatin1StringView value : row) {
                cellWidth = std::max(cellWidth, metrics.horizontalAdvance(value));
            }
        }
        // As wide as the equations above, if the cells fit.
        cellWidth = std::max(cellWidth + 2 * kCellPadding,
                             (equationsRight_ - kMargin) / (kDistanceAtomCount + 1));
        const qreal rowHeight = metrics.height() * kRowHeightFactor;
        const int cellsAcross = kDistanceAtomCount + 1;
        const QRectF grid(kMargin, y_, cellWidth * cellsAcross, rowHeight * cellsAcross);
        marks_.emplace_back(GridMark(grid, cellWidth, rowHeight));
        for (int i = 0; i < kDistanceAtomCount; ++i) {
            SetLabel(labels[i], CellRect(grid, cellWidth, rowHeight, 0, i + 1));
            SetLabel(labels[i], CellRect(grid, cellWidth, rowHeight, i + 1, 0));
            for (int j = 0; j < kDistanceAtomCount; ++j) {
                const QString value = i == j ? QStringLiteral(u"–") : QString(distances[i][j]);
                marks_.emplace_back(CellText{CellRect(grid, cellWidth, rowHeight, i + 1, j + 1),
                                             fonts_.table, value});
            }
        }
        Extend(grid.right());
        y_ = grid.bottom();
    }

    static QRectF CellRect(const QRectF& grid, qreal cellWidth, qreal rowHeight, int row,
                           int column) {
        return {grid.left() + column * cellWidth, grid.top() + row * rowHeight, cellWidth,
                rowHeight};
    }

    static TableGrid GridMark(const QRectF& grid, qreal cellWidth, qreal rowHeight) {
        TableGrid mark{QRectF(grid.left(), grid.top(), grid.width(), rowHeight),
                       QRectF(grid.left(), grid.top(), cellWidth, grid.height()),
                       kHeadingShade,
                       {},
                       kGridLineWidth};
        for (int i = 0; i <= kDistanceAtomCount + 1; ++i) {
            const qreal x = grid.left() + i * cellWidth;
            const qreal y = grid.top() + i * rowHeight;
            mark.lines.emplace_back(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
            mark.lines.emplace_back(QPointF(grid.left(), y), QPointF(grid.right(), y));
        }
        return mark;
    }

    // A row or column label, centred in its cell.
    void SetLabel(const Formula& label, const QRectF& box) {
        const FormulaExtent extent = label.Measure(fonts_.tableHeading);
        const QFontMetricsF metrics(fonts_.tableHeading);
        const qreal baseline = box.center().y() + (metrics.ascent() - metrics.descent()) / 2;
        Add(label.LayOut(QPointF(box.center().x() - extent.width / 2, baseline),
                         fonts_.tableHeading));
    }

    void Add(std::vector<FormulaMark> formula) {
        for (FormulaMark& mark : formula) marks_.emplace_back(std::move(mark));
    }

    void Extend(qreal x) { right_ = std::max(right_, x); }

    static constexpr QColor kHeadingShade{240, 200, 160};
    static constexpr qreal kGridLineWidth = 12;

    PageFonts fonts_;
    std::vector<PageMark> marks_;
    qreal y_ = kMargin;
    qreal right_ = 0;
    qreal equationsRight_ = 0;
    qreal tableHeadingBaseline_ = 0;
};

}  // namespace

std::vector<TheoryPageLayout> LayOutTheoryPages() {
    return {PageLayouter().LayOutCalculation(), PageLayouter().LayOutFit()};
}

}  // namespace veldorin
