// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <vector>

#include "engine/model.h"

namespace veldorin {

// One Lorentzian of a spectral density in double: weight and time in ps.
struct LorentzianTerm {
    double weight = 0.0;
    double timePs = 0.0;
};
using SpectralTerms = std::vector<LorentzianTerm>;

// J(w) in ps for w in 1e6 rad/s, in double; terms of weight not above 0 are left out,
// as the table leaves them out.
double SpectralDensityOf(const SpectralTerms& terms, double w);

// A spin system as a fit evaluates it: in double, by the formulas the table rounds to
// single, for R1, R2 and the NOE of the central nucleus at any field.
struct FitSpinSystem {
    struct Neighbour {
        double gamma = 0.0;     // the neighbour's gyromagnetic constant
        double distance = 0.0;  // Å
        double abundance = 1.0;
        SlotKind kind = SlotKind::Unlike;
    };
    double centralGamma = 0.0;
    std::vector<Neighbour> neighbours;
    double csaPpm = 0.0;
    double rexAt800 = 0.0;  // 1/s at 800 MHz, scaled with the square of the field
    PairFrequencySigns pairFrequencies = PairFrequencySigns::Signed;
};

struct RatesAtField {
    double r1 = 0.0;           // 1/s
    double r2 = 0.0;           // 1/s
    double enhancement = 0.0;  // the NOE as the table has it, eta; the measured ratio is 1 + eta
};

// A protein's backbone amide, as a fit of relaxation data takes it by default: 15N with
// its proton at 1.02 Å, a CSA of -172 ppm, signed pair frequencies, no exchange. The
// distance is held in single precision, as a model keeps it, so that a residue checked in
// the window gives the numbers of the batch fit.
FitSpinSystem BackboneAmide();

// The spin system of a model's texts (all but its Lorentzians); nothing when a text it
// needs does not read or the central nucleus has no constant.
std::optional<FitSpinSystem> FitSpinSystemOf(const ModelTexts& model);

// The dipolar constant d^2 = (mu0/4 pi)^2 hbar^2 gI^2 gS^2 / r^6 of a pair at r in Å, in
// 1/(s ps): a tenth of it scales R1's sum of this program's densities (in ps, without the
// 2/5 of the literature's), a quarter the literature's.
double DipolarConstant(double centralGamma, double gamma, double distance);

// (wI dsigma)^2 (2/15) of the central nucleus at the 1H frequency in MHz, in 1/(s ps): the
// factor of this program's J(wI) in R1; the literature's c^2 = (wI dsigma)^2 / 3 is 5/2 of it.
double CsaConstant(const FitSpinSystem& system, double protonMHz);

// The rates at the 1H frequency in MHz.
RatesAtField RatesOf(const FitSpinSystem& system, const SpectralTerms& terms, double protonMHz);

}  // namespace veldorin
