// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protein/protein_results.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "engine/format.h"
#include "fit/reduced_mapping.h"

namespace veldorin {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Told apart on white paper and by most colour-blind readers.
constexpr std::array<Rgb, 10> kPalette{{
    {0, 0, 0},
    {230, 159, 0},
    {86, 180, 233},
    {0, 158, 115},
    {213, 94, 0},
    {0, 114, 178},
    {204, 121, 167},
    {120, 120, 120},
    {160, 130, 0},
    {110, 60, 160},
}};

Rgb ColourOf(int index) { return kPalette[static_cast<std::size_t>(index) % kPalette.size()]; }

std::string Printed(const char* format, int decimals, double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, decimals, value);
    return text.data();
}

// Rex is fitted at 800 MHz and grows with the square of the field.
double RexScale(const ProteinSettings& settings) {
    const double ratio = settings.rexFieldMHz / 800.0;
    return ratio * ratio;
}

std::optional<ResultValue> Shown(const ProteinProject& project, const ResidueOutcome& outcome,
                                 ResultQuantity quantity) {
    std::optional<ResultValue> result = ResultOf(*project.fit, outcome, quantity);
    if (result && quantity == ResultQuantity::Rex) {
        const double scale = RexScale(project.settings);
        result->value *= scale;
        result->error *= scale;
    }
    return result;
}

ResultCell Cell(std::string text, double order) { return {std::move(text), order}; }

ResultCell ValueCell(const std::optional<ResultValue>& result) {
    if (!result) return Cell("", kNaN);
    return Cell(ValueWithError(result->value, result->error), result->value);
}

std::string EliminatedText(const ResidueOutcome& outcome) {
    std::string text;
    for (const EliminatedModel& model : outcome.eliminated) {
        if (!text.empty()) text += "; ";
        text += "m" + std::to_string(model.model) + ": " + model.reason;
    }
    return text;
}

}  // namespace

std::string ValueWithError(double value, double error) {
    if (const std::optional<RoundedToError> rounded = RoundToError(value, error)) {
        return rounded->value + " ± " + rounded->error;
    }
    return std::isfinite(value) ? Printed("%.*g", 6, value) : "";
}

std::vector<std::string> ResultHeadings(const ProteinSettings& settings) {
    return {"Residue",
            "Model",
            "S²",
            "τe, ps",
            "Rex, 1/s at " + FormatShortestDouble(settings.rexFieldMHz) + " MHz",
            "S²f",
            "S²s",
            "τf, ps",
            "τs, ps",
            "τm, ps",
            "CSA, ppm",
            "χ²",
            "Flags",
            "Eliminated",
            "J(0) agrees"};
}

std::vector<ResultRow> ResultRows(const ProteinProject& project) {
    std::vector<ResultRow> rows;
    const std::vector<ResidueMap> maps =
        MapProtein(project.data, project.settings.fit.residue.system);
    for (std::size_t r = 0; r < project.data.residues.size(); ++r) {
        const ResidueData& residue = project.data.residues[r];
        ResultRow& row = rows.emplace_back(kResultColumnCount, Cell("", kNaN));
        row[0] = Cell(residue.residue, static_cast<double>(r));
        if (const std::optional<bool> agrees = J0Agrees(maps[r].fields)) {
            row[static_cast<std::size_t>(ResultColumn::J0Agrees)] =
                Cell(*agrees ? "yes" : "no", *agrees ? 1.0 : 0.0);
        }
        const auto choice = project.choices.find(residue.residue);
        const bool byHand = choice != project.choices.end() && choice->second.model;
        const bool edited = choice != project.choices.end() && choice->second.rowsEdited;
        const ResidueOutcome* outcome = project.OutcomeOf(r);
        if (!outcome || !outcome->fit) {
            row[static_cast<std::size_t>(ResultColumn::Model)] =
                Cell(outcome ? outcome->failure
                             : std::to_string(residue.measurements.size()) + " measurements",
                     kNaN);
            continue;
        }
        const ModelFit& fit = *outcome->fit;
        const auto put = [&](ResultColumn column, ResultCell cell) {
            row[static_cast<std::size_t>(column)] = std::move(cell);
        };
        put(ResultColumn::Model,
            Cell("m" + std::to_string(fit.model) + (byHand ? " (by hand)" : ""), fit.model));
        const std::pair<ResultColumn, ResultQuantity> values[] = {
            {ResultColumn::S2, ResultQuantity::S2},   {ResultColumn::Te, ResultQuantity::Te},
            {ResultColumn::Rex, ResultQuantity::Rex}, {ResultColumn::S2f, ResultQuantity::S2f},
            {ResultColumn::S2s, ResultQuantity::S2s}, {ResultColumn::Tf, ResultQuantity::Tf},
            {ResultColumn::Ts, ResultQuantity::Ts},   {ResultColumn::Tm, ResultQuantity::Tm},
            {ResultColumn::Csa, ResultQuantity::Csa}};
        for (const auto& [column, quantity] : values)
            put(column, ValueCell(Shown(project, *outcome, quantity)));
        put(ResultColumn::Chi2, Cell(Printed("%.*g", 4, fit.chi2), fit.chi2));
        std::string flags = fit.FlagsText();
        if (edited) flags += std::string(flags.empty() ? "" : ";") + "rows_edited";
        put(ResultColumn::Flags, Cell(flags, kNaN));
        put(ResultColumn::Eliminated, Cell(EliminatedText(*outcome), kNaN));
    }
    return rows;
}

