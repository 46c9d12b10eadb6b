#include "graph/graph_scale.h"

#include <cmath>

#include "engine/failure.h"

namespace veldorin {

namespace {
double Ln1000() { return std::log(1000.0); }
}  // namespace

float GraphScale::XOfFrequency(double w) const {
    return Coordinate(LogOf(w / 9.0) / Ln1000() * width_);
}

float GraphScale::XOfMarkerTime(double t) const { return Coordinate(t * width_ / 51.0 / 200.0); }

double GraphScale::YOfJ(double j) const { return (1.0 - LogOf(j / 10.0) / Ln1000()) * height_; }

double GraphScale::YOfF(double f) const {
    return -(LogOf(std::abs(f)) / std::log(10.0)) / 2.0 * height_;
}

double GraphScale::YOfLogRate(double lnRate) const {
    return (1.0 - lnRate / 4.38) * height_ * 0.7;
}

double GraphScale::YOfNoe(double noe) const { return (1.0 - (noe + 5.5) / 8.0) * height_; }

double GraphScale::YOfLogC(double lnC) const {
    return lnC / (std::log(1.0) - 3.0) * height_;
}

float GraphScale::CurveY(double y) const {
    // Clamped before rounding, so that a value far off the panel lands on its edge
    // instead of overflowing the single-precision coordinate.
    if (y < 0.0) return 0.0f;
    if (y > height_) return height_;
    return Coordinate(y);
}

float GraphScale::Coordinate(double value) { return StoreSingle(value); }

std::array<GridPoint, kFrequencyPoints> FrequencyGrid(float width) {
    const float multiplier = StoreSingle(std::pow(1000.0, 1.0 / kFrequencyPoints));
    const float step = StoreSingle(static_cast<double>(width) / kFrequencyPoints);
    std::array<GridPoint, kFrequencyPoints> grid{};
    float w = 9.0f;
    for (int s = 1; s <= kFrequencyPoints; ++s) {
        w = StoreSingle(static_cast<double>(w) * multiplier);
        grid[s - 1] = {w, StoreSingle(static_cast<double>(step) * s)};
    }
    return grid;
}

std::array<GridPoint, kTimePoints> TimeGrid(float width) {
    const float step = StoreSingle(static_cast<double>(width) / kFrequencyPoints);
    std::array<GridPoint, kTimePoints> grid{};
    float t = 0.0f;
    for (int s = 0; s < kTimePoints; ++s) {
        grid[s] = {t, StoreSingle(static_cast<double>(step) * s)};
        t += 200.0f;
    }
    return grid;
}

}  // namespace veldorin
