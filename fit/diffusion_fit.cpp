// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "fit/compared_values.h"
#include "fit/least_squares.h"
#include "fit/protein_fit_steps.h"

namespace veldorin {
namespace {

using enum ModelFreeParameter;
using Stage = ProteinFitProgress::Stage;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kDegrees = 180.0 / std::numbers::pi;

// The coordinates a tensor is fitted in: logarithms of its scales, so that steps are
// relative, then its angles. A spheroid: ln tm, ln(D_par/D_perp) (not below 0 for a
// prolate, not above for an oblate), beta, alpha; an ellipsoid: ln Dx, ln Dy, ln Dz in
// 1e7/s, alpha, beta, gamma.
using Coordinates = std::vector<double>;
constexpr double kEllipsoidScale = 1e7;

double DisoOf(double tmPs) { return 1e12 / (6.0 * tmPs); }

DiffusionTensor TensorAt(DiffusionModel model, const Coordinates& u) {
    DiffusionTensor tensor;
    tensor.model = model;
    switch (model) {
        case DiffusionModel::Sphere: {
            const double d = DisoOf(std::exp(u[0]));
            tensor.d = {d, d, d};
            break;
        }
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate: {
            const double ratio = std::exp(u[1]);
            const double perpendicular = 3.0 * DisoOf(std::exp(u[0])) / (2.0 + ratio);
            tensor.d = {perpendicular, perpendicular, ratio * perpendicular};
            tensor.eulerAngles = {u[3], u[2], 0.0};
            break;
        }
        case DiffusionModel::Ellipsoid:
            for (std::size_t k = 0; k < 3; ++k) tensor.d[k] = kEllipsoidScale * std::exp(u[k]);
            tensor.eulerAngles = {u[3], u[4], u[5]};
            break;
    }
    return tensor;
}

// Keeps a spheroid on its side of the sphere.
void KeepShape(DiffusionModel model, Coordinates& u) {
    if (model == DiffusionModel::Prolate) u[1] = std::max(u[1], 0.0);
    if (model == DiffusionModel::Oblate) u[1] = std::min(u[1], 0.0);
}

// A start a little off the sphere, where the angles have a slope.
constexpr double kLeastAnisotropy = 0.05;

Coordinates CoordinatesOf(const DiffusionTensor& tensor) {
    switch (tensor.model) {
        case DiffusionModel::Sphere: return {std::log(TmPsOf(tensor))};
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate: {
            const double logRatio = std::log(tensor.d[2] / tensor.d[0]);
            return {std::log(TmPsOf(tensor)),
                    tensor.model == DiffusionModel::Prolate ? std::max(logRatio, kLeastAnisotropy)
                                                            : std::min(logRatio, -kLeastAnisotropy),
                    tensor.eulerAngles[1], tensor.eulerAngles[0]};
        }
        case DiffusionModel::Ellipsoid: break;
    }
    Coordinates u;
    for (double d : tensor.d) u.push_back(std::log(d / kEllipsoidScale));
    for (double angle : tensor.eulerAngles) u.push_back(angle);
    return u;
}

std::size_t CoordinateCount(DiffusionModel model) {
    switch (model) {
        case DiffusionModel::Sphere: return 1;
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate: return 4;
        case DiffusionModel::Ellipsoid: return 6;
    }
    return 0;
}

double ScoreOf(Criterion criterion, double chi2, std::size_t measurements, std::size_t k) {
    switch (criterion) {
        case Criterion::Aic: return Akaike(chi2, k);
        case Criterion::Aicc: return CorrectedAkaike(chi2, measurements, k);
        case Criterion::Bic: return Bayesian(chi2, measurements, k);
    }
    return kNaN;
}

// The residues' fits at one tensor, and their total chi2 (infinite where one failed).
struct TensorPoint {
    Coordinates u;
    std::vector<std::optional<ModelFit>> fits;  // nothing for a residue without a model
    double chi2 = 0.0;
};

// The normal equations of the tensor's coordinates, each residue's own parameters
// projected out (variable projection): J'J and J'r of the residuals' slopes along the
// coordinates with every residue's parameters following them.
struct TensorNormal {
    std::vector<double> a;  // q by q
    std::vector<double> b;  // q
};

// A tensor fitted with every residue's model: each residue's parameters refitted at each
// tensor tried, the tensor moved by Levenberg-Marquardt steps on the projected normal
// equations.
class TensorProblem {
public:
    TensorProblem(DiffusionModel model, std::vector<Vector3> bonds,
                  const std::vector<std::vector<Measurement>>& data, const ResidueFitSettings& base,
                  const ProteinFitOptions& options)
        : model_(model), bonds_(std::move(bonds)), data_(data), base_(base), options_(options) {
        for (const std::vector<Measurement>& residue : data_) {
            std::vector<Measurement>& compared = compared_.emplace_back();
            for (const Measurement& measurement : residue)
                compared.push_back(Compared(measurement));
        }
    }

