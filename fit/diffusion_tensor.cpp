// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_tensor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "engine/constants.h"

namespace veldorin {
namespace {

constexpr std::array<std::string_view, kDiffusionModelCount> kModelNames{"sphere", "prolate",
                                                                         "oblate", "ellipsoid"};

double MeanOf(const std::array<double, 3>& d) { return (d[0] + d[1] + d[2]) / 3.0; }

// The bond's direction cosines in the tensor's frame.
Vector3 InFrame(const DiffusionTensor& tensor, const Vector3& bond) {
    const double length = std::sqrt(Dot(bond, bond));
    const std::array<Vector3, 3> axes = AxesOf(tensor);
    return {Dot(axes[0], bond) / length, Dot(axes[1], bond) / length, Dot(axes[2], bond) / length};
}

LorentzianTerm Term(double weight, double rate) { return {weight, 1e12 / rate}; }

SpectralTerms SpheroidTerms(const std::array<double, 3>& d, double cosine) {
    const double perp = (d[0] + d[1]) / 2.0;
    const double par = d[2];
    const double cos2 = cosine * cosine;
    const double sin2 = 1.0 - cos2;
    return {Term(0.25 * (3.0 * cos2 - 1.0) * (3.0 * cos2 - 1.0), 6.0 * perp),
            Term(3.0 * sin2 * cos2, 5.0 * perp + par),
            Term(0.75 * sin2 * sin2, 2.0 * perp + 4.0 * par)};
}

SpectralTerms EllipsoidTerms(const std::array<double, 3>& d, const Vector3& c) {
    const auto [dx, dy, dz] = d;
    const double x2 = c[0] * c[0];
    const double y2 = c[1] * c[1];
    const double z2 = c[2] * c[2];
    const double mean = MeanOf(d);
    const double l2 = (dx * dy + dx * dz + dy * dz) / 3.0;
    const double delta = std::sqrt(std::max(0.0, mean * mean - l2));
    const double dd = (3.0 * (x2 * x2 + y2 * y2 + z2 * z2) - 1.0) / 4.0;
    // In the sphere's limit the two rates meet and e, 0/0, drops out of their sum.
    double e = 0.0;
    if (delta > 1e-12 * mean) {
        e = ((dx - mean) * (3.0 * x2 * x2 + 6.0 * y2 * z2 - 1.0) +
             (dy - mean) * (3.0 * y2 * y2 + 6.0 * x2 * z2 - 1.0) +
             (dz - mean) * (3.0 * z2 * z2 + 6.0 * x2 * y2 - 1.0)) /
            (12.0 * delta);
    }
    return {Term(3.0 * y2 * z2, 4.0 * dx + dy + dz), Term(3.0 * x2 * z2, dx + 4.0 * dy + dz),
            Term(3.0 * x2 * y2, dx + dy + 4.0 * dz), Term(dd + e, 6.0 * mean - 6.0 * delta),
            Term(dd - e, 6.0 * mean + 6.0 * delta)};
}

}  // namespace

std::string_view DiffusionModelName(DiffusionModel model) {
    return kModelNames[static_cast<std::size_t>(model)];
}

std::optional<DiffusionModel> DiffusionModelNamed(std::string_view name) {
    for (int i = 0; i < kDiffusionModelCount; ++i) {
        if (kModelNames[static_cast<std::size_t>(i)] == name) return static_cast<DiffusionModel>(i);
    }
    return std::nullopt;
}

double TmPsOf(const DiffusionTensor& tensor) { return 1e12 / (6.0 * MeanOf(tensor.d)); }

std::array<Vector3, 3> AxesOf(const DiffusionTensor& tensor) {
    const auto [alpha, beta, gamma] = tensor.eulerAngles;
    const double ca = std::cos(alpha), sa = std::sin(alpha);
    const double cb = std::cos(beta), sb = std::sin(beta);
    const double cg = std::cos(gamma), sg = std::sin(gamma);
    // The columns of Rz(alpha) Ry(beta) Rz(gamma).
    return {{{ca * cb * cg - sa * sg, sa * cb * cg + ca * sg, -sb * cg},
             {-ca * cb * sg - sa * cg, -sa * cb * sg + ca * cg, sb * sg},
             {ca * sb, sa * sb, cb}}};
}

double SpheroidRatioOf(const DiffusionTensor& tensor) {
    const std::array<PrincipalAxis, 3> axes = PrincipalAxesOf(tensor);
    // The principal values ascend: a prolate's unique one is the last, an oblate's the first.
    switch (tensor.model) {
        case DiffusionModel::Prolate: return axes[2].d / axes[0].d;
        case DiffusionModel::Oblate: return axes[0].d / axes[2].d;
        case DiffusionModel::Sphere:
        case DiffusionModel::Ellipsoid: break;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

std::array<PrincipalAxis, 3> PrincipalAxesOf(const DiffusionTensor& tensor) {
    const std::array<Vector3, 3> axes = AxesOf(tensor);
    std::array<PrincipalAxis, 3> principal;
    for (std::size_t i = 0; i < 3; ++i) principal[i] = {tensor.d[i], axes[i]};
    std::stable_sort(principal.begin(), principal.end(),
                     [](const PrincipalAxis& a, const PrincipalAxis& b) { return a.d < b.d; });
    return principal;
}

SpectralTerms TumblingTerms(const DiffusionTensor& tensor, const Vector3& bond) {
    switch (tensor.model) {
        case DiffusionModel::Sphere: return {Term(1.0, 6.0 * MeanOf(tensor.d))};
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate: return SpheroidTerms(tensor.d, InFrame(tensor, bond)[2]);
        case DiffusionModel::Ellipsoid: return EllipsoidTerms(tensor.d, InFrame(tensor, bond));
    }
    return {};
}

double AngleToUniqueAxisDegrees(const DiffusionTensor& tensor, const Vector3& bond) {
    const double cosine = std::min(1.0, std::abs(InFrame(tensor, bond)[2]));
    return std::acos(cosine) * 180.0 / kPi;
}

DiffusionTensor TensorOf(DiffusionModel model, const DiffusionParameters& parameters) {
    const double diso = 1e12 / (6.0 * parameters.tmPs);
    const double da = model == DiffusionModel::Sphere ? 0.0 : parameters.da;
    const double dr = model == DiffusionModel::Ellipsoid ? parameters.dr : 0.0;
    return {model,
            {diso - da / 3.0 * (1.0 + 3.0 * dr), diso - da / 3.0 * (1.0 - 3.0 * dr),
             diso + 2.0 * da / 3.0},
            parameters.eulerAngles};
}

DiffusionParameters ParametersOf(const DiffusionTensor& tensor) {
    const auto [dx, dy, dz] = tensor.d;
    const double da = dz - (dx + dy) / 2.0;
    return {TmPsOf(tensor), da, da == 0.0 ? 0.0 : (dy - dx) / (2.0 * da), tensor.eulerAngles};
}

}  // namespace veldorin
