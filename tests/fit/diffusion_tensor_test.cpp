// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_tensor.h"

#include <gsl/gsl_eigen.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/constants.h"

namespace veldorin {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

Matrix3 Product(const Matrix3& a, const Matrix3& b) {
    Matrix3 p{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) p[i][j] += a[i][k] * b[k][j];
    return p;
}

Matrix3 Commutator(const Matrix3& a, const Matrix3& b) {
    Matrix3 ab = Product(a, b);
    const Matrix3 ba = Product(b, a);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) ab[i][j] -= ba[i][j];
    return ab;
}

double Frobenius(const Matrix3& a, const Matrix3& b) {
    double sum = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) sum += a[i][j] * b[i][j];
    return sum;
}

// An orthonormal basis of the symmetric traceless matrices: the second-rank functions
// u^T E u of a direction.
std::array<Matrix3, 5> SecondRankBasis() {
    const double r2 = 1.0 / std::sqrt(2.0);
    const double r6 = 1.0 / std::sqrt(6.0);
    return {{{{{r2, 0, 0}, {0, -r2, 0}, {0, 0, 0}}},
             {{{r6, 0, 0}, {0, r6, 0}, {0, 0, -2 * r6}}},
             {{{0, r2, 0}, {r2, 0, 0}, {0, 0, 0}}},
             {{{0, 0, r2}, {0, 0, 0}, {r2, 0, 0}}},
             {{{0, 0, 0}, {0, 0, r2}, {0, r2, 0}}}}};
}

// The tumbling of a bond along c (the tensor's frame) from the diffusion operator itself:
// sum_i D_i [K_i, [K_i, Q]] on the second-rank functions, K_i the generator of rotations
// about axis i; the correlation function of P2 is 3/2 c^T exp(t G) c in that basis.
SpectralTerms OperatorTerms(const std::array<double, 3>& d, const Vector3& c) {
    const std::array<Matrix3, 5> basis = SecondRankBasis();
    std::array<Matrix3, 3> generators{};
    for (int i = 0; i < 3; ++i) {
        generators[i][(i + 1) % 3][(i + 2) % 3] = -1.0;
        generators[i][(i + 2) % 3][(i + 1) % 3] = 1.0;
    }
    std::array<double, 25> g{};
    for (int b = 0; b < 5; ++b) {
        Matrix3 image{};
        for (int i = 0; i < 3; ++i) {
            const Matrix3 twice = Commutator(generators[i], Commutator(generators[i], basis[b]));
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) image[j][k] += d[i] * twice[j][k];
        }
        for (int a = 0; a < 5; ++a) g[a * 5 + b] = Frobenius(basis[a], image);
    }
    gsl_matrix_view matrix = gsl_matrix_view_array(g.data(), 5, 5);
    gsl_vector* values = gsl_vector_alloc(5);
    gsl_matrix* vectors = gsl_matrix_alloc(5, 5);
    gsl_eigen_symmv_workspace* work = gsl_eigen_symmv_alloc(5);
    gsl_eigen_symmv(&matrix.matrix, values, vectors, work);
    Matrix3 bond{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) bond[i][j] = c[i] * c[j];
    SpectralTerms terms;
    for (int k = 0; k < 5; ++k) {
        double projection = 0.0;
        for (int a = 0; a < 5; ++a)
            projection += gsl_matrix_get(vectors, a, k) * Frobenius(basis[a], bond);
        terms.push_back({1.5 * projection * projection, -1e12 / gsl_vector_get(values, k)});
    }
    gsl_eigen_symmv_free(work);
    gsl_matrix_free(vectors);
    gsl_vector_free(values);
    return terms;
}

double WeightSum(const SpectralTerms& terms) {
    double sum = 0.0;
    for (const LorentzianTerm& term : terms) sum += term.weight;
    return sum;
}

void ExpectSameDensity(const SpectralTerms& expected, const SpectralTerms& actual) {
    for (double w : {0.0, 300.0, 1000.0, 3000.0, 10000.0}) {
        const double j = SpectralDensityOf(expected, w);
        EXPECT_NEAR(SpectralDensityOf(actual, w), j, 1e-9 * j) << "w " << w;
    }
}

Vector3 RandomDirection(std::mt19937_64& random) {
    std::normal_distribution<double> normal;
    return {normal(random), normal(random), normal(random)};
}