std::string NameOf(SequenceQuantity quantity) {
    static const std::array<const char*, kSequenceQuantityCount> kNames = {
        "S²",
        "Rex",
        "τe",
        "S²f and S²s",
        "R1",
        "R2",
        "NOE",
        "J(0)",
        "J(ωN)",
        "J(0.87 ωH)",
        "Bond angle to the unique axis"};
    return kNames[static_cast<std::size_t>(quantity)];
}

namespace {

// Each residue's fitted value, coloured by its model, with the models in the legend.
SequencePlot FittedPlot(const ProteinProject& project, ResultQuantity quantity, std::string title,
                        bool logarithmic) {
    SequencePlot plot{std::move(title), logarithmic, {}, {}};
    if (!project.fit) return plot;
    std::set<int> models;
    for (std::size_t r = 0; r < project.data.residues.size(); ++r) {
        const ResidueOutcome* outcome = project.OutcomeOf(r);
        if (!outcome || !outcome->fit) continue;
        const auto result = Shown(project, *outcome, quantity);
        if (!result) continue;
        const int model = outcome->fit->model;
        models.insert(model);
        plot.points.push_back(
            {project.data.residues[r].residue, result->value, result->error, ColourOf(model)});
    }
    for (const int model : models)
        plot.legend.push_back({ColourOf(model), "m" + std::to_string(model)});
    return plot;
}

SequencePlot OrderPlot(const ProteinProject& project) {
    SequencePlot plot{"S²f, S²s", false, {}, {}};
    if (!project.fit) return plot;
    const std::pair<ResultQuantity, const char*> parts[] = {{ResultQuantity::S2f, "S²f"},
                                                            {ResultQuantity::S2s, "S²s"}};
    for (std::size_t k = 0; k < 2; ++k) {
        for (std::size_t r = 0; r < project.data.residues.size(); ++r) {
            const ResidueOutcome* outcome = project.OutcomeOf(r);
            if (!outcome) continue;
            if (const auto result = ResultOf(*project.fit, *outcome, parts[k].first)) {
                plot.points.push_back({project.data.residues[r].residue, result->value,
                                       result->error, ColourOf(static_cast<int>(k) + 1)});
            }
        }
        plot.legend.push_back({ColourOf(static_cast<int>(k) + 1), parts[k].second});
    }
    return plot;
}

// Each field in its colour, in the order the fields first come.
class FieldColours {
public:
    Rgb Of(double fieldMHz) {
        const auto [at, added] = colours_.try_emplace(fieldMHz, ColourOf(next_));
        if (added) {
            ++next_;
            legend_.push_back({at->second, FormatShortestDouble(fieldMHz) + " MHz"});
        }
        return at->second;
    }
    std::vector<SequenceSeries> Legend() && { return std::move(legend_); }

private:
    std::map<double, Rgb> colours_;
    std::vector<SequenceSeries> legend_;
    int next_ = 1;
};

SequencePlot MeasuredPlot(const ProteinProject& project, Quantity quantity) {
    const std::string unit = quantity == Quantity::Noe ? "" : ", 1/s";
    SequencePlot plot{std::string(NameOf(quantity)) + unit, false, {}, {}};
    FieldColours colours;
    for (const ResidueData& residue : project.data.residues) {
        for (const Measurement& measurement : residue.measurements) {
            if (ComparedQuantity(measurement.quantity) != quantity) continue;
            plot.points.push_back({residue.residue, measurement.ComparedValue(),
                                   measurement.ComparedError(), colours.Of(measurement.fieldMHz)});
        }
    }
    plot.legend = std::move(colours).Legend();
    return plot;
}

SequencePlot MappedPlot(const ProteinProject& project, SequenceQuantity quantity) {
    SequencePlot plot{NameOf(quantity) + ", ns/rad", false, {}, {}};
    FieldColours colours;
    for (const ResidueMap& residue :
         MapProtein(project.data, project.settings.fit.residue.system)) {
        for (const MappedField& field : residue.fields) {
            const MappedDensities& j = field.densities;
            const Uncertain& value = quantity == SequenceQuantity::J0   ? j.j0
                                     : quantity == SequenceQuantity::JN ? j.jN
                                                                        : j.jH;
            plot.points.push_back(
                {residue.residue, value.value, value.error, colours.Of(field.fieldMHz)});
        }
    }
    plot.legend = std::move(colours).Legend();
    return plot;
}

// Each bond's angle to the unique axis of the tensor fitted: an ellipsoid's z axis. A sphere
// has no such axis.
SequencePlot AnglePlot(const ProteinProject& project) {
    SequencePlot plot{"Angle to the unique axis, °", false, {}, {}};
    if (!project.fit || !project.fit->diffusion || !project.structure) return plot;
    const DiffusionTensor& tensor = project.fit->diffusion->Chosen().tensor;
    if (tensor.model == DiffusionModel::Sphere) return plot;
    const auto& bonds = project.structure->bonds.unitVectors;
    for (const ResidueData& residue : project.data.residues) {
        const auto bond = bonds.find(residue.residue);
        if (bond == bonds.end()) continue;
        plot.points.push_back(
            {residue.residue, AngleToUniqueAxisDegrees(tensor, bond->second), kNaN, ColourOf(5)});
    }
    plot.legend.push_back({ColourOf(5), std::string(DiffusionModelName(tensor.model))});
    return plot;
}

// Each series, a rate at a field, in its colour, in the order they first come in the
// project, so that a series keeps its colour from residue to residue.
Rgb SeriesColour(const std::vector<DecayFit>& decays, const DecaySeries& series) {
    std::vector<std::pair<Quantity, double>> seen;
    for (const DecayFit& decay : decays) {
        const std::pair key{decay.series.quantity, decay.series.fieldMHz};
        if (std::find(seen.begin(), seen.end(), key) == seen.end()) seen.push_back(key);
        if (key == std::pair{series.quantity, series.fieldMHz}) break;
    }
    return ColourOf(static_cast<int>(seen.size()));
}

}  // namespace

