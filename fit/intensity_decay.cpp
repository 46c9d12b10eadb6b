// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/intensity_decay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <span>
#include <tuple>

#include "engine/csv_text.h"
#include "engine/format.h"
#include "engine/numeric_text.h"
#include "fit/least_squares.h"
#include "fit/monte_carlo.h"
#include "fit/table_text.h"

namespace veldorin {
namespace {

using Cells = std::vector<std::string>;

enum class Column : std::size_t { Residue, Quantity, Field, Delay, Intensity, Error };
constexpr std::size_t kColumnCount = 6;
// The columns as a header lacking one is told.
constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "residue", "quantity", "field_mhz", "delay_s", "intensity", "error"};

bool NamesColumn(std::string_view cell, Column column) {
    const std::string name = HeaderName(cell);
    const std::optional<MeasurementColumn> measurement = MeasurementColumnNamed(cell);
    switch (column) {
        case Column::Residue: return name == "residue";
        case Column::Quantity: return measurement == MeasurementColumn::Quantity;
        case Column::Field: return measurement == MeasurementColumn::Field;
        case Column::Delay: return name == "delay_s" || name == "delay";
        case Column::Intensity: return name == "intensity";
        case Column::Error: return measurement == MeasurementColumn::Error;
    }
    return false;
}

// Where each column lies in the header, and its name there; the error column may be missing.
class Layout {
public:
    static std::optional<Layout> Of(int line, const Cells& header, Problems& problems) {
        Layout layout;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            const auto at = std::ranges::find_if(
                header, [&](const std::string& cell) { return NamesColumn(cell, column); });
            if (at != header.end()) {
                layout.position_[c] = static_cast<std::size_t>(at - header.begin());
                layout.name_[c] = ColumnName(*at);
            } else if (column != Column::Error) {
                problems.Add(HeaderWithout(line, kColumnNames[c]));
                return std::nullopt;
            }
        }
        return layout;
    }

    bool HasErrors() const {
        return position_[static_cast<std::size_t>(Column::Error)].has_value();
    }
    const std::string& Name(Column column) const { return name_[static_cast<std::size_t>(column)]; }
    std::string Cell(const Cells& cells, Column column) const {
        const std::optional<std::size_t> at = position_[static_cast<std::size_t>(column)];
        return at && *at < cells.size() ? cells[*at] : std::string();
    }

private:
    std::array<std::optional<std::size_t>, kColumnCount> position_;
    std::array<std::string, kColumnCount> name_;
};

// The delay's seconds; why not, when the cell holds none.
std::optional<double> DelayOf(const std::string& text, std::string& why) {
    if (text.empty()) {
        why = "missing";
    } else if (text.size() > kMaxCellBytes) {
        why = CellTooLong() + ": " + Excerpt(text);
    } else if (const NumberRead read = DoubleIn(text); !read.value) {
        why = Excerpt(text) + " " + std::string(Refusal(read.failure)) + ", expected seconds";
    } else if (*read.value < 0.0) {
        why = "below 0, expected seconds from 0";
    } else {
        return read.value;
    }
    return std::nullopt;
}

// "residue "5", R1 at 600 MHz": a series as messages name it.
std::string SeriesName(const DecaySeries& series) {
    return "residue " + Excerpt(series.residue) + ", " + std::string(NameOf(series.quantity)) +
           " at " + FormatShortestDouble(series.fieldMHz) + " MHz";
}

// The series as their rows are read, in order of appearance, and what could not be read.
class SeriesBuilder {
public:
    SeriesBuilder(Layout layout, Problems& problems)
        : layout_(std::move(layout)), problems_(problems) {}

