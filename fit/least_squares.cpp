// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/least_squares.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace veldorin {
namespace {

// A bounded parameter is fitted through an unbounded variable u: x = lo + (hi - lo)(1 +
// sin u)/2 between two bounds, x = lo + e^u above one, x = hi - e^u below one.
class BoundedVariable {
public:
    explicit BoundedVariable(const FitParameter& parameter)
        : lower_(parameter.lower), upper_(parameter.upper) {}

    double ValueOf(double u) const {
        if (std::isfinite(lower_) && std::isfinite(upper_)) {
            return lower_ + (upper_ - lower_) * (1.0 + std::sin(u)) / 2.0;
        }
        if (std::isfinite(lower_)) return lower_ + std::exp(u);
        if (std::isfinite(upper_)) return upper_ - std::exp(u);
        return u;
    }

    // Starts a little inside a bound, where the change of variables still moves.
    double VariableOf(double x) const {
        constexpr double kInside = 1e-9;
        if (std::isfinite(lower_) && std::isfinite(upper_)) {
            const double s = 2.0 * (x - lower_) / (upper_ - lower_) - 1.0;
            return std::asin(std::clamp(s, -1.0 + kInside, 1.0 - kInside));
        }
        if (std::isfinite(lower_))
            return std::log(std::max(x - lower_, kInside * (1.0 + std::abs(x))));
        if (std::isfinite(upper_))
            return std::log(std::max(upper_ - x, kInside * (1.0 + std::abs(x))));
        return x;
    }

    bool Contains(double x) const { return x >= lower_ && x <= upper_; }

private:
    double lower_;
    double upper_;
};

struct Problem {
    std::vector<BoundedVariable> variables;
    std::size_t residualCount;
    const ResidualFunction& residuals;

    std::vector<double> ValuesOf(const gsl_vector* u) const {
        std::vector<double> values(variables.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = variables[i].ValueOf(gsl_vector_get(u, i));
        }
        return values;
    }

    // Sum of squares, or infinity where the model has no value.
    double Chi2At(std::span<const double> values, std::vector<double>& scratch) const {
        scratch.resize(residualCount);
        if (!residuals(values, scratch)) return std::numeric_limits<double>::infinity();
        double sum = 0.0;
        for (double r : scratch) sum += r * r;
        return std::isfinite(sum) ? sum : std::numeric_limits<double>::infinity();
    }
};

// Where the model has no value, huge residuals: the trust region then turns the step
// down, where an error status would end the whole fit.
int ResidualsAt(const gsl_vector* u, void* data, gsl_vector* f) {
    const auto& problem = *static_cast<const Problem*>(data);
    const std::vector<double> values = problem.ValuesOf(u);
    std::vector<double> residuals(problem.residualCount);
    const bool valued = problem.residuals(values, residuals);
    constexpr double kNoValue = 1e100;
    for (std::size_t i = 0; i < residuals.size(); ++i) {
        const double r = residuals[i];
        gsl_vector_set(f, i, valued && std::isfinite(r) ? r : kNoValue);
    }
    return GSL_SUCCESS;
}

// The best point of the grids (every combination), or nothing when no point has a value.
std::optional<std::vector<double>> GridStart(std::span<const FitParameter> parameters,
                                             const Problem& problem) {
    std::vector<std::size_t> index(parameters.size(), 0);
    std::vector<double> point(parameters.size());
    std::vector<double> scratch;
    std::optional<std::vector<double>> best;
    double bestChi2 = std::numeric_limits<double>::infinity();
    for (;;) {
        for (std::size_t i = 0; i < parameters.size(); ++i) point[i] = parameters[i].grid[index[i]];
        if (const double chi2 = problem.Chi2At(point, scratch); chi2 < bestChi2) {
            bestChi2 = chi2;
            best = point;
        }
        std::size_t i = 0;
        while (i < parameters.size() && ++index[i] == parameters[i].grid.size()) index[i++] = 0;
        if (i == parameters.size()) return best;
    }
}

// The Jacobian of the residuals in the parameters themselves (not the fitted
// variables) at the minimum, by central differences, one-sided at a bound.
bool JacobianAt(const std::vector<double>& values, const Problem& problem, gsl_matrix* jacobian) {
    std::vector<double> up(problem.residualCount);
    std::vector<double> down(problem.residualCount);
    for (std::size_t j = 0; j < values.size(); ++j) {
        const double step = 1e-6 * std::max(std::abs(values[j]), 1e-6);
        std::vector<double> plus = values;
        std::vector<double> minus = values;
        plus[j] += step;
        minus[j] -= step;
        if (!problem.variables[j].Contains(plus[j])) plus[j] = values[j];
        if (!problem.variables[j].Contains(minus[j])) minus[j] = values[j];
        if (!problem.residuals(plus, up) || !problem.residuals(minus, down)) return false;
        const double width = plus[j] - minus[j];
        for (std::size_t i = 0; i < problem.residualCount; ++i) {
            gsl_matrix_set(jacobian, i, j, (up[i] - down[i]) / width);
        }
    }
    return true;
}

struct WorkspaceDeleter {
    void operator()(gsl_multifit_nlinear_workspace* w) const { gsl_multifit_nlinear_free(w); }
};
struct VectorDeleter {
    void operator()(gsl_vector* v) const { gsl_vector_free(v); }
};
struct MatrixDeleter {
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
};

// Whether the solver's point is a minimum to the accuracy of its finite-difference
// gradient: GSL's gradient test, max |g_i| max(|x_i|, 1) <= gtol max(chi2 / 2, 1), with the
// tolerance GSL recommends for such a gradient, the cube root of the machine epsilon.
bool Stationary(gsl_multifit_nlinear_workspace* workspace) {
    const gsl_matrix* jacobian = gsl_multifit_nlinear_jac(workspace);
    const gsl_vector* residuals = gsl_multifit_nlinear_residual(workspace);
    const gsl_vector* position = gsl_multifit_nlinear_position(workspace);
    double cost = 0.0;
    for (std::size_t i = 0; i < residuals->size; ++i) {
        cost += 0.5 * gsl_vector_get(residuals, i) * gsl_vector_get(residuals, i);
    }
    const double tolerance =
        std::cbrt(std::numeric_limits<double>::epsilon()) * std::max(cost, 1.0);
    for (std::size_t j = 0; j < jacobian->size2; ++j) {
        double gradient = 0.0;
        for (std::size_t i = 0; i < jacobian->size1; ++i) {
            gradient += gsl_matrix_get(jacobian, i, j) * gsl_vector_get(residuals, i);
        }
        if (std::abs(gradient) * std::max(std::abs(gsl_vector_get(position, j)), 1.0) > tolerance)
            return false;
    }
    return true;
}

}  // namespace

