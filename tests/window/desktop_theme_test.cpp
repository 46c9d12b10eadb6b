// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QPalette>

#include "spins/spin_diagram.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

using DesktopTheme = WindowTest;

// A dark desktop theme: light text on dark backgrounds in every role.
QPalette DarkPalette() {
    QPalette dark;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colourRole = static_cast<QPalette::ColorRole>(role);
        const bool text = colourRole == QPalette::WindowText || colourRole == QPalette::Text ||
                          colourRole == QPalette::ButtonText ||
                          colourRole == QPalette::ToolTipText ||
                          colourRole == QPalette::HighlightedText;
        dark.setColor(colourRole, text ? QColor(240, 240, 240) : QColor(45, 45, 45));
    }
    return dark;
}

struct Sample {
    const char* control;
    QPalette::ColorRole role;
};

// The text and background of a weight box, a nucleus box, both lists and the graph panel.
constexpr Sample kSamples[] = {
    {"Text7(0)", QPalette::Text},
    {"Text7(0)", QPalette::Base},
    {"Text5(0)", QPalette::Text},
    {"Text1(8)", QPalette::Text},
    {"Text1(0)", QPalette::Base},
    {"List1", QPalette::Text},
    {"List1", QPalette::Base},
    {"List3", QPalette::Text},
    {"List3", QPalette::Base},
    {"Picture1", QPalette::Window},
    {"Label3(12)", QPalette::WindowText},
    {"Command1", QPalette::ButtonText},
    {"Combo4", QPalette::ButtonText},
};

QStringList SampleColours(const MainWindow& window) {
    QStringList colours;
    for (const Sample& sample : kSamples) {
        const auto* control = window.findChild<QWidget*>(sample.control);
        EXPECT_NE(control, nullptr) << sample.control;
        if (control == nullptr) continue;
        const QPalette::ColorGroup group =
            control->isEnabled() ? QPalette::Active : QPalette::Disabled;
        colours.append(QStringLiteral("%1 %2 %3")
                           .arg(sample.control)
                           .arg(sample.role)
                           .arg(control->palette().color(group, sample.role).name()));
    }
    return colours;
}

TEST_F(DesktopTheme, ADarkDesktopPaletteLeavesTheDesignColoursAsTheyAre) {
    const QStringList light = SampleColours(Started());
    window_.reset();

    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    const QStringList underDarkTheme = SampleColours(Started());
    window_.reset();
    QApplication::setPalette(desktop);

    EXPECT_EQ(underDarkTheme, light);
}

}  // namespace
}  // namespace veldorin::test
