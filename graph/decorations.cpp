// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/decorations.h"

#include <cmath>

#include "engine/constants.h"
#include "graph/plot_mode.h"

namespace veldorin {

namespace {

constexpr Rgb kBlack{0, 0, 0};

// Marker colour index: 0 has no field and is black, 1..6 are the fields' colours.
Rgb MarkerColour(int index) {
    return index == 0 ? kBlack : kFieldTable[static_cast<std::size_t>(index - 1)].colour;
}

}  // namespace

void Decorations::NeighbourEvaluated(int, SlotKind kind, const JFrequencies& frequencies) {
    switch (plotMode_) {
        case PlotMode::F:
        case PlotMode::J:
            FrequencyMarkers(field_, kind, frequencies);
            ReferenceLines();
            break;
        case PlotMode::Rates:
        case PlotMode::Noe: FieldMarkers(); break;
        case PlotMode::Ct:
            TimeMarkers();
            ReferenceLines();
            break;
    }
}

void Decorations::FrequencyMarkers(int field, SlotKind kind, const JFrequencies& frequencies) {
    // wI, wS - wI, wS, wI + wS, and for a like pair also 2 wI; never J(0)'s slot.
    const int end = kind == SlotKind::Like ? 6 : 5;
    // Each field has its own band, a sixth of the height, 100 MHz at the top.
    const double height = scale_.height();
    const float top = GraphScale::Coordinate((field - 1) * height / 6.0);
    const float bottom = GraphScale::Coordinate(field * height / 6.0);
    for (int index = 1; index < end; ++index) {
        const float w = std::abs(frequencies[static_cast<std::size_t>(index)]);
        if (!(w > 0.0f)) continue;
        Marker(MarkerColour(field), scale_.XOfFrequency(w), top, bottom);
    }
}

void Decorations::FieldMarkers() {
    for (int field = 1; field <= kFieldCount; ++field) {
        const double megahertz = kFieldTable[static_cast<std::size_t>(field - 1)].frequencyMHz;
        Marker(MarkerColour(field), scale_.XOfFrequency(2.0 * megahertz * kPi), 0.0f,
               scale_.height());
        ReferenceLines();
    }
}

void Decorations::TimeMarkers() {
    // The first time's marker is black, the others take the colours of fields 1..5.
    for (int lorentzian = 0; lorentzian < kLorentzianCount; ++lorentzian) {
        Marker(MarkerColour(lorentzian),
               scale_.XOfMarkerTime(times_[static_cast<std::size_t>(lorentzian)]), 0.0f,
               scale_.height());
    }
}

void Decorations::ReferenceLines() {
    switch (plotMode_) {
        case PlotMode::J:
            ReferenceLine(scale_.YOfJ(100.0));
            ReferenceLine(scale_.YOfJ(1000.0));
            break;
        case PlotMode::F: ReferenceLine(scale_.YOfF(0.11)); break;
        case PlotMode::Rates:
            ReferenceLine(scale_.YOfLogRate(std::log(1.0)));
            ReferenceLine(scale_.YOfLogRate(std::log(10.0)));
            break;
        case PlotMode::Noe:
            for (const double noe : {0.0, 2.0, -2.0, -4.0}) ReferenceLine(scale_.YOfNoe(noe));
            break;
        case PlotMode::Ct: ReferenceLine(scale_.YOfLogC(std::log(0.1))); break;
    }
}

void Decorations::Marker(Rgb colour, float x, float yTop, float yBottom) {
    out_.emplace_back(draw::SetColour{colour});
    out_.emplace_back(draw::Line{x, yTop, x, yBottom});
}

void Decorations::ReferenceLine(double y) {
    const float at = GraphScale::Coordinate(y);
    out_.emplace_back(draw::LineInColour{0.0f, at, scale_.width(), at, kBlack});
}

}  // namespace veldorin
