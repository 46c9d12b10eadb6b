// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/least_squares.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string_view>

namespace veldorin {
namespace {

// The solver is a Levenberg-Marquardt in the parameters themselves, with the bounds kept
// by projection and an active set: each step is clamped to the box, and a parameter on a
// bound whose gradient pushes outward is held there for that step. A change of variables
// (x = lo + e^u) reaches a bound only asymptotically, its gradient vanishes there and a
// parameter that starts on a bound never leaves it; in the parameters themselves a bound
// is reached exactly, left as soon as the gradient points inward, and "converged" can be
// tested as it is meant: the projected gradient vanishes. GSL's nonlinear least squares
// knows no bounds, so the iteration is written here; GSL's Cholesky and SVD solve its steps
// and give the covariance.

constexpr double kNoValue = std::numeric_limits<double>::infinity();
constexpr std::size_t kMaxIterations = 200;
// Nothing lies below a perfect fit: no further start is tried once chi2 is this small.
constexpr double kPerfect = 1e-28;
// A minimum to the accuracy of a finite-difference Jacobian: for every parameter not held
// on a bound, the cosine between its Jacobian column and the residuals (as MINPACK tests
// it, the residuals' length counted as at least 1).
constexpr double kGradientTolerance = 1e-6;
// Steps and decreases below these end the descent (relative to the values and to chi2).
constexpr double kStepTolerance = 1e-11;
constexpr double kDecreaseTolerance = 1e-15;
constexpr double kSmallestDamping = 1e-12;
// The largest decrease of chi2 (relative, chi2 counted as at least 1) a minimum may leave.
constexpr double kTrifle = 1e-10;

// The residual function within the parameters' bounds, with the finite differences of its
// Jacobian sized to each parameter.
class Problem {
public:
    Problem(std::span<const FitParameter> parameters, std::size_t residualCount,
            const ResidualFunction& residuals)
        : parameters_(parameters), residualCount_(residualCount), residuals_(residuals) {
        for (const FitParameter& parameter : parameters) {
            double largest = 0.0;
            for (double value : parameter.grid) largest = std::max(largest, std::abs(value));
            scales_.push_back(largest > 0.0 ? largest : 1.0);
        }
    }

    std::size_t Size() const { return parameters_.size(); }
    std::size_t ResidualCount() const { return residualCount_; }
    double Scale(std::size_t j) const { return scales_[j]; }
    bool OnLower(std::size_t j, double x) const { return x == parameters_[j].lower; }
    bool OnUpper(std::size_t j, double x) const { return x == parameters_[j].upper; }
    bool OnBound(std::size_t j, double x) const { return OnLower(j, x) || OnUpper(j, x); }
    double Clamp(std::size_t j, double x) const {
        return std::clamp(x, parameters_[j].lower, parameters_[j].upper);
    }

    // The sum of squared residuals, filling them; infinite where the model has no value.
    double Chi2At(std::span<const double> x, std::span<double> r) const {
        if (!residuals_(x, r)) return kNoValue;
        double sum = 0.0;
        for (double value : r) sum += value * value;
        return std::isfinite(sum) ? sum : kNoValue;
    }

