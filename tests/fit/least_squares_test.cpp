// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/least_squares.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace veldorin {
namespace {

// y = a exp(-t / tau) at t = 0..9, with unit uncertainties.
struct Decay {
    double a;
    double tau;
    std::vector<double> measured;

    static Decay Of(double a, double tau) {
        Decay decay{a, tau, {}};
        for (int t = 0; t < 10; ++t) decay.measured.push_back(a * std::exp(-t / tau));
        return decay;
    }

    ResidualFunction Residuals(int* calls = nullptr) const {
        return [this, calls](std::span<const double> p, std::span<double> r) {
            if (calls != nullptr) ++*calls;
            for (std::size_t t = 0; t < r.size(); ++t) {
                r[t] = measured[t] - p[0] * std::exp(-static_cast<double>(t) / p[1]);
            }
            return true;
        };
    }
};

TEST(LeastSquares, RecoversKnownParametersFromTheGridWithinTheBounds) {
    const struct {
        const char* name;
        double a, tau;
        FitParameter aRange, tauRange;
    } rows[] = {
        {"open above", 3.0, 2.5, {0.0, INFINITY, {1.0, 10.0}}, {0.0, INFINITY, {0.5, 5.0, 50.0}}},
        {"both sides", 0.7, 4.0, {0.0, 1.0, {0.5}}, {0.1, 100.0, {1.0, 10.0}}},
        {"open below", -2.0, 1.5, {-INFINITY, 0.0, {-1.0}}, {0.0, INFINITY, {1.0}}},
    };
    for (const auto& row : rows) {
        const Decay decay = Decay::Of(row.a, row.tau);
        const FitParameter parameters[] = {row.aRange, row.tauRange};
        const FitResult fit = FitLeastSquares(parameters, 10, decay.Residuals());
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << row.name << ": " << fit.reason;
        EXPECT_NEAR(fit.values[0], row.a, 1e-6 * std::abs(row.a)) << row.name;
        EXPECT_NEAR(fit.values[1], row.tau, 1e-6 * row.tau) << row.name;
        EXPECT_LT(fit.chi2, 1e-12) << row.name;
    }
}

// A bound holds at every evaluation, and the fit ends on it when the data lie beyond.
TEST(LeastSquares, NeverStepsOutOfItsBounds) {
    const Decay decay = Decay::Of(2.0, 3.0);
    const FitParameter parameters[] = {{0.0, 1.5, {1.0}}, {0.0, INFINITY, {1.0}}};
    bool inside = true;
    const ResidualFunction checked = [&](std::span<const double> p, std::span<double> r) {
        inside = inside && p[0] >= 0.0 && p[0] <= 1.5 && p[1] > 0.0;
        return decay.Residuals()(p, r);
    };
    const FitResult fit = FitLeastSquares(parameters, 10, checked);
    EXPECT_TRUE(inside);
    EXPECT_EQ(fit.status, FitResult::Status::Converged) << fit.reason;
    EXPECT_EQ(fit.values[0], 1.5);
}

// A start on a bound leaves it when the minimum lies inside, from the start given and
// from a grid that holds only the bound.
TEST(LeastSquares, LeavesABoundItStartsOn) {
    const Decay decay = Decay::Of(3.0, 2.5);
    const FitParameter parameters[] = {{0.0, INFINITY, {0.0}}, {0.0, INFINITY, {1.0}}};
    const double start[] = {0.0, 1.0};
    for (const FitResult& fit : {FitLeastSquares(parameters, 10, decay.Residuals()),
                                 FitLeastSquares(parameters, 10, decay.Residuals(), start)}) {
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << fit.reason;
        EXPECT_NEAR(fit.values[0], 3.0, 1e-9);
        EXPECT_EQ(fit.flags[0], ParameterFlag::None);
    }
}

// y = a + b t: a parameter on its bound or one the data do not fix is flagged and has no
// error; the others' errors are those of the covariance with the flagged ones left out.
TEST(LeastSquares, FlagsParametersOnABoundOrUndetermined) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        double aUpper;
        bool onlyTheSum;  // the model is (a + c) + b t: a and c cannot be told apart
        std::vector<ParameterFlag> flags;
        std::vector<double> errors;
    } rows[] = {
        {"c without effect",
         INFINITY,
         false,
         {ParameterFlag::None, ParameterFlag::None, ParameterFlag::Undetermined},
         {std::sqrt(0.6), std::sqrt(0.1), kNaN}},
        {"a on its bound",
         0.5,
         false,
         {ParameterFlag::AtBound, ParameterFlag::None, ParameterFlag::Undetermined},
         {kNaN, std::sqrt(1.0 / 30.0), kNaN}},
        {"only a + c",
         INFINITY,
         true,
         {ParameterFlag::Undetermined, ParameterFlag::None, ParameterFlag::Undetermined},
         {kNaN, std::sqrt(0.1), kNaN}},
    };
    for (const auto& row : rows) {
        const ResidualFunction line = [&row](std::span<const double> p, std::span<double> r) {
            const double c = row.onlyTheSum ? p[2] : 0.0;
            for (std::size_t t = 0; t < r.size(); ++t) {
                const auto at = static_cast<double>(t);
                r[t] = 1.0 + 2.0 * at - (p[0] + c + p[1] * at);
            }
            return true;
        };
        const FitParameter parameters[] = {
            {-INFINITY, row.aUpper, {0.0}}, {-INFINITY, INFINITY, {0.0}}, {0.0, 10.0, {0.5}}};
        const FitResult fit = FitLeastSquares(parameters, 5, line);
        ASSERT_EQ(fit.status, FitResult::Status::Converged) << row.name << ": " << fit.reason;
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_EQ(fit.flags[j], row.flags[j]) << row.name << " " << j;
            if (std::isnan(row.errors[j])) {
                EXPECT_TRUE(std::isnan(fit.errors[j])) << row.name << " " << j;
            } else {
                EXPECT_NEAR(fit.errors[j], row.errors[j], 1e-6) << row.name << " " << j;
            }
        }
    }
}

