// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/reduced_mapping.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/csv_text.h"
#include "engine/format.h"

namespace veldorin {
namespace {

constexpr double kNsPerPs = 1e-3;

// A density as (r1 R1 + r2 R2 + sigma * sigma) / denominator.
struct RateCombination {
    double r1 = 0.0;
    double r2 = 0.0;
    double sigma = 0.0;
    double denominator = 1.0;
};

// The density in ns/rad and its first-order error; sigma carries R1 and the NOE with it.
Uncertain Evaluated(const RateCombination& j, const FieldRates& rates, double gammaRatio) {
    const double r1 = rates.r1.value;
    const double sigmaByR1 = (rates.noe.value - 1.0) * gammaRatio;
    const double sigmaByNoe = r1 * gammaRatio;
    const double sigma = r1 * sigmaByR1;
    const double value = (j.r1 * r1 + j.r2 * rates.r2.value + j.sigma * sigma) / j.denominator;
    const double byR1 = (j.r1 + j.sigma * sigmaByR1) / j.denominator;
    const double byR2 = j.r2 / j.denominator;
    const double byNoe = j.sigma * sigmaByNoe / j.denominator;
    const double error =
        std::hypot(byR1 * rates.r1.error, byR2 * rates.r2.error, byNoe * rates.noe.error);
    return {value * kNsPerPs, error * kNsPerPs};
}

// The compared quantities, in the order of their values.
constexpr std::array<Quantity, 3> kMappedQuantities = {Quantity::R1, Quantity::R2, Quantity::Noe};

// What the data give at one field, by compared quantity (R1, R2, NOE).
struct FieldMeasurements {
    double fieldMHz = 0.0;
    std::array<std::vector<Uncertain>, kMappedQuantities.size()> values;
};

std::vector<FieldMeasurements> ByField(const std::vector<Measurement>& measurements) {
    std::vector<FieldMeasurements> fields;
    for (const Measurement& measurement : measurements) {
        auto field = std::find_if(fields.begin(), fields.end(), [&](const FieldMeasurements& f) {
            return f.fieldMHz == measurement.fieldMHz;
        });
        if (field == fields.end()) field = fields.insert(fields.end(), {measurement.fieldMHz, {}});
        const auto quantity = static_cast<std::size_t>(ComparedQuantity(measurement.quantity));
        field->values[quantity].push_back(
            {measurement.ComparedValue(), measurement.ComparedError()});
    }
    return fields;
}

// Why the field cannot be mapped ("no R2, NOE; R1 more than once"); empty when it can.
std::string WhyUnmapped(const FieldMeasurements& field) {
    std::string missing;
    std::string repeated;
    for (std::size_t q = 0; q < kMappedQuantities.size(); ++q) {
        const std::size_t count = field.values[q].size();
        if (count == 1) continue;
        std::string& list = count == 0 ? missing : repeated;
        list += (list.empty() ? "" : ", ") + std::string(NameOf(kMappedQuantities[q]));
    }
    std::string reason = missing.empty() ? "" : "no " + missing;
    if (!repeated.empty()) reason += (reason.empty() ? "" : "; ") + repeated + " more than once";
    return reason;
}

// A density or its error; empty where it could not be found.
std::string Number(double value) { return std::isfinite(value) ? FormatShortestDouble(value) : ""; }

std::string Cells(const Uncertain& density) {
    return Number(density.value) + "," + Number(density.error);
}

}  // namespace

MappingConstants MappingConstantsOf(const FitSpinSystem& system, double protonMHz) {
    const FitSpinSystem::Neighbour& partner = system.neighbours.front();
    // The fit's densities lack the literature's 2/5: its dipolar constant scales R1 by a
    // tenth where d2 does by a quarter, its CSA constant is 2/5 of c2.
    return {DipolarConstant(system.centralGamma, partner.gamma, partner.distance),
            2.5 * CsaConstant(system, protonMHz), system.centralGamma / partner.gamma};
}

MappedDensities MapDensities(const FieldRates& rates, const MappingConstants& constants) {
    const double heteronuclear = 3.0 * constants.d2 + 4.0 * constants.c2;
    return {Evaluated({-3.0, 6.0, -2.72, heteronuclear}, rates, constants.gammaRatio),
            Evaluated({4.0, 0.0, -5.0, heteronuclear}, rates, constants.gammaRatio),
            Evaluated({0.0, 0.0, 4.0, 5.0 * constants.d2}, rates, constants.gammaRatio)};
}

std::vector<ResidueMap> MapProtein(const ProteinData& data, const FitSpinSystem& system) {
    std::vector<ResidueMap> maps;
    for (const ResidueData& residue : data.residues) {
        ResidueMap& map = maps.emplace_back();
        map.residue = residue.residue;
        for (const FieldMeasurements& field : ByField(residue.measurements)) {
            if (std::string reason = WhyUnmapped(field); !reason.empty()) {
                map.unmapped.push_back({field.fieldMHz, std::move(reason)});
                continue;
            }
            const FieldRates rates{field.values[0].front(), field.values[1].front(),
                                   field.values[2].front()};
            map.fields.push_back(
                {field.fieldMHz, MapDensities(rates, MappingConstantsOf(system, field.fieldMHz))});
        }
    }
    return maps;
}

std::optional<bool> J0Agrees(const std::vector<MappedField>& fields) {
    if (fields.size() < 2) return std::nullopt;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        for (std::size_t k = i + 1; k < fields.size(); ++k) {
            const Uncertain& a = fields[i].densities.j0;
            const Uncertain& b = fields[k].densities.j0;
            if (!(std::abs(a.value - b.value) <= 2.0 * std::hypot(a.error, b.error))) return false;
        }
    }
    return true;
}

std::string SpectralDensityMapCsv(const std::vector<ResidueMap>& residues) {
    std::string csv = "residue,field_mhz,J0,J0_error,JN,JN_error,JH,JH_error,J0_agrees\n";
    for (const ResidueMap& residue : residues) {
        const std::optional<bool> agrees = J0Agrees(residue.fields);
        const std::string agreement = agrees ? (*agrees ? "yes" : "no") : "";
        for (const MappedField& field : residue.fields) {
            const MappedDensities& j = field.densities;
            csv += CsvCell(residue.residue) + "," + Number(field.fieldMHz) + "," + Cells(j.j0) +
                   "," + Cells(j.jN) + "," + Cells(j.jH) + "," + agreement + "\n";
        }
    }
    return csv;
}

}  // namespace veldorin
