// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/rgb.h"
#include "graph/figure_layout.h"

namespace veldorin {

// Values along a protein's sequence, such as S² or R1 at each field, as a figure: one
// mark per value at its residue, with its error bar, and a legend of the series.

struct SequencePoint {
    std::string residue;  // "42", "42ALA" or with a chain, "B:42"
    double value = 0.0;
    double error = 0.0;  // not above 0, or NaN: no bar
    Rgb colour;
};

// A series of points by its colour, for the legend and the readout.
struct SequenceSeries {
    Rgb colour;
    std::string name;
};

struct SequencePlot {
    std::string yTitle;
    bool logarithmic = false;
    std::vector<SequencePoint> points;  // in sequence order; a residue's points one after another
    std::vector<SequenceSeries> legend;
};

struct SequenceLayout {
    FigureLayout figure;
    std::vector<std::size_t> pointOfMark;  // each of figure.points' index in the plot's points
};

// The plot at a size in millimetres. x is the residue's number (the leading digits after
// a chain's "B:"); where a name has none, or two residues share one, x counts the
// residues from 1 and the ticks are labelled with their names. y spans the values and
// their bars; a logarithmic axis leaves out the values not above 0.
SequenceLayout LayOutSequencePlot(const SequencePlot& plot, double width, double height,
                                  const TextWidth& textWidth);

// The point whose mark is nearest to a place (mm), when it is within `reach` (mm).
std::optional<std::size_t> NearestPoint(const SequenceLayout& layout, FigurePoint at,
                                        double reach = 3.0);

// "residue 42, 600 MHz: S² 0.85 ± 0.02": the series named when the legend has its colour,
// the value to the error's second significant digit.
std::string PointReadout(const SequencePlot& plot, std::size_t index);

}  // namespace veldorin
