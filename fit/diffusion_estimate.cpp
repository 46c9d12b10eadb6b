// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_estimate.h"

#include <gsl/gsl_eigen.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <tuple>

#include "engine/constants.h"

namespace veldorin {
namespace {

// Below this NOE a bond moves too much inside the protein for its ratio to tell the tumbling.
constexpr double kNoeFloor = 0.65;
// Local times further from the mean than this many standard deviations point to exchange.
constexpr double kSpreadLimit = 1.5;
// The local times searched, in ps: where a rigid bond's R2/R1 rises with its time.
constexpr double kShortestPs = 500.0;
constexpr double kLongestPs = 200000.0;
// The residues each shape's parameters need.
constexpr int kSphereResidues = 1;
constexpr int kSpheroidResidues = 4;
constexpr int kEllipsoidResidues = 6;

constexpr char kFilters[] =
    "NOE at least 0.65 at every field where it was measured; the local correlation time "
    "from R2/R1 (the mean over the fields) within 1.5 standard deviations of the mean of the "
    "residues passing the NOE filter; a bond vector and R1 with R2 at one field at least";

using Matrix3 = std::array<std::array<double, 3>, 3>;

// A residue the estimate rests on: its bond's unit vector and its local D = 1/(6 tau).
struct LocalDiffusion {
    std::string residue;
    Vector3 bond{};
    double tauPs = 0.0;
    double d = 0.0;
};

struct Screened {
    std::optional<LocalDiffusion> local;
    std::string reason;
};

template <typename... Numbers>
std::string Formatted(const char* format, Numbers... numbers) {
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(), format, numbers...);
    return text.data();
}

// R2/R1 of a rigid bond tumbling isotropically with the time tau.
double RigidRatio(const FitSpinSystem& system, double tauPs, double protonMHz) {
    const RatesAtField rates = RatesOf(system, {{1.0, tauPs}}, protonMHz);
    return rates.r2 / rates.r1;
}

// The local time whose rigid ratio is the measured one, by bisection on log tau.
std::optional<double> LocalTimePs(const FitSpinSystem& system, double ratio, double protonMHz) {
    double low = std::log(kShortestPs);
    double high = std::log(kLongestPs);
    if (!(ratio >= RigidRatio(system, kShortestPs, protonMHz) &&
          ratio <= RigidRatio(system, kLongestPs, protonMHz))) {
        return std::nullopt;
    }
    for (int step = 0; step < 60; ++step) {
        const double middle = 0.5 * (low + high);
        (RigidRatio(system, std::exp(middle), protonMHz) < ratio ? low : high) = middle;
    }
    return std::exp(0.5 * (low + high));
}

struct FieldRates {
    double r1 = std::numeric_limits<double>::quiet_NaN();
    double r2 = std::numeric_limits<double>::quiet_NaN();
};

// The R1 and R2 at each field that has both, the first of each where a field has several.
std::map<double, FieldRates> PairsByField(const ResidueData& residue) {
    std::map<double, FieldRates> fields;
    for (const Measurement& m : residue.measurements) {
        const Quantity compared = ComparedQuantity(m.quantity);
        if (compared == Quantity::Noe) continue;
        double& rate = compared == Quantity::R1 ? fields[m.fieldMHz].r1 : fields[m.fieldMHz].r2;
        if (std::isnan(rate)) rate = m.ComparedValue();
    }
    std::erase_if(fields, [](const auto& field) {
        return !(field.second.r1 > 0.0 && field.second.r2 > 0.0);
    });
    return fields;
}

std::optional<std::string> LowNoe(const ResidueData& residue) {
    for (const Measurement& m : residue.measurements) {
        if (m.quantity == Quantity::Noe && m.value < kNoeFloor)
            return Formatted("NOE %.2f below %.2f at %g MHz", m.value, kNoeFloor, m.fieldMHz);
    }
    return std::nullopt;
}

Screened Screen(const ResidueData& residue, const std::map<std::string, Vector3>& bonds,
                const FitSpinSystem& system) {
    const auto bond = bonds.find(residue.residue);
    const double length = bond == bonds.end() ? 0.0 : std::sqrt(Dot(bond->second, bond->second));
    if (!(length > 0.0)) return {std::nullopt, "no bond vector"};
    if (auto reason = LowNoe(residue)) return {std::nullopt, *reason};
    const std::map<double, FieldRates> fields = PairsByField(residue);
    if (fields.empty()) return {std::nullopt, "no R1 and R2 at one field"};
    double sum = 0.0;
    for (const auto& [mhz, rates] : fields) {
        const double ratio = rates.r2 / rates.r1;
        const auto tau = LocalTimePs(system, ratio, mhz);
        if (!tau) {
            return {std::nullopt,
                    Formatted("R2/R1 %.3g at %g MHz outside a rigid bond's %.3g to %.3g", ratio,
                              mhz, RigidRatio(system, kShortestPs, mhz),
                              RigidRatio(system, kLongestPs, mhz))};
        }
        sum += *tau;
    }
    const double tauPs = sum / static_cast<double>(fields.size());
    const Vector3& b = bond->second;
    return {LocalDiffusion{residue.residue,
                           {b[0] / length, b[1] / length, b[2] / length},
                           tauPs,
                           1e12 / (6.0 * tauPs)},
            ""};
}

// The residues whose local time lies beyond kSpreadLimit standard deviations of the mean,
// moved from `locals` to `leftOut`.
void LeaveOutSpread(std::vector<LocalDiffusion>& locals, std::vector<LeftOutResidue>& leftOut) {
    const double n = static_cast<double>(locals.size());
    if (locals.size() < 3) return;
    double mean = 0.0;
    for (const LocalDiffusion& local : locals) mean += local.tauPs / n;
    double squares = 0.0;
    for (const LocalDiffusion& local : locals) squares += std::pow(local.tauPs - mean, 2);
    const double deviation = std::sqrt(squares / (n - 1.0));
    std::erase_if(locals, [&](const LocalDiffusion& local) {
        const double away = std::abs(local.tauPs - mean) / deviation;
        if (!(away > kSpreadLimit)) return false;
        leftOut.push_back(
            {local.residue,
             Formatted("local correlation time %.2f ns from R2/R1, %.1f standard deviations "
                       "from the mean %.2f ns",
                       local.tauPs / 1000.0, away, mean / 1000.0)});
        return true;
    });
}

struct GslDeleter {
    void operator()(gsl_multifit_linear_workspace* w) const { gsl_multifit_linear_free(w); }
    void operator()(gsl_eigen_symmv_workspace* w) const { gsl_eigen_symmv_free(w); }
    void operator()(gsl_matrix* m) const { gsl_matrix_free(m); }
    void operator()(gsl_vector* v) const { gsl_vector_free(v); }
};
template <typename T>
using GslPointer = std::unique_ptr<T, GslDeleter>;

// The quadric Q with local D = b^T Q b (Bruschweiler 1995) by linear least squares over
// its six elements; nothing when the bonds do not fix all six.
std::optional<Matrix3> FitQuadric(const std::vector<LocalDiffusion>& locals) {
    const std::size_t n = locals.size();
    GslPointer<gsl_matrix> design(gsl_matrix_alloc(n, 6));
    GslPointer<gsl_vector> observed(gsl_vector_alloc(n));
    for (std::size_t i = 0; i < n; ++i) {
        const auto [x, y, z] = locals[i].bond;
        const std::array<double, 6> row{x * x, y * y, z * z, 2 * x * y, 2 * x * z, 2 * y * z};
        for (std::size_t j = 0; j < 6; ++j) gsl_matrix_set(design.get(), i, j, row[j]);
        gsl_vector_set(observed.get(), i, locals[i].d);
    }
    GslPointer<gsl_vector> elements(gsl_vector_alloc(6));
    GslPointer<gsl_matrix> covariance(gsl_matrix_alloc(6, 6));
    GslPointer<gsl_multifit_linear_workspace> work(gsl_multifit_linear_alloc(n, 6));
    double chiSquared = 0.0;
    std::size_t rank = 0;
    gsl_set_error_handler_off();
    if (gsl_multifit_linear_tsvd(design.get(), observed.get(), 1e-10, elements.get(),
                                 covariance.get(), &chiSquared, &rank, work.get()) != GSL_SUCCESS ||
        rank < 6) {
        return std::nullopt;
    }
    const auto e = [&](std::size_t i) { return gsl_vector_get(elements.get(), i); };
    return Matrix3{{{e(0), e(3), e(4)}, {e(3), e(1), e(5)}, {e(4), e(5), e(2)}}};
}

// The principal values of a symmetric matrix ascending, with their unit axes.
std::array<PrincipalAxis, 3> EigenOf(Matrix3 matrix) {
    GslPointer<gsl_vector> values(gsl_vector_alloc(3));
    GslPointer<gsl_matrix> vectors(gsl_matrix_alloc(3, 3));
    GslPointer<gsl_eigen_symmv_workspace> work(gsl_eigen_symmv_alloc(3));
    gsl_matrix_view view = gsl_matrix_view_array(matrix[0].data(), 3, 3);
    gsl_eigen_symmv(&view.matrix, values.get(), vectors.get(), work.get());
    gsl_eigen_symmv_sort(values.get(), vectors.get(), GSL_EIGEN_SORT_VAL_ASC);
    std::array<PrincipalAxis, 3> principal;
    for (std::size_t k = 0; k < 3; ++k) {
        principal[k].d = gsl_vector_get(values.get(), k);
        for (std::size_t i = 0; i < 3; ++i)
            principal[k].axis[i] = gsl_matrix_get(vectors.get(), i, k);
    }
    return principal;
}

// The z-y-z Euler angles of the rotation whose columns are the axes.
std::array<double, 3> EulerAnglesOf(const std::array<Vector3, 3>& axes) {
    const double sine = std::hypot(axes[2][0], axes[2][1]);
    const double beta = std::atan2(sine, axes[2][2]);
    if (sine < 1e-12) return {0.0, beta, std::atan2(axes[0][1], axes[1][1])};
    return {std::atan2(axes[2][1], axes[2][0]), beta, std::atan2(axes[1][2], -axes[0][2])};
}

// The ellipsoid of the quadric: D = tr(Q) - 2Q, its z axis the most unlike value so that
// Dr falls from 0 to 1/3, the frame right-handed.
std::optional<DiffusionTensor> EllipsoidOf(const std::vector<LocalDiffusion>& locals) {
    const auto quadric = FitQuadric(locals);
    if (!quadric) return std::nullopt;
    Matrix3 d{};
    const double trace = (*quadric)[0][0] + (*quadric)[1][1] + (*quadric)[2][2];
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            d[i][j] = (i == j ? trace : 0.0) - 2.0 * (*quadric)[i][j];
    const auto [low, middle, high] = EigenOf(d);
    if (!(low.d > 0.0)) return std::nullopt;
    const bool highUnlike = middle.d <= 0.5 * (low.d + high.d);
    const PrincipalAxis& x = highUnlike ? low : high;
    const PrincipalAxis& z = highUnlike ? high : low;
    const std::array<Vector3, 3> axes{x.axis, middle.axis, Cross(x.axis, middle.axis)};
    return DiffusionTensor{DiffusionModel::Ellipsoid, {x.d, middle.d, z.d}, EulerAnglesOf(axes)};
}

// A spheroid about a given axis: local D = (D_perp + D_par)/2 - (D_par - D_perp) cos^2/2,
// fitted linearly, with D_par - D_perp held at 0 where its sign is not the model's.
struct AxialFit {
    double cost = 0.0;
    double perp = 0.0;
    double par = 0.0;
};

AxialFit FitAlong(const std::vector<LocalDiffusion>& locals, const Vector3& axis,
                  DiffusionModel model) {
    const double n = static_cast<double>(locals.size());
    double meanC = 0.0, meanD = 0.0;
    for (const LocalDiffusion& local : locals) {
        meanC += std::pow(Dot(local.bond, axis), 2) / n;
        meanD += local.d / n;
    }
    double cc = 0.0, cd = 0.0;
    for (const LocalDiffusion& local : locals) {
        const double c = std::pow(Dot(local.bond, axis), 2) - meanC;
        cc += c * c;
        cd += c * (local.d - meanD);
    }
    double slope = cc > 0.0 ? cd / cc : 0.0;
    if (model == DiffusionModel::Prolate ? slope > 0.0 : slope < 0.0) slope = 0.0;
    const double intercept = meanD - slope * meanC;
    double cost = 0.0;
    for (const LocalDiffusion& local : locals)
        cost += std::pow(local.d - intercept - slope * std::pow(Dot(local.bond, axis), 2), 2);
    return {cost, intercept + slope, intercept - slope};
}

Vector3 Direction(double polar, double azimuth) {
    return {std::sin(polar) * std::cos(azimuth), std::sin(polar) * std::sin(azimuth),
            std::cos(polar)};
}

// The unique axis by the least cost: a grid over the hemisphere, then a pattern search.
std::optional<DiffusionTensor> SpheroidOf(const std::vector<LocalDiffusion>& locals,
                                          DiffusionModel model) {
    constexpr int kGrid = 2000;
    const auto cost = [&](double polar, double azimuth) {
        return FitAlong(locals, Direction(polar, azimuth), model).cost;
    };
    double polar = 0.0, azimuth = 0.0, best = cost(0.0, 0.0);
    for (int k = 0; k < kGrid; ++k) {
        const double p = std::acos(1.0 - (k + 0.5) / kGrid);
        const double a = k * kPi * (3.0 - std::sqrt(5.0));
        if (const double c = cost(p, a); c < best)
            std::tie(polar, azimuth, best) = std::tie(p, a, c);
    }
    for (double step = 0.05; step > 1e-6;) {
        bool moved = false;
        const std::array<std::pair<double, double>, 4> moves{
            {{step, 0.0}, {-step, 0.0}, {0.0, step}, {0.0, -step}}};
        for (const auto& [dp, da] : moves) {
            if (const double c = cost(polar + dp, azimuth + da); c < best) {
                std::tie(polar, azimuth, best) = std::tuple(polar + dp, azimuth + da, c);
                moved = true;
            }
        }
        if (!moved) step /= 2.0;
    }
    Vector3 axis = Direction(polar, azimuth);
    if (axis[2] < 0.0) axis = {-axis[0], -axis[1], -axis[2]};
    const AxialFit fit = FitAlong(locals, axis, model);
    if (!(fit.perp > 0.0 && fit.par > 0.0)) return std::nullopt;
    return DiffusionTensor{model,
                           {fit.perp, fit.perp, fit.par},
                           {std::atan2(axis[1], axis[0]), std::acos(std::min(1.0, axis[2])), 0.0}};
}

std::optional<DiffusionTensor> TensorFrom(const std::vector<LocalDiffusion>& locals,
                                          DiffusionModel model) {
    const auto count = static_cast<int>(locals.size());
    switch (model) {
        case DiffusionModel::Sphere: {
            if (count < kSphereResidues) return std::nullopt;
            double mean = 0.0;
            for (const LocalDiffusion& local : locals) mean += local.d / count;
            return DiffusionTensor{model, {mean, mean, mean}, {}};
        }
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate:
            if (count < kSpheroidResidues) return std::nullopt;
            return SpheroidOf(locals, model);
        case DiffusionModel::Ellipsoid:
            if (count < kEllipsoidResidues) return std::nullopt;
            return EllipsoidOf(locals);
    }
    return std::nullopt;
}

}  // namespace

std::optional<TensorEstimate> EstimateTensor(const ProteinData& data,
                                             const std::map<std::string, Vector3>& bonds,
                                             DiffusionModel model, const FitSpinSystem& system) {
    FitSpinSystem rigid = system;
    rigid.rexAt800 = 0.0;
    TensorEstimate estimate;
    estimate.filters = kFilters;
    std::vector<LocalDiffusion> locals;
    for (const ResidueData& residue : data.residues) {
        Screened screened = Screen(residue, bonds, rigid);
        if (screened.local)
            locals.push_back(std::move(*screened.local));
        else
            estimate.leftOut.push_back({residue.residue, std::move(screened.reason)});
    }
    LeaveOutSpread(locals, estimate.leftOut);
    const auto tensor = TensorFrom(locals, model);
    if (!tensor) return std::nullopt;
    estimate.tensor = *tensor;
    for (const LocalDiffusion& local : locals) estimate.used.push_back(local.residue);
    return estimate;
}

}  // namespace veldorin
