// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "fit/relaxation_model.h"

namespace veldorin {

using Vector3 = std::array<double, 3>;

inline double Dot(const Vector3& a, const Vector3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The shapes a protein's overall rotational diffusion is described by: one D (a sphere),
// two with the unique axis the fast one (prolate) or the slow one (oblate), or three.
enum class DiffusionModel { Sphere, Prolate, Oblate, Ellipsoid };
inline constexpr int kDiffusionModelCount = 4;

// "sphere", "prolate", "oblate", "ellipsoid"; nothing for another name.
std::string_view DiffusionModelName(DiffusionModel model);
std::optional<DiffusionModel> DiffusionModelNamed(std::string_view name);

// A rotational diffusion tensor: its principal values in 1/s along the x, y, z axes of its
// own frame (a spheroid's unique axis is z, so Dx = Dy = D_perp and Dz = D_par), and that
// frame's orientation in the structure's by the z-y-z Euler angles alpha, beta, gamma in
// radians. A spheroid's unique axis is then at polar angle beta and azimuth alpha; its
// gamma does not matter.
struct DiffusionTensor {
    DiffusionModel model = DiffusionModel::Sphere;
    std::array<double, 3> d{3.3e7, 3.3e7, 3.3e7};
    std::array<double, 3> eulerAngles{};
};

// The overall correlation time 1/(6 Diso) in ps, Diso the mean of the principal values.
double TmPsOf(const DiffusionTensor& tensor);

// A spheroid's D∥/D⊥, its unique principal value over the other two; NaN for a sphere or an
// ellipsoid, which have no unique axis.
double SpheroidRatioOf(const DiffusionTensor& tensor);

// The frame's x, y, z axes as unit vectors in the structure's frame.
std::array<Vector3, 3> AxesOf(const DiffusionTensor& tensor);

// The principal values ascending, each with its axis (the structure's frame); equal
// values keep the order x, y, z.
struct PrincipalAxis {
    double d = 0.0;  // 1/s
    Vector3 axis{};
};
std::array<PrincipalAxis, 3> PrincipalAxesOf(const DiffusionTensor& tensor);

// The overall tumbling seen by a bond of direction `bond` (the structure's frame, any
// length but zero) as Lorentzians, weights summing to 1 and times in ps: one for a sphere,
// three for a spheroid, five for an ellipsoid, by the closed forms of rotational diffusion
// of a rigid body (Woessner). A model-free internal motion multiplies each term.
SpectralTerms TumblingTerms(const DiffusionTensor& tensor, const Vector3& bond);

// The angle between the bond and the unique axis (z) in degrees, 0 to 90.
double AngleToUniqueAxisDegrees(const DiffusionTensor& tensor, const Vector3& bond);

// The literature's parameters of a tensor, which its fit varies: tm in ps; Da = Dz -
// (Dx + Dy)/2 in 1/s (D_par - D_perp for a spheroid: above 0 prolate, below 0 oblate);
// Dr = (Dy - Dx)/(2 Da) of an ellipsoid, from 0 to 1/3 when the z axis is the most unlike.
struct DiffusionParameters {
    double tmPs = 5000.0;
    double da = 0.0;
    double dr = 0.0;
    std::array<double, 3> eulerAngles{};
};
DiffusionTensor TensorOf(DiffusionModel model, const DiffusionParameters& parameters);
DiffusionParameters ParametersOf(const DiffusionTensor& tensor);

}  // namespace veldorin