    void Take(const CsvLine& line, const Cells& cells) {
        const auto at = [&](Column column) { return AtCell(line.number, layout_.Name(column)); };
        const std::string residue = layout_.Cell(cells, Column::Residue);
        if (residue.empty() || residue.size() > kMaxCellBytes) {
            problems_.Add(at(Column::Residue) +
                          (residue.empty() ? "missing" : CellTooLong() + ": " + Excerpt(residue)));
        }
        // The field, quantity, intensity and error as a measurement's cells, so that they
        // are read and refused as every other data file's.
        MeasurementTexts texts;
        texts[MeasurementColumn::Field] = layout_.Cell(cells, Column::Field);
        texts[MeasurementColumn::Quantity] = layout_.Cell(cells, Column::Quantity);
        texts[MeasurementColumn::Value] = layout_.Cell(cells, Column::Intensity);
        texts[MeasurementColumn::Error] =
            layout_.HasErrors() ? layout_.Cell(cells, Column::Error) : "1";
        const MeasurementReading reading = ReadMeasurement(texts, line.number);
        constexpr std::array<Column, kMeasurementColumnCount> kColumnOf = {
            Column::Field, Column::Quantity, Column::Intensity, Column::Error};
        for (const CellProblem& problem : reading.problems) {
            problems_.Add(at(kColumnOf[static_cast<std::size_t>(problem.column)]) + problem.reason);
        }
        const std::optional<Measurement> read = reading.measurement;
        const std::optional<Quantity> named = QuantityNamed(texts[MeasurementColumn::Quantity]);
        const bool rate = !named || named == Quantity::R1 || named == Quantity::R2;
        if (!rate) {
            problems_.Add(at(Column::Quantity) + Excerpt(texts[MeasurementColumn::Quantity]) +
                          " is neither R1 nor R2, the rates a decay gives");
        }
        std::string why;
        const std::optional<double> delay = DelayOf(layout_.Cell(cells, Column::Delay), why);
        if (!delay) problems_.Add(at(Column::Delay) + why);
        if (residue.empty() || residue.size() > kMaxCellBytes || !read || !rate || !delay) return;
        const auto [found, added] =
            indexOf_.try_emplace({residue, read->quantity, read->fieldMHz}, series_.size());
        if (added)
            series_.push_back({residue, read->quantity, read->fieldMHz, {}, layout_.HasErrors()});
        series_[found->second].points.push_back({*delay, read->value, read->error, line.number});
    }

    std::vector<DecaySeries> Series() && { return std::move(series_); }

private:
    Layout layout_;
    Problems& problems_;
    std::vector<DecaySeries> series_;
    std::map<std::tuple<std::string, Quantity, double>, std::size_t> indexOf_;
};

// The series of the text; nothing after telling its problems.
std::optional<std::vector<DecaySeries>> ReadSeries(const std::vector<CsvLine>& lines,
                                                   Layout& layout, Problems& problems) {
    const CsvLine& header = lines.front();
    const char separator = SeparatorOf(header.text);
    const Cells names = TrimmedCells(header.text, separator);
    std::optional<Layout> found = Layout::Of(header.number, names, problems);
    if (!found) return std::nullopt;
    layout = *found;
    if (lines.size() == 1) problems.Add(HeaderWithoutRows(header.number));
    SeriesBuilder builder(layout, problems);
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        if (IsTooLong(*line)) {
            problems.Add(LongLineProblem(*line));
            continue;
        }
        const Cells cells = TrimmedCells(line->text, separator);
        if (cells.size() > names.size()) {
            problems.Add(AtLine(line->number) + MoreCellsThanHeader(cells.size(), names.size()) +
                         ": " + Excerpt(line->text));
            continue;
        }
        builder.Take(*line, cells);
    }
    if (problems.Any()) return std::nullopt;
    return std::move(builder).Series();
}

std::size_t DistinctDelays(const std::vector<DecayPoint>& points) {
    std::vector<double> delays;
    for (const DecayPoint& point : points) delays.push_back(point.delayS);
    std::ranges::sort(delays);
    return static_cast<std::size_t>(std::ranges::unique(delays).begin() - delays.begin());
}

// Gives the series' points the estimated error where the file gives none; why the series
// cannot be fitted instead, naming the column at fault.
std::optional<std::string> PrepareToFit(DecaySeries& series, const Layout& layout,
                                        std::size_t parameters) {
    const int line = series.points.front().line;
    const std::string named = SeriesName(series) + ": ";
    const std::size_t delays = DistinctDelays(series.points);
    if (delays < parameters + 1) {
        return AtCell(line, layout.Name(Column::Delay)) + named + std::to_string(delays) +
               " distinct delays, expected at least " + std::to_string(parameters + 1) +
               " for a curve of " + std::to_string(parameters) + " parameters";
    }
    if (series.errorsGiven) return std::nullopt;
    const std::optional<double> error = RepeatedDelayError(series.points);
    if (!error) {
        return AtCell(line, layout.Name(Column::Intensity)) + named +
               "no error column and no delay repeated with differing intensities, so the "
               "intensities' error is unknown; expected an error column or repeated delays";
    }
    for (DecayPoint& point : series.points) point.error = *error;
    return std::nullopt;
}

// The curve I0 exp(-R t) (+ c) through a series' points, with the values of the grids the
// fit starts from.
class DecayCurve {
public:
    DecayCurve(const DecaySeries& series, bool offset) : series_(series), offset_(offset) {}