// Errors from the covariance: for y = a + b t with unit uncertainties, the textbook ones.
TEST(LeastSquares, ErrorsAreThoseOfTheCovariance) {
    const ResidualFunction line = [](std::span<const double> p, std::span<double> r) {
        for (std::size_t t = 0; t < r.size(); ++t) {
            r[t] = (t % 2 == 0 ? 0.1 : -0.1) + 1.0 + 2.0 * static_cast<double>(t) -
                   (p[0] + p[1] * static_cast<double>(t));
        }
        return true;
    };
    const FitParameter parameters[] = {{-INFINITY, INFINITY, {0.0}}, {-INFINITY, INFINITY, {0.0}}};
    const FitResult fit = FitLeastSquares(parameters, 5, line);
    // Sxx = 10, n = 5, mean t = 2: var(b) = 1/Sxx, var(a) = 1/n + mean^2/Sxx.
    EXPECT_NEAR(fit.errors[1], std::sqrt(1.0 / 10.0), 1e-6);
    EXPECT_NEAR(fit.errors[0], std::sqrt(1.0 / 5.0 + 4.0 / 10.0), 1e-6);
}

// As many measurements as parameters: met exactly.
TEST(LeastSquares, FitsAsManyParametersAsMeasurements) {
    const Decay decay = Decay::Of(2.0, 4.0);
    const FitParameter parameters[] = {{0.0, INFINITY, {1.0}}, {0.0, INFINITY, {1.0, 10.0}}};
    const FitResult fit = FitLeastSquares(parameters, 2, decay.Residuals());
    ASSERT_EQ(fit.status, FitResult::Status::Converged) << fit.reason;
    EXPECT_NEAR(fit.values[1], 4.0, 1e-9);
    EXPECT_LT(fit.chi2, 1e-20);
}

TEST(LeastSquares, SaysWhyItCannotFit) {
    const Decay decay = Decay::Of(1.0, 1.0);
    const FitParameter two[] = {{0.0, INFINITY, {1.0}}, {0.0, INFINITY, {1.0}}};
    EXPECT_EQ(FitLeastSquares(two, 1, decay.Residuals()).status, FitResult::Status::Failed);
    const ResidualFunction nowhere = [](std::span<const double>, std::span<double>) {
        return false;
    };
    const FitResult none = FitLeastSquares(two, 10, nowhere);
    EXPECT_EQ(none.status, FitResult::Status::Failed);
    EXPECT_FALSE(none.reason.empty());
}

TEST(LeastSquares, InformationCriteria) {
    EXPECT_DOUBLE_EQ(Akaike(3.0, 2), 7.0);
    EXPECT_DOUBLE_EQ(CorrectedAkaike(3.0, 9, 2), 3.0 + 4.0 + 12.0 / 6.0);
    EXPECT_TRUE(std::isinf(CorrectedAkaike(3.0, 3, 2)));
    EXPECT_DOUBLE_EQ(Bayesian(3.0, 9, 2), 3.0 + 2.0 * std::log(9.0));
}

}  // namespace
}  // namespace veldorin