    // The Jacobian (row-major, residuals by parameters) at x, whose residuals are r: by
    // forward differences pointing away from a near bound, or by central differences where
    // both sides lie inside and have values.
    bool JacobianAt(std::vector<double> x, std::span<const double> r, std::vector<double>& jacobian,
                    bool central) const {
        const std::size_t k = Size();
        jacobian.assign(residualCount_ * k, 0.0);
        std::vector<double> up(residualCount_);
        std::vector<double> down(residualCount_);
        for (std::size_t j = 0; j < k; ++j) {
            const double at = x[j];
            const double size = std::max(std::abs(at), 1e-3 * scales_[j]);
            const double h = (central ? 6e-6 : 1.5e-8) * size;
            const auto valued = [&](double to, std::vector<double>& out) {
                if (to < parameters_[j].lower || to > parameters_[j].upper) return false;
                x[j] = to;
                const bool ok = std::isfinite(Chi2At(x, out));
                x[j] = at;
                return ok;
            };
            const bool hasUp = valued(at + h, up);
            const bool hasDown = (central || !hasUp) && valued(at - h, down);
            for (std::size_t i = 0; i < residualCount_; ++i) {
                double& entry = jacobian[i * k + j];
                if (hasUp && hasDown) {
                    entry = (up[i] - down[i]) / (2.0 * h);
                } else if (hasUp) {
                    entry = (up[i] - r[i]) / h;
                } else if (hasDown) {
                    entry = (r[i] - down[i]) / h;
                } else {
                    return false;
                }
            }
        }
        return true;
    }

private:
    std::span<const FitParameter> parameters_;
    std::size_t residualCount_;
    const ResidualFunction& residuals_;
    std::vector<double> scales_;
};

// J^T r (half the gradient of chi2) and J^T J.
struct NormalEquations {
    std::vector<double> gradient;
    std::vector<double> curvature;  // k by k, row-major
};
NormalEquations NormalOf(const std::vector<double>& jacobian, std::span<const double> r,
                         std::size_t k) {
    NormalEquations normal{std::vector<double>(k, 0.0), std::vector<double>(k * k, 0.0)};
    for (std::size_t i = 0; i < r.size(); ++i) {
        const double* row = &jacobian[i * k];
        for (std::size_t a = 0; a < k; ++a) {
            normal.gradient[a] += row[a] * r[i];
            for (std::size_t b = 0; b < k; ++b) normal.curvature[a * k + b] += row[a] * row[b];
        }
    }
    return normal;
}

// The parameters a step leaves where they are: on a bound, with chi2 falling outward.
std::vector<bool> HeldOnBounds(const Problem& problem, std::span<const double> x,
                               std::span<const double> gradient) {
    std::vector<bool> held(x.size(), false);
    for (std::size_t j = 0; j < x.size(); ++j) {
        held[j] = (problem.OnLower(j, x[j]) && gradient[j] >= 0.0) ||
                  (problem.OnUpper(j, x[j]) && gradient[j] <= 0.0);
    }
    return held;
}

// The damped Gauss-Newton step of the parameters not held, (J^T J + lambda D) s = -J^T r,
// D the diagonal of J^T J (Marquardt's scaling: the step does not depend on the
// parameters' units). A parameter that barely matters has a small diagonal and may take a
// long step, which a rise of chi2 turns down, where a scale kept from an earlier point
// would leave it creeping.
bool DampedStep(const NormalEquations& normal, const std::vector<bool>& held, double lambda,
                std::vector<double>& step) {
    const std::size_t k = held.size();
    std::vector<std::size_t> moving;
    for (std::size_t j = 0; j < k; ++j) {
        if (!held[j]) moving.push_back(j);
    }
    step.assign(k, 0.0);
    const std::size_t m = moving.size();
    if (m == 0) return true;
    std::vector<double> matrix(m * m);
    std::vector<double> right(m);
    for (std::size_t a = 0; a < m; ++a) {
        for (std::size_t b = 0; b < m; ++b) {
            matrix[a * m + b] = normal.curvature[moving[a] * k + moving[b]];
        }
        const double diagonal = normal.curvature[moving[a] * k + moving[a]];
        matrix[a * m + a] += lambda * (diagonal > 0.0 ? diagonal : 1.0);
        right[a] = -normal.gradient[moving[a]];
    }
    gsl_matrix_view system = gsl_matrix_view_array(matrix.data(), m, m);
    gsl_vector_view solution = gsl_vector_view_array(right.data(), m);
    if (gsl_linalg_cholesky_decomp1(&system.matrix) != GSL_SUCCESS) return false;
    if (gsl_linalg_cholesky_svx(&system.matrix, &solution.vector) != GSL_SUCCESS) return false;
    for (std::size_t a = 0; a < m; ++a) step[moving[a]] = right[a];
    return std::ranges::all_of(right, [](double s) { return std::isfinite(s); });
}

// Whether x is a minimum within the box: the projected gradient vanishes. Either every
// free parameter's column is at right angles to the residuals (MINPACK's test), or, where
// a parameter that barely matters is tied to others so that its column's angle is lost
// in the differences' noise, the Gauss-Newton step of the free parameters would lower
// chi2 by no more than a trifle.
bool Stationary(std::span<const double> r, const NormalEquations& normal,
                const std::vector<bool>& held) {
    const std::size_t k = held.size();
    double chi2 = 0.0;
    for (double value : r) chi2 += value * value;
    const double length = std::max(std::sqrt(chi2), 1.0);
    bool perpendicular = true;
    for (std::size_t j = 0; j < k && perpendicular; ++j) {
        const double column = std::sqrt(normal.curvature[j * k + j]);
        perpendicular =
            held[j] || std::abs(normal.gradient[j]) <= kGradientTolerance * column * length;
    }
    if (perpendicular) return true;
    std::vector<double> step(k, 0.0);
    if (!DampedStep(normal, held, kSmallestDamping, step)) return false;
    double decrease = 0.0;
    for (std::size_t j = 0; j < k; ++j) decrease -= normal.gradient[j] * step[j];
    return decrease <= kTrifle * std::max(chi2, 1.0);
}

struct Descent {
    FitResult::Status status = FitResult::Status::Failed;
    std::vector<double> values;
    double chi2 = kNoValue;
    std::string reason;
};

// The end of a descent: converged only where the projected gradient vanishes, tested with
// central differences, whose gradient is accurate enough to tell a minimum from a point
// where an ill-conditioned surface stalled the forward differences' steps.
Descent Ended(const Problem& problem, std::vector<double> x, std::span<const double> r, double chi2,
              std::string_view why) {
    std::vector<double> jacobian;
    Descent descent{FitResult::Status::NotConverged, x, chi2, std::string(why)};
    if (!problem.JacobianAt(x, r, jacobian, true)) {
        descent.reason = "the model has no value next to the minimum";
        return descent;
    }
    const NormalEquations normal = NormalOf(jacobian, r, problem.Size());
    if (Stationary(r, normal, HeldOnBounds(problem, x, normal.gradient))) {
        descent.status = FitResult::Status::Converged;
        descent.reason.clear();
    }
    return descent;
}

// Projected Levenberg-Marquardt from x until the steps or the decreases of chi2 vanish.
Descent Descend(const Problem& problem, std::vector<double> x) {
    const std::size_t k = problem.Size();
    for (std::size_t j = 0; j < k; ++j) x[j] = problem.Clamp(j, x[j]);
    std::vector<double> r(problem.ResidualCount());
    std::vector<double> trialR(r.size());
    double chi2 = problem.Chi2At(x, r);
    if (!std::isfinite(chi2))
        return {FitResult::Status::Failed, x, kNoValue, "no value at the start"};
    std::vector<double> jacobian;
    std::vector<double> step;
    std::vector<double> trial(k);
    double lambda = 1e-3;
    for (std::size_t iteration = 0; iteration < kMaxIterations; ++iteration) {
        if (!problem.JacobianAt(x, r, jacobian, false)) {
            return {FitResult::Status::NotConverged, x, chi2,
                    "the model has no value next to the point"};
        }
        const NormalEquations normal = NormalOf(jacobian, r, k);
        const std::vector<bool> held = HeldOnBounds(problem, x, normal.gradient);
        bool accepted = false;
        bool done = false;
        for (double growth = 2.0; lambda < 1e20 && !accepted && !done; growth *= 2.0) {
            if (!DampedStep(normal, held, lambda, step)) {
                lambda *= growth;
                continue;
            }
            double largest = 0.0;
            for (std::size_t j = 0; j < k; ++j) {
                trial[j] = problem.Clamp(j, x[j] + step[j]);
                largest = std::max(largest, std::abs(trial[j] - x[j]) /
                                                (std::abs(x[j]) + 1e-3 * problem.Scale(j)));
            }
            const double trialChi2 = largest == 0.0 ? kNoValue : problem.Chi2At(trial, trialR);
            if (trialChi2 < chi2) {
                double predicted = 0.0;
                for (std::size_t a = 0; a < k; ++a) {
                    const double da = trial[a] - x[a];
                    predicted -= 2.0 * normal.gradient[a] * da;
                    for (std::size_t b = 0; b < k; ++b) {
                        predicted -= normal.curvature[a * k + b] * da * (trial[b] - x[b]);
                    }
                }
                const double rho = predicted > 0.0 ? (chi2 - trialChi2) / predicted : 0.0;
                lambda =
                    std::max(kSmallestDamping,
                             lambda * std::max(1.0 / 3.0, 1.0 - std::pow(2.0 * rho - 1.0, 3.0)));
                done = largest <= kStepTolerance || chi2 - trialChi2 <= kDecreaseTolerance * chi2;
                accepted = true;
                x = trial;
                r.swap(trialR);
                chi2 = trialChi2;
            } else {
                done = largest <= kStepTolerance;
                lambda *= growth;
            }
        }
        if (done || !accepted) return Ended(problem, x, r, chi2, "stopped where chi2 still falls");
    }
    return Ended(problem, x, r, chi2, "no convergence within 200 iterations");
}

// A descent from a given start, which stays there when the start is a minimum already: a
// refit from a fit's own result gives it back unchanged, not moved in its last digits.
Descent DescendFromStart(const Problem& problem, std::vector<double> x) {
    for (std::size_t j = 0; j < x.size(); ++j) x[j] = problem.Clamp(j, x[j]);
    std::vector<double> r(problem.ResidualCount());
    const double chi2 = problem.Chi2At(x, r);
    if (std::isfinite(chi2)) {
        Descent there = Ended(problem, x, r, chi2, "");
        if (there.status == FitResult::Status::Converged) return there;
    }
    return Descend(problem, std::move(x));
}

// Starts drawn across the span of each parameter's grid (log-uniform for a positive grid,
// a quarter below its least to four times its largest value; uniform between two finite
// bounds), from a fixed seed so that a fit is repeatable.
std::vector<std::vector<double>> ScatteredStarts(std::span<const FitParameter> parameters,
                                                 int count) {
    std::mt19937_64 random(static_cast<std::uint64_t>(parameters.size()));
    std::vector<std::vector<double>> starts(static_cast<std::size_t>(std::max(count, 0)));
    for (std::vector<double>& start : starts) {
        for (const FitParameter& parameter : parameters) {
            const auto [least, largest] = std::ranges::minmax(parameter.grid);
            if (std::isfinite(parameter.lower) && std::isfinite(parameter.upper)) {
                start.push_back(std::uniform_real_distribution<double>(parameter.lower,
                                                                       parameter.upper)(random));
            } else if (least > 0.0) {
                std::uniform_real_distribution<double> logs(std::log(least / 4.0),
                                                            std::log(largest * 4.0));
                start.push_back(std::exp(logs(random)));
            } else {
                start.push_back(std::uniform_real_distribution<double>(least, largest)(random));
            }
        }
    }
    return starts;
}

struct GridPoint {
    double chi2;
    std::vector<double> values;
};

// The grid's local minima (no neighbour along any axis lower), best first, at most
// `count`; empty when no point has a value. Of a flat stretch, where a parameter has no
// effect, only its first point counts, so that it does not crowd out the other minima.
std::vector<GridPoint> GridMinima(std::span<const FitParameter> parameters, const Problem& problem,
                                  std::size_t count) {
    const std::size_t k = parameters.size();
    std::vector<std::size_t> strides(k, 1);
    std::size_t total = 1;
    for (std::size_t j = 0; j < k; ++j) {
        strides[j] = total;
        total *= parameters[j].grid.size();
    }
    std::vector<double> point(k);
    const auto pointAt = [&](std::size_t flat) -> const std::vector<double>& {
        for (std::size_t j = 0; j < k; ++j) {
            point[j] = parameters[j].grid[flat / strides[j] % parameters[j].grid.size()];
        }
        return point;
    };
    std::vector<double> chi2(total);
    std::vector<double> r(problem.ResidualCount());
    for (std::size_t flat = 0; flat < total; ++flat) chi2[flat] = problem.Chi2At(pointAt(flat), r);
    std::vector<std::size_t> minima;
    for (std::size_t flat = 0; flat < total; ++flat) {
        if (!std::isfinite(chi2[flat])) continue;
        bool lowest = true;
        for (std::size_t j = 0; j < k && lowest; ++j) {
            const std::size_t index = flat / strides[j] % parameters[j].grid.size();
            if (index > 0) lowest = chi2[flat - strides[j]] > chi2[flat];
            if (lowest && index + 1 < parameters[j].grid.size()) {
                lowest = chi2[flat + strides[j]] >= chi2[flat];
            }
        }
        if (lowest) minima.push_back(flat);
    }
    std::ranges::sort(minima, [&](std::size_t a, std::size_t b) { return chi2[a] < chi2[b]; });
    minima.resize(std::min(minima.size(), count));
    std::vector<GridPoint> points;
    for (std::size_t flat : minima) points.push_back({chi2[flat], pointAt(flat)});
    return points;
}

// How many of the grid's minima a fit of k parameters starts from: the more parameters,
// the more minima a surface of them tends to have.
std::size_t StartsFor(std::size_t k) {
    constexpr std::size_t kStarts[] = {1, 1, 2, 4, 16, 32};
    return kStarts[std::min(k, std::size(kStarts) - 1)];
}

bool Better(const Descent& candidate, const Descent& best) {
    const bool converged = candidate.status == FitResult::Status::Converged;
    const bool bestConverged = best.status == FitResult::Status::Converged;
    const double tie = 1e-10 * std::max(best.chi2, 1e-30);
    if (std::abs(candidate.chi2 - best.chi2) <= tie) return converged && !bestConverged;
    return candidate.chi2 < best.chi2;
}

// The column-normalised Jacobian's singular values and directions.
struct Decomposition {
    std::vector<double> values;      // descending
    std::vector<double> directions;  // columns, m by m, row-major
};
Decomposition Decompose(std::vector<double> scaled, std::size_t n, std::size_t m) {
    Decomposition decomposition{std::vector<double>(m), std::vector<double>(m * m)};
    gsl_matrix_view a = gsl_matrix_view_array(scaled.data(), n, m);
    gsl_matrix_view v = gsl_matrix_view_array(decomposition.directions.data(), m, m);
    gsl_vector_view s = gsl_vector_view_array(decomposition.values.data(), m);
    gsl_linalg_SV_decomp_jacobi(&a.matrix, &v.matrix, &s.vector);
    return decomposition;
}

// The flags and errors at the fit's point. A parameter on a bound is flagged and held
// fixed; one whose column has no effect on chi2, or that takes part in a direction along
// which the covariance is singular, is undetermined; the covariance (J^T J)^-1 of the
// others gives their errors. Flagged parameters have no error (NaN).
void Assess(const Problem& problem, FitResult& result) {
    const std::size_t k = problem.Size();
    const std::size_t n = problem.ResidualCount();
    result.flags.assign(k, ParameterFlag::None);
    result.errors.assign(k, std::numeric_limits<double>::quiet_NaN());
    std::vector<double> r(n);
    std::vector<double> jacobian;
    if (!std::isfinite(problem.Chi2At(result.values, r)) ||
        !problem.JacobianAt(result.values, r, jacobian, true)) {
        return;
    }
    std::vector<double> norms(k, 0.0);
    for (std::size_t j = 0; j < k; ++j) {
        for (std::size_t i = 0; i < n; ++i) norms[j] += jacobian[i * k + j] * jacobian[i * k + j];
        norms[j] = std::sqrt(norms[j]);
        const double size = std::max(std::abs(result.values[j]), 1e-3 * problem.Scale(j));
        if (problem.OnBound(j, result.values[j])) {
            result.flags[j] = ParameterFlag::AtBound;
        } else if (norms[j] * size <= 1e-8) {
            result.flags[j] = ParameterFlag::Undetermined;
        }
    }
    std::vector<std::size_t> kept;
    for (std::size_t j = 0; j < k; ++j) {
        if (result.flags[j] == ParameterFlag::None) kept.push_back(j);
    }
    const std::size_t m = kept.size();
    if (m == 0) return;
    std::vector<double> scaled(n * m);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t a = 0; a < m; ++a) {
            scaled[i * m + a] = jacobian[i * k + kept[a]] / norms[kept[a]];
        }
    }
    const Decomposition d = Decompose(std::move(scaled), n, m);
    // Singular directions are left out of the covariance (its pseudo-inverse), so that a
    // parameter apart from them keeps the error it has with their combination free.
    constexpr double kSingular = 1e-8;
    std::vector<bool> regular(m);
    for (std::size_t c = 0; c < m; ++c) {
        regular[c] = d.values[c] > kSingular * d.values[0];
        for (std::size_t a = 0; a < m && !regular[c]; ++a) {
            if (std::abs(d.directions[a * m + c]) >= 0.1) {
                result.flags[kept[a]] = ParameterFlag::Undetermined;
            }
        }
    }
    for (std::size_t a = 0; a < m; ++a) {
        if (result.flags[kept[a]] != ParameterFlag::None) continue;
        double variance = 0.0;
        for (std::size_t c = 0; c < m; ++c) {
            const double along = regular[c] ? d.directions[a * m + c] / d.values[c] : 0.0;
            variance += along * along;
        }
        result.errors[kept[a]] = std::sqrt(variance) / norms[kept[a]];
    }
}

