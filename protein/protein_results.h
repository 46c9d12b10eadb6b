// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "graph/decay_plot.h"
#include "graph/sequence_plot.h"
#include "protein/protein_project.h"

namespace veldorin {

// The results table: a row per residue, in the data's order.
enum class ResultColumn {
    Residue,
    Model,
    S2,
    Te,
    Rex,
    S2f,
    S2s,
    Tf,
    Ts,
    Tm,
    Csa,
    Chi2,
    Flags,
    Eliminated,
    J0Agrees
};
inline constexpr int kResultColumnCount = 15;

struct ResultCell {
    std::string text;
    double order = 0.0;  // how the column sorts; NaN sorts last
};
using ResultRow = std::vector<ResultCell>;

// The headings; Rex names the field it is shown at.
std::vector<std::string> ResultHeadings(const ProteinSettings& settings);
// Before a fit the rows hold the residue's name and its number of measurements. The last
// column says whether the mapped J(0) agrees across fields (exchange raises it).
std::vector<ResultRow> ResultRows(const ProteinProject& project);

// "0.852 ± 0.012": the error to two significant digits and the value to the same place;
// the value alone in six significant digits without an error.
std::string ValueWithError(double value, double error);

// What can be plotted along the sequence.
// The bond's angle to the unique axis only for a project with a structure.
enum class SequenceQuantity { S2, Rex, Te, S2fS2s, R1, R2, Noe, J0, JN, JH, BondAngle };
inline constexpr int kSequenceQuantityCount = 11;
// "S²", "Rex", "τe", "S²f and S²s", "R1", "R2", "NOE", "J(0)", "J(ωN)", "J(0.87 ωH)",
// "Bond angle to the unique axis".
std::string NameOf(SequenceQuantity quantity);

// The plot of a quantity: fitted values coloured by each residue's model, the measured
// rates and the mapped densities coloured by their field, S²f and S²s each in its colour.
SequencePlot PlotOf(const ProteinProject& project, SequenceQuantity quantity);

// The tensor of a fit with one: the model and how it was chosen, tm, the principal values
// with their axes and errors, each candidate's chi2 and score. Lines of plain text.
std::string TensorSummary(const DiffusionResult& diffusion, Criterion criterion);

// The intensity decays of a residue, by its index in the data: a curve per fitted series,
// "R1, 600 MHz", each series in the same colour for every residue. No curves for a residue
// without decays.
DecayPlot DecayPlotOf(const ProteinProject& project, std::size_t residue);

}  // namespace veldorin
