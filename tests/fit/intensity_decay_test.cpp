// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/intensity_decay.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/format.h"
#include "fit/protein_sources.h"

namespace veldorin {
namespace {

constexpr DecayFitOptions kCovariance{false, 0, 1};

// "5 R1/600 x4; 6 R2/600 x3": each series with its number of points, or the first problem.
std::string SeriesRead(const std::string& text) {
    const IntensityDecayRead read = ReadIntensityDecays(text, kCovariance);
    if (!read.data) return read.error.substr(0, read.error.find('\n'));
    std::string described;
    for (const DecayFit& fit : read.fits) {
        const DecaySeries& s = fit.series;
        described += (described.empty() ? "" : "; ") + s.residue + " " +
                     std::string(NameOf(s.quantity)) + "/" + FormatShortestDouble(s.fieldMHz) +
                     " x" + std::to_string(s.points.size());
    }
    return described;
}

// Rows "residue,quantity,600,delay,intensity,error" of I0 exp(-R t) + c at the delays.
std::string Rows(const std::string& residue, const std::string& quantity, double i0, double rate,
                 double offset, const std::vector<double>& delays) {
    std::string rows;
    for (double t : delays) {
        const double intensity = i0 * std::exp(-rate * t) + offset;
        rows += residue + "," + quantity + ",600," + FormatShortestDouble(t) + "," +
                FormatShortestDouble(intensity) + "," + FormatShortestDouble(0.01 * std::abs(i0)) +
                "\n";
    }
    return rows;
}

const std::string kHeader = "residue,quantity,field_mhz,delay_s,intensity,error\n";
const std::vector<double> kDelays = {0.01, 0.05, 0.1, 0.2, 0.4, 0.8};

TEST(IntensityDecay, ReadsSeriesAndRefusesWithLineColumnAndWhatWasExpected) {
    const std::string good = Rows("5", "R1", 1e6, 1.5, 0.0, kDelays);
    struct Row {
        const char* name;
        std::string text;
        const char* read;  // the series, or the start of the first problem
    };
    for (const Row& row : {
             Row{"grouped by residue, quantity and field, in order of appearance",
                 kHeader + good + Rows("6", "R2", 1e6, 9.0, 0.0, {0.01, 0.02, 0.04}) +
                     Rows("5", "r1", 1e6, 1.5, 0.0, {0.5}),
                 "5 R1/600 x7; 6 R2/600 x3"},
             Row{"tabs, any case, units in brackets, a comment, columns in another order",
                 "# T1 series\nDelay (s)\tResidue\tQuantity\tField\tIntensity\tSigma\tpeak\n"
                 "  # first\n0\tA\tR1\t600\t100\t1\tx\n0.5\tA\tR1\t600\t60\t1\tx\n"
                 "1\tA\tR1\t600\t37\t1\tx\n",
                 "A R1/600 x3"},
             Row{"no error column, repeated delays",
                 "residue,quantity,field_mhz,delay_s,intensity\n"
                 "1,R2,800,0.01,100\n1,R2,800,0.01,98\n1,R2,800,0.03,75\n1,R2,800,0.05,60\n",
                 "1 R2/800 x4"},
             Row{"a header without intensity", "residue,quantity,field_mhz,delay_s\n1,R1,600,0\n",
                 "line 1: the header names no \"intensity\" column"},
             Row{"a quantity that is no rate of a decay", kHeader + "1,NOE,600,0.1,5,1\n",
                 "line 2, column \"quantity\": \"NOE\" is neither R1 nor R2"},
             Row{"a negative delay", kHeader + "1,R1,600,-0.1,5,1\n",
                 "line 2, column \"delay_s\": below 0, expected seconds from 0"},
             Row{"an intensity that is not a number", kHeader + "1,R1,600,0.1,x,1\n",
                 "line 2, column \"intensity\": \"x\" is not a number"},
             Row{"an error not above 0", kHeader + "1,R1,600,0.1,5,0\n",
                 "line 2, column \"error\": not above 0"},
             Row{"decimal commas", kHeader + "1,R1,600,0,1,5,1\n", "line 2: 7 cells where"},
             Row{"too few delays", kHeader + Rows("7", "R1", 1e6, 1.5, 0.0, {0.1, 0.2, 0.2}),
                 "line 2, column \"delay_s\": residue \"7\", R1 at 600 MHz: 2 distinct delays, "
                 "expected at least 3"},
             Row{"neither errors nor repeated delays",
                 "residue,quantity,field_mhz,delay_s,intensity\n"
                 "# header\n9,R1,600,0.1,90\n9,R1,600,0.2,80\n9,R1,600,0.4,60\n",
                 "line 3, column \"intensity\": residue \"9\", R1 at 600 MHz: no error column "
                 "and no delay repeated"},
             Row{"intensities that grow",
                 kHeader + "3,R1,600,0.1,10,1\n3,R1,600,0.2,20,1\n3,R1,600,0.3,30,1\n",
                 "line 2, column \"intensity\": residue \"3\", R1 at 600 MHz: the intensities "
                 "do not decay"},
         }) {
        EXPECT_TRUE(SeriesRead(row.text).starts_with(row.read))
            << row.name << ": " << SeriesRead(row.text);
    }
}

TEST(IntensityDecay, RecoversTheRateOfNoiseFreeDecaysFromTheDefaultStarts) {
    struct Row {
        const char* name;
        bool offset;
        double i0, rate, offsetValue;
        std::vector<double> delays;
    };
    for (const Row& row : {
             Row{"slow R1", false, 2.5e7, 0.9, 0.0, {0.02, 0.1, 0.3, 0.6, 1.0, 1.5, 2.0, 3.0}},
             Row{"fast R2", false, 4.1e5, 31.0, 0.0, {0.0, 0.008, 0.016, 0.032, 0.064, 0.128}},
             Row{"negative intensities", false, -3.0e3, 2.2, 0.0, kDelays},
             Row{"R1 with an offset", true, 1.0e6, 1.3, 4.0e4, {0.01, 0.2, 0.5, 1.0, 2.0, 4.0}},
             Row{"R2 with a negative offset", true, 8.0e5, 12.0, -2.0e4, kDelays},
         }) {
        const DecayFitOptions options{row.offset, 0, 1};
        const IntensityDecayRead read = ReadIntensityDecays(
            kHeader + Rows("1", "R2", row.i0, row.rate, row.offsetValue, row.delays), options);
        ASSERT_TRUE(read.data) << row.name << ": " << read.error;
        const DecayFit& fit = read.fits.front();
        EXPECT_NEAR(fit.rate, row.rate, 1e-9 * row.rate) << row.name;
        EXPECT_NEAR(fit.i0, row.i0, 1e-9 * std::abs(row.i0)) << row.name;
        EXPECT_NEAR(fit.offset, row.offsetValue, 1e-9 * std::abs(row.i0)) << row.name;
        EXPECT_EQ(read.data->residues.front().measurements.front().value, fit.rate) << row.name;
    }
}

TEST(IntensityDecay, RepeatedDelaysGiveThePooledErrorAndMonteCarloAgreesWithTheCovariance) {
    // Pairs at 0.1 s (100, 104) and 0.5 s (50, 53): (8 + 4.5) / 2 = 2.5^2.
    const std::vector<DecayPoint> points = {
        {0.1, 100, 0, 2}, {0.1, 104, 0, 3}, {0.3, 70, 0, 4}, {0.5, 50, 0, 5}, {0.5, 53, 0, 6}};
    EXPECT_DOUBLE_EQ(*RepeatedDelayError(points), 2.5);
    EXPECT_FALSE(RepeatedDelayError({{0.1, 100, 0, 2}, {0.1, 100, 0, 3}, {0.2, 90, 0, 4}}));

    std::string text = "residue,quantity,field_mhz,delay_s,intensity\n";
    for (const DecayPoint& p : points) {
        text += "4,R2,700," + FormatShortestDouble(p.delayS) + "," +
                FormatShortestDouble(p.intensity) + "\n";
    }
    const IntensityDecayRead covariance = ReadIntensityDecays(text, kCovariance);
    const IntensityDecayRead monteCarlo = ReadIntensityDecays(text, {false, 2000, 7});
    ASSERT_TRUE(covariance.data && monteCarlo.data) << covariance.error << monteCarlo.error;
    EXPECT_EQ(covariance.fits.front().series.points.front().error, 2.5);
    const double expected = covariance.fits.front().rateError;
    EXPECT_NEAR(monteCarlo.fits.front().rateError, expected, 0.1 * expected);
    EXPECT_EQ(ReadIntensityDecays(text, {false, 2000, 7}).fits.front().rateError,
              monteCarlo.fits.front().rateError);
}

TEST(IntensityDecay, TheDataReaderTakesASeriesFileByItsHeader) {
    const ProteinDataRead read = ReadProteinSource(kHeader + Rows("8", "R1", 1e6, 1.5, 0, kDelays));
    ASSERT_TRUE(read.data) << read.error;
    const Measurement& rate = read.data->residues.front().measurements.front();
    EXPECT_EQ(rate.quantity, Quantity::R1);
    EXPECT_NEAR(rate.value, 1.5, 1e-9);
    EXPECT_GT(rate.error, 0.0);
}

}  // namespace
}  // namespace veldorin