// A descent toward a minimum that lies on a bound can end a hair inside it, when the
// bound is where the unbounded minimum lies too; the parameter is put on the bound when
// chi2 does not notice.
Descent OntoNearBounds(const Problem& problem, Descent descent) {
    std::vector<double> r(problem.ResidualCount());
    std::vector<double> x = descent.values;
    for (std::size_t j = 0; j < x.size(); ++j) {
        const double lower = problem.Clamp(j, -kNoValue);
        const double upper = problem.Clamp(j, kNoValue);
        const double bound = x[j] - lower < upper - x[j] ? lower : upper;
        if (problem.OnBound(j, x[j]) || std::abs(x[j] - bound) > 1e-6 * problem.Scale(j)) continue;
        const double at = x[j];
        x[j] = bound;
        if (problem.Chi2At(x, r) > descent.chi2 + 1e-12 * std::max(descent.chi2, 1.0)) x[j] = at;
    }
    if (x == descent.values) return descent;
    const double chi2 = problem.Chi2At(x, r);
    Descent onBounds = Ended(problem, x, r, chi2, "stopped where chi2 still falls");
    const bool kept = onBounds.status == FitResult::Status::Converged ||
                      descent.status != FitResult::Status::Converged;
    return kept ? onBounds : descent;
}

bool OnAnyBound(const Problem& problem, std::span<const double> x) {
    for (std::size_t j = 0; j < x.size(); ++j) {
        if (problem.OnBound(j, problem.Clamp(j, x[j]))) return true;
    }
    return false;
}

