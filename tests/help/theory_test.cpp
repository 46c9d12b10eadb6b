// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "help/formula.h"
#include "help/theory_content.h"
#include "help/theory_page.h"
#include "tests/support/move_counting_widget.h"

namespace veldorin {
namespace {

QFont MathFont() {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(40);
    return font;
}

struct MarkupCase {
    const char* name;
    const char16_t* markup;
    bool wellFormed;
};

void PrintTo(const MarkupCase& c, std::ostream* out) { *out << c.name; }

class FormulaMarkup : public testing::TestWithParam<MarkupCase> {};

TEST_P(FormulaMarkup, IsCheckedForItsStructure) {
    const Formula formula(QString::fromUtf16(GetParam().markup));
    EXPECT_EQ(formula.wellFormed(), GetParam().wellFormed);
    // Whatever the markup, measuring and drawing must not fail.
    QImage image(200, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    for (const FormulaMark& mark : formula.LayOut(QPointF(5, 60), MathFont())) {
        DrawFormulaMark(painter, mark);
    }
    EXPECT_GE(formula.Measure(MathFont()).width, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Formula, FormulaMarkup,
    testing::Values(MarkupCase{"PlainText", u"J(ω) = 1", true},
                    MarkupCase{"Scripts", u"r_{IS}^6 + x_1^2", true},
                    MarkupCase{"NestedFraction", u"\\frac{\\frac{a}{b}}{c}", true},
                    MarkupCase{"SumWithEmptyLimit", u"\\sum{S}{} p_S", true},
                    MarkupCase{"Fence", u"\\left( \\frac{ν}{2} \\right)^2", true},
                    MarkupCase{"Spaces", u"a\\,b\\;c\\quad d", true},
                    MarkupCase{"ScriptOnEmptyGroup", u"{}^1H", true},
                    MarkupCase{"MissingClosingBrace", u"\\frac{a}{b", false},
                    MarkupCase{"StrayClosingBrace", u"a}b", false},
                    MarkupCase{"UnknownCommand", u"\\int{a}", false},
                    MarkupCase{"ScriptWithoutBase", u"^2", false},
                    MarkupCase{"ScriptAtTheEnd", u"x_", false},
                    MarkupCase{"FenceWithoutRight", u"\\left( a", false},
                    MarkupCase{"StrayRight", u"a \\right)", false},
                    MarkupCase{"FenceWithBadDelimiter", u"\\left{ a \\right}", false},
                    MarkupCase{"BracketFence", u"\\left[ a \\right]", true},
                    MarkupCase{"RightWithoutDelimiter", u"\\left( a \\right", false},
                    MarkupCase{"FractionWithoutDenominator", u"\\frac{a}", false},
                    MarkupCase{"BackslashAtTheEnd", u"a\\", false},
                    MarkupCase{"UnbracedRmGroup", u"\\rm x", false}),
    [](const testing::TestParamInfo<MarkupCase>& info) { return std::string(info.param.name); });

TEST(Formula, FractionStacksAboveAndBelowTheBaseline) {
    const FormulaExtent numerator = Formula(QStringLiteral("D")).Measure(MathFont());
    const FormulaExtent fraction = Formula(QStringLiteral("\\frac{D}{10}")).Measure(MathFont());
    EXPECT_GT(fraction.ascent, numerator.ascent);
    EXPECT_GT(fraction.descent, 0.5 * numerator.ascent);
    EXPECT_GE(fraction.width, numerator.width);
}

TEST(Formula, ScriptsAreSmallerAndMoveOffTheBaseline) {
    const FormulaExtent plain = Formula(QStringLiteral("rIS")).Measure(MathFont());
    const FormulaExtent base = Formula(QStringLiteral("r")).Measure(MathFont());
    const FormulaExtent sub = Formula(QStringLiteral("r_{IS}")).Measure(MathFont());
    const FormulaExtent sup = Formula(QStringLiteral("r^{IS}")).Measure(MathFont());
    EXPECT_LT(sub.width, plain.width);
    EXPECT_GT(sub.descent, base.descent);
    EXPECT_GT(sup.ascent, base.ascent);
}

TEST(Formula, FenceAndSumEncloseWhatTheyHold) {
    const FormulaExtent content = Formula(QStringLiteral("\\frac{a}{b}")).Measure(MathFont());
    const FormulaExtent fenced =
        Formula(QStringLiteral("\\left[\\frac{a}{b}\\right]")).Measure(MathFont());
    EXPECT_GE(fenced.ascent, content.ascent);
    EXPECT_GE(fenced.descent, content.descent);
    EXPECT_GT(fenced.width, content.width);
    const FormulaExtent sign = Formula(QStringLiteral("\\sum{}{}")).Measure(MathFont());
    const FormulaExtent limits = Formula(QStringLiteral("\\sum{k=1}{N}")).Measure(MathFont());
    EXPECT_GT(limits.ascent, sign.ascent);
    EXPECT_GT(limits.descent, sign.descent);
}

TEST(WrapMarkup, BreaksAtSpacesOutsideBracesWithinTheWidth) {
    const QFont font = MathFont();
    const QString markup = QStringLiteral(
        "\\it{r_{II} and r_{IS}} are the distances to interacting spins and \\rm{NOE x} ends");
    const qreal width =
        Formula(QStringLiteral("are the distances to"), FormulaMode::Text).Measure(font).width;
    const QStringList lines = WrapMarkup(markup, FormulaMode::Text, font, width);
    ASSERT_GT(lines.size(), 1);
    for (const QString& line : lines) {
        const Formula formula(line, FormulaMode::Text);
        EXPECT_TRUE(formula.wellFormed()) << qPrintable(line);
        if (line.contains(u' ') && !line.startsWith(u"\\it")) {
            EXPECT_LE(formula.Measure(font).width, width) << qPrintable(line);
        }
    }
    EXPECT_EQ(lines.join(u' '), markup);
    EXPECT_EQ(WrapMarkup(markup, FormulaMode::Text, font, 1e6), QStringList{markup});
    EXPECT_TRUE(WrapMarkup(QString(), FormulaMode::Text, font, width).isEmpty());
}

TEST(TheoryContent, AllMarkupIsWellFormed) {
    for (const TheoryEquation& equation : TheoryEquations()) {
        EXPECT_TRUE(Formula(equation.lhs).wellFormed()) << qPrintable(equation.lhs);
        for (const QString& line : equation.rhs) {
            EXPECT_TRUE(Formula(line).wellFormed()) << qPrintable(line);
        }
    }
    for (const TheoryEquation& equation : TheoryFitEquations()) {
        EXPECT_TRUE(Formula(equation.lhs).wellFormed()) << qPrintable(equation.lhs);
        for (const QString& line : equation.rhs) {
            EXPECT_TRUE(Formula(line).wellFormed()) << qPrintable(line);
        }
    }
    EXPECT_TRUE(Formula(TheoryLegend(), FormulaMode::Text).wellFormed());
    EXPECT_TRUE(Formula(TheoryFitLegend(), FormulaMode::Text).wellFormed());
    EXPECT_TRUE(Formula(TheoryTurnHint(1, 2), FormulaMode::Text).wellFormed());
    EXPECT_TRUE(Formula(DistanceTableHeading(), FormulaMode::Text).wellFormed());
    for (const QString& atom : DistanceTableAtoms()) {
        EXPECT_TRUE(Formula(atom, FormulaMode::Text).wellFormed()) << qPrintable(atom);
    }
}

TEST(TheoryContent, LegendNamesTheSymbolsOfTheLikeAndUnlikeSums) {
    const QString legend = TheoryLegend();
    for (const char16_t* symbol : {u"N(I)", u"r_{II}", u"r_{IS}", u"p_S", u"p_k", u"Δσ"}) {
        EXPECT_TRUE(legend.contains(QString::fromUtf16(symbol)));
    }
    EXPECT_TRUE(DistanceTableHeading().startsWith(u"The Table of typical distances between atoms"));
}

TEST(TypicalDistances, GridIsSymmetricButForTheCarbonylRow) {
    const auto distances = TypicalDistances();
    constexpr int kCalpha = 0;
    constexpr int kCarbonyl = 5;
    for (int i = 0; i < kDistanceAtomCount; ++i) {
        EXPECT_TRUE(distances[i][i].isEmpty());
        for (int j = 0; j < kDistanceAtomCount; ++j) {
            const bool exception =
                (i == kCalpha && j == kCarbonyl) || (i == kCarbonyl && j == kCalpha);
            if (!exception) {
                EXPECT_EQ(distances[i][j], distances[j][i]) << i << ", " << j;
            }
        }
    }
    EXPECT_EQ(distances[kCalpha][kCarbonyl], QLatin1StringView("1.51"));
    EXPECT_EQ(distances[kCarbonyl][kCalpha], QLatin1StringView("1.53"));
    EXPECT_EQ(distances[1][6], QLatin1StringView("1.02"));
    EXPECT_EQ(distances[0][1], QLatin1StringView("2.105"));
    int blanks = 0;
    for (const auto& row : distances) {
        blanks += static_cast<int>(
            std::count_if(row.begin(), row.end(), [](QLatin1StringView v) { return v.isEmpty(); }));
    }
    EXPECT_EQ(blanks, 7 + 12);
}

// Bounding box of the pixels clearly darker than the page.
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QImage Render(QSize size) {
    TheoryPage page;
    page.resize(size);
    return page.grab().toImage();
}

TEST(TheoryPage, DrawsDarkTextInsideTheOpenPage) {
    const QImage image = Render(QSize(513, 501));
    ASSERT_EQ(image.size(), QSize(513, 501));
    EXPECT_EQ(image.pixelColor(0, 0), kTheoryBackground);
    EXPECT_EQ(image.pixelColor(512, 500), kTheoryBackground);
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isNull());
    // Nothing is clipped at the page's edges.
    EXPECT_TRUE(image.rect().adjusted(3, 3, -3, -3).contains(ink));
    // Title at the top, the table reaching well down: the page is used, not a corner of it.
    EXPECT_LT(ink.top(), 30);
    EXPECT_GT(ink.bottom(), 450);
}

TEST(TheoryPage, ScalesWithTheWidgetSize) {
    const QRect small = InkBox(Render(QSize(513, 501)));
    const QRect large = InkBox(Render(QSize(1026, 1002)));
    EXPECT_NEAR(large.width(), 2.0 * small.width(), 0.03 * large.width());
    EXPECT_NEAR(large.height(), 2.0 * small.height(), 0.03 * large.height());
    // A wider widget keeps the proportions and only adds background at the side.
    const QRect wide = InkBox(Render(QSize(1539, 501)));
    EXPECT_NEAR(wide.width(), small.width(), 0.03 * small.width());
}

// A page keeps its layout between paints: resized from size to size, and then given
// another application font, it must draw what a new page at that size and font draws.
TEST(TheoryPage, KeptLayoutDrawsLikeANewPage) {
    TheoryPage page;
    for (const QSize size :
         {QSize(513, 501), QSize(300, 293), QSize(1026, 1002), QSize(1539, 501), QSize(513, 501)}) {
        page.resize(size);
        EXPECT_TRUE(page.grab().toImage() == Render(size))
            << size.width() << " x " << size.height();
    }
    const QImage upright = page.grab().toImage();
    const QFont applicationFont = QApplication::font();
    QFont italic = applicationFont;
    italic.setItalic(true);
    QApplication::setFont(italic);
    // Without a running event loop the new font does not reach existing widgets; the page
    // gets it as it would in the running program.
    page.setFont(italic);
    const QImage slanted = page.grab().toImage();
    const QImage fresh = Render(page.size());
    QApplication::setFont(applicationFont);
    EXPECT_FALSE(slanted == upright);
    EXPECT_TRUE(slanted == fresh);
}

// A click turns to the other page; the wheel goes forward and back and stops at the ends.
TEST(TheoryPage, ClickAndWheelTurnThePages) {
    TheoryPage page;
    page.resize(513, 501);
    const QImage first = page.grab().toImage();
    QTest::mouseClick(&page, Qt::LeftButton);
    EXPECT_EQ(page.page(), 1);
    EXPECT_FALSE(page.grab().toImage() == first);
    const auto turn = [&page](int delta) {
        QWheelEvent wheel(QPointF(200, 200), page.mapToGlobal(QPointF(200, 200)), {}, {0, delta},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&page, &wheel);
        return page.page();
    };
    EXPECT_EQ(turn(-120), 1);
    EXPECT_EQ(turn(120), 0);
    EXPECT_EQ(turn(120), 0);
    EXPECT_EQ(turn(-120), 1);
    QTest::mouseClick(&page, Qt::LeftButton);
    EXPECT_EQ(page.page(), 0);
    EXPECT_TRUE(page.grab().toImage() == first);
}

using Background = test::MoveCountingWidget;

TEST(TheoryPage, PointerOverTheOpenPageDoesNotCountAsOverTheBackground) {
    Background window;
    window.resize(600, 560);
    TheoryPage page(&window);
    // Even when the window tracks the pointer over every child.
    page.setMouseTracking(true);
    page.setGeometry(8, 0, 513, 501);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(580, 540));
    const int beforePage = window.moves;
    EXPECT_GT(beforePage, 0);
    QTest::mouseMove(&page, QPoint(200, 200));
    QTest::mouseMove(&page, QPoint(300, 250));
    EXPECT_EQ(window.moves, beforePage);
}

}  // namespace
}  // namespace veldorin
