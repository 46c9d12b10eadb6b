// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace veldorin {

TwipScale TwipScale::OfScreen(const QScreen* screen) {
    return TwipScale(screen != nullptr ? screen->logicalDotsPerInch() : 96.0);
}

TwipScale TwipScale::OfPrimaryScreen() { return OfScreen(QGuiApplication::primaryScreen()); }

int TwipScale::ToPixels(double twips) const {
    return static_cast<int>(std::lround(ToPixelsExact(twips)));
}

}  // namespace veldorin
