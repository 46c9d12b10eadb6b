// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measurements as every fit compares them with a spin system's rates: the compared
// quantity, what the rates give for it, and the weighted residuals.

#pragma once

#include <span>

#include "engine/measurement.h"
#include "fit/relaxation_model.h"

namespace veldorin {

// The measurement as it is compared: a time as its rate (R1 for T1), anything else as it is.
Measurement Compared(const Measurement& measurement);

// What the spectral terms give for the measurement's compared quantity at its field: R1 or
// R2 in 1/s, or the NOE ratio 1 + eta.
double CalculatedValue(const FitSpinSystem& system, const SpectralTerms& terms,
                       const Measurement& measurement);

// The weighted residuals (measured - calculated) / uncertainty of compared measurements.
// The rates at a field are worked out once for each run of rows at that field, as rows
// usually come grouped by field.
void WeightedResiduals(const FitSpinSystem& system, const SpectralTerms& terms,
                       std::span<const Measurement> compared, std::span<double> out);

}  // namespace veldorin
