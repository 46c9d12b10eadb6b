// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/monte_carlo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veldorin {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Percentile(const std::vector<double>& sorted, double fraction) {
    if (sorted.empty()) return kNaN;
    const double at = fraction * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(at));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

}  // namespace

ParameterSpread SpreadOf(std::vector<double> samples) {
    ParameterSpread spread;
    if (samples.size() < 2) return {kNaN, kNaN, kNaN};
    double mean = 0.0;
    for (double x : samples) mean += x;
    mean /= static_cast<double>(samples.size());
    double squares = 0.0;
    for (double x : samples) squares += (x - mean) * (x - mean);
    spread.standardDeviation = std::sqrt(squares / static_cast<double>(samples.size() - 1));
    std::sort(samples.begin(), samples.end());
    spread.low = Percentile(samples, 0.025);
    spread.high = Percentile(samples, 0.975);
    return spread;
}

SyntheticSets::SyntheticSets(std::vector<Measurement> compared, std::vector<double> calculated,
                             std::uint64_t seed)
    : set_(std::move(compared)), calculated_(std::move(calculated)), random_(seed) {}

const std::vector<Measurement>& SyntheticSets::Next() {
    for (std::size_t i = 0; i < set_.size(); ++i) {
        set_[i].value = calculated_[i] + noise_(random_) * set_[i].error;
    }
    return set_;
}

void Samples::Add(std::span<const double> values) {
    for (std::size_t c = 0; c < columns_.size(); ++c) columns_[c].push_back(values[c]);
}

std::vector<ParameterSpread> Samples::Spreads() const {
    std::vector<ParameterSpread> spreads;
    for (const std::vector<double>& column : columns_) spreads.push_back(SpreadOf(column));
    return spreads;
}

MonteCarloSpreads RunMonteCarlo(SyntheticSets synthetic, int sets, std::size_t values,
                                const SyntheticRefit& refit,
                                const std::function<bool(int done)>& carryOn) {
    MonteCarloSpreads run;
    Samples samples(values);
    for (int done = 0; done < sets; ++done) {
        if (carryOn && !carryOn(done)) {
            run.stopped = true;
            break;
        }
        const std::optional<std::vector<double>> fitted = refit(synthetic.Next());
        ++run.drawn;
        if (!fitted) continue;
        ++run.fitted;
        samples.Add(*fitted);
    }
    if (carryOn && !run.stopped) carryOn(sets);
    run.spread = samples.Spreads();
    return run;
}

}  // namespace veldorin
