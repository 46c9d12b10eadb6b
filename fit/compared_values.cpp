// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/compared_values.h"

#include <limits>

namespace veldorin {
namespace {

// The compared quantity's value among the rates at its field.
double ValueAmong(const RatesAtField& rates, Quantity quantity) {
    switch (ComparedQuantity(quantity)) {
        case Quantity::R1: return rates.r1;
        case Quantity::R2: return rates.r2;
        case Quantity::Noe: return 1.0 + rates.enhancement;
        case Quantity::T1:
        case Quantity::T2: break;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

Measurement Compared(const Measurement& measurement) {
    return {measurement.fieldMHz, ComparedQuantity(measurement.quantity),
            measurement.ComparedValue(), measurement.ComparedError()};
}

double CalculatedValue(const FitSpinSystem& system, const SpectralTerms& terms,
                       const Measurement& measurement) {
    return ValueAmong(RatesOf(system, terms, measurement.fieldMHz), measurement.quantity);
}

void WeightedResiduals(const FitSpinSystem& system, const SpectralTerms& terms,
                       std::span<const Measurement> compared, std::span<double> out) {
    RatesAtField rates;
    for (std::size_t i = 0; i < compared.size(); ++i) {
        const Measurement& row = compared[i];
        if (i == 0 || row.fieldMHz != compared[i - 1].fieldMHz) {
            rates = RatesOf(system, terms, row.fieldMHz);
        }
        out[i] = (row.value - ValueAmong(rates, row.quantity)) / row.error;
    }
}

}  // namespace veldorin
