// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The texts of the help list, the About list and the search that the hover handlers use
// to scroll the help list to a topic.

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <array>

namespace veldorin {

// Section titles of the help text, matched against whole lines, case-sensitively.
inline constexpr QLatin1StringView kHelpIntroduction{"Introduction"};
inline constexpr QLatin1StringView kHelpInstallation{"Installation and starting"};
inline constexpr QLatin1StringView kHelpSpinSystem{"Spin system"};
inline constexpr QLatin1StringView kHelpLorentzians{
    "Spectral density function (Lorentzian) parameters"};
inline constexpr QLatin1StringView kHelpArray{"Array"};
inline constexpr QLatin1StringView kHelpPlot{"Plot"};
inline constexpr QLatin1StringView kHelpTable{"Table"};
inline constexpr QLatin1StringView kHelpMotion{"Motion window"};
inline constexpr QLatin1StringView kHelpMeasurements{"Measurements window"};
inline constexpr QLatin1StringView kHelpPairFrequencies{"Pair frequencies"};
inline constexpr QLatin1StringView kHelpFit{"The fit"};
inline constexpr QLatin1StringView kHelpModels{"Which model? (m0 to m9)"};
inline constexpr QLatin1StringView kHelpMonteCarlo{"How sure? (Monte Carlo errors)"};

// The titles in the order the sections appear.
inline constexpr std::array<QLatin1StringView, 13> kHelpTitles{
    kHelpIntroduction, kHelpInstallation, kHelpSpinSystem, kHelpLorentzians,  kHelpArray,
    kHelpPlot,         kHelpTable,        kHelpMotion,     kHelpMeasurements, kHelpPairFrequencies,
    kHelpFit,          kHelpModels,       kHelpMonteCarlo};

// The line the word-mark hover brings to the top of the help list: inside the Introduction.
inline constexpr int kHelpWordMarkLine = 4;

// The help text, one list item per line: each section is its title, an empty line and its
// text; an empty line separates a section from the next.
QStringList HelpLines();

// Index of the first line equal to title, searching from the top; -1 when no line matches
// or the title is empty.
int HelpSectionIndex(const QStringList& lines, const QString& title);

// The About list: what the program is, its revision note and where comments go.
QStringList AboutLines();

}  // namespace veldorin
