// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Monte Carlo errors of any fit: synthetic data sets drawn around what a fit gives back,
// each fitted again, and the spread of the values those fits find.

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "engine/measurement.h"

namespace veldorin {

// The spread of a parameter's samples: the standard deviation and the 2.5 and 97.5
// percentiles.
struct ParameterSpread {
    double standardDeviation = 0.0;
    double low = 0.0;   // 2.5 percentile
    double high = 0.0;  // 97.5 percentile
};
// NaN with fewer than two samples.
ParameterSpread SpreadOf(std::vector<double> samples);

// Synthetic data sets, one after another: each compared measurement's calculated value
// plus Gaussian noise of its uncertainty; the same sets for the same seed.
class SyntheticSets {
public:
    SyntheticSets(std::vector<Measurement> compared, std::vector<double> calculated,
                  std::uint64_t seed);
    const std::vector<Measurement>& Next();

private:
    std::vector<Measurement> set_;
    std::vector<double> calculated_;
    std::mt19937_64 random_;
    std::normal_distribution<double> noise_{0.0, 1.0};
};

// The values of the fits of synthetic sets, a column for each value a fit gives.
class Samples {
public:
    explicit Samples(std::size_t columns) : columns_(columns) {}
    void Add(std::span<const double> values);
    // The spread of each column, in order.
    std::vector<ParameterSpread> Spreads() const;

private:
    std::vector<std::vector<double>> columns_;
};

// A synthetic set fitted again: the values its fit found, nothing when that fit failed.
using SyntheticRefit =
    std::function<std::optional<std::vector<double>>(const std::vector<Measurement>& set)>;

struct MonteCarloSpreads {
    std::vector<ParameterSpread> spread;  // of each of the refits' values, in their order
    int drawn = 0;                        // the sets made
    int fitted = 0;                       // those whose fit converged
    bool stopped = false;
};
// Draws `sets` synthetic sets and refits each, the refits giving `values` values each.
// `carryOn`, when given, hears before each set and at the end how many are done, and
// stops the run by answering false.
MonteCarloSpreads RunMonteCarlo(SyntheticSets synthetic, int sets, std::size_t values,
                                const SyntheticRefit& refit,
                                const std::function<bool(int done)>& carryOn = {});

}  // namespace veldorin
