// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

#include "engine/checked_arithmetic.h"
#include "engine/failure.h"

namespace veldorin {

// The graph panel's size at its standard place, in twips. A run reads the panel's size
// afresh; the enlarged panel is larger.
inline constexpr int kGraphWidthTwips = 3855;
inline constexpr int kGraphHeightTwips = 3015;

// Value-to-coordinate mappings of the plot modes, in the panel's user scale: x from 0
// at the left to the width, y from 0 at the top to the height, each beside its inverse,
// which the pointer readout uses. The logarithmic frequency axis spans w = 9 to 9000
// (1e6 rad/s). Mappings that take a logarithm throw CalculationError for an argument
// that is not positive; TimeAtX throws it for a time beyond single precision.
class GraphScale {
public:
    GraphScale(float width, float height) : width_(width), height_(height) {}

    float width() const { return width_; }
    float height() const { return height_; }

    // ln(w/9)/ln(1000) W, as the markers compute it; not clamped.
    float XOfFrequency(double w) const;
    double FrequencyAtX(double x) const;  // 9 * 1000^(x/W)
    // t W/51/200: the time axis of the markers and the readout spans 10200 ps.
    float XOfMarkerTime(double t) const;
    float TimeAtX(double x) const;  // x 10200 / W, rounded to single at each step

    // Vertical positions, not clamped, and the values at them.
    double YOfJ(double j) const;  // J in ps: 10000 at the top, 10 at the bottom
    double JAtY(double y) const;
    double YOfF(double f) const;  // 2wJ(w): 1 at the top, 0.01 at the bottom
    double FAtY(double y) const;
    // ln R: R = 1 1/s lies at 0.7 H.
    double YOfLogRate(double lnRate) const { return (1.0 - lnRate / 4.38) * height_ * 0.7; }
    // R in 1/s. The drawing maps ln R over 4.38, the readout inverts it with ln 80
    // (4.382...): the difference is intended, so that the readout keeps its values
    // (just below 80 1/s at the top edge), and must stay.
    double RateAtY(double y) const;
    // 2.5 at the top, -5.5 at the bottom.
    double YOfNoe(double noe) const { return (1.0 - (noe + 5.5) / 8.0) * height_; }
    double NoeAtY(double y) const;
    double YOfLogC(double lnC) const;  // ln C: 1 at the top, e^-3 at the bottom
    double CAtY(double y) const;

    // A curve's y, clamped to [0, H], as the single-precision coordinate drawn. Clamped
    // before rounding, so that a value far off the panel lands on its edge instead of
    // overflowing the single-precision coordinate. (The curves' mappings are inline:
    // they run for every point of every pass.)
    float CurveY(double y) const {
        if (y < 0.0) return 0.0f;
        if (y > height_) return height_;
        return Coordinate(y);
    }
    // A coordinate that is drawn as computed (it may lie off the panel).
    static float Coordinate(double value) { return StoreSingle(value); }

private:
    float width_;
    float height_;
};

inline constexpr int kFrequencyPoints = 50;
inline constexpr int kTimePoints = 51;

// One sample of a curve: the horizontal value (w in 1e6 rad/s, or t in ps) and its x.
struct GridPoint {
    float value;
    float x;
};

// w = 9 m^s for s = 1..50 with m = 1000^(1/50), as a single-precision running
// product; x = (W/50) s. The first point lies at x = W/50, not at the left edge.
std::array<GridPoint, kFrequencyPoints> FrequencyGrid(float width);
// t = 0, 200, ..., 10000 ps at x = (W/50) s for s = 0..50.
std::array<GridPoint, kTimePoints> TimeGrid(float width);

}  // namespace veldorin
