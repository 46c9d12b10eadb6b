// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/relaxation_model.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/numeric_text.h"
#include "engine/relaxation_terms.h"

namespace veldorin {

double SpectralDensityOf(const SpectralTerms& terms, double w) {
    double j = 0.0;
    for (const LorentzianTerm& term : terms) {
        if (!(term.weight > 0.0)) continue;
        j += terms::LorentzianAddend(term.timePs * term.weight,
                                     terms::LorentzianScale(term.timePs, w));
    }
    return j;
}

FitSpinSystem BackboneAmide() {
    FitSpinSystem system;
    system.centralGamma = *GammaOf("15N");
    system.neighbours = {{*GammaOf("1H"), static_cast<double>(1.02f), 1.0, SlotKind::Unlike}};
    system.csaPpm = -172.0;
    return system;
}

std::optional<FitSpinSystem> FitSpinSystemOf(const ModelTexts& model) {
    try {
        const auto central = GammaOf(model.slots[kCentralSlot].nucleus);
        if (!central) return std::nullopt;
        FitSpinSystem system;
        system.centralGamma = *central;
        system.csaPpm = ReadDouble(model.csa);
        system.rexAt800 = ReadDouble(model.rex);
        system.pairFrequencies = model.pairFrequencies;
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            const SpinSlot& spin = model.slots[slot];
            const SlotKind kind = KindOfNucleus(spin.nucleus);
            if (kind == SlotKind::Empty) continue;
            system.neighbours.push_back({GammaOf(spin.nucleus).value_or(0.0f),
                                         ReadSingle(spin.distance), ReadSingle(spin.abundance),
                                         kind});
        }
        return system;
    } catch (const CalculationError&) {
        return std::nullopt;
    }
}

double DipolarConstant(double centralGamma, double gamma, double distance) {
    const double coupling = gamma * (centralGamma * kDipolarFactor);
    return coupling * coupling / std::pow(distance, 6) * 1e-12;
}

double CsaConstant(const FitSpinSystem& system, double protonMHz) {
    const double csaFactor = std::pow(system.csaPpm * 1e-6, 2);
    return terms::Csa(2.0 * kPi * protonMHz, system.centralGamma, csaFactor);
}

RatesAtField RatesOf(const FitSpinSystem& system, const SpectralTerms& spectral, double protonMHz) {
    const double wH = 2.0 * kPi * protonMHz;
    const double wI = terms::LarmorOmega(wH, system.centralGamma);
    const double j0 = SpectralDensityOf(spectral, 0.0);
    const double jI = SpectralDensityOf(spectral, wI);
    double r1 = 0.0;
    double r2 = 0.0;
    double noeSum = 0.0;
    for (const FitSpinSystem::Neighbour& neighbour : system.neighbours) {
        const double gamma =
            neighbour.kind == SlotKind::Like ? system.centralGamma : neighbour.gamma;
        const double wS = terms::LarmorOmega(wH, gamma);
        // Constants of opposite signs with signed frequencies: the zero-quantum density
        // at the sum of the magnitudes, the double-quantum one at their difference.
        const bool opposite = system.pairFrequencies == PairFrequencySigns::Signed &&
                              system.centralGamma * gamma < 0.0;
        const double jDiff = SpectralDensityOf(spectral, opposite ? wS + wI : wS - wI);
        const double jSum = SpectralDensityOf(spectral, opposite ? wI - wS : wI + wS);
        const double jS = SpectralDensityOf(spectral, wS);
        const double j2I = SpectralDensityOf(spectral, 2.0 * wI);
        const double dipolar = DipolarConstant(system.centralGamma, gamma, neighbour.distance);
        const double weight = neighbour.abundance;
        if (neighbour.kind == SlotKind::Like) {
            r1 += weight * terms::R1Term(terms::LikeR1Density(jI, j2I), dipolar);
            r2 += weight * terms::R2Term(terms::LikeR2Density(j0, jI, j2I), dipolar);
        } else {
            r1 += weight * terms::R1Term(terms::UnlikeR1Density(jI, jDiff, jSum), dipolar);
            r2 += weight * terms::R2Term(terms::UnlikeR2Density(j0, jI, jDiff, jS, jSum), dipolar);
        }
        const double cross = terms::CrossTerm(terms::CrossDensity(jDiff, jSum), dipolar);
        noeSum += weight * cross / system.centralGamma * gamma;
    }
    const double csa = CsaConstant(system, protonMHz);
    r1 += terms::CsaR1(jI, csa);
    r2 += terms::CsaR2(j0, jI, csa);
    r2 += terms::RexR2(system.rexAt800 / (kRexReferenceOmega * kRexReferenceOmega), wH);
    return {r1, r2, noeSum / (r1 + 1e-9)};
}

}  // namespace veldorin