SequencePlot PlotOf(const ProteinProject& project, SequenceQuantity quantity) {
    switch (quantity) {
        case SequenceQuantity::S2: return FittedPlot(project, ResultQuantity::S2, "S²", false);
        case SequenceQuantity::Rex:
            return FittedPlot(
                project, ResultQuantity::Rex,
                "Rex, 1/s at " + FormatShortestDouble(project.settings.rexFieldMHz) + " MHz",
                false);
        case SequenceQuantity::Te: return FittedPlot(project, ResultQuantity::Te, "τe, ps", true);
        case SequenceQuantity::S2fS2s: return OrderPlot(project);
        case SequenceQuantity::R1: return MeasuredPlot(project, Quantity::R1);
        case SequenceQuantity::R2: return MeasuredPlot(project, Quantity::R2);
        case SequenceQuantity::Noe: return MeasuredPlot(project, Quantity::Noe);
        case SequenceQuantity::J0:
        case SequenceQuantity::JN:
        case SequenceQuantity::JH: return MappedPlot(project, quantity);
        case SequenceQuantity::BondAngle: return AnglePlot(project);
    }
    return {};
}

namespace {

std::string WithError(double value, double error, const char* unit) {
    const std::string text = ValueWithError(value, error);
    return text.empty() ? "—" : text + unit;
}

std::string AxisText(const Vector3& axis, double errorDegrees) {
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "(%.3f, %.3f, %.3f)", axis[0], axis[1], axis[2]);
    return std::string(text.data()) +
           (std::isfinite(errorDegrees) ? " ± " + Printed("%.*g", 2, errorDegrees) + "°" : "");
}

const char* CriterionName(Criterion criterion) {
    switch (criterion) {
        case Criterion::Aic: return "AIC";
        case Criterion::Aicc: return "AICc";
        case Criterion::Bic: return "BIC";
    }
    return "";
}