    std::size_t ParameterCount() const { return offset_ ? 3 : 2; }

    static double At(std::span<const double> p, double delay) {
        return p[0] * std::exp(-p[1] * delay) + (p.size() > 2 ? p[2] : 0.0);
    }

    // I0 about the largest intensity, R about the decay between the first and the last
    // delay, the offset from none to the intensity at the last delay.
    std::vector<FitParameter> Parameters() const {
        const auto [first, last] = std::ranges::minmax(series_.points, {}, &DecayPoint::delayS);
        const double early = MeanAt(first.delayS);
        const double late = MeanAt(last.delayS);
        const double span = last.delayS - first.delayS;
        const bool decays = early * late > 0.0 && std::abs(late) < std::abs(early);
        const double rate = decays ? std::log(early / late) / span : 1.0 / span;
        const double largest = std::ranges::max(series_.points, {}, [](const DecayPoint& p) {
                                   return std::abs(p.intensity);
                               }).intensity;
        constexpr double kInfinity = std::numeric_limits<double>::infinity();
        std::vector<FitParameter> parameters = {
            {-kInfinity, kInfinity, {0.5 * largest, largest, 2.0 * largest}},
            {0.0, kInfinity, {}},
        };
        for (double factor = 0.125; factor <= 8.0; factor *= 2.0) {
            parameters[1].grid.push_back(factor * rate);
        }
        if (offset_) parameters.push_back({-kInfinity, kInfinity, {0.0, 0.5 * late, late}});
        return parameters;
    }

    // The weighted residuals against the given intensities, one per point.
    ResidualFunction Residuals(const std::vector<double>& intensities) const {
        return [this, &intensities](std::span<const double> p, std::span<double> r) {
            for (std::size_t i = 0; i < r.size(); ++i) {
                const DecayPoint& point = series_.points[i];
                r[i] = (intensities[i] - At(p, point.delayS)) / point.error;
            }
            return true;
        };
    }

private:
    double MeanAt(double delay) const {
        double sum = 0.0;
        int count = 0;
        for (const DecayPoint& point : series_.points) {
            if (point.delayS != delay) continue;
            sum += point.intensity;
            ++count;
        }
        return sum / count;
    }

    const DecaySeries& series_;
    bool offset_;
};

// Why a fit gives no rate; nothing when it does.
std::optional<std::string> RateRefusal(const FitResult& fit) {
    if (fit.status != FitResult::Status::Converged)
        return "the fit did not converge: " + fit.reason;
    switch (fit.flags[1]) {
        case ParameterFlag::AtBound: return "the intensities do not decay (R at 0)";
        case ParameterFlag::Undetermined: return "the intensities do not determine R";
        case ParameterFlag::None: break;
    }
    return std::nullopt;
}

// The errors of the fitted values by Monte Carlo: each set's intensities drawn about the
// fitted curve with each point's error, refitted from the fitted values. Nothing when more
// than a tenth of the refits failed, as --fit refuses such a model.
std::optional<std::vector<double>> MonteCarloErrors(const DecayCurve& curve,
                                                    const DecaySeries& series,
                                                    const std::vector<FitParameter>& parameters,
                                                    const FitResult& fit, int sets,
                                                    std::uint64_t seed) {
    std::vector<Measurement> measured;
    std::vector<double> calculated;
    for (const DecayPoint& point : series.points) {
        measured.push_back({series.fieldMHz, series.quantity, point.intensity, point.error});
        calculated.push_back(DecayCurve::At(fit.values, point.delayS));
    }
    std::vector<double> intensities(series.points.size());
    const ResidualFunction residuals = curve.Residuals(intensities);
    const SyntheticRefit refit =
        [&](const std::vector<Measurement>& set) -> std::optional<std::vector<double>> {
        for (std::size_t i = 0; i < set.size(); ++i) intensities[i] = set[i].value;
        FitResult again = FitLeastSquares(parameters, set.size(), residuals, fit.values);
        if (again.status != FitResult::Status::Converged) return std::nullopt;
        return std::move(again.values);
    };
    const MonteCarloSpreads run =
        RunMonteCarlo(SyntheticSets(std::move(measured), std::move(calculated), seed), sets,
                      parameters.size(), refit);
    if (10 * (run.drawn - run.fitted) > run.drawn) return std::nullopt;
    std::vector<double> errors;
    for (const ParameterSpread& spread : run.spread) errors.push_back(spread.standardDeviation);
    return errors;
}

}  // namespace

