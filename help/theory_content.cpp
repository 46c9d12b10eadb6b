// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/theory_content.h"

namespace veldorin {

// The relaxation of spin I by dipolar coupling to unlike spins S and to like spins I, by its
// chemical shift anisotropy and by exchange, written as the calculation evaluates it: J
// carries no factor 2/5, each interacting spin counts with its abundance p, and the NOE is
// the enhancement without the added 1.
std::vector<TheoryEquation> TheoryEquations() {
    return {
        {QStringLiteral("J(ω) = "),
         {QStringLiteral(u"\\sum{i=1}{6} \\frac{c_i τ_i}{1 + (ωτ_i)^2},\\quad "
                         u"Σ_i c_i = 1;\\quad "
                         u"D_{IS} = \\frac{(γ_I γ_S ħ)^2}{r_{IS}^6},\\quad "
                         u"D_{II} = \\frac{(γ_I^2 ħ)^2}{r_{II}^6}")}},
        {QStringLiteral("R_1 = "),
         {QStringLiteral(u"\\sum{S}{} p_S \\frac{D_{IS}}{10} "
                         u"[J(ω_I − ω_S) + 3J(ω_I) + 6J(ω_I + ω_S)]"),
          QStringLiteral(u"+ \\sum{k=1}{N(I)} p_k \\frac{3D_{II}}{10} [J(ω_I) + 4J(2ω_I)]"
                         u" + \\frac{2}{15} ω_I^2 Δσ^2 J(ω_I)")}},
        {QStringLiteral("R_2 = "),
         {QStringLiteral(u"\\sum{S}{} p_S \\frac{D_{IS}}{20} "
                         u"[4J(0) + J(ω_I − ω_S) + 3J(ω_I) + 6J(ω_S) + 6J(ω_I + ω_S)]"),
          QStringLiteral(u"+ \\sum{k=1}{N(I)} p_k \\frac{3D_{II}}{20} "
                         u"[3J(0) + 5J(ω_I) + 2J(2ω_I)]"),
          QStringLiteral(u"+ \\frac{1}{45} ω_I^2 Δσ^2 [4J(0) + 3J(ω_I)] + R_{\\rm{ex}}\\,"
                         u"\\left(\\frac{ν_H}{800\\,\\rm{MHz}}\\right)^2")}},
        {QStringLiteral("σ_{IS} = "),
         {QStringLiteral(u"\\frac{D_{IS}}{10} [6J(ω_I + ω_S) − J(ω_I − ω_S)],\\quad "
                         u"σ_{II} = \\frac{D_{II}}{10} [6J(2ω_I) − J(0)]")}},
        {QStringLiteral("\\rm{CRR} = "),
         {QStringLiteral(u"\\sum{S}{} p_S σ_{IS} + \\sum{k=1}{N(I)} p_k σ_{II},\\quad "
                         u"\\rm{NOE} = \\frac{1}{R_1}\\left[\\sum{S}{} p_S "
                         u"\\frac{γ_S}{γ_I} σ_{IS} + \\sum{k=1}{N(I)} p_k σ_{II}\\right]")}},
    };
}

QString TheoryLegend() {
    return QStringLiteral(
        u"\\it{N(I)} is the number of interacting \"like\" spins, \\it{r_{II}} and \\it{r_{IS}} "
        u"are "
        u"the distances to interacting \"like\" and \"unlike\" spins, \\it{p_S} and \\it{p_k} "
        u"their abundances, \\it{γ_I} and \\it{γ_S} the gyromagnetic ratios, \\it{ω_I} and "
        u"\\it{ω_S} the Larmor frequencies, \\it{Δσ} the chemical shift anisotropy, \\it{ν_H} "
        u"the {}^1H frequency, \\it{R_{\\rm{ex}}} the exchange contribution to \\it{R_2} at "
        u"800\u00A0MHz, \\it{c_i} and \\it{τ_i} the normalised weights and correlation times of "
        u"the "
        u"Lorentzians.");
}

QString DistanceTableHeading() {
    return QStringLiteral(u"The Table of typical distances between atoms (in 10^{−10} m)");
}

std::array<QString, kDistanceAtomCount> DistanceTableAtoms() {
    return {QStringLiteral(u"C_α"),    QStringLiteral(u"NH"),     QStringLiteral(u"H_α"),
            QStringLiteral(u"H_{β1}"), QStringLiteral(u"H_{β2}"), QStringLiteral(u"C'"),
            QStringLiteral(u"N")};
}

std::array<std::array<QLatin1StringView, kDistanceAtomCount>, kDistanceAtomCount>
TypicalDistances() {
    using L = QLatin1StringView;
    const L none;
    // Rows and columns: Ca, NH, Ha, Hb1, Hb2, C', N.
    return {{
        {none, L("2.105"), L("1.09"), L("2.15"), L("2.11"), L("1.51"), L("1.45")},
        {L("2.105"), none, L("2.92"), L("3.90"), L("3.50"), L("2.64"), L("1.02")},
        {L("1.09"), L("2.92"), none, L("2.50"), L("2.31"), L("2.12"), none},
        {L("2.15"), L("3.90"), L("2.50"), none, none, none, none},
        {L("2.11"), L("3.50"), L("2.31"), none, none, none, none},
        {L("1.53"), L("2.64"), L("2.12"), none, none, none, L("1.32")},
        {L("1.45"), L("1.02"), none, none, none, L("1.32"), none},
    }};
}

}  // namespace veldorin