FitResult FitLeastSquares(std::span<const FitParameter> parameters, std::size_t residualCount,
                          const ResidualFunction& residuals, std::span<const double> /*start*/) {
    // GSL's default handler aborts the program; every error here is a returned status.
    gsl_set_error_handler_off();
    Problem problem{{}, residualCount, residuals};
    for (const FitParameter& parameter : parameters) problem.variables.emplace_back(parameter);
    FitResult result;
    const std::size_t count = parameters.size();
    if (count == 0 || residualCount < count) {
        result.reason = "fewer measurements than free parameters";
        return result;
    }
    const auto start = GridStart(parameters, problem);
    if (!start) {
        result.reason = "the model has no value anywhere on the starting grid";
        return result;
    }

    gsl_multifit_nlinear_parameters settings = gsl_multifit_nlinear_default_parameters();
    settings.trs = gsl_multifit_nlinear_trs_lmaccel;
    const std::unique_ptr<gsl_multifit_nlinear_workspace, WorkspaceDeleter> workspace(
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &settings, residualCount, count));
    const std::unique_ptr<gsl_vector, VectorDeleter> u(gsl_vector_alloc(count));
    for (std::size_t i = 0; i < count; ++i) {
        gsl_vector_set(u.get(), i, problem.variables[i].VariableOf((*start)[i]));
    }
    gsl_multifit_nlinear_fdf function{};
    function.f = ResidualsAt;
    function.n = residualCount;
    function.p = count;
    function.params = &problem;
    int info = 0;
    int status = gsl_multifit_nlinear_init(u.get(), &function, workspace.get());
    constexpr std::size_t kMaxIterations = 200;
    if (status == GSL_SUCCESS) {
        status = gsl_multifit_nlinear_driver(kMaxIterations, 1e-10, 1e-10, 0.0, nullptr, nullptr,
                                             &info, workspace.get());
    }
    // A start that no step improves on, such as a refit from its own result, ends the
    // driver at once with "no progress"; that is a minimum when the gradient vanishes there.
    if (status == GSL_EMAXITER && info == GSL_ENOPROG && Stationary(workspace.get())) {
        status = GSL_SUCCESS;
    }
    result.values = problem.ValuesOf(gsl_multifit_nlinear_position(workspace.get()));
    std::vector<double> scratch;
    result.chi2 = problem.Chi2At(result.values, scratch);
    if (status == GSL_SUCCESS) {
        result.status = FitResult::Status::Converged;
    } else if (status == GSL_EMAXITER || status == GSL_ENOPROG) {
        result.status = FitResult::Status::NotConverged;
        result.reason = status == GSL_EMAXITER && info != GSL_ENOPROG
                            ? "no convergence within 200 iterations"
                            : "no further progress possible";
    } else {
        result.status = FitResult::Status::Failed;
        result.reason = gsl_strerror(status);
        return result;
    }

    const std::unique_ptr<gsl_matrix, MatrixDeleter> jacobian(
        gsl_matrix_alloc(residualCount, count));
    const std::unique_ptr<gsl_matrix, MatrixDeleter> covariance(gsl_matrix_alloc(count, count));
    result.errors.assign(count, std::numeric_limits<double>::quiet_NaN());
    result.flags.assign(count, ParameterFlag::None);
    if (JacobianAt(result.values, problem, jacobian.get()) &&
        gsl_multifit_nlinear_covar(jacobian.get(), 0.0, covariance.get()) == GSL_SUCCESS) {
        for (std::size_t i = 0; i < count; ++i) {
            result.errors[i] = std::sqrt(gsl_matrix_get(covariance.get(), i, i));
        }
    }
    return result;
}

double Akaike(double chi2, std::size_t parameters) {
    return chi2 + 2.0 * static_cast<double>(parameters);
}

double CorrectedAkaike(double chi2, std::size_t measurements, std::size_t parameters) {
    const auto n = static_cast<double>(measurements);
    const auto k = static_cast<double>(parameters);
    if (n <= k + 1.0) return std::numeric_limits<double>::infinity();
    return chi2 + 2.0 * k + 2.0 * k * (k + 1.0) / (n - k - 1.0);
}

double Bayesian(double chi2, std::size_t measurements, std::size_t parameters) {
    return chi2 + static_cast<double>(parameters) * std::log(static_cast<double>(measurements));
}

}  // namespace veldorin