bool IsIntensitySeriesText(std::string_view text) {
    const std::vector<CsvLine> lines = DataLines(text);
    if (lines.empty() || IsTooLong(lines.front())) return false;
    const Cells header = TrimmedCells(lines.front().text, SeparatorOf(lines.front().text));
    const auto has = [&](Column column) {
        return std::ranges::any_of(
            header, [&](const std::string& cell) { return NamesColumn(cell, column); });
    };
    return has(Column::Delay) && has(Column::Intensity);
}

std::optional<double> RepeatedDelayError(const std::vector<DecayPoint>& points) {
    std::map<double, std::vector<double>> atDelay;
    for (const DecayPoint& point : points) atDelay[point.delayS].push_back(point.intensity);
    double squares = 0.0;
    std::size_t freedom = 0;
    for (const auto& [delay, intensities] : atDelay) {
        double mean = 0.0;
        for (double intensity : intensities) mean += intensity;
        mean /= static_cast<double>(intensities.size());
        for (double intensity : intensities) squares += (intensity - mean) * (intensity - mean);
        freedom += intensities.size() - 1;
    }
    if (freedom == 0 || !(squares > 0.0)) return std::nullopt;
    return std::sqrt(squares / static_cast<double>(freedom));
}

DecaySeriesFit FitDecaySeries(const DecaySeries& series, const DecayFitOptions& options,
                              std::uint64_t seed) {
    const DecayCurve curve(series, options.offset);
    const std::vector<FitParameter> parameters = curve.Parameters();
    std::vector<double> intensities;
    for (const DecayPoint& point : series.points) intensities.push_back(point.intensity);
    const FitResult fit =
        FitLeastSquares(parameters, series.points.size(), curve.Residuals(intensities));
    if (std::optional<std::string> refusal = RateRefusal(fit)) return {std::nullopt, *refusal};
    std::vector<double> errors = fit.errors;
    if (options.monteCarloSets > 0) {
        std::optional<std::vector<double>> spread =
            MonteCarloErrors(curve, series, parameters, fit, options.monteCarloSets, seed);
        if (!spread) return {std::nullopt, "more than a tenth of the Monte Carlo refits failed"};
        errors = *std::move(spread);
    }
    if (!(errors[1] > 0.0)) return {std::nullopt, "the rate's error could not be found"};
    DecayFit result{series, fit.values[0], errors[0], fit.values[1], errors[1], 0.0, 0.0, fit.chi2};
    if (options.offset) {
        result.offset = fit.values[2];
        result.offsetError = errors[2];
    }
    return {std::move(result), {}};
}

IntensityDecayRead ReadIntensityDecays(std::string_view text, const DecayFitOptions& options) {
    const std::vector<CsvLine> lines = DataLines(text);
    if (lines.empty()) return {{}, std::nullopt, "no header line"};
    if (IsTooLong(lines.front())) return {{}, std::nullopt, LongLineProblem(lines.front())};
    Problems problems;
    Layout layout;
    std::optional<std::vector<DecaySeries>> series = ReadSeries(lines, layout, problems);
    if (!series) return {{}, std::nullopt, problems.Text()};
    const std::size_t parameters = options.offset ? 3 : 2;
    IntensityDecayRead read;
    ProteinData data;
    std::map<std::string, std::size_t, std::less<>> residueIndex;
    for (std::size_t s = 0; s < series->size(); ++s) {
        DecaySeries& one = (*series)[s];
        if (std::optional<std::string> refusal = PrepareToFit(one, layout, parameters)) {
            problems.Add(*refusal);
            continue;
        }
        // A seed of its own for each series, so that a series' error does not depend on
        // how many sets the series before it drew.
        DecaySeriesFit fitted = FitDecaySeries(one, options, options.seed + s);
        if (!fitted.fit) {
            problems.Add(AtCell(one.points.front().line, layout.Name(Column::Intensity)) +
                         SeriesName(one) + ": " + fitted.failure);
            continue;
        }
        const auto [at, added] = residueIndex.try_emplace(one.residue, data.residues.size());
        if (added) data.residues.push_back({one.residue, {}, {}});
        data.residues[at->second].measurements.push_back(
            {one.fieldMHz, one.quantity, fitted.fit->rate, fitted.fit->rateError});
        data.residues[at->second].lines.push_back(one.points.front().line);
        read.fits.push_back(*std::move(fitted.fit));
    }
    if (problems.Any()) {
        read.error = problems.Text();
    } else {
        read.data = std::move(data);
    }
    return read;
}

}  // namespace veldorin