    DiffusionModel model() const { return model_; }

    ResidueFitSettings SettingsAt(const DiffusionTensor& tensor, std::size_t residue) const {
        ResidueFitSettings settings = base_;
        settings.fitTm = false;
        settings.tmPs = TmPsOf(tensor);
        settings.tumbling = TumblingTerms(tensor, bonds_[residue]);
        return settings;
    }

    ResidueSettings AllAt(const Coordinates& u) const {
        const DiffusionTensor tensor = TensorAt(model_, u);
        std::vector<ResidueFitSettings> each;
        for (std::size_t i = 0; i < bonds_.size(); ++i) each.push_back(SettingsAt(tensor, i));
        return ResidueSettings(std::move(each));
    }

    // Each residue's model refitted at the tensor from its fit in `from`, or from the grid
    // where that does not converge.
    TensorPoint At(const Coordinates& u, const std::vector<std::optional<ModelFit>>& from) const {
        const DiffusionTensor tensor = TensorAt(model_, u);
        TensorPoint point{u, std::vector<std::optional<ModelFit>>(from.size()), 0.0};
        ForEachIndex(from.size(), options_, [&](std::size_t i) {
            if (!from[i]) return;
            const ResidueFitSettings settings = SettingsAt(tensor, i);
            ModelFit fit = RefitModel(data_[i], settings, *from[i]);
            if (fit.status != FitResult::Status::Converged)
                fit = FitModel(data_[i], settings, ModelFreeModelNumber(from[i]->model));
            fit.eliminated = from[i]->eliminated;
            point.fits[i] = std::move(fit);
        });
        for (const std::optional<ModelFit>& fit : point.fits) {
            if (!fit) continue;
            point.chi2 += fit->status == FitResult::Status::Converged
                              ? fit->chi2
                              : std::numeric_limits<double>::infinity();
        }
        return point;
    }

    TensorNormal NormalAt(const TensorPoint& point) const {
        const std::size_t q = point.u.size();
        std::vector<TensorNormal> parts(point.fits.size());
        ForEachIndex(point.fits.size(), options_, [&](std::size_t i) {
            if (point.fits[i]) parts[i] = ResidueNormal(point.u, *point.fits[i], i);
        });
        TensorNormal normal{std::vector<double>(q * q, 0.0), std::vector<double>(q, 0.0)};
        for (const TensorNormal& part : parts) {
            if (part.b.empty()) continue;
            for (std::size_t k = 0; k < q * q; ++k) normal.a[k] += part.a[k];
            for (std::size_t k = 0; k < q; ++k) normal.b[k] += part.b[k];
        }
        return normal;
    }

