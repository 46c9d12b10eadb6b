// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_tensor.h"

#include <gsl/gsl_eigen.h>
#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "engine/motion.h"

namespace veldorin {
namespace {

using Matrix3 = std::array<double, 9>;  // row by row

double Frobenius(const Matrix3& a, const Matrix3& b) {
    return std::inner_product(a.begin(), a.end(), b.begin(), 0.0);
}

Matrix3 Commutator(const Matrix3& a, const Matrix3& b) {
    Matrix3 c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                c[3 * i + j] += a[3 * i + k] * b[3 * k + j] - b[3 * i + k] * a[3 * k + j];
    return c;
}

// The tumbling of a bond along c (the tensor's frame) from the diffusion operator itself,
// H = sum_i D_i ad(K_i)^T ad(K_i) on the second-rank functions c^T E c (E symmetric and
// traceless), K_i the generator of rotations about axis i: P2's correlation function is
// 3/2 e^T exp(-t H) e, e the bond's coordinates in that basis.
SpectralTerms OperatorTerms(const std::array<double, 3>& d, const Vector3& c) {
    const double s = 1.0 / std::sqrt(2.0), t = 1.0 / std::sqrt(6.0);
    const std::array<Matrix3, 5> basis{{{s, 0, 0, 0, -s, 0, 0, 0, 0},
                                        {t, 0, 0, 0, t, 0, 0, 0, -2 * t},
                                        {0, s, 0, s, 0, 0, 0, 0, 0},
                                        {0, 0, s, 0, 0, 0, s, 0, 0},
                                        {0, 0, 0, 0, 0, s, 0, s, 0}}};
    std::array<double, 25> h{};
    for (int i = 0; i < 3; ++i) {
        Matrix3 generator{};
        generator[(i + 1) % 3 * 3 + (i + 2) % 3] = -1.0;
        generator[(i + 2) % 3 * 3 + (i + 1) % 3] = 1.0;
        for (int a = 0; a < 25; ++a) {
            h[a] += d[i] * Frobenius(Commutator(generator, basis[a / 5]),
                                     Commutator(generator, basis[a % 5]));
        }
    }
    Matrix3 bond{};
    for (int i = 0; i < 9; ++i) bond[i] = c[i / 3] * c[i % 3];
    gsl_matrix_view matrix = gsl_matrix_view_array(h.data(), 5, 5);
    gsl_vector* rates = gsl_vector_alloc(5);
    gsl_matrix* vectors = gsl_matrix_alloc(5, 5);
    gsl_eigen_symmv_workspace* work = gsl_eigen_symmv_alloc(5);
    gsl_eigen_symmv(&matrix.matrix, rates, vectors, work);
    SpectralTerms terms;
    for (int k = 0; k < 5; ++k) {
        double e = 0.0;
        for (int a = 0; a < 5; ++a) e += gsl_matrix_get(vectors, a, k) * Frobenius(basis[a], bond);
        terms.push_back({1.5 * e * e, 1e12 / gsl_vector_get(rates, k)});
    }
    gsl_eigen_symmv_free(work);
    gsl_matrix_free(vectors);
    gsl_vector_free(rates);
    return terms;
}

void ExpectSameDensity(const SpectralTerms& expected, const SpectralTerms& actual) {
    double weights = 0.0;
    for (const LorentzianTerm& term : actual) weights += term.weight;
    EXPECT_NEAR(weights, 1.0, 1e-12);
    for (double w : {0.0, 300.0, 1000.0, 3000.0, 10000.0}) {
        const double j = SpectralDensityOf(expected, w);
        EXPECT_NEAR(SpectralDensityOf(actual, w), j, 1e-9 * j) << "w " << w;
    }
}

// The closed forms against the operator's exponentials in random orientations; an
// ellipsoid also where it is a spheroid or a sphere, the limits of its closed form.
TEST(DiffusionTensor, TermsAgreeWithTheDiffusionOperator) {
    struct Row {
        const char* name;
        DiffusionModel model;
        std::array<double, 3> ratios;  // of the values to a random D; none: all random
    } rows[] = {
        {"ellipsoid", DiffusionModel::Ellipsoid, {}},
        {"prolate", DiffusionModel::Prolate, {1.0, 1.0, 1.6}},
        {"oblate", DiffusionModel::Oblate, {1.0, 1.0, 0.6}},
        {"ellipsoid as prolate", DiffusionModel::Ellipsoid, {1.0, 1.0, 1.6}},
        {"ellipsoid as sphere", DiffusionModel::Ellipsoid, {1.0, 1.0, 1.0}},
        {"sphere", DiffusionModel::Sphere, {1.0, 1.0, 1.0}},
    };
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> value(1e7, 6e7), angle(0.0, 3.0);
    std::normal_distribution<double> normal;
    for (const Row& row : rows) {
        for (int trial = 0; trial < 8; ++trial) {
            DiffusionTensor tensor{row.model,
                                   {value(random), value(random), value(random)},
                                   {angle(random), angle(random), angle(random)}};
            if (row.ratios[0] > 0.0) {
                for (int i = 0; i < 3; ++i) tensor.d[i] = row.ratios[i] * tensor.d[0];
            }
            const Vector3 bond{normal(random), normal(random), normal(random)};
            const std::array<Vector3, 3> axes = AxesOf(tensor);
            const double length = std::hypot(bond[0], bond[1], bond[2]);
            Vector3 c{};
            for (int i = 0; i < 3; ++i)
                c[i] =
                    (axes[i][0] * bond[0] + axes[i][1] * bond[1] + axes[i][2] * bond[2]) / length;
            SCOPED_TRACE(row.name);
            ExpectSameDensity(OperatorTerms(tensor.d, c), TumblingTerms(tensor, bond));
        }
    }
}

// The axial diffusion of the Motion window, a rigid bond at theta to the unique axis, is a
// spheroid's tumbling of that bond, in the motion's units (1e7 1/s, degrees).
TEST(DiffusionTensor, TheAxialMotionIsASpheroidsTumbling) {
    using enum MotionParameter;
    for (const auto& [parallel, perpendicular, theta] : {std::array{4.0, 2.0, 0.0},
                                                         {4.0, 2.0, 90.0},
                                                         {2.0, 2.01, 35.0},
                                                         {1.5, 3.0, 54.7356},
                                                         {1.5, 3.0, 150.0}}) {
        Motion motion{MotionKind::AxialDiffusion, {}};
        motion[DParallel] = parallel, motion[DPerpendicular] = perpendicular;
        motion[Theta] = theta, motion[S2] = 1.0;
        const DiffusionTensor tensor{
            parallel > perpendicular ? DiffusionModel::Prolate : DiffusionModel::Oblate,
            {perpendicular * 1e7, perpendicular * 1e7, parallel * 1e7}};
        const double angle = theta * std::acos(-1.0) / 180.0;
        const SpectralTerms terms = TumblingTerms(tensor, {std::sin(angle), 0.0, std::cos(angle)});
        const MotionLorentzians lorentzians = ToLorentzians(motion);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR(lorentzians.weights[k], terms[k].weight, 1e-12) << theta << " " << k;
            EXPECT_NEAR(lorentzians.timesPs[k] / terms[k].timePs, 1.0, 1e-12) << theta << " " << k;
        }
    }
}

TEST(DiffusionTensor, ParametersRoundTrip) {
    struct Row {
        DiffusionModel model;
        DiffusionParameters parameters;
    } rows[] = {
        {DiffusionModel::Sphere, {5000.0, 0.0, 0.0, {}}},
        {DiffusionModel::Prolate, {9000.0, 8e6, 0.0, {0.3, 1.2, 0.0}}},
        {DiffusionModel::Oblate, {9000.0, -6e6, 0.0, {2.3, 0.2, 0.0}}},
        {DiffusionModel::Ellipsoid, {12000.0, 9e6, 0.25, {0.3, 1.2, 2.9}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(DiffusionModelName(row.model));
        EXPECT_EQ(DiffusionModelNamed(DiffusionModelName(row.model)), row.model);
        const DiffusionParameters back = ParametersOf(TensorOf(row.model, row.parameters));
        EXPECT_NEAR(back.tmPs, row.parameters.tmPs, 1e-9 * row.parameters.tmPs);
        EXPECT_NEAR(back.da, row.parameters.da, 1e-6);
        EXPECT_NEAR(back.dr, row.parameters.dr, 1e-12);
        EXPECT_EQ(back.eulerAngles, row.parameters.eulerAngles);
        const auto [alpha, beta, gamma] = row.parameters.eulerAngles;
        const Vector3 z = AxesOf(TensorOf(row.model, row.parameters))[2];
        EXPECT_NEAR(z[0] * std::cos(alpha) + z[1] * std::sin(alpha), std::sin(beta), 1e-12);
        EXPECT_NEAR(z[2], std::cos(beta), 1e-12);
    }
}

}  // namespace
}  // namespace veldorin
