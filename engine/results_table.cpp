// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/results_table.h"

#include <cmath>

#include "engine/checked_arithmetic.h"
#include "engine/format.h"

namespace veldorin {

std::string HeaderLine(TableMode mode) {
    if (mode == TableMode::Rates) return "f, MHz\tNOE\tCRR,1/s\tR1,1/s\tR2,1/s";
    return "f, MHz\tNOE\t1/CRR,s\tT1, s\tT2, s";
}

std::string RateField(float rate, TableMode mode) {
    if (mode == TableMode::Rates) {
        return FormatSingle(StoreSingle(std::floor(static_cast<double>(rate) * 10000.0) / 10000.0));
    }
    if (rate == 0.0f) return "_";
    return FormatSingle(StoreSingle(std::floor(Divide(10000.0, rate)) / 10000.0));
}

std::string RowLine(const Field& field, const FieldResult& result, TableMode mode) {
    const double noe = std::floor(CheckFinite(NoeValue(result) * 1000.0)) / 1000.0;
    std::string line = FormatSingle(field.frequencyMHz);
    line += '\t';
    line += FormatDouble(noe);
    for (const float rate : {result.crr, result.r1, result.r2}) {
        line += '\t';
        line += RateField(rate, mode);
    }
    return line;
}

namespace {

std::string Rate(std::string_view name, float rate) {
    return std::string(name) + ' ' + RateField(rate, TableMode::Rates);
}

}  // namespace

std::string ContributionsTooltip(const Field& field, const FieldContributions& parts,
                                 const ModelTexts& model) {
    std::string text = "Rates at " + FormatSingle(field.frequencyMHz) + " MHz, 1/s";
    if (model.tableMode == TableMode::Times) text += " (the table shows times)";
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        const NeighbourContribution& part = parts.neighbours[slot];
        if (!part.present) continue;
        const SpinSlot& neighbour = model.slots[slot];
        text += "\nslot " + std::to_string(slot + 1) + " (" + neighbour.nucleus + ", " +
                neighbour.distance + " A, abundance " + neighbour.abundance +
                "): " + Rate("R1", NeighbourShare(part.r1, parts)) + ", " +
                Rate("R2", NeighbourShare(part.r2, parts)) + ", " +
                Rate("CRR", NeighbourShare(part.crr, parts));
    }
    text += "\nCSA: " + Rate("R1", StoreSingle(parts.csaR1)) + ", " +
            Rate("R2", StoreSingle(parts.csaR2));
    text += "\nRex: " + Rate("R2", StoreSingle(parts.rexR2));
    return text;
}

std::optional<FailureReason> WriteResultsTable(const WorkingValues& values, TableMode mode,
                                               TableSink& sink, NeighbourObserver* observer) {
    if (!sink.Begin()) return FailureReason::FileNotWritable;
    std::optional<FailureReason> failure;
    try {
        if (!sink.AddLine(HeaderLine(mode))) throw CalculationError{FailureReason::FileNotWritable};
        for (int k = 0; k < kFieldCount; ++k) {
            const Field& field = kFieldTable[static_cast<std::size_t>(k)];
            if (observer) observer->FieldStarted(k + 1);
            const FieldResult result =
                RelaxationAtField(values, ProtonOmega(field.frequencyMHz), observer);
            if (!sink.AddLine(RowLine(field, result, mode))) {
                throw CalculationError{FailureReason::FileNotWritable};
            }
        }
    } catch (const CalculationError& error) {
        failure = error.reason;
    }
    if (!sink.Finish() && !failure) failure = FailureReason::FileNotWritable;
    return failure;
}

std::string TableFileContents(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::string TableFilePath(std::string_view workingDirectory) {
    std::string path(workingDirectory);
    if (!path.empty() && path.back() != '/') path += '/';
    return path + "table.dat";
}

}  // namespace veldorin