std::string DLine(const std::string& name, double d, double error) {
    return name + " " + WithError(d / 1e7, error / 1e7, " ×10⁷/s");
}

// A fit kept before the ratio's error was has none: the ratio alone then.
std::string RatioText(double ratio, double error) {
    return std::isfinite(error) ? WithError(ratio, error, "") : Printed("%.*g", 4, ratio);
}

// The principal values in 10^7/s, the unit their size reads best in: a sphere's one, a
// spheroid's two with its unique axis (its other two are any in their plane), an
// ellipsoid's three with their axes.
std::string PrincipalLines(const DiffusionModelFit& fit) {
    const std::array<PrincipalAxis, 3> axes = PrincipalAxesOf(fit.tensor);
    const TensorErrors& errors = fit.errors;
    switch (fit.model) {
        case DiffusionModel::Sphere: return DLine("D", axes[0].d, errors.d[0]) + "\n";
        case DiffusionModel::Prolate:
        case DiffusionModel::Oblate: {
            // The principal values ascend: a prolate's unique one is the last, an oblate's the
            // first.
            const std::size_t unique = fit.model == DiffusionModel::Prolate ? 2 : 0;
            const std::size_t other = fit.model == DiffusionModel::Prolate ? 0 : 2;
            return DLine("D∥", axes[unique].d, errors.d[unique]) + "  axis " +
                   AxisText(axes[unique].axis, errors.axesDegrees[unique]) + "\n" +
                   DLine("D⊥", axes[other].d, errors.d[other]) + "\n" + "D∥/D⊥ " +
                   RatioText(SpheroidRatioOf(fit.tensor), errors.spheroidRatio) + "\n";
        }
        case DiffusionModel::Ellipsoid: break;
    }
    std::string lines;
    for (std::size_t k = 0; k < 3; ++k) {
        lines += DLine("D" + std::to_string(k + 1), axes[k].d, errors.d[k]) + "  axis " +
                 AxisText(axes[k].axis, errors.axesDegrees[k]) + "\n";
    }
    return lines;
}

}  // namespace

std::string TensorSummary(const DiffusionResult& diffusion, Criterion criterion) {
    const DiffusionModelFit& chosen = diffusion.Chosen();
    const char* name = CriterionName(criterion);
    std::string text = "Diffusion tensor: " + std::string(DiffusionModelName(chosen.model)) +
                       (diffusion.candidates.size() > 1 ? " (chosen by " + std::string(name) + ")"
                                                        : std::string()) +
                       "\n";
    text += "τm " + WithError(TmPsOf(chosen.tensor), chosen.errors.tmPs, " ps") + "\n";
    text += PrincipalLines(chosen);
    text += "\nModel      χ²         " + std::string(name) + "\n";
    for (std::size_t c = 0; c < diffusion.candidates.size(); ++c) {
        const DiffusionModelFit& fit = diffusion.candidates[c];
        std::array<char, 128> line{};
        if (fit.rounds.empty()) {
            std::snprintf(line.data(), line.size(), "%-10s not fitted: %s",
                          std::string(DiffusionModelName(fit.model)).c_str(), fit.failure.c_str());
        } else {
            std::snprintf(line.data(), line.size(), "%-10s %-10.2f %-10.2f%s",
                          std::string(DiffusionModelName(fit.model)).c_str(), fit.chi2, fit.score,
                          c == diffusion.chosen ? " chosen" : "");
        }
        text += std::string(line.data()) + "\n";
    }
    return text;
}

DecayPlot DecayPlotOf(const ProteinProject& project, std::size_t residue) {
    const std::string& name = project.data.residues.at(residue).residue;
    DecayPlot plot{"Intensity, residue " + name, {}};
    for (const DecayFit& decay : project.decays) {
        const DecaySeries& series = decay.series;
        if (series.residue != name) continue;
        DecayCurve& curve = plot.curves.emplace_back();
        curve.name = std::string(NameOf(series.quantity)) + ", " +
                     FormatShortestDouble(series.fieldMHz) + " MHz";
        curve.colour = SeriesColour(project.decays, series);
        for (const DecayPoint& point : series.points) {
            curve.points.push_back({point.delayS, point.intensity, point.error});
        }
        curve.i0 = decay.i0;
        curve.rate = decay.rate;
        curve.rateError = decay.rateError;
        curve.offset = decay.offset;
    }
    return plot;
}

}  // namespace veldorin
