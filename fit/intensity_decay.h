// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Relaxation rates from the peak intensities of a series of spectra at growing delays: each
// residue's decay at a field fitted to I(t) = I0 exp(-R t) (+ an offset), giving R1 or R2.

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/protein_data.h"

namespace veldorin {

// One peak's intensity at one delay; the error is the file's, or the series' estimate from
// its repeated delays.
struct DecayPoint {
    double delayS = 0.0;
    double intensity = 0.0;
    double error = 0.0;
    int line = 0;  // in the file
};

// The intensities of one residue's rate at one field, in the order of the file.
struct DecaySeries {
    std::string residue;
    Quantity quantity = Quantity::R1;  // R1 or R2
    double fieldMHz = 0.0;
    std::vector<DecayPoint> points;
    bool errorsGiven = false;  // the file has an error column
};

struct DecayFitOptions {
    bool offset = false;       // fit I0 exp(-R t) + c rather than I0 exp(-R t)
    int monteCarloSets = 500;  // the rate's error from their spread; 0: from the covariance
    std::uint64_t seed = 1;
};

// A series fitted: the curve's parameters with their errors (Monte Carlo standard deviations,
// or the covariance's without sets), for the rates and for drawing the decays.
struct DecayFit {
    DecaySeries series;  // its points carry the errors the fit was weighted by
    double i0 = 0.0;
    double i0Error = 0.0;
    double rate = 0.0;  // in 1/s
    double rateError = 0.0;
    double offset = 0.0;  // 0 without the offset
    double offsetError = 0.0;
    double chi2 = 0.0;
};

// The header of an intensity series names a delay and an intensity column.
bool IsIntensitySeriesText(std::string_view text);

// Reads a table "residue,quantity,field_mhz,delay_s,intensity[,error]" (the columns in any
// order; header names in any case, a unit in brackets after them left off, "delay" for
// "delay_s", "field" for "field_mhz", "sigma" or "uncertainty" for "error"; cells separated
// as the header's are; '#' starts a comment line; other columns skipped). The quantity is R1
// or R2, the field 1 to 10000 MHz, the delay in s not below 0, the intensity any number,
// its error above 0. The rows of one residue's quantity at one field make a series, fitted
// by weighted least squares from grids about the data's own decay (R) and largest
// intensity (I0). The intensities' errors are the file's; without an error column, a
// series' error is the pooled standard deviation of its repeated delays, the same at every
// delay. A series with neither is refused rather than weighted by its residuals' scatter:
// that scatter takes a wrong curve's misfit for noise and would hide it. A series needs at
// least one distinct delay more than the curve has parameters, so that the curve is tested
// by the data and not merely drawn through them. Every problem names the line and the
// column (a series': its first line) and what was expected, as ReadProteinData's do.
struct IntensityDecayRead {
    std::vector<DecayFit> fits;       // of the series that could be fitted, in order of appearance
    std::optional<ProteinData> data;  // R1 and R2 per residue, when nothing was refused
    std::string error;
};
IntensityDecayRead ReadIntensityDecays(std::string_view text, const DecayFitOptions& options = {});

// Fits one series; the refusal's reason instead when its fit fails or gives no error.
struct DecaySeriesFit {
    std::optional<DecayFit> fit;
    std::string failure;
};
DecaySeriesFit FitDecaySeries(const DecaySeries& series, const DecayFitOptions& options,
                              std::uint64_t seed);

// The pooled standard deviation of the intensities at repeated delays, sqrt(sum of squared
// deviations from each delay's mean / sum of (repeats - 1)); nothing without a repeat or
// when every repeat is equal.
std::optional<double> RepeatedDelayError(const std::vector<DecayPoint>& points);

}  // namespace veldorin