// The closed forms against the diffusion operator's own exponentials, for tensors of every
// shape in random orientations: the weights and rates must give the same J(w).
TEST(DiffusionTensor, TermsAgreeWithTheDiffusionOperator) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> value(1e7, 6e7);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * kPi);
    for (int trial = 0; trial < 40; ++trial) {
        const double perp = value(random);
        DiffusionTensor tensor{DiffusionModel::Ellipsoid,
                               {value(random), value(random), value(random)},
                               {angle(random), angle(random) / 2.0, angle(random)}};
        if (trial % 2 == 1) {
            tensor.model = trial % 4 == 1 ? DiffusionModel::Prolate : DiffusionModel::Oblate;
            tensor.d = {perp, perp,
                        tensor.model == DiffusionModel::Prolate ? 1.6 * perp : 0.6 * perp};
        }
        const Vector3 bond = RandomDirection(random);
        const double length = std::sqrt(bond[0] * bond[0] + bond[1] * bond[1] + bond[2] * bond[2]);
        const std::array<Vector3, 3> axes = AxesOf(tensor);
        Vector3 c{};
        for (int i = 0; i < 3; ++i)
            c[i] = (axes[i][0] * bond[0] + axes[i][1] * bond[1] + axes[i][2] * bond[2]) / length;
        SCOPED_TRACE(trial);
        const SpectralTerms terms = TumblingTerms(tensor, bond);
        EXPECT_NEAR(WeightSum(terms), 1.0, 1e-12);
        ExpectSameDensity(OperatorTerms(tensor.d, c), terms);
    }
}

// A shape's terms are the simpler shape's where they coincide.
TEST(DiffusionTensor, LimitsGiveTheSimplerShape) {
    const std::array<double, 3> angles{0.4, 1.1, 2.0};
    const Vector3 bond{0.3, -0.5, 0.8};
    struct Row {
        const char* name;
        DiffusionTensor general;
        DiffusionTensor simpler;
    } rows[] = {
        {"prolate",
         {DiffusionModel::Ellipsoid, {2e7, 2e7, 3.5e7}, angles},
         {DiffusionModel::Prolate, {2e7, 2e7, 3.5e7}, angles}},
        {"oblate",
         {DiffusionModel::Ellipsoid, {2e7, 2e7, 1e7}, angles},
         {DiffusionModel::Oblate, {2e7, 2e7, 1e7}, angles}},
        {"sphere",
         {DiffusionModel::Ellipsoid, {2e7, 2e7, 2e7}, angles},
         {DiffusionModel::Sphere, {2e7, 2e7, 2e7}, {}}},
        {"spheroid sphere",
         {DiffusionModel::Prolate, {2e7, 2e7, 2e7}, angles},
         {DiffusionModel::Sphere, {2e7, 2e7, 2e7}, {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const SpectralTerms terms = TumblingTerms(row.general, bond);
        EXPECT_NEAR(WeightSum(terms), 1.0, 1e-12);
        ExpectSameDensity(TumblingTerms(row.simpler, bond), terms);
    }
}

// A bond along a prolate's axis tumbles only about the axes across it.
TEST(DiffusionTensor, BondAlongTheProlateAxisSeesOnlyThePerpendicularRate) {
    for (DiffusionModel model : {DiffusionModel::Prolate, DiffusionModel::Ellipsoid}) {
        const DiffusionTensor tensor{model, {2e7, 2e7, 4e7}, {0.7, 0.5, 0.0}};
        const SpectralTerms terms = TumblingTerms(tensor, AxesOf(tensor)[2]);
        EXPECT_NEAR(SpectralDensityOf(terms, 0.0),
                    SpectralDensityOf({{1.0, 1e12 / (6.0 * 2e7)}}, 0.0), 1e-9);
        EXPECT_NEAR(AngleToUniqueAxisDegrees(tensor, AxesOf(tensor)[2]), 0.0, 1e-6);
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
        const DiffusionTensor tensor = TensorOf(row.model, row.parameters);
        EXPECT_NEAR(TmPsOf(tensor), row.parameters.tmPs, 1e-9 * row.parameters.tmPs);
        const DiffusionParameters back = ParametersOf(tensor);
        EXPECT_NEAR(back.tmPs, row.parameters.tmPs, 1e-9 * row.parameters.tmPs);
        EXPECT_NEAR(back.da, row.parameters.da, 1e-6);
        EXPECT_NEAR(back.dr, row.parameters.dr, 1e-12);
        EXPECT_EQ(back.eulerAngles, row.parameters.eulerAngles);
    }
    EXPECT_FALSE(DiffusionModelNamed("cylinder"));
}

TEST(DiffusionTensor, PrincipalAxesAscendKeepingTiesInOrder) {
    const DiffusionTensor tensor{DiffusionModel::Ellipsoid, {3e7, 1e7, 3e7}, {0.0, 0.0, 0.0}};
    const std::array<PrincipalAxis, 3> principal = PrincipalAxesOf(tensor);
    EXPECT_EQ(principal[0].axis, (Vector3{0.0, 1.0, 0.0}));
    EXPECT_EQ(principal[1].axis, (Vector3{1.0, 0.0, 0.0}));
    EXPECT_EQ(principal[2].axis, (Vector3{0.0, 0.0, 1.0}));
}

}  // namespace
}  // namespace veldorin
