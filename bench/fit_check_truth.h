// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "fit/residue_fit.h"

// Synthetic residues with known answers for veldorin_fit_check: the true values drawn over
// the ranges the fit must handle, and the rates they give, exact or with noise.
namespace veldorin::fit_check {

// The random source of one case: the same numbers for the same seed, stream and index,
// whatever ran before.
std::mt19937_64 CaseRandom(std::uint64_t seed, std::uint64_t stream, std::uint64_t index);

double Uniform(std::mt19937_64& random, double low, double high);
double LogUniform(std::mt19937_64& random, double low, double high);

// An aliphatic 13C with its proton at 1.09 Å and the CSA of a 13C-alpha, 25 ppm.
FitSpinSystem CarbonProtonPair();

// True values of the model's parameters: S2 0.2-0.98, te 10-2000 ps, S2f 0.6-0.95 (with
// S2 below it), tf 10-2000 ps, ts 20-2000 ps, Rex800 0-20 1/s, at the given tm.
ModelFreeValues DrawTruth(const ModelFreeModel& model, double tm, double csaPpm,
                          std::mt19937_64& random);

bool HasParameter(const ModelFreeModel& model, ModelFreeParameter parameter);

// R1, R2 and the NOE ratio at each field, as the values give them, each with an
// uncertainty of 2 % (of the NOE ratio's magnitude, but at least 0.01).
// Under anisotropic tumbling when it is given.
std::vector<Measurement> ExactData(const FitSpinSystem& system, const ModelFreeModel& model,
                                   const ModelFreeValues& values, std::span<const double> fields,
                                   const SpectralTerms& tumbling = {});

// Gaussian noise of each measurement's uncertainty added to its value.
void AddNoise(std::vector<Measurement>& data, std::mt19937_64& random);

// The settings that fit the data of this system: tm fixed at the given value, or fitted.
ResidueFitSettings SettingsFor(const FitSpinSystem& system, bool fitTm, double tm);

}  // namespace veldorin::fit_check
