// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/graph_scale.h"

#include <cmath>

#include "engine/checked_arithmetic.h"
#include "engine/failure.h"

namespace veldorin {

namespace {
double Ln1000() { return std::log(1000.0); }
}  // namespace

float GraphScale::XOfFrequency(double w) const {
    return Coordinate(LogOf(w / 9.0) / Ln1000() * width_);
}

double GraphScale::FrequencyAtX(double x) const { return std::pow(1000.0, x / width_) * 9.0; }

float GraphScale::XOfMarkerTime(double t) const { return Coordinate(t * width_ / 51.0 / 200.0); }

float GraphScale::TimeAtX(double x) const { return StoreSingle(StoreSingle(x * 10200.0) / width_); }

double GraphScale::YOfJ(double j) const { return (1.0 - LogOf(j / 10.0) / Ln1000()) * height_; }

double GraphScale::JAtY(double y) const {
    return std::exp(Ln1000() * (height_ - y) / height_) * 10.0;
}

double GraphScale::YOfF(double f) const {
    return -(LogOf(std::abs(f)) / std::log(10.0)) / 2.0 * height_;
}

double GraphScale::FAtY(double y) const { return std::exp(-(y / height_) * 2.0 * std::log(10.0)); }

double GraphScale::RateAtY(double y) const {
    return std::exp(-std::log(80.0) * (y / 0.7 - height_) / height_);
}

double GraphScale::NoeAtY(double y) const { return -5.5 - (y - height_) * 8.0 / height_; }

double GraphScale::YOfLogC(double lnC) const { return lnC / (std::log(1.0) - 3.0) * height_; }

double GraphScale::CAtY(double y) const { return std::exp((y / height_) * (std::log(1.0) - 3.0)); }

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