    // Levenberg-Marquardt on the coordinates until chi2 stops falling.
    TensorPoint Minimise(TensorPoint point, int iterations) const {
        const std::size_t q = point.u.size();
        double damping = 1e-3;
        constexpr double kMostDamping = 1e8;
        for (int iteration = 0; iteration < iterations && !Stopped(options_); ++iteration) {
            const TensorNormal normal = NormalAt(point);
            bool fell = false;
            while (damping < kMostDamping && !fell) {
                std::vector<double> a = normal.a;
                for (std::size_t k = 0; k < q; ++k) a[k * q + k] *= 1.0 + damping;
                std::vector<double> minusB(q);
                for (std::size_t k = 0; k < q; ++k) minusB[k] = -normal.b[k];
                const std::vector<double> step = SolveNormal(a, minusB, q);
                Coordinates u = point.u;
                for (std::size_t k = 0; k < q; ++k) u[k] += step[k];
                KeepShape(model_, u);
                TensorPoint next = At(u, point.fits);
                if (next.chi2 < point.chi2) {
                    const double fall = point.chi2 - next.chi2;
                    point = std::move(next);
                    damping = std::max(damping / 10.0, 1e-9);
                    fell = true;
                    if (fall < 1e-10 * (1.0 + point.chi2)) return point;
                } else {
                    damping *= 10.0;
                }
            }
            if (!fell) break;
        }
        return point;
    }

private:
    // Central differences of one residue's residuals: along its moving parameters and along
    // the tensor's coordinates.
    TensorNormal ResidueNormal(const Coordinates& u, const ModelFit& fit, std::size_t i) const {
        const ModelFreeModel& model = ModelFreeModelNumber(fit.model);
        const std::vector<Measurement>& compared = compared_[i];
        const std::size_t n = compared.size();
        const std::size_t q = u.size();
        std::vector<ModelFreeParameter> moving;
        for (std::size_t k = 0; k < fit.free.size(); ++k) {
            if (k >= fit.flags.size() || fit.flags[k] == ParameterFlag::None)
                moving.push_back(fit.free[k]);
        }
        const std::size_t p = moving.size();
        const SpectralTerms tumbling = TumblingTerms(TensorAt(model_, u), bonds_[i]);
        std::vector<double> residuals(n), up(n), down(n);
        ModelResiduals(base_.system, model, fit.values, compared, residuals, tumbling);
        std::vector<double> parameters(n * p);
        for (std::size_t k = 0; k < p; ++k) {
            ModelFreeValues plus = fit.values;
            ModelFreeValues minus = fit.values;
            const double value = fit.values[moving[k]];
            const double step = 1e-6 * std::max(std::abs(value), 1.0);
            plus[moving[k]] = value + step;
            minus[moving[k]] = value - step;
            ModelResiduals(base_.system, model, plus, compared, up, tumbling);
            ModelResiduals(base_.system, model, minus, compared, down, tumbling);
            for (std::size_t m = 0; m < n; ++m)
                parameters[m * p + k] = (up[m] - down[m]) / (2.0 * step);
        }
        std::vector<double> coordinates(n * q);
        constexpr double kStep = 1e-6;
        for (std::size_t j = 0; j < q; ++j) {
            Coordinates plus = u;
            Coordinates minus = u;
            plus[j] += kStep;
            minus[j] -= kStep;
            ModelResiduals(base_.system, model, fit.values, compared, up,
                           TumblingTerms(TensorAt(model_, plus), bonds_[i]));
            ModelResiduals(base_.system, model, fit.values, compared, down,
                           TumblingTerms(TensorAt(model_, minus), bonds_[i]));
            for (std::size_t m = 0; m < n; ++m)
                coordinates[m * q + j] = (up[m] - down[m]) / (2.0 * kStep);
        }
        // Each coordinate's column less its part that the residue's parameters take up.
        std::vector<double> normal(p * p, 0.0);
        for (std::size_t a = 0; a < p; ++a) {
            for (std::size_t c = 0; c < p; ++c) {
                for (std::size_t m = 0; m < n; ++m)
                    normal[a * p + c] += parameters[m * p + a] * parameters[m * p + c];
            }
        }
        for (std::size_t j = 0; j < q && p > 0; ++j) {
            std::vector<double> coupling(p, 0.0);
            for (std::size_t a = 0; a < p; ++a) {
                for (std::size_t m = 0; m < n; ++m)
                    coupling[a] += parameters[m * p + a] * coordinates[m * q + j];
            }
            const std::vector<double> x = SolveNormal(normal, coupling, p);
            for (std::size_t m = 0; m < n; ++m) {
                for (std::size_t a = 0; a < p; ++a)
                    coordinates[m * q + j] -= parameters[m * p + a] * x[a];
            }
        }
        TensorNormal result{std::vector<double>(q * q, 0.0), std::vector<double>(q, 0.0)};
        for (std::size_t m = 0; m < n; ++m) {
            for (std::size_t j = 0; j < q; ++j) {
                result.b[j] += coordinates[m * q + j] * residuals[m];
                for (std::size_t k = 0; k < q; ++k)
                    result.a[j * q + k] += coordinates[m * q + j] * coordinates[m * q + k];
            }
        }
        return result;
    }

