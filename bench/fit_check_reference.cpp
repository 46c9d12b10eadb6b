// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/fit_check_reference.h"

#include <gsl/gsl_linalg.h>
#include <gsl/gsl_multimin.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "bench/fit_check_truth.h"

namespace veldorin::fit_check {
namespace {

using enum ModelFreeParameter;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double UpperOf(ModelFreeParameter parameter) {
    return parameter == S2f || parameter == S2s ? 1.0 : kInfinity;
}

// The size of a step that matters for the parameter: the simplex works in units of it.
double ScaleOf(ModelFreeParameter parameter) {
    switch (parameter) {
        case Tm: return 1000.0;
        case S2f:
        case S2s: return 0.1;
        case Te:
        case Tf:
        case Ts: return 100.0;
        case Rex: return 1.0;
        case Csa: return 10.0;
    }
    return 1.0;
}

std::vector<double> GridOf(ModelFreeParameter parameter) {
    switch (parameter) {
        case Tm: return {3000.0, 6000.0, 12000.0, 24000.0};
        case S2f: return {0.6, 0.8, 0.95};
        case S2s: return {0.2, 0.5, 0.8, 0.95};
        case Te: return {10.0, 50.0, 200.0, 1000.0};
        case Tf: return {10.0, 50.0, 200.0};
        case Ts: return {50.0, 300.0, 1500.0, 5000.0};
        case Rex: return {0.0, 1.0, 5.0, 20.0};
        case Csa: return {-200.0, -160.0};
    }
    return {};
}

double RandomValueOf(ModelFreeParameter parameter, std::mt19937_64& random) {
    switch (parameter) {
        case Tm: return LogUniform(random, 1000.0, 50000.0);
        case S2f: return Uniform(random, 0.3, 1.0);
        case S2s: return Uniform(random, 0.0, 1.0);
        case Te:
        case Tf:
        case Ts: return LogUniform(random, 1.0, 1e6);
        case Rex: return Uniform(random, 0.0, 1.0) < 0.25 ? 0.0 : LogUniform(random, 0.01, 50.0);
        case Csa: return Uniform(random, -250.0, -100.0);
    }
    return 0.0;
}

double Clamped(ModelFreeParameter parameter, double value) {
    return std::clamp(value, 0.0, UpperOf(parameter));
}

// The simplex's function of the scaled point y (x = y * scale): chi2 at the point clamped
// into the bounds, raised by the squared scaled distance outside them, so that the
// simplex is drawn back and the minimum stays the bounded one.
struct ScaledObjective {
    const ReferenceProblem& problem;
    std::vector<double> scale;

    std::vector<double> Natural(const gsl_vector* y) const {
        std::vector<double> x(scale.size());
        for (std::size_t i = 0; i < x.size(); ++i) x[i] = gsl_vector_get(y, i) * scale[i];
        return x;
    }

    double operator()(const gsl_vector* y) const {
        std::vector<double> x = Natural(y);
        double outside = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double inside = Clamped(problem.Free()[i], x[i]);
            outside += std::pow((x[i] - inside) / scale[i], 2);
            x[i] = inside;
        }
        const double chi2 = problem.Chi2At(x);
        if (!std::isfinite(chi2)) return std::numeric_limits<double>::max();
        return chi2 * (1.0 + outside) + outside;
    }
};

double ObjectiveOf(const gsl_vector* y, void* objective) {
    return (*static_cast<const ScaledObjective*>(objective))(y);
}

struct Descent {
    std::vector<double> point;
    double chi2 = kInfinity;
};

struct MinimizerDeleter {
    void operator()(gsl_multimin_fminimizer* m) const { gsl_multimin_fminimizer_free(m); }
};
struct VectorDeleter {
    void operator()(gsl_vector* v) const { gsl_vector_free(v); }
};

// One Nelder-Mead descent from the start with the given first step (in scaled units, or
// relative to a start beyond the scale), until the simplex is smaller than the tolerance.
Descent NelderMead(const ScaledObjective& objective, const std::vector<double>& start, double step,
                   double tolerance) {
    const std::size_t count = start.size();
    std::unique_ptr<gsl_vector, VectorDeleter> y(gsl_vector_alloc(count));
    std::unique_ptr<gsl_vector, VectorDeleter> steps(gsl_vector_alloc(count));
    for (std::size_t i = 0; i < count; ++i) {
        gsl_vector_set(y.get(), i, start[i] / objective.scale[i]);
        gsl_vector_set(steps.get(), i,
                       step * std::max(std::abs(start[i]) / objective.scale[i], 1.0));
    }
    gsl_multimin_function function{&ObjectiveOf, count, const_cast<ScaledObjective*>(&objective)};
    std::unique_ptr<gsl_multimin_fminimizer, MinimizerDeleter> minimizer(
        gsl_multimin_fminimizer_alloc(gsl_multimin_fminimizer_nmsimplex2, count));
    gsl_multimin_fminimizer_set(minimizer.get(), &function, y.get(), steps.get());
    constexpr int kMaxIterations = 20000;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        if (gsl_multimin_fminimizer_iterate(minimizer.get()) != GSL_SUCCESS) break;
        if (gsl_multimin_fminimizer_size(minimizer.get()) < tolerance) break;
    }
    Descent descent{objective.Natural(minimizer->x), 0.0};
    for (std::size_t i = 0; i < count; ++i) {
        descent.point[i] = Clamped(objective.problem.Free()[i], descent.point[i]);
    }
    descent.chi2 = objective.problem.Chi2At(descent.point);
    return descent;
}

