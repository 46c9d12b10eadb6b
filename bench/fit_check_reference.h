// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

#include "fit/residue_fit.h"

// The reference minima of veldorin_fit_check, found apart from the program's solver: the
// same chi2 (the project's rates and residuals) minimised by GSL's Nelder-Mead simplex in
// the natural parameters, bounds by clamping, from many starts.
namespace veldorin::fit_check {

// One model's chi2 surface for one residue's data.
class ReferenceProblem {
public:
    ReferenceProblem(const std::vector<Measurement>& data, const ResidueFitSettings& settings,
                     const ModelFreeModel& model);

    const std::vector<ModelFreeParameter>& Free() const { return free_; }
    ModelFreeValues ValuesAt(const std::vector<double>& point) const;
    std::vector<double> PointOf(const ModelFreeValues& values) const;
    double Chi2At(const std::vector<double>& point) const;
    void ResidualsAt(const std::vector<double>& point, std::vector<double>& out) const;
    std::size_t MeasurementCount() const { return compared_.size(); }

private:
    std::vector<Measurement> compared_;
    ResidueFitSettings settings_;
    const ModelFreeModel& model_;
    std::vector<ModelFreeParameter> free_;
};

struct ReferenceFit {
    ModelFreeValues values;
    double chi2 = 0.0;
};

// The lowest chi2 from 60 starts (the grid's 12 best points, 48 random ones with times up
// to 1e6 ps): a coarse descent from each, then the 8 lowest ends polished by restarts
// until they stop improving. The same for the same seed.
ReferenceFit ReferenceMinimum(const ReferenceProblem& problem, std::uint64_t seed);

// The covariance of the free parameters at the values, from the Jacobian of the weighted
// residuals (the data's uncertainties as their errors): (J^T J)^-1, infinite along a
// direction the data do not see.
class Covariance {
public:
    Covariance(const ReferenceProblem& problem, const ModelFreeValues& values);
    double ErrorOf(ModelFreeParameter parameter) const;
    // Of S2 = S2f S2s in models 5 to 8, S2s's in the others.
    double OrderParameterError(const ModelFreeModel& model, const ModelFreeValues& values) const;

private:
    double At(std::size_t row, std::size_t column) const;
    std::vector<ModelFreeParameter> free_;
    std::vector<double> matrix_;
};

}  // namespace veldorin::fit_check