// The best descent from the start, from the grid's most promising points and from
// scattered starts: from the grid only when there is no start, the start lies on a bound,
// or its descent does not reach a converged minimum below the grid's best.
std::optional<Descent> BestDescent(const Problem& problem, std::span<const FitParameter> parameters,
                                   std::span<const double> start, int scatteredStarts) {
    std::optional<Descent> best;
    const auto consider = [&best](Descent descent) {
        if (!best || Better(descent, *best)) best = std::move(descent);
    };
    const std::vector<GridPoint> minima =
        GridMinima(parameters, problem, StartsFor(parameters.size()));
    bool fromGrid = start.empty();
    if (!start.empty()) {
        consider(DescendFromStart(problem, {start.begin(), start.end()}));
        fromGrid = OnAnyBound(problem, start) || best->status != FitResult::Status::Converged ||
                   (!minima.empty() && best->chi2 > minima.front().chi2);
    }
    for (std::size_t s = 0; fromGrid && s < minima.size(); ++s) {
        consider(Descend(problem, minima[s].values));
        // Nothing lies below a perfect fit.
        if (best->chi2 <= kPerfect) break;
    }
    for (const std::vector<double>& scattered :
         ScatteredStarts(parameters, fromGrid ? scatteredStarts : 0)) {
        if (best && best->chi2 <= kPerfect) break;
        consider(Descend(problem, scattered));
    }
    return best;
}