// Restarts the simplex around the descent's end until a restart no longer lowers chi2:
// a simplex can collapse before the minimum, a fresh one cannot be fooled the same way.
Descent Polished(const ScaledObjective& objective, Descent descent) {
    constexpr int kMaxRestarts = 12;
    for (int restart = 0; restart < kMaxRestarts; ++restart) {
        const Descent again =
            NelderMead(objective, descent.point, restart == 0 ? 0.05 : 1e-3, 1e-10);
        const bool improved = again.chi2 < descent.chi2 - 1e-13 * (1.0 + descent.chi2);
        if (again.chi2 < descent.chi2) descent = again;
        if (!improved) break;
    }
    return descent;
}

// The grid's points in the order of their chi2, best first.
std::vector<std::vector<double>> RankedGridPoints(const ReferenceProblem& problem) {
    const std::vector<ModelFreeParameter>& free = problem.Free();
    std::vector<std::pair<double, std::vector<double>>> ranked;
    std::vector<std::size_t> index(free.size(), 0);
    for (;;) {
        std::vector<double> point(free.size());
        for (std::size_t i = 0; i < free.size(); ++i) point[i] = GridOf(free[i])[index[i]];
        ranked.emplace_back(problem.Chi2At(point), point);
        std::size_t i = 0;
        while (i < free.size() && ++index[i] == GridOf(free[i]).size()) index[i++] = 0;
        if (i == free.size()) break;
    }
    std::ranges::stable_sort(ranked, {}, &std::pair<double, std::vector<double>>::first);
    std::vector<std::vector<double>> points;
    for (auto& entry : ranked) points.push_back(std::move(entry.second));
    return points;
}

std::vector<std::vector<double>> Starts(const ReferenceProblem& problem, std::uint64_t seed) {
    constexpr std::size_t kGridStarts = 12;
    constexpr std::size_t kRandomStarts = 48;
    std::vector<std::vector<double>> starts = RankedGridPoints(problem);
    starts.resize(std::min(starts.size(), kGridStarts));
    std::mt19937_64 random = CaseRandom(seed, 0x5eed, problem.Free().size());
    for (std::size_t s = 0; s < kRandomStarts; ++s) {
        std::vector<double> start;
        for (ModelFreeParameter parameter : problem.Free()) {
            start.push_back(RandomValueOf(parameter, random));
        }
        starts.push_back(std::move(start));
    }
    return starts;
}

}  // namespace

ReferenceProblem::ReferenceProblem(const std::vector<Measurement>& data,
                                   const ResidueFitSettings& settings, const ModelFreeModel& model)
    : settings_(settings), model_(model), free_(FreeParameters(model, settings)) {
    for (const Measurement& row : data) compared_.push_back(Compared(row));
}

ModelFreeValues ReferenceProblem::ValuesAt(const std::vector<double>& point) const {
    ModelFreeValues values;
    values[Tm] = settings_.tmPs;
    values[Rex] = settings_.system.rexAt800;
    values[Csa] = settings_.system.csaPpm;
    if (model_.rigid) values[S2s] = 1.0;
    for (std::size_t i = 0; i < free_.size(); ++i) values[free_[i]] = point[i];
    return values;
}

std::vector<double> ReferenceProblem::PointOf(const ModelFreeValues& values) const {
    std::vector<double> point;
    for (ModelFreeParameter parameter : free_) point.push_back(values[parameter]);
    return point;
}

void ReferenceProblem::ResidualsAt(const std::vector<double>& point,
                                   std::vector<double>& out) const {
    out.resize(compared_.size());
    ModelResiduals(settings_.system, model_, ValuesAt(point), compared_, out);
}

double ReferenceProblem::Chi2At(const std::vector<double>& point) const {
    std::vector<double> residuals;
    ResidualsAt(point, residuals);
    double chi2 = 0.0;
    for (double r : residuals) chi2 += r * r;
    return std::isfinite(chi2) ? chi2 : kInfinity;
}

