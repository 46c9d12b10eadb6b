// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/help_text.h"

namespace veldorin {

namespace {

// Kept as plain literals so that a line reads here exactly as it shows in the list.
constexpr const char* kHelpText[] = {
    "Introduction",
    "",
    "This program calculates and shows, quickly and after every change you make,",
    "the relaxation parameters and the spectral density function of a nucleus of",
    "interest in a spin system that you build yourself. The molecular motions are",
    "described in the multi-Lorentzian approximation: the spectral density function",
    "is a weighted sum of up to six Lorentzians.",
    "",
    "The spin system may contain \"like\" and \"unlike\" spin-1/2 nuclei (1H, 13C and",
    "15N) with different abundances. \"Unlike\" spins are nuclei of another species or",
    "with another Larmor frequency; \"like\" spins are identical to each other and to",
    "the nucleus of interest, for example the three protons of a methyl group.",
    "One spectral density function describes the motions of all nuclei, and the",
    "relaxation rates are those of decoupled experiments with single-exponential",
    "decays.",
    "",
    "The equations used are shown on the Theory page (Menu/Theory). Move the mouse",
    "over any part of the window and this list shows the help on it; Menu/Help shows",
    "the whole text.",
    "",
    "Installation and starting",
    "",
    "THIS PROGRAM DOES NOT CREATE OR CHANGE ANY SYSTEM FILES.",
    "No installation is needed: the program runs from any directory.",
    "",
    "On its first start it creates the directory \"Lumen_Forge\" beside itself (or in",
    "your personal data directory when the program's directory cannot be written)",
    "and keeps its only settings file, \"VELDORIN.ini\", there. \"Lumen_Forge\" is also",
    "the working directory, where the program saves table.dat; you can choose",
    "another working directory in Menu/Options, and the choice is kept in",
    "\"VELDORIN.ini\" for the next start. To remove the program, delete it together",
    "with the directory \"Lumen_Forge\".",
    "",
    "The best way to learning of the program is \"click and see\" method. Move the mouse,",
    "click everywhere and look what will happen.",
    "",
    "Spin system",
    "",
    "In the center of the spin system scheme you will see nucleus of interest (yellow), which is",
    "surrounded by interacting nuclei. Click on spin box or to numbers nearby to change",
    "parameters. Atom-atom distances are shown in black, abundance in red. Selecting \"like\"",
    "in the nucleus menu will make the nuclei identical to the central one and it will be shown",
    "in yellow.",
    "",
    "Rex is a contribution (in 1/s) into R2 from the chemical exchange at 800 MHz.",
    "CSA is the chemical shift anisotropy coefficient.",
    "",
    "Spectral density function (Lorentzian) parameters",
    "",
    "The spectral density function is presented by sum of Lorentzians. You can create",
    "different spectral density function by changing ci and ti. The column ci/{ci} shows",
    "normalized ci coefficients which calculates automatically.",
    "",
    "Array",
    "",
    "You can see many curves in the graph window by clicking array \"on/off\" button. 10",
    "different curves will be displayed for various values of parameter in the box (ci, ti,",
    "Rex, or CSA). Initial arrayed values are equal to the values of these parameters",
    "selected above.",
    "",
    "Plot",
    "",
    "The combo-box on the top of the chart allows select between the graph options:",
    "the spectral density function J(w)",
    "the function of distribution of the correlation times F(w) =  2wJ(w)",
    "the correlation function C(t)",
    "the relaxation parameters R1(w), R2(w) and NOE(w).",
    "",
    "When you move the mouse pointer over the graph window in the left bottom corner",
    "you will see the coordinates of the pointer. For example, for R1(w) plot you will see",
    "the values of R1 in 1/s and frequency in MHz.",
    "",
    "Vertical color lines on the plot indicate:",
    "    for J(w) and F(w) the frequencies w(I), w(I)-w(S), w(I) and w(I)+w(S)) and w(S) for 6",
    "    different magnetic fields.",
    "    for R1(w), R2(w), and NOE(w) the frequencies of 1H resonances at various magnetic",
    "    fields.",
    "    for C(t) the values of ti",
    "",
    "Table",
    "",
    "The Table presents the values of {S}-I NOE, CRR (Cross-Relaxation Rate),  R1, and R2",
    "for 6 different magnetic fields. Alternating button \"R->T  T->R\" switches \"rate\" to",
    "\"time\". For convenience each row (frequency) has color marks, each color",
    "corresponds to the line color on the plot. The program saves values of Table as table.dat",
    "file in working directory.",
};

constexpr const char* kAboutText[] = {
    "VELDORIN: calculation of NMR relaxation parameters and spectral density functions.",
    "This revision adds the dipolar interactions of \"like\" spins.",
    "Comments, questions and error reports are welcome:",
    "please open an issue in the issue tracker of the VELDORIN project.",
};

template <std::size_t N>
QStringList ToList(const char* const (&lines)[N]) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(N));
    for (const char* line : lines) list.append(QString::fromLatin1(line));
    return list;
}

}  // namespace

QStringList HelpLines() { return ToList(kHelpText); }

QStringList AboutLines() { return ToList(kAboutText); }

int HelpSectionIndex(const QStringList& lines, const QString& title) {
    // An empty title would stop at the first empty line, which heads no section.
    if (title.isEmpty()) return -1;
    return static_cast<int>(lines.indexOf(title));
}

}  // namespace veldorin
