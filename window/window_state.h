// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <vector>

#include "engine/measurement.h"
#include "engine/model.h"
#include "engine/motion.h"
#include "fit/motion_fit.h"

namespace veldorin {

// What the window holds besides the texts of its controls. The captions of the two
// toggle buttons show it and are never read back.
struct WindowState {
    TableMode tableMode = TableMode::Rates;  // rates or times in the results table
    bool arrayOn = false;                    // one curve per value of the array parameter
    bool graphEnlarged = false;              // the graph panel covers the window's top
    // How a pair's zero- and double-quantum frequencies are formed, for the whole model.
    PairFrequencySigns pairFrequencies = PairFrequencySigns::Magnitudes;
    std::optional<MotionTexts> motion;           // the motion the Lorentzians came from
    std::vector<MeasurementTexts> measurements;  // every row as typed, good or bad
    MotionFitChoice fitChoice;  // what the fit of the motion to the measurements frees
    bool liveFit = false;       // the fit runs before every recalculation
};

// The captions that show the state: each button names what a press changes to.
inline const char* TableModeCaption(TableMode mode) {
    return mode == TableMode::Rates ? "R-->T" : "T-->R";
}
inline const char* ArrayCaption(bool arrayOn) { return arrayOn ? "off" : "on"; }
// What the buttons tell a screen reader beside their captions: the state itself.
inline const char* TableModeDescription(TableMode mode) {
    return mode == TableMode::Rates ? "The table shows rates; a press shows times"
                                    : "The table shows times; a press shows rates";
}
inline const char* ArrayDescription(bool arrayOn) {
    return arrayOn ? "Array mode is on; a press turns it off"
                   : "Array mode is off; a press turns it on";
}

}  // namespace veldorin
