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

// The rates at the 1H frequency in MHz.
RatesAtField RatesOf(const FitSpinSystem& system, const SpectralTerms& terms, double protonMHz);

}  // namespace veldorin
