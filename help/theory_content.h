// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the Theory page shows: the equations the calculation evaluates, their legend and the
// table of typical distances; on its second page the motions the Lorentzians are made from,
// the fit of measured rates and its errors. Equations and legends are formula markup
// (formula_parser.h).

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace veldorin {

inline constexpr QLatin1StringView kTheoryTitle{
    "Equations used for calculations relaxation parameters and spectral density functions:"};

// One equation: its left side and the lines of its right side; the later lines are set
// under the first, after the equals sign.
struct TheoryEquation {
    QString lhs;
    QStringList rhs;
};

// Math-mode markup, from the spectral density down to the NOE.
std::vector<TheoryEquation> TheoryEquations();

// Text-mode markup of the legend, one paragraph; the page breaks it into lines.
QString TheoryLegend();

// Text-mode markup of the heading over the distance table.
QString DistanceTableHeading();

inline constexpr int kDistanceAtomCount = 7;

// Row and column labels of the distance table, text-mode markup.
std::array<QString, kDistanceAtomCount> DistanceTableAtoms();

// Typical distances in Angstrom as they are printed: row r, column c; empty where the
// table gives no value and on the diagonal, which shows a dash.
std::array<std::array<QLatin1StringView, kDistanceAtomCount>, kDistanceAtomCount>
TypicalDistances();

inline constexpr QLatin1StringView kTheoryFitTitle{
    "Motions, measured rates and the fit (Motion and Measurements windows):"};

// Math-mode markup: the motions' spectral densities, chi-square, the criteria that rank
// the models and the pair frequencies.
std::vector<TheoryEquation> TheoryFitEquations();

// Text-mode markup of the second page's legend, one paragraph.
QString TheoryFitLegend();

// Text-mode markup of the line that says how to turn to the other page.
QString TheoryTurnHint(int page, int pages);

}  // namespace veldorin