    DiffusionModel model_;
    std::vector<Vector3> bonds_;
    const std::vector<std::vector<Measurement>>& data_;
    std::vector<std::vector<Measurement>> compared_;
    ResidueFitSettings base_;
    const ProteinFitOptions& options_;
};

std::vector<std::optional<ModelFit>> FitsOf(const std::vector<ResidueOutcome>& outcomes) {
    std::vector<std::optional<ModelFit>> fits;
    for (const ResidueOutcome& outcome : outcomes) fits.push_back(outcome.fit);
    return fits;
}

// What one diffusion model's rounds end with: the tensor, each residue's outcome at it.
struct TensorRounds {
    TensorPoint point;
    std::vector<ResidueOutcome> outcomes;
    std::vector<DiffusionRound> rounds;
};

DiffusionRound RoundOf(const TensorProblem& problem, const TensorPoint& point) {
    std::vector<int> models;
    for (const std::optional<ModelFit>& fit : point.fits) models.push_back(fit ? fit->model : -1);
    return {std::move(models), TensorAt(problem.model(), point.u), point.chi2};
}

// Rounds of selection under a fixed tensor and a fit of the tensor with the models chosen,
// until the models come back to those of an earlier round; then a selection from the grid
// at the tensor confirms them, or the rounds go on from it.
TensorRounds RoundsOf(const TensorProblem& problem, const ProteinData& data,
                      const ProteinFitOptions& options, Coordinates u) {
    const std::vector<std::vector<EliminatedModel>> banned(data.residues.size());
    constexpr int kMaxRounds = 10;
    constexpr int kIterations = 50;
    Selection selection = SelectionAt(data, problem.AllAt(u), options, banned);
    TensorRounds result;
    std::vector<std::vector<int>> earlier;
    for (int round = 1; !Stopped(options); ++round) {
        if (options.progress) options.progress->round = round;
        BeginStage(options, Stage::Tensor, 0);
        const std::vector<std::optional<ModelFit>> fits = FitsOf(selection.outcomes);
        result.point = problem.Minimise(problem.At(u, fits), kIterations);
        u = result.point.u;
        result.rounds.push_back(RoundOf(problem, result.point));
        const std::vector<int> chosen = ChosenModels(selection.outcomes);
        const bool repeated = std::ranges::find(earlier, chosen) != earlier.end();
        earlier.push_back(chosen);
        if (!repeated && round < kMaxRounds) {
            selection = SelectionAt(data, problem.AllAt(u), options, banned, &selection);
            continue;
        }
        Selection grid = SelectionAt(data, problem.AllAt(u), options, banned);
        if (selection.fromGrid || round >= kMaxRounds || ChosenModels(grid.outcomes) == chosen) {
            // The grid's fits may lie in lower minima of the same models: the tensor follows.
            const TensorPoint confirmed =
                problem.Minimise(problem.At(u, FitsOf(grid.outcomes)), kIterations);
            if (confirmed.chi2 < result.point.chi2) result.point = confirmed;
            result.outcomes = std::move(grid.outcomes);
            break;
        }
        selection = std::move(grid);
    }
    for (std::size_t i = 0; i < result.outcomes.size(); ++i) {
        if (result.outcomes[i].fit) result.outcomes[i].fit = result.point.fits[i];
    }
    return result;
}

// The quantities a tensor's errors are given for: tm, the ascending principal values and
// their axes.
struct TensorQuantities {
    double tmPs = 0.0;
    std::array<PrincipalAxis, 3> axes{};
    double spheroidRatio = 0.0;
};

TensorQuantities QuantitiesOf(const DiffusionTensor& tensor) {
    return {TmPsOf(tensor), PrincipalAxesOf(tensor), SpheroidRatioOf(tensor)};
}

// An axis whose value another shares turns freely about the unique one: it has no error.
bool Degenerate(const std::array<PrincipalAxis, 3>& axes, std::size_t k) {
    const auto same = [&](std::size_t other) {
        return std::abs(axes[k].d - axes[other].d) <= 1e-9 * axes[k].d;
    };
    return (k > 0 && same(k - 1)) || (k < 2 && same(k + 1));
}

// The angle between two axes, whichever way they point, in degrees.
double AxisAngleDegrees(const Vector3& a, const Vector3& b) {
    return std::acos(std::min(std::abs(Dot(a, b)), 1.0)) * kDegrees;
}

// The errors from the spread of the tensors of the synthetic sets.
TensorErrors ErrorsOfSamples(const DiffusionTensor& fitted,
                             const std::vector<DiffusionTensor>& samples) {
    const TensorQuantities at = QuantitiesOf(fitted);
    std::vector<double> tms;
    std::vector<double> ratios;
    std::array<std::vector<double>, 3> ds;
    std::array<double, 3> squaredAngles{};
    for (const DiffusionTensor& sample : samples) {
        const TensorQuantities q = QuantitiesOf(sample);
        tms.push_back(q.tmPs);
        ratios.push_back(q.spheroidRatio);
        for (std::size_t k = 0; k < 3; ++k) {
            ds[k].push_back(q.axes[k].d);
            const double angle = AxisAngleDegrees(q.axes[k].axis, at.axes[k].axis);
            squaredAngles[k] += angle * angle;
        }
    }
    TensorErrors errors;
    errors.monteCarlo = true;
    errors.tmPs = SpreadOf(tms).standardDeviation;
    if (std::isfinite(at.spheroidRatio)) errors.spheroidRatio = SpreadOf(ratios).standardDeviation;
    for (std::size_t k = 0; k < 3; ++k) {
        errors.d[k] = SpreadOf(ds[k]).standardDeviation;
        errors.axesDegrees[k] = Degenerate(at.axes, k) || samples.empty()
                                    ? kNaN
                                    : std::sqrt(squaredAngles[k] / double(samples.size()));
    }
    return errors;
}

// The errors from the covariance of the coordinates (the inverse of the projected normal
// matrix), carried to the quantities by their slopes.
TensorErrors ErrorsOfCovariance(const TensorProblem& problem, const TensorPoint& point) {
    const std::size_t q = point.u.size();
    const TensorNormal normal = problem.NormalAt(point);
    std::vector<double> covariance(q * q);
    for (std::size_t j = 0; j < q; ++j) {
        std::vector<double> unit(q, 0.0);
        unit[j] = 1.0;
        const std::vector<double> column = SolveNormal(normal.a, unit, q);
        for (std::size_t k = 0; k < q; ++k) covariance[k * q + j] = column[k];
    }
    const TensorQuantities at = QuantitiesOf(TensorAt(problem.model(), point.u));
    // The slope of each quantity along each coordinate; a vector quantity's components
    // across its axis count, each one's sign matched to the fitted axis.
    constexpr std::size_t kScalars = 5;  // tm, the three values and a spheroid's ratio
    constexpr std::size_t kAcross = 6;   // two directions across each axis
    std::vector<std::array<double, kScalars + kAcross>> slopes(q);
    std::array<std::array<Vector3, 2>, 3> across{};
    for (std::size_t k = 0; k < 3; ++k) {
        const Vector3& axis = at.axes[k].axis;
        const Vector3 other = std::abs(axis[0]) < 0.9 ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
        Vector3 first = Cross(axis, other);
        const double length = std::sqrt(Dot(first, first));
        for (double& c : first) c /= length;
        across[k] = {first, Cross(axis, first)};
    }
    const auto values = [&](const Coordinates& u) {
        const TensorQuantities quantities = QuantitiesOf(TensorAt(problem.model(), u));
        std::array<double, kScalars + kAcross> v{};
        v[0] = quantities.tmPs;
        for (std::size_t k = 0; k < 3; ++k) {
            v[1 + k] = quantities.axes[k].d;
            const double sign = Dot(quantities.axes[k].axis, at.axes[k].axis) < 0.0 ? -1.0 : 1.0;
            for (std::size_t e = 0; e < 2; ++e)
                v[kScalars + 2 * k + e] = sign * Dot(quantities.axes[k].axis, across[k][e]);
        }
        v[4] = std::isfinite(quantities.spheroidRatio) ? quantities.spheroidRatio : 0.0;
        return v;
    };
    constexpr double kStep = 1e-6;
    for (std::size_t j = 0; j < q; ++j) {
        Coordinates plus = point.u;
        Coordinates minus = point.u;
        plus[j] += kStep;
        minus[j] -= kStep;
        const auto up = values(plus);
        const auto down = values(minus);
        for (std::size_t v = 0; v < up.size(); ++v) slopes[j][v] = (up[v] - down[v]) / (2 * kStep);
    }
    const auto variance = [&](std::size_t v) {
        double sum = 0.0;
        for (std::size_t j = 0; j < q; ++j) {
            for (std::size_t k = 0; k < q; ++k)
                sum += slopes[j][v] * covariance[j * q + k] * slopes[k][v];
        }
        return sum;
    };
    TensorErrors errors;
    errors.tmPs = std::sqrt(variance(0));
    if (std::isfinite(at.spheroidRatio)) errors.spheroidRatio = std::sqrt(variance(4));
    for (std::size_t k = 0; k < 3; ++k) {
        errors.d[k] = std::sqrt(variance(1 + k));
        errors.axesDegrees[k] =
            Degenerate(at.axes, k)
                ? kNaN
                : std::sqrt(variance(kScalars + 2 * k) + variance(kScalars + 2 * k + 1)) * kDegrees;
    }
    return errors;
}

// The residues the tensor is fitted with: those with a bond.
struct BondedResidues {
    ProteinData data;
    std::vector<std::size_t> indices;  // in the whole data
    std::vector<Vector3> bonds;
    std::vector<std::vector<Measurement>> measurements;
};

BondedResidues Bonded(const ProteinData& data, const DiffusionOptions& diffusion,
                      std::vector<std::string>& withoutBond) {
    BondedResidues bonded;
    for (std::size_t i = 0; i < data.residues.size(); ++i) {
        const auto bond = diffusion.bonds.find(data.residues[i].residue);
        if (bond == diffusion.bonds.end()) {
            withoutBond.push_back(data.residues[i].residue);
            continue;
        }
        bonded.data.residues.push_back(data.residues[i]);
        bonded.indices.push_back(i);
        bonded.bonds.push_back(bond->second);
        bonded.measurements.push_back(data.residues[i].measurements);
    }
    return bonded;
}

std::size_t Parameters(const std::vector<ResidueOutcome>& outcomes, std::size_t tensor) {
    std::size_t count = tensor;
    for (const ResidueOutcome& outcome : outcomes)
        count += outcome.fit ? outcome.fit->free.size() : 0;
    return count;
}

std::size_t Measurements(const ProteinData& data) {
    std::size_t count = 0;
    for (const ResidueData& residue : data.residues) count += residue.measurements.size();
    return count;
}

// A model's fit, with the residues it leaves.
struct Candidate {
    DiffusionModelFit fit;
    std::vector<ResidueOutcome> outcomes;
    std::optional<TensorPoint> point;  // of an anisotropic tensor
};

Candidate SphereCandidate(const BondedResidues& bonded, const ProteinFitOptions& options) {
    ProteinFitOptions sphere = options;
    sphere.diffusion.reset();
    sphere.globalTm = true;
    sphere.monteCarloSets = 0;
    ProteinFit fit = FitWithGlobalTm(bonded.data, sphere);
    Candidate candidate;
    candidate.fit.model = DiffusionModel::Sphere;
    const double tmPs = fit.globalTmPs.value_or(kNaN);
    const double d = DisoOf(tmPs);
    candidate.fit.tensor.d = {d, d, d};
    candidate.fit.errors.tmPs = fit.globalTmErrorPs;
    const double dError = d * fit.globalTmErrorPs / tmPs;
    candidate.fit.errors.d = {dError, dError, dError};
    candidate.fit.errors.axesDegrees = {kNaN, kNaN, kNaN};
    double chi2 = 0.0;
    std::vector<int> models;
    for (const ResidueOutcome& outcome : fit.residues) {
        chi2 += outcome.fit ? outcome.fit->chi2 : 0.0;
        models.push_back(outcome.fit ? outcome.fit->model : -1);
    }
    candidate.fit.rounds.push_back({std::move(models), candidate.fit.tensor, chi2});
    candidate.fit.chi2 = chi2;
    candidate.fit.parameters = Parameters(fit.residues, 1);
    candidate.outcomes = std::move(fit.residues);
    return candidate;
}

Candidate TensorCandidate(const BondedResidues& bonded, const ProteinFitOptions& options,
                          DiffusionModel model) {
    Candidate candidate;
    candidate.fit.model = model;
    candidate.fit.estimate =
        EstimateTensor(bonded.data, options.diffusion->bonds, model, options.residue.system);
    if (!candidate.fit.estimate) {
        candidate.fit.failure = "too few residues pass the filters for a first estimate";
        return candidate;
    }
    const TensorProblem problem(model, bonded.bonds, bonded.measurements, options.residue, options);
    TensorRounds rounds =
        RoundsOf(problem, bonded.data, options, CoordinatesOf(candidate.fit.estimate->tensor));
    candidate.fit.tensor = TensorAt(model, rounds.point.u);
    candidate.fit.rounds = std::move(rounds.rounds);
    candidate.fit.chi2 = rounds.point.chi2;
    candidate.fit.parameters = Parameters(rounds.outcomes, CoordinateCount(model));
    candidate.fit.errors = ErrorsOfCovariance(problem, rounds.point);
    candidate.outcomes = std::move(rounds.outcomes);
    candidate.point = std::move(rounds.point);
    return candidate;
}

// The residues' models of another diffusion model's fit tried under this one's tensor: the
// rounds select each residue's model one at a time, so two diffusion models may end with
// selections of unlike luck, and a richer tensor would win only by its residues'. The
// candidate takes them where they give it a better score.
void TryModelsOf(const Candidate& other, const BondedResidues& bonded,
                 const ProteinFitOptions& options, Candidate& candidate) {
    if (!candidate.point || !other.point) return;
    const TensorProblem problem(candidate.fit.model, bonded.bonds, bonded.measurements,
                                options.residue, options);
    constexpr int kIterations = 50;
    TensorPoint trial =
        problem.Minimise(problem.At(candidate.point->u, other.point->fits), kIterations);
    const std::size_t parameters = Parameters(other.outcomes, CoordinateCount(candidate.fit.model));
    const double score =
        ScoreOf(options.criterion, trial.chi2, candidate.fit.measurements, parameters);
    if (!(score < candidate.fit.score)) return;
    candidate.fit.rounds.push_back(RoundOf(problem, trial));
    candidate.fit.tensor = TensorAt(candidate.fit.model, trial.u);
    candidate.fit.chi2 = trial.chi2;
    candidate.fit.parameters = parameters;
    candidate.fit.score = score;
    candidate.fit.errors = ErrorsOfCovariance(problem, trial);
    candidate.outcomes = other.outcomes;
    for (std::size_t i = 0; i < candidate.outcomes.size(); ++i) {
        if (candidate.outcomes[i].fit) candidate.outcomes[i].fit = trial.fits[i];
    }
    candidate.point = std::move(trial);
}

// Monte Carlo of the whole protein with its tensor: in every synthetic set, every residue
// and the tensor fitted again from the fit, so that the tensor gets its spread and each
// residue's spread holds the tensor's.
void TensorMonteCarlo(const BondedResidues& bonded, const ProteinFitOptions& options,
                      Candidate& candidate) {
    const TensorProblem problem(candidate.fit.model, bonded.bonds, bonded.measurements,
                                options.residue, options);
    const TensorPoint& fitted = *candidate.point;
    const std::vector<SyntheticResidue> residues =
        SyntheticResidues(bonded.data, candidate.outcomes, problem.AllAt(fitted.u), options);
    const auto sets = static_cast<std::size_t>(options.monteCarloSets);
    std::vector<TensorPoint> points(sets);
    ProteinFitOptions serial = options;
    serial.jobs = 1;
    serial.progress = nullptr;
    BeginStage(options, Stage::MonteCarlo, sets);
    constexpr int kIterations = 10;
    ForEachIndex(
        sets, options,
        [&](std::size_t set) {
            std::vector<std::vector<Measurement>> data;
            for (const SyntheticResidue& residue : residues) {
                data.push_back(residue.fit ? SyntheticData(residue, set)
                                           : std::vector<Measurement>{});
            }
            const TensorProblem synthetic(candidate.fit.model, bonded.bonds, data, options.residue,
                                          serial);
            points[set] = synthetic.Minimise(synthetic.At(fitted.u, fitted.fits), kIterations);
        },
        Counted::Yes);
    if (Stopped(options)) return;
    std::vector<DiffusionTensor> tensors;
    for (const TensorPoint& point : points)
        tensors.push_back(TensorAt(candidate.fit.model, point.u));
    candidate.fit.errors = ErrorsOfSamples(candidate.fit.tensor, tensors);
    std::vector<double> tms;
    for (const DiffusionTensor& tensor : tensors) tms.push_back(TmPsOf(tensor));
    const ParameterSpread tmSpread = SpreadOf(tms);
    for (std::size_t i = 0; i < candidate.outcomes.size(); ++i) {
        ResidueOutcome& outcome = candidate.outcomes[i];
        if (!outcome.fit) continue;
        Samples samples(outcome.fit->free.size() + 1);
        int converged = 0;
        for (const TensorPoint& point : points) {
            const std::optional<ModelFit>& fit = point.fits[i];
            if (!fit || fit->status != FitResult::Status::Converged) continue;
            ++converged;
            samples.Add(SampleOf(*outcome.fit, fit->values));
        }
        outcome.monteCarlo = ErrorsOf(*outcome.fit, samples.Spreads(), converged);
        outcome.monteCarlo->spread[static_cast<std::size_t>(Tm)] = tmSpread;
        outcome.monteCarloFailed = options.monteCarloSets - converged;
    }
}

}  // namespace

ProteinFit FitWithDiffusion(const ProteinData& data, const ProteinFitOptions& options) {
    ProteinFit result;
    DiffusionResult diffusion;
    const BondedResidues bonded = Bonded(data, *options.diffusion, diffusion.withoutBond);
    std::vector<Candidate> candidates;
    for (DiffusionModel model : options.diffusion->models) {
        if (Stopped(options)) return result;
        candidates.push_back(model == DiffusionModel::Sphere
                                 ? SphereCandidate(bonded, options)
                                 : TensorCandidate(bonded, options, model));
    }
    const std::size_t measurements = Measurements(bonded.data);
    for (Candidate& candidate : candidates) {
        candidate.fit.measurements = measurements;
        candidate.fit.score = candidate.fit.rounds.empty()
                                  ? kNaN
                                  : ScoreOf(options.criterion, candidate.fit.chi2, measurements,
                                            candidate.fit.parameters);
    }
    for (Candidate& candidate : candidates) {
        for (const Candidate& other : candidates) {
            if (&other != &candidate && !Stopped(options))
                TryModelsOf(other, bonded, options, candidate);
        }
    }
    std::optional<std::size_t> chosen;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const double score = candidates[c].fit.score;
        if (std::isfinite(score) && (!chosen || score < candidates[*chosen].fit.score)) chosen = c;
    }
    if (Stopped(options)) return result;
    if (!chosen) {
        // No diffusion model could be fitted: every residue says why.
        std::string why = "no diffusion model could be fitted";
        for (const Candidate& candidate : candidates) {
            why += "; " + std::string(DiffusionModelName(candidate.fit.model)) + ": " +
                   candidate.fit.failure;
        }
        for (const ResidueData& residue : data.residues) {
            ResidueOutcome& outcome = result.residues.emplace_back();
            outcome.residue = residue.residue;
            outcome.failure = why;
        }
        return result;
    }
    Candidate& best = candidates[*chosen];
    if (options.monteCarloSets > 0) {
        if (best.point) {
            TensorMonteCarlo(bonded, options, best);
        } else {
            ProteinFitOptions withErrors = options;
            withErrors.diffusion.reset();
            withErrors.globalTm = true;
            ProteinFit sphere = FitWithGlobalTm(bonded.data, withErrors);
            best.outcomes = std::move(sphere.residues);
            best.fit.errors.tmPs = sphere.globalTmErrorPs;
            const double d = best.fit.tensor.d[0];
            const double dError = d * sphere.globalTmErrorPs / TmPsOf(best.fit.tensor);
            best.fit.errors.d = {dError, dError, dError};
            best.fit.errors.monteCarlo = true;
        }
    }
    if (Stopped(options)) return result;
    if (best.point) {
        const TensorProblem problem(best.fit.model, bonded.bonds, bonded.measurements,
                                    options.residue, options);
        BackCalculate(bonded.data, problem.AllAt(best.point->u), options, best.outcomes);
    }
    result.residues.resize(data.residues.size());
    for (std::size_t i = 0; i < data.residues.size(); ++i) {
        result.residues[i].residue = data.residues[i].residue;
        result.residues[i].failure = kNoBond;
    }
    for (std::size_t k = 0; k < bonded.indices.size(); ++k)
        result.residues[bonded.indices[k]] = std::move(best.outcomes[k]);
    result.globalTmPs = TmPsOf(best.fit.tensor);
    result.globalTmErrorPs = best.fit.errors.tmPs;
    result.globalTmErrorSource =
        best.fit.errors.monteCarlo ? TmErrorSource::MonteCarlo : TmErrorSource::Profile;
    result.rounds = static_cast<int>(best.fit.rounds.size());
    for (Candidate& candidate : candidates)
        diffusion.candidates.push_back(std::move(candidate.fit));
    diffusion.chosen = *chosen;
    result.diffusion = std::move(diffusion);
    return result;
}

}  // namespace veldorin