// The lowest point may only need more iterations than one descent had: a long, narrow
// valley, as where two internal motions have nearly the same time.
Descent DescendedFurther(const Problem& problem, Descent best) {
    constexpr int kFurtherDescents = 10;
    for (int again = 0; again < kFurtherDescents && best.status == FitResult::Status::NotConverged;
         ++again) {
        const double before = best.chi2;
        Descent further = Descend(problem, best.values);
        if (Better(further, best)) best = std::move(further);
        if (!(best.chi2 < before)) break;
    }
    return best;
}

}  // namespace

FitResult FitLeastSquares(std::span<const FitParameter> parameters, std::size_t residualCount,
                          const ResidualFunction& residuals, std::span<const double> start,
                          int scatteredStarts) {
    // GSL's default handler aborts the program; every error here is a returned status.
    gsl_set_error_handler_off();
    FitResult result;
    const std::size_t count = parameters.size();
    if (count == 0 || residualCount < count) {
        result.reason = "fewer measurements than free parameters";
        return result;
    }
    const Problem problem(parameters, residualCount, residuals);
    const std::optional<Descent> found = BestDescent(problem, parameters, start, scatteredStarts);
    if (!found || found->status == FitResult::Status::Failed) {
        result.reason =
            found ? found->reason : "the model has no value anywhere on the starting grid";
        return result;
    }
    const Descent best = OntoNearBounds(problem, DescendedFurther(problem, *found));
    result.status = best.status;
    result.values = best.values;
    result.chi2 = best.chi2;
    result.reason = best.reason;
    Assess(problem, result);
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
