// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The formulas of the relaxation terms in double precision, before their rounding to
// single: one definition for the evaluation at one field and for the evaluation across
// many fields side by side, so both give the same bits. The J arguments are the
// spectral densities at the pair's frequencies: 0, wI, wS - wI, wS, wI + wS, 2 wI.

#include <cmath>

#include "engine/constants.h"

namespace veldorin::terms {

// abs(wH g / 2.6751e-11): the Larmor angular frequency of a nucleus at 1H frequency wH.
inline double LarmorOmega(double wH, double gamma) {
    return std::abs(wH * gamma / kProtonGammaReference);
}

// One Lorentzian's addend to J(w): t c / (u^2 + 1), u = t w 1e-6 already single, with t in
// ps and w in 1e6 rad/s.
inline double LorentzianScale(double timePs, double w) { return timePs * w * 1e-6; }
inline double LorentzianAddend(double weightedTimePs, double u) {
    return weightedTimePs / (u * u + 1.0);
}

// The sums of densities each dipolar term scales by D; the unlike R2 sum continues the
// unlike R1 sum, as the terms are written.
inline double LikeR1Density(double jI, double j2I) { return 3.0 * jI + 12.0 * j2I; }
inline double LikeR2Density(double j0, double jI, double j2I) {
    return 15.0 * jI + 9.0 * j0 + 6.0 * j2I;
}
inline double UnlikeR1Density(double jI, double jDiff, double jSum) {
    return 3.0 * jI + 6.0 * jSum + jDiff;
}
inline double UnlikeR2Density(double j0, double jI, double jDiff, double jS, double jSum) {
    return UnlikeR1Density(jI, jDiff, jSum) + 4.0 * j0 + 6.0 * jS;
}
inline double CrossDensity(double jDiff, double jSum) { return 6.0 * jSum - jDiff; }

// The terms before rounding: R1 and the cross-relaxation D/10, R2 D/20 of their sums.
inline double R1Term(double density, double d) { return density * d / 10.0; }
inline double R2Term(double density, double d) { return density * d / 20.0; }
inline double CrossTerm(double density, double d) { return density * d / 10.0; }

// (wI)^2 (2/15) csaFactor, without the spectral density.
inline double Csa(double wH, double centralGamma, double csaFactor) {
    const double omegaI = wH * centralGamma / kProtonGammaReference;
    return std::pow(omegaI, 2) * (2.0 / 15.0) * csaFactor;
}
// The CSA parts of R1 and R2 from the rounded CSA term.
inline double CsaR1(double jI, double csa) { return jI * csa; }
inline double CsaR2(double j0, double jI, double csa) { return (3.0 * jI + 4.0 * j0) * csa / 6.0; }
// The exchange part of R2.
inline double RexR2(double rexScale, double wH) { return rexScale * wH * wH; }

}  // namespace veldorin::terms
