// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/relaxation.h"

#include <cmath>

#include "engine/checked_arithmetic.h"
#include "engine/constants.h"
#include "engine/failure.h"
#include "engine/relaxation_terms.h"

namespace veldorin {

float SpectralDensity(const Lorentzians& lorentzians, float w) {
    float j = 0.0f;
    for (int i = 0; i < kLorentzianCount; ++i) {
        const double c = lorentzians.weights[i];
        if (!(c > 0.0)) continue;
        const double t = lorentzians.times[i];
        const double u = StoreSingle(terms::LorentzianScale(t, w));
        j = StoreSingle(terms::LorentzianAddend(t * c, u) + j);
    }
    return j;
}

float LarmorOmega(float wH, float gamma) { return StoreSingle(terms::LarmorOmega(wH, gamma)); }

bool OppositeSigns(PairFrequencySigns signs, float centralGamma, float neighbourGamma) {
    return signs == PairFrequencySigns::Signed &&
           static_cast<double>(centralGamma) * neighbourGamma < 0.0;
}

JFrequencies PairFrequencies(float wI, float wS, bool oppositeSigns) {
    if (oppositeSigns) {
        return {0.0f,
                wI,
                StoreSingle(-static_cast<double>(wS) - wI),
                wS,
                StoreSingle(static_cast<double>(wI) - wS),
                StoreSingle(2.0 * wI)};
    }
    return {0.0f,
            wI,
            StoreSingle(static_cast<double>(wS) - wI),
            wS,
            StoreSingle(static_cast<double>(wI) + wS),
            StoreSingle(2.0 * wI)};
}

namespace {
// Slots of JValues by their meaning.
double J0(const JValues& j) { return j[0]; }
double JI(const JValues& j) { return j[1]; }
double JDiff(const JValues& j) { return j[2]; }
double JS(const JValues& j) { return j[3]; }
double JSum(const JValues& j) { return j[4]; }
double J2I(const JValues& j) { return j[5]; }
}  // namespace

float DipolarR1Term(SlotKind kind, const JValues& j, float dipolar) {
    const double density = kind == SlotKind::Like
                               ? terms::LikeR1Density(JI(j), J2I(j))
                               : terms::UnlikeR1Density(JI(j), JDiff(j), JSum(j));
    return StoreSingle(terms::R1Term(density, dipolar));
}

float DipolarR2Term(SlotKind kind, const JValues& j, float dipolar) {
    const double density = kind == SlotKind::Like
                               ? terms::LikeR2Density(J0(j), JI(j), J2I(j))
                               : terms::UnlikeR2Density(J0(j), JI(j), JDiff(j), JS(j), JSum(j));
    return StoreSingle(terms::R2Term(density, dipolar));
}

float CrossRelaxationTerm(SlotKind kind, const JValues& j, float dipolar) {
    if (kind != SlotKind::Unlike) return 0.0f;
    return StoreSingle(terms::CrossTerm(terms::CrossDensity(JDiff(j), JSum(j)), dipolar));
}

double CsaTerm(float wH, float centralGamma, float csaFactor) {
    return CheckFinite(terms::Csa(wH, centralGamma, csaFactor));
}

double NoeValue(const FieldResult& result) {
    return Divide(result.noeSum, static_cast<double>(result.r1) + 1e-9);
}

namespace {

// J at the frequencies of one call, each evaluated once: every pair shares J(0),
// J(wI) and J(2 wI), and neighbours of the same nucleus share all their frequencies.
class DensityMemo {
public:
    explicit DensityMemo(const Lorentzians& lorentzians) : lorentzians_(lorentzians) {}

