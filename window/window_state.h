// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/model.h"

namespace veldorin {

// What the window holds of its own view, beside the document it shows.
struct WindowState {
    bool graphEnlarged = false;  // the graph panel covers the window's top
};

// The captions of the two toggle buttons show the document's table mode and array mode,
// and are never read back: each names what a press changes to.
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
