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

using C = WindowControls;

struct Sample {
    const char* name;
    ControlOf control;
    QPalette::ColorRole role;
};

QWidget* CentralNucleus(const C& c) { return c.spinDiagram->nucleusBox(kCentralSlot); }
QWidget* FirstNucleus(const C& c) { return c.spinDiagram->nucleusBox(0); }

// The text and background of a weight box, a nucleus box, both lists and the graph panel.
const Sample kSamples[] = {
    {"weight text", Of<&C::weightBoxes, 0>, QPalette::Text},
    {"weight base", Of<&C::weightBoxes, 0>, QPalette::Base},
    {"normalised weight text", Of<&C::normalisedWeightBoxes, 0>, QPalette::Text},
    {"central nucleus text", CentralNucleus, QPalette::Text},
    {"neighbour nucleus base", FirstNucleus, QPalette::Base},
    {"help list text", Of<&C::helpList>, QPalette::Text},
    {"help list base", Of<&C::helpList>, QPalette::Base},
    {"results text", Of<&C::resultsList>, QPalette::Text},
    {"results base", Of<&C::resultsList>, QPalette::Base},
    {"graph", Of<&C::graphCanvas>, QPalette::Window},
    {"readout label", Of<&C::verticalReadout>, QPalette::WindowText},
    {"rates button", Of<&C::tableModeButton>, QPalette::ButtonText},
    {"graph option list", Of<&C::plotList>, QPalette::ButtonText},
};

QStringList SampleColours(const MainWindow& window) {
    QStringList colours;
    for (const Sample& sample : kSamples) {
        const QWidget* control = sample.control(window.controls());
        const QPalette::ColorGroup group =
            control->isEnabled() ? QPalette::Active : QPalette::Disabled;
        colours.append(QStringLiteral("%1 %2")
                           .arg(sample.name)
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