    float At(float w) {
        for (int k = 0; k < count_; ++k) {
            if (frequencies_[k] == w) return densities_[k];
        }
        const float j = SpectralDensity(lorentzians_, w);
        frequencies_[count_] = w;
        densities_[count_] = j;
        ++count_;
        return j;
    }

private:
    // Two central frequencies and four of each neighbour: room for all of them.
    static constexpr int kCapacity = 2 + 4 * kNeighbourCount;
    const Lorentzians& lorentzians_;
    std::array<float, kCapacity> frequencies_{};
    std::array<float, kCapacity> densities_{};
    int count_ = 0;
};

// a + b and a * b with the result stored as single.
float AddSingle(float a, float b) { return StoreSingle(static_cast<double>(a) + b); }
float MulSingle(float a, float b) { return StoreSingle(static_cast<double>(a) * b); }
}  // namespace

FieldContributions ContributionsAtField(const WorkingValues& values, float wH,
                                        NeighbourObserver* observer) {
    const float centralGamma = values.centralGamma;
    const float wI = LarmorOmega(wH, centralGamma);
    FieldContributions parts;
    // J(0) and J(wI) do not depend on the neighbour; they also serve the CSA and
    // exchange terms when no neighbour is present.
    DensityMemo density(values.lorentzians);
    JValues j{};
    j[0] = density.At(0.0f);
    j[1] = density.At(wI);

    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        const NeighbourValues& neighbour = values.neighbours[slot];
        if (neighbour.kind == SlotKind::Empty) continue;
        const JFrequencies frequencies =
            PairFrequencies(wI, LarmorOmega(wH, neighbour.gamma),
                            OppositeSigns(values.pairFrequencies, centralGamma, neighbour.gamma));
        for (int m = 2; m < 6; ++m) j[m] = density.At(frequencies[m]);

        // Each term is weighted by the abundances of the pair.
        const float centralAbundance = values.centralAbundance.value();
        const float weight = MulSingle(centralAbundance, neighbour.abundance.value());

        NeighbourContribution& part = parts.neighbours[slot];
        part.present = true;
        part.r1 = MulSingle(DipolarR1Term(neighbour.kind, j, neighbour.dipolar), weight);
        part.r2 = MulSingle(DipolarR2Term(neighbour.kind, j, neighbour.dipolar), weight);
        // Always the unlike cross-relaxation kernel: for a like pair it gives
        // D/10 (6 J(2 wI) - J(0)).
        const float cross = CrossRelaxationTerm(SlotKind::Unlike, j, neighbour.dipolar);
        const float scaled = MulSingle(StoreSingle(Divide(cross, centralGamma)), neighbour.gamma);
        part.noeSum = MulSingle(scaled, weight);
        part.crr = MulSingle(cross, weight);

        if (observer) observer->NeighbourEvaluated(slot, neighbour.kind, frequencies);
    }

    const float csa = StoreSingle(CsaTerm(wH, centralGamma, values.csaFactor));
    // The central abundance is read here even without a neighbour.
    parts.centralShare = values.centralAbundance.value();
    parts.csaR1 = terms::CsaR1(JI(j), csa);
    parts.csaR2 = terms::CsaR2(J0(j), JI(j), csa);
    parts.rexR2 = terms::RexR2(values.rexScale, wH);
    return parts;
}

FieldResult TotalOf(const FieldContributions& parts) {
    float r1Sum = 0.0f;
    float r2Sum = 0.0f;
    float noeSum = 0.0f;
    float crossSum = 0.0f;
    for (const NeighbourContribution& part : parts.neighbours) {
        if (!part.present) continue;
        r1Sum = AddSingle(r1Sum, part.r1);
        r2Sum = AddSingle(r2Sum, part.r2);
        noeSum = AddSingle(noeSum, part.noeSum);
        crossSum = AddSingle(crossSum, part.crr);
    }
    FieldResult result;
    result.r1 = StoreSingle(Divide(r1Sum, parts.centralShare) + parts.csaR1);
    result.r2 = StoreSingle(Divide(r2Sum, parts.centralShare) + parts.csaR2 + parts.rexR2);
    result.noeSum = StoreSingle(Divide(noeSum, parts.centralShare));
    result.crr = StoreSingle(Divide(crossSum, parts.centralShare));
    return result;
}

float NeighbourShare(float addend, const FieldContributions& parts) {
    return StoreSingle(Divide(addend, parts.centralShare));
}

FieldResult RelaxationAtField(const WorkingValues& values, float wH, NeighbourObserver* observer) {
    return TotalOf(ContributionsAtField(values, wH, observer));
}

}  // namespace veldorin
