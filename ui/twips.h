// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QRect>

class QScreen;

namespace veldorin {

// A place in the design: left, top, width and height in twips from the parent's top-left.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window is designed in twips (1/1440 inch). This is the one place where twips
// become pixels: px = twips * logical DPI / 1440, so at 96 DPI one pixel is 15 twips.
class TwipScale {
public:
    explicit constexpr TwipScale(double dotsPerInch) : dotsPerInch_(dotsPerInch) {}

    // The logical DPI of the screen; 96 when there is none.
    static TwipScale OfScreen(const QScreen* screen);
    static TwipScale OfPrimaryScreen();

    double dotsPerInch() const { return dotsPerInch_; }

    // Exact pixels, for drawing and for positions kept in fractional twips.
    double ToPixelsExact(double twips) const { return twips * dotsPerInch_ / 1440.0; }
    // Whole pixels, rounded to the nearest, for widget geometry.
    int ToPixels(double twips) const;
    double ToTwips(double pixels) const { return pixels * 1440.0 / dotsPerInch_; }

    QPoint Point(double x, double y) const { return {ToPixels(x), ToPixels(y)}; }
    // Each of the four values is converted on its own, as the design gives them.
    QRect Rect(double left, double top, double width, double height) const {
        return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
    }
    QRect Rect(const TwipRect& place) const {
        return Rect(place.left, place.top, place.width, place.height);
    }

private:
    double dotsPerInch_;
};

}  // namespace veldorin
