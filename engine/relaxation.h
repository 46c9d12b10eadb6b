// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

#include "engine/model.h"
#include "engine/numeric_text.h"

namespace veldorin {

// The six Lorentzians of the spectral density: normalised weights ci, times ti in ps.
struct Lorentzians {
    std::array<float, kLorentzianCount> weights{};
    std::array<float, kLorentzianCount> times{};
};

// J(w) in ps for w in 1e6 rad/s; Lorentzians with weight not above 0 are left out.
float SpectralDensity(const Lorentzians& lorentzians, float w);

// Angular frequencies at which J is needed for one pair, slots 1..6 at indices 0..5:
// 0, wI, wS - wI, wS, wI + wS, 2 wI. With signed frequencies and constants of opposite
// signs, indices 2 and 4 hold -wS - wI and wI - wS instead: the signed zero- and
// double-quantum frequencies times the sign of the central nucleus's, which leaves J
// (an even function) unchanged and keeps wI positive.
using JFrequencies = std::array<float, 6>;
// J at the six JFrequencies, same indices.
using JValues = std::array<float, 6>;

// abs(wH g / 2.6751e-11): the Larmor angular frequency of a nucleus at 1H frequency wH.
float LarmorOmega(float wH, float gamma);
// Whether the pair's frequencies are those of opposite signs: only with signed
// frequencies, and only when the two constants have opposite signs.
bool OppositeSigns(PairFrequencySigns signs, float centralGamma, float neighbourGamma);
JFrequencies PairFrequencies(float wI, float wS, bool oppositeSigns = false);

float DipolarR1Term(SlotKind kind, const JValues& j, float dipolar);
float DipolarR2Term(SlotKind kind, const JValues& j, float dipolar);
// Zero for any kind but Unlike; the table always asks with Unlike.
float CrossRelaxationTerm(SlotKind kind, const JValues& j, float dipolar);
// (wI)^2 (2/15) CsaFactor, without the spectral density.
double CsaTerm(float wH, float centralGamma, float csaFactor);

// One neighbour slot as the run evaluates it.
struct NeighbourValues {
    SlotKind kind = SlotKind::Empty;
    float gamma = 0.0f;    // the neighbour's gyromagnetic constant
    float dipolar = 0.0f;  // the pair's dipolar constant D
    PendingSingle abundance;
};

// The numbers a run computes with, read and derived from the model's texts once before
// the table; array mode changes the Lorentzians, csaFactor or rexScale of its copy per
// pass.
struct WorkingValues {
    Lorentzians lorentzians;
    float csaFactor = 0.0f;
    float rexScale = 0.0f;
    float centralGamma = 0.0f;
    PendingSingle centralAbundance;
    std::array<NeighbourValues, kNeighbourCount> neighbours;
    PairFrequencySigns pairFrequencies = PairFrequencySigns::Magnitudes;
};

struct FieldResult {
    float r1 = 0.0f;
    float r2 = 0.0f;
    float noeSum = 0.0f;
    float crr = 0.0f;
};

// The NOE value shown: NoeSum / (R1 + 1e-9), in double precision.
double NoeValue(const FieldResult& result);

// Told after each present neighbour's contributions at one field have been added;
// the graph draws its marker lines here.
class NeighbourObserver {
public:
    // The results table announces each field, 1..6, before evaluating it.
    virtual void FieldStarted(int /*field*/) {}
    virtual void NeighbourEvaluated(int slot, SlotKind kind, const JFrequencies& frequencies) = 0;

protected:
    ~NeighbourObserver() = default;
};

// One neighbour's addends at one field: its terms weighted by the abundances of the
// pair, before the sums are divided by the central abundance.
struct NeighbourContribution {
    bool present = false;  // an occupied slot
    float r1 = 0.0f;
    float r2 = 0.0f;
    float noeSum = 0.0f;
    float crr = 0.0f;
};

// Everything RelaxationAtField adds up at one field, part by part.
struct FieldContributions {
    std::array<NeighbourContribution, kNeighbourCount> neighbours;
    double centralShare = 1.0;  // the central abundance every neighbour sum is divided by
    double csaR1 = 0.0;
    double csaR2 = 0.0;
    double rexR2 = 0.0;
};

// The parts of R1, R2, the NOE sum and the cross-relaxation rate at 1H angular frequency
// wH. Throws CalculationError on a run-time error, as RelaxationAtField does.
FieldContributions ContributionsAtField(const WorkingValues& values, float wH,
                                        NeighbourObserver* observer = nullptr);

// The parts added up: the neighbours in slot order as singles, each sum divided by the
// central share, then the CSA and exchange parts. Throws CalculationError on a
// run-time error.
FieldResult TotalOf(const FieldContributions& parts);

// A neighbour's share of a rate in 1/s: its addend divided by the central share.
float NeighbourShare(float addend, const FieldContributions& parts);

// R1, R2, the NOE sum and the cross-relaxation rate at 1H angular frequency wH:
// TotalOf(ContributionsAtField(values, wH, observer)).
FieldResult RelaxationAtField(const WorkingValues& values, float wH,
                              NeighbourObserver* observer = nullptr);

}  // namespace veldorin