ReferenceFit ReferenceMinimum(const ReferenceProblem& problem, std::uint64_t seed) {
    if (problem.Free().empty()) {
        return {problem.ValuesAt({}), problem.Chi2At({})};
    }
    ScaledObjective objective{problem, {}};
    for (ModelFreeParameter parameter : problem.Free())
        objective.scale.push_back(ScaleOf(parameter));
    std::vector<Descent> descents;
    for (const std::vector<double>& start : Starts(problem, seed)) {
        descents.push_back(NelderMead(objective, start, 0.5, 1e-4));
    }
    std::ranges::sort(descents, {}, &Descent::chi2);
    constexpr std::size_t kPolished = 8;
    Descent best;
    for (std::size_t d = 0; d < std::min(kPolished, descents.size()); ++d) {
        const Descent descent = Polished(objective, descents[d]);
        if (descent.chi2 < best.chi2) best = descent;
    }
    return {problem.ValuesAt(best.point), best.chi2};
}

Covariance::Covariance(const ReferenceProblem& problem, const ModelFreeValues& values)
    : free_(problem.Free()) {
    const std::size_t n = problem.MeasurementCount();
    const std::size_t k = free_.size();
    matrix_.assign(k * k, kInfinity);
    if (k == 0 || n < k) return;
    const std::vector<double> point = problem.PointOf(values);
    std::unique_ptr<gsl_matrix, void (*)(gsl_matrix*)> jacobian(gsl_matrix_alloc(n, k),
                                                                gsl_matrix_free);
    std::vector<double> up;
    std::vector<double> down;
    for (std::size_t j = 0; j < k; ++j) {
        const double step = 1e-6 * std::max(std::abs(point[j]), 1e-3 * ScaleOf(free_[j]));
        std::vector<double> plus = point;
        std::vector<double> minus = point;
        plus[j] = std::min(point[j] + step, UpperOf(free_[j]));
        minus[j] = std::max(point[j] - step, 0.0);
        problem.ResidualsAt(plus, up);
        problem.ResidualsAt(minus, down);
        for (std::size_t i = 0; i < n; ++i) {
            gsl_matrix_set(jacobian.get(), i, j, (up[i] - down[i]) / (plus[j] - minus[j]));
        }
    }
    std::unique_ptr<gsl_matrix, void (*)(gsl_matrix*)> v(gsl_matrix_alloc(k, k), gsl_matrix_free);
    std::unique_ptr<gsl_vector, void (*)(gsl_vector*)> singular(gsl_vector_alloc(k),
                                                                gsl_vector_free);
    std::unique_ptr<gsl_vector, void (*)(gsl_vector*)> work(gsl_vector_alloc(k), gsl_vector_free);
    if (gsl_linalg_SV_decomp(jacobian.get(), v.get(), singular.get(), work.get()) != GSL_SUCCESS) {
        return;
    }
    // A direction whose singular value is lost in the rounding of the largest is not seen.
    const double largest = gsl_vector_get(singular.get(), 0);
    for (std::size_t a = 0; a < k; ++a) {
        for (std::size_t b = 0; b < k; ++b) {
            double sum = 0.0;
            for (std::size_t l = 0; l < k; ++l) {
                const double s = gsl_vector_get(singular.get(), l);
                const double product =
                    gsl_matrix_get(v.get(), a, l) * gsl_matrix_get(v.get(), b, l);
                if (s <= 1e-13 * largest) {
                    if (product != 0.0) sum = kInfinity;
                    continue;
                }
                sum += product / (s * s);
            }
            matrix_[a * k + b] = sum;
        }
    }
}

double Covariance::At(std::size_t row, std::size_t column) const {
    return matrix_[row * free_.size() + column];
}

double Covariance::ErrorOf(ModelFreeParameter parameter) const {
    const auto at = std::ranges::find(free_, parameter);
    if (at == free_.end()) return std::numeric_limits<double>::quiet_NaN();
    const auto i = static_cast<std::size_t>(at - free_.begin());
    return std::sqrt(At(i, i));
}

double Covariance::OrderParameterError(const ModelFreeModel& model,
                                       const ModelFreeValues& values) const {
    if (!model.extended) return ErrorOf(S2s);
    // S2 = S2f S2s: the gradient (S2s, S2f) through the covariance.
    const auto index = [&](ModelFreeParameter p) {
        return static_cast<std::size_t>(std::ranges::find(free_, p) - free_.begin());
    };
    const std::size_t f = index(S2f);
    const std::size_t s = index(S2s);
    const double variance = values[S2s] * values[S2s] * At(f, f) +
                            2.0 * values[S2s] * values[S2f] * At(f, s) +
                            values[S2f] * values[S2f] * At(s, s);
    return std::sqrt(variance);
}

}  // namespace veldorin::fit_check
