#include "help/theory_page.h"

#include <QFontMetricsF>
#include <QPainter>
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
};

// Lays the page out from the top; with a painter it also draws. Returns the extent used,
// so that a first pass without painter can find out whether the content must shrink.
class PageSetter {
public:
    explicit PageSetter(QPainter* painter) : painter_(painter) {}

    QSizeF Set() {
        SetTitle();
        y_ += kTitleGap;
        SetEquations();
        y_ += kSectionGap;
        SetLegend();
        y_ += kSectionGap;
        SetTable();
        return {right_ + kMargin, y_ + kMargin};
    }

private:
    void SetTitle() {
        const QFontMetricsF metrics(fonts_.title);
        y_ += metrics.ascent();
        if (painter_) {
            painter_->setFont(fonts_.title);
            painter_->drawText(QPointF(kMargin, y_), kTheoryTitle);
        }
        Extend(kMargin + metrics.horizontalAdvance(kTheoryTitle));
        y_ += metrics.descent();
    }

    // Left sides are right-aligned on one column, so that the equals signs line up.
    void SetEquations() {
        const std::vector<TheoryEquation> equations = TheoryEquations();
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
                if (painter_) {
                    if (i == 0) {
                        DrawFormulaMarks(*painter_,
                                         lhs.LayOut(QPointF(x - lhsExtent.width, y_), fonts_.math));
                    }
                    DrawFormulaMarks(*painter_, rhs.LayOut(QPointF(x, y_), fonts_.math));
                }
                Extend(x + extent.width);
                equationsRight_ = std::max(equationsRight_, x + extent.width);
                y_ += descent;
            }
        }
    }

    void SetLegend() {
        const QFontMetricsF metrics(fonts_.legend);
        const qreal width = kTheoryPageTwips.width() - 2 * kMargin;
        bool first = true;
        for (const QString& line :
             WrapMarkup(TheoryLegend(), FormulaMode::Text, fonts_.legend, width)) {
            const Formula text(line, FormulaMode::Text);
            y_ += first ? metrics.ascent() : metrics.lineSpacing();
            first = false;
            if (painter_)
                DrawFormulaMarks(*painter_, text.LayOut(QPointF(kMargin, y_), fonts_.legend));
            Extend(kMargin + text.Measure(fonts_.legend).width);
        }
        y_ += metrics.descent();
    }

    void SetTable() {
        const Formula heading(DistanceTableHeading(), FormulaMode::Text);
        const QFontMetricsF metrics(fonts_.tableHeading);
        y_ += metrics.ascent();
        if (painter_)
            DrawFormulaMarks(*painter_, heading.LayOut(QPointF(kMargin, y_), fonts_.tableHeading));
        Extend(kMargin + heading.Measure(fonts_.tableHeading).width);
        y_ += metrics.descent() + kLineGap * 2;
        SetGrid();
    }

    void SetGrid() {
        const auto atoms = DistanceTableAtoms();
        const auto distances = TypicalDistances();
        const QFontMetricsF metrics(fonts_.table);
        std::vector<Formula> labels;
        qreal cell = 0;
        for (const QString& atom : atoms) {
            labels.emplace_back(atom, FormulaMode::Text);
            cell = std::max(cell, labels.back().Measure(fonts_.tableHeading).width);
        }
        for (const auto& row : distances) {
            for (QLatin1StringView value : row) {
                cell = std::max(cell, metrics.horizontalAdvance(value));
            }
        }
        // As wide as the equations above, if the cells fit.
        cell = std::max(cell + 2 * kCellPadding,
                        (equationsRight_ - kMargin) / (kDistanceAtomCount + 1));
        const qreal rowHeight = metrics.height() * kRowHeightFactor;
        const int lines = kDistanceAtomCount + 1;
        const QRectF grid(kMargin, y_, cell * lines, rowHeight * lines);
        if (painter_) {
            DrawGridLines(grid, cell, rowHeight);
            for (int i = 0; i < kDistanceAtomCount; ++i) {
                DrawLabel(labels[i], CellRect(grid, cell, rowHeight, 0, i + 1));
                DrawLabel(labels[i], CellRect(grid, cell, rowHeight, i + 1, 0));
                for (int j = 0; j < kDistanceAtomCount; ++j) {
                    const QString value = i == j ? QStringLiteral(u"–") : QString(distances[i][j]);
                    painter_->setFont(fonts_.table);
                    painter_->drawText(CellRect(grid, cell, rowHeight, i + 1, j + 1),
                                       Qt::AlignCenter, value);
                }
            }
        }
        Extend(grid.right());
        y_ = grid.bottom();
    }

    static QRectF CellRect(const QRectF& grid, qreal cell, qreal rowHeight, int row, int column) {
        return {grid.left() + column * cell, grid.top() + row * rowHeight, cell, rowHeight};
    }

    void DrawGridLines(const QRectF& grid, qreal cell, qreal rowHeight) {
        painter_->save();
        painter_->fillRect(QRectF(grid.left(), grid.top(), grid.width(), rowHeight), kHeadingShade);
        painter_->fillRect(QRectF(grid.left(), grid.top(), cell, grid.height()), kHeadingShade);
        QPen pen(painter_->pen().color());
        pen.setWidthF(12);
        painter_->setPen(pen);
        for (int i = 0; i <= kDistanceAtomCount + 1; ++i) {
            const qreal x = grid.left() + i * cell;
            const qreal y = grid.top() + i * rowHeight;
            painter_->drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
            painter_->drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
        }
        painter_->restore();
    }

    void DrawLabel(const Formula& label, const QRectF& box) {
        const FormulaExtent extent = label.Measure(fonts_.tableHeading);
        const QFontMetricsF metrics(fonts_.tableHeading);
        const qreal baseline = box.center().y() + (metrics.ascent() - metrics.descent()) / 2;
        DrawFormulaMarks(*painter_,
                         label.LayOut(QPointF(box.center().x() - extent.width / 2, baseline),
                                      fonts_.tableHeading));
    }

    void Extend(qreal x) { right_ = std::max(right_, x); }

    static constexpr QColor kHeadingShade{240, 200, 160};

    QPainter* painter_;
    PageFonts fonts_;
    qreal y_ = kMargin;
    qreal right_ = 0;
    qreal equationsRight_ = 0;
};

}  // namespace

void PaintTheoryPage(QPainter& painter, const QSizeF& size) {
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), size), kTheoryBackground);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);

    const qreal scale = std::min(size.width() / kTheoryPageTwips.width(),
                                 size.height() / kTheoryPageTwips.height());
    const QSizeF needed = PageSetter(nullptr).Set();
    // Fonts of another width than the preferred ones must not push the content off the page.
    const qreal shrink = std::min({1.0, kTheoryPageTwips.width() / needed.width(),
                                   kTheoryPageTwips.height() / needed.height()});
    painter.scale(scale * shrink, scale * shrink);
    PageSetter(&painter).Set();
    painter.restore();
}

TheoryPage::TheoryPage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The pointer over the open page is not over the window's background, whose movements
    // close every panel: keep them from reaching the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

void TheoryPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintTheoryPage(painter, size());
}

}  // namespace veldorin
