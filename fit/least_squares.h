// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace veldorin {

// One free parameter of a fit: the range it stays in at every step (an infinite bound
// leaves that side open) and the values the coarse grid tries before the fit starts
// from the best of them.
struct FitParameter {
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();
    std::vector<double> grid;  // at least one value, each inside the range
};

// The weighted residuals (measured - model) / uncertainty at the given parameter values;
// false where the model has no value.
using ResidualFunction =
    std::function<bool(std::span<const double> values, std::span<double> residuals)>;

struct FitResult {
    enum class Status {
        Converged,     // a minimum within the tolerances
        NotConverged,  // the iterations ran out; the values are the last ones
        Failed,        // no start on the grid had a value, or the solver gave up
    };
    Status status = Status::Failed;
    std::vector<double> values;
    std::vector<double> errors;  // standard errors from the covariance at the minimum
    double chi2 = 0.0;           // sum of the squared weighted residuals
    std::string reason;          // why, when not converged
};

// Weighted nonlinear least squares: the trust-region Levenberg-Marquardt method with
// geodesic acceleration of GSL, started from the best point of the parameters' grids.
// Bounds hold through a change of variables, so no step leaves them.
FitResult FitLeastSquares(std::span<const FitParameter> parameters, std::size_t residualCount,
                          const ResidualFunction& residuals);

// Akaike's criterion with its correction for small samples, chi2 + 2k + 2k(k+1)/(n-k-1);
// infinite when n <= k + 1.
double CorrectedAkaike(double chi2, std::size_t measurements, std::size_t parameters);
double Akaike(double chi2, std::size_t parameters);
double Bayesian(double chi2, std::size_t measurements, std::size_t parameters);

}  // namespace veldorin
