// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/diffusion_estimate.h"

#include <gtest/gtest.h>

#include <random>

namespace veldorin {
namespace {

// Rigid bonds (S2 = 1) tumbling with the tensor, in random directions, at 600 and 800 MHz.
ProteinData RigidBonds(const DiffusionTensor& tensor, int count,
                       std::map<std::string, Vector3>& bonds) {
    std::mt19937_64 random(17);
    std::normal_distribution<double> normal;
    ProteinData data;
    for (int i = 1; i <= count; ++i) {
        const std::string name = "A" + std::to_string(i);
        const Vector3 bond = bonds[name] = {normal(random), normal(random), normal(random)};
        ResidueData& residue = data.residues.emplace_back(ResidueData{name, {}, {}});
        for (double mhz : {600.0, 800.0}) {
            const RatesAtField rates = RatesOf(BackboneAmide(), TumblingTerms(tensor, bond), mhz);
            residue.measurements.push_back({mhz, Quantity::Noe, 1.0 + rates.enhancement, 0.05});
            residue.measurements.push_back({mhz, Quantity::R1, rates.r1, 0.02 * rates.r1});
            residue.measurements.push_back({mhz, Quantity::T2, 1.0 / rates.r2, 0.02 / rates.r2});
        }
    }
    return data;
}

// The tensor comes back from its own rates; a residue with internal motion (low NOE), one
// with exchange (R2 raised) and one without a bond are left out, each saying why.
TEST(DiffusionEstimate, RecoversTheTensorOfRigidBonds) {
    const DiffusionTensor rows[] = {
        {DiffusionModel::Sphere, {1.6e7, 1.6e7, 1.6e7}, {}},
        {DiffusionModel::Prolate, {1.5e7, 1.5e7, 2.1e7}, {0.6, 1.0, 0.0}},
        {DiffusionModel::Oblate, {1.8e7, 1.8e7, 1.3e7}, {2.0, 0.4, 0.0}},
        {DiffusionModel::Ellipsoid, {1.4e7, 1.7e7, 2.2e7}, {0.5, 1.1, 2.0}},
    };
    for (const DiffusionTensor& tensor : rows) {
        SCOPED_TRACE(DiffusionModelName(tensor.model));
        std::map<std::string, Vector3> bonds;
        ProteinData data = RigidBonds(tensor, 42, bonds);
        data.residues[0].measurements[0].value = 0.5;
        for (int m : {2, 5}) data.residues[1].measurements[m].value /= 1.8;
        bonds.erase("A3");
        const auto estimate = EstimateTensor(data, bonds, tensor.model, BackboneAmide());
        ASSERT_TRUE(estimate);
        ASSERT_EQ(estimate->leftOut.size(), 3u);
        EXPECT_EQ(estimate->leftOut[0].reason, "NOE 0.50 below 0.65 at 600 MHz");
        EXPECT_EQ(estimate->leftOut[1].reason, "no bond vector");
        EXPECT_EQ(estimate->leftOut[2].residue, "A2");
        EXPECT_NEAR(TmPsOf(estimate->tensor), TmPsOf(tensor), 0.02 * TmPsOf(tensor));
        const auto expected = PrincipalAxesOf(tensor);
        const auto found = PrincipalAxesOf(estimate->tensor);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(found[i].d, expected[i].d, 0.05 * expected[i].d);
        // An ellipsoid's three axes within 3 degrees, a spheroid's unique axis.
        const auto [x, y, z] = AxesOf(estimate->tensor);
        const auto [xTrue, yTrue, zTrue] = AxesOf(tensor);
        const auto near = [](const Vector3& a, const Vector3& b) {
            return std::abs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) > std::cos(0.05);
        };
        EXPECT_TRUE(tensor.model == DiffusionModel::Sphere || near(z, zTrue));
        EXPECT_TRUE(tensor.model != DiffusionModel::Ellipsoid ||
                    (near(x, xTrue) && near(y, yTrue)));
        const double dr = ParametersOf(estimate->tensor).dr;
        EXPECT_TRUE(dr >= 0.0 && dr <= 1.0 / 3.0) << dr;
    }
}

// Oblate data asked for a prolate: the prolate nearest to them, rather than nothing.
TEST(DiffusionEstimate, ShapeAgainstTheDataGivesItsNearestTensor) {
    const DiffusionTensor oblate{DiffusionModel::Oblate, {1.8e7, 1.8e7, 1.3e7}, {2.0, 0.4, 0.0}};
    std::map<std::string, Vector3> bonds;
    const auto estimate = EstimateTensor(RigidBonds(oblate, 42, bonds), bonds,
                                         DiffusionModel::Prolate, BackboneAmide());
    ASSERT_TRUE(estimate);
    EXPECT_GE(ParametersOf(estimate->tensor).da, 0.0);
    EXPECT_NEAR(TmPsOf(estimate->tensor), TmPsOf(oblate), 0.02 * TmPsOf(oblate));
}

TEST(DiffusionEstimate, TooFewResiduesGiveNothing) {
    const DiffusionTensor tensor{DiffusionModel::Ellipsoid, {1.4e7, 1.7e7, 2.2e7}, {}};
    std::map<std::string, Vector3> bonds;
    const ProteinData five = RigidBonds(tensor, 5, bonds);
    EXPECT_FALSE(EstimateTensor(five, bonds, DiffusionModel::Ellipsoid, BackboneAmide()));
    EXPECT_TRUE(EstimateTensor(five, bonds, DiffusionModel::Prolate, BackboneAmide()));
    EXPECT_FALSE(EstimateTensor(five, {}, DiffusionModel::Sphere, BackboneAmide()));
}

}  // namespace
}  // namespace veldorin
