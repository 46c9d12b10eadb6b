// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

using Layout = WindowTest;

struct ConversionRow {
    double twips;
    int pixels;
};

TEST(TwipScale, converts_at_fifteen_twips_per_pixel_at_96_dpi) {
    const TwipScale scale(96.0);
    for (const auto& row :
         {ConversionRow{15, 1}, ConversionRow{7965, 531}, ConversionRow{7785, 519},
          ConversionRow{610, 41}, ConversionRow{7, 0}, ConversionRow{8, 1}, ConversionRow{0, 0}}) {
        EXPECT_EQ(scale.ToPixels(row.twips), row.pixels) << row.twips;
    }
    EXPECT_DOUBLE_EQ(scale.ToTwips(257), 3855.0);
    EXPECT_EQ(TwipScale(144.0).ToPixels(7965), 797);
}

struct PlaceRow {
    const char* control;
    QRect pixels;  // in the client area
};

// Design places converted at 96 DPI, each value rounded on its own.
const PlaceRow kPlaces[] = {
    {"Frame1(1)", {0, 0, 233, 208}},   {"Combo1(2)", {152, 176, 65, 21}},
    {"Text7(0)", {41, 240, 48, 19}},   {"Text5(3)", {88, 292, 48, 19}},
    {"Text8(5)", {135, 324, 48, 19}},  {"Command3", {176, 368, 49, 23}},
    {"List3", {264, 56, 241, 95}},     {"Command1", {448, 152, 50, 20}},
    {"Combo4", {248, 168, 134, 21}},   {"Picture1", {248, 184, 257, 201}},
    {"Label3(1)", {256, 344, 65, 17}}, {"Label3(14)", {416, 392, 86, 17}},
    {"List1", {16, 432, 499, 69}},     {"Frame1(0)", {8, 0, 393, 25}},
    {"Text3", {104, 32, 217, 20}},     {"Label3(9)", {16, 242, 25, 105}},
};

QRect InClientArea(const QWidget* widget, const QWidget* clientArea) {
    return {widget->mapTo(clientArea, QPoint(0, 0)), widget->size()};
}

TEST_F(Layout, controls_stand_at_their_design_places_at_96_dpi) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    Started();
    const QWidget* clientArea = window_->centralWidget();
    EXPECT_EQ(clientArea->size(), QSize(531, 519));
    for (const auto& row : kPlaces) {
        EXPECT_EQ(InClientArea(Control(row.control), clientArea), row.pixels) << row.control;
    }
    const SpinDiagram& spins = *window_->controls().spinDiagram;
    EXPECT_EQ(InClientArea(spins.nucleusBox(8), clientArea), QRect(96, 72, 33, 21));
    EXPECT_EQ(InClientArea(spins.distanceLabel(1), clientArea), QRect(120, 40, 25, 11));
    EXPECT_EQ(InClientArea(spins.abundanceLabel(6), clientArea), QRect(8, 99, 25, 11));
}

struct FontRow {
    const char* control;
    double points;
    bool italic;
};

TEST_F(Layout, fonts_are_bold_at_the_design_sizes) {
    Started();
    for (const auto& row : {FontRow{"Label3(13)", 13.5, true}, FontRow{"Label3(8)", 12, true},
                            FontRow{"Label3(12)", 9.75, true}, FontRow{"Label3(17)", 9.75, false},
                            FontRow{"Text7(0)", 8.25, false}, FontRow{"Command1", 8.25, false}}) {
        const QFont font = Control(row.control)->font();
        EXPECT_TRUE(font.bold()) << row.control;
        EXPECT_EQ(font.pointSizeF(), row.points) << row.control;
        EXPECT_EQ(font.italic(), row.italic) << row.control;
    }
    EXPECT_EQ(window_->controls().spinDiagram->nucleusBox(8)->font().pointSizeF(), 9.75);
}

TEST_F(Layout, spin_diagram_colours_and_tooltips) {
    Started();
    const SpinDiagram& spins = *window_->controls().spinDiagram;
    EXPECT_EQ(spins.nucleusBox(8)->palette().color(QPalette::Base), QColor(255, 255, 128));
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        EXPECT_EQ(spins.nucleusBox(slot)->palette().color(QPalette::Base), QColor(255, 192, 255));
        EXPECT_EQ(spins.abundanceLabel(slot)->palette().color(QPalette::WindowText), Qt::red);
        EXPECT_EQ(spins.distanceLabel(slot)->palette().color(QPalette::WindowText), Qt::black);
        EXPECT_EQ(spins.distanceLabel(slot)->toolTip(), "distance, A");
        EXPECT_EQ(spins.abundanceLabel(slot)->toolTip(), "Abundance");
        const bool leftHalf = slot == 0 || slot >= 5;
        EXPECT_EQ(spins.abundanceLabel(slot)->alignment().testFlag(Qt::AlignRight), leftHalf)
            << slot;
    }
}

TEST_F(Layout, tab_goes_through_the_graph_list_buttons_and_lorentzian_rows_pairwise) {
    Started();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Control("Combo4")->setFocus();
    QStringList visited;
    for (int press = 0; press < 14; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    // Combo2 is hidden at start and so is skipped.
    EXPECT_EQ(visited, QStringList({"Command1", "Command3", "Text7(0)", "Text8(0)", "Text7(1)",
                                    "Text8(1)", "Text7(2)", "Text8(2)", "Text7(3)", "Text8(3)",
                                    "Text7(4)", "Text8(4)", "Text7(5)", "Text8(5)"}));
    for (int press = 0; press < 20; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName();
        EXPECT_FALSE(name.startsWith("Text1(") || name.startsWith("Text4(")) << name.toStdString();
    }
}

}  // namespace
}  // namespace veldorin::test
