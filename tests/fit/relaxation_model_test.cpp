// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/relaxation_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/constants.h"
#include "engine/input_preparation.h"
#include "engine/numeric_text.h"
#include "engine/relaxation.h"

namespace veldorin {
namespace {

// The double evaluation a fit uses and the table's single-precision one are the same
// formulas: they agree to single precision on random spin systems, both frequency signs.
TEST(FitRelaxationModel, AgreesWithTheTableToSinglePrecision) {
    std::mt19937_64 random(11);
    const char* nuclei[] = {"1H", "13C", "15N"};
    std::uniform_int_distribution<int> nucleus(0, 2);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 300; ++trial) {
        ModelTexts texts = DefaultModel();
        texts.pairFrequencies =
            trial % 2 == 0 ? PairFrequencySigns::Magnitudes : PairFrequencySigns::Signed;
        texts.slots[kCentralSlot].nucleus = nuclei[nucleus(random)];
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            const bool present = unit(random) < 0.5;
            texts.slots[slot] = {present ? nuclei[nucleus(random)] : "",
                                 std::to_string(1.0 + 2.0 * unit(random)), "1"};
        }
        for (int i = 0; i < kLorentzianCount; ++i) {
            texts.weights[i] = std::to_string(unit(random));
            texts.times[i] = std::to_string(std::pow(10.0, 1.0 + 4.0 * unit(random)));
        }
        texts.csa = std::to_string(-200.0 * unit(random));
        texts.rex = std::to_string(5.0 * unit(random));
        InputPreparation calculation;
        const PreparedRun run = calculation.Prepare(texts);
        ASSERT_EQ(run.stage, PreparedRun::Stage::Ready);

        FitSpinSystem system;
        system.centralGamma = run.values.centralGamma;
        system.csaPpm = ReadDouble(texts.csa);
        system.rexAt800 = ReadDouble(texts.rex);
        system.pairFrequencies = texts.pairFrequencies;
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            const NeighbourValues& n = run.values.neighbours[slot];
            if (n.kind == SlotKind::Empty) continue;
            system.neighbours.push_back(
                {n.gamma, ReadDouble(texts.slots[slot].distance), 1.0, n.kind});
        }
        SpectralTerms terms;
        for (int i = 0; i < kLorentzianCount; ++i) {
            terms.push_back({run.values.lorentzians.weights[i], run.values.lorentzians.times[i]});
        }
        for (const Field& field : kFieldTable) {
            const FieldResult table =
                RelaxationAtField(run.values, ProtonOmega(field.frequencyMHz));
            const RatesAtField rates = RatesOf(system, terms, field.frequencyMHz);
            EXPECT_NEAR(rates.r1, table.r1, 1e-4 * std::abs(table.r1) + 1e-6) << trial;
            EXPECT_NEAR(rates.r2, table.r2, 1e-4 * std::abs(table.r2) + 1e-6) << trial;
            EXPECT_NEAR(rates.enhancement, NoeValue(table), 1e-4 * std::abs(NoeValue(table)) + 1e-6)
                << trial;
        }
    }
}

}  // namespace
}  // namespace veldorin
