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
// from the most promising of them.
struct FitParameter {
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();
    std::vector<double> grid;  // at least one value, each inside the range
};

// The weighted residuals (measured - model) / uncertainty at the given parameter values;
// false where the model has no value.
using ResidualFunction =
    std::function<bool(std::span<const double> values, std::span<double> residuals)>;

// How a fitted parameter ended.
enum class ParameterFlag {
    None,          // inside its range, with a standard error
    AtBound,       // on a bound of its range, where the minimum lies: no symmetric error
    Undetermined,  // the data do not fix it: no effect on chi2, or a singular covariance
};

struct FitResult {
    enum class Status {
        Converged,     // a minimum: the gradient vanishes but where a bound holds it
        NotConverged,  // the fit stopped where the gradient does not vanish; the values are
                       // the lowest point found
        Failed,        // no start on the grid had a value, or the solver gave up
    };
    Status status = Status::Failed;
    std::vector<double> values;
    std::vector<double> errors;        // standard errors from the covariance; NaN where flagged
    std::vector<ParameterFlag> flags;  // one per parameter
    double chi2 = 0.0;                 // sum of the squared weighted residuals
    std::string reason;                // why, when not converged
};

// Weighted nonlinear least squares within the parameters' bounds. Without a start it
// fits from the most promising points of the grids; with one it fits from there, and from
// the grids too when the start lies on a bound or its fit ends above the grids' best.
// A surface of many minima can ask for further starts scattered over the grids' spans (the
// same ones every time).
FitResult FitLeastSquares(std::span<const FitParameter> parameters, std::size_t residualCount,
                          const ResidualFunction& residuals, std::span<const double> start = {},
                          int scatteredStarts = 0);

// Akaike's criterion with its correction for small samples, chi2 + 2k + 2k(k+1)/(n-k-1);
// infinite when n <= k + 1.
double CorrectedAkaike(double chi2, std::size_t measurements, std::size_t parameters);
double Akaike(double chi2, std::size_t parameters);
double Bayesian(double chi2, std::size_t measurements, std::size_t parameters);

}  // namespace veldorin
