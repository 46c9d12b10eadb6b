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

// The motions as the Motion window turns them into Lorentzians, L(τ) = τ / (1 + (ωτ)²), with
// the weights normalised as on the first page; the fit's χ² and criteria as the fit computes
// them, p free parameters and n rows.
std::vector<TheoryEquation> TheoryFitEquations() {
    return {
        {QStringLiteral("L(τ) = "),
         {QStringLiteral(u"\\frac{τ}{1 + (ωτ)^2},\\quad "
                         u"\\frac{1}{τ'} = \\frac{1}{τ_m} + \\frac{1}{τ}")}},
        {QStringLiteral(u"J_{\\rm{MF}}(ω) = "),
         {QStringLiteral(u"S^2 L(τ_m) + (1 − S^2) L(τ_e')")}},
        {QStringLiteral(u"J_{\\rm{EMF}}(ω) = "),
         {QStringLiteral(u"S_f^2 S_s^2 L(τ_m) + S_f^2 (1 − S_s^2) L(τ_s') + (1 − S_f^2) L(τ_f')")}},
        {QStringLiteral(u"J_{\\rm{axial}}(ω) = "),
         {QStringLiteral(u"\\sum{k=1}{3} A_k [S^2 L(τ_k) + (1 − S^2) L(τ_{k,e}')],\\quad "
                         u"\\frac{1}{τ_{k,e}'} = \\frac{1}{τ_k} + \\frac{1}{τ_e}"),
          QStringLiteral(u"A_1 = \\frac{(3\\,\\rm{cos}^2θ − 1)^2}{4},\\; "
                         u"A_2 = 3\\,\\rm{sin}^2θ\\,\\rm{cos}^2θ,\\; "
                         u"A_3 = \\frac{3}{4} \\rm{sin}^4θ,"),
          QStringLiteral(u"\\frac{1}{τ_1} = 6D_⊥,\\; \\frac{1}{τ_2} = 5D_⊥ + D_∥,\\; "
                         u"\\frac{1}{τ_3} = 2D_⊥ + 4D_∥")}},
        {QStringLiteral(u"χ^2 = "),
         {QStringLiteral(u"\\sum{k=1}{n} \\left(\\frac{y_k − y_k^{\\rm{model}}}{σ_k}\\right)^2,"
                         u"\\quad \\rm{NOE}_{\\rm{measured}} = "
                         u"\\frac{I_{\\rm{sat}}}{I_{\\rm{ref}}} = 1 + \\rm{NOE}")}},
        {QStringLiteral(u"\\rm{AIC} = "),
         {QStringLiteral(u"χ^2 + 2p,\\quad \\rm{AICc} = \\rm{AIC} + \\frac{2p(p + 1)}{n − p − 1},"
                         u"\\quad \\rm{BIC} = χ^2 + p\\,\\rm{ln}\\,n")}},
        {QStringLiteral(u"\\rm{signed}: "),
         {QStringLiteral(u"J(|γ_I − γ_S| B_0),\\; J(|γ_I + γ_S| B_0);\\quad "
                         u"\\rm{magnitudes}: J(|ω_I| − |ω_S|),\\; J(|ω_I| + |ω_S|)")}},
    };
}

QString TheoryFitLegend() {
    return QStringLiteral(
        u"The Motion window (Ctrl+M) describes the motion in physical terms and writes the six "
        u"Lorentzians for you: rigid tumbling with \\it{τ_m}; model-free (Lipari and Szabo) "
        u"with \\it{S^2}, \\it{τ_m}, \\it{τ_e}; extended model-free (Clore and co-workers) "
        u"with \\it{S_f^2}, \\it{S_s^2}, \\it{τ_m}, \\it{τ_s}, \\it{τ_f} (0 for the fast "
        u"limit); axially symmetric diffusion (Woessner) with \\it{D_∥}, \\it{D_⊥}, the bond's "
        u"angle \\it{θ} to the symmetry axis and an optional internal motion \\it{S^2}, "
        u"\\it{τ_e}. The Measurements window (Ctrl+E) holds measured rates, each with its field, "
        u"value \\it{y_k} and uncertainty \\it{σ_k}; a measured NOE is the intensity ratio "
        u"1\u00A0+\u00A0η as spectrometers report it, while the table's NOE column is η. The "
        u"fit is weighted least squares: it makes \\it{χ^2} smallest over the free parameters, "
        u"keeping 0 ≤ \\it{S^2} ≤ 1, times ≥ 0 and \\it{R_{\\rm{ex}}} ≥ 0 at every step, and gives "
        u"each parameter its "
        u"standard error from the covariance. The tab \"Models m0–m9\" fits every model of the "
        u"model-free family and ranks them by AIC, AICc or BIC (\\it{p} free parameters, "
        u"\\it{n} rows), best first; a model that did not converge, has no degrees of freedom, "
        u"an internal time of twice \\it{τ_m} or more or a local \\it{τ_m} of 50\u00A0ns or "
        u"more is eliminated. Monte Carlo errors: synthetic data sets (500 by default) made from "
        u"the fitted values plus Gaussian noise of each row's uncertainty are fitted again, and "
        u"each parameter's standard deviation and 2.5 and 97.5 percentiles are its errors. Pair "
        u"frequencies: the table forms a pair's zero- and double-quantum frequencies from "
        u"magnitudes; for a pair whose gyromagnetic ratios have opposite signs ({}^{15}N with "
        u"{}^1H) the transitions lie the other way round, which \"signed\" takes, as --fit "
        u"does. A model without measurements keeps magnitudes; the first measurement switches it "
        u"to signed.");
}

QString TheoryTurnHint(int page, int pages) {
    return QStringLiteral(u"Page %1 of %2: a click or the wheel turns it").arg(page).arg(pages);
}

}  // namespace veldorin
