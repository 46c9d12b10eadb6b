// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/measurement.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "engine/checked_arithmetic.h"
#include "engine/constants.h"
#include "engine/failure.h"
#include "engine/numeric_text.h"
#include "engine/relaxation_across_fields.h"

namespace veldorin {
namespace {

constexpr std::array<std::string_view, kQuantityCount> kQuantityNames = {"R1", "R2", "NOE", "T1",
                                                                         "T2"};
constexpr std::array<std::string_view, kMeasurementColumnCount> kColumnNames = {"field", "quantity",
                                                                                "value", "error"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsTime(Quantity quantity) { return quantity == Quantity::T1 || quantity == Quantity::T2; }

// A cell of a header line as a column, the unit in brackets left off.
std::optional<MeasurementColumn> ColumnNamed(std::string_view cell) {
    std::string name = Lower(Trimmed(cell.substr(0, cell.find('('))));
    if (name == "uncertainty" || name == "sigma") name = "error";
    if (name == "field_mhz") name = "field";
    for (int column = 0; column < kMeasurementColumnCount; ++column) {
        if (kColumnNames[static_cast<std::size_t>(column)] == name) {
            return static_cast<MeasurementColumn>(column);
        }
    }
    return std::nullopt;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The cells of one line; a quoted cell may hold the separator and doubled quotes. Blanks
// as the separator take a run of them as one, and none before the first cell or after
// the last.
std::vector<std::string> CellsOf(std::string_view line, char separator) {
    const bool blanks = separator == kBlanks;
    if (blanks) line = Trimmed(line);
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (blanks ? IsBlank(c) : c == separator) {
            if (!blanks || !IsBlank(line[i - 1])) cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!Trimmed(line).empty()) lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The position of each column among a line's cells, from a header line, or nothing when
// the line is not one; and that of the residue column, if the header has one.
using ColumnPositions = std::array<std::optional<std::size_t>, kMeasurementColumnCount>;
struct Header {
    ColumnPositions positions;
    std::optional<std::size_t> residue;
};
std::optional<Header> HeaderOf(const std::vector<std::string>& cells) {
    Header header;
    bool anyNamed = false;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (const auto column = ColumnNamed(cells[k])) {
            header.positions[static_cast<std::size_t>(*column)] = k;
            anyNamed = true;
        } else if (Lower(Trimmed(cells[k])) == "residue") {
            header.residue = k;
        }
    }
    if (!anyNamed) return std::nullopt;
    return header;
}

// Each row's problems, the rows numbered from 1.
std::vector<CellProblem> ProblemsOf(const std::vector<MeasurementTexts>& rows) {
    std::vector<CellProblem> problems;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const MeasurementReading reading = ReadMeasurement(rows[row], static_cast<int>(row) + 1);
        problems.insert(problems.end(), reading.problems.begin(), reading.problems.end());
    }
    return problems;
}

std::string Quoted(const std::string& cell) {
    if (cell.find_first_of(",\"") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

}  // namespace

std::string_view NameOf(Quantity quantity) {
    return kQuantityNames[static_cast<std::size_t>(quantity)];
}

std::optional<Quantity> QuantityNamed(std::string_view name) {
    const std::string lower = Lower(Trimmed(name));
    for (int quantity = 0; quantity < kQuantityCount; ++quantity) {
        if (Lower(kQuantityNames[static_cast<std::size_t>(quantity)]) == lower) {
            return static_cast<Quantity>(quantity);
        }
    }
    return std::nullopt;
}

Quantity ComparedQuantity(Quantity quantity) {
    switch (quantity) {
        case Quantity::T1: return Quantity::R1;
        case Quantity::T2: return Quantity::R2;
        default: return quantity;
    }
}

std::string_view ComparedHeading(Quantity quantity) {
    switch (ComparedQuantity(quantity)) {
        case Quantity::R1: return "R1, 1/s";
        case Quantity::R2: return "R2, 1/s";
        default: return "NOE, I_sat/I_ref = 1 + η";
    }
}

std::string_view NameOf(MeasurementColumn column) {
    return kColumnNames[static_cast<std::size_t>(column)];
}

double Measurement::ComparedValue() const { return IsTime(quantity) ? 1.0 / value : value; }

double Measurement::ComparedError() const {
    return IsTime(quantity) ? error / (value * value) : error;
}

std::string Describe(const CellProblem& problem) {
    return "row " + std::to_string(problem.row) + ", " + std::string(NameOf(problem.column)) +
           ": " + problem.reason;
}

MeasurementReading ReadMeasurement(const MeasurementTexts& texts, int row) {
    MeasurementReading reading;
    const auto fail = [&](MeasurementColumn column, std::string reason) {
        reading.problems.push_back({row, column, std::move(reason)});
        return 0.0;
    };
    // The cell's number, or 0 after noting why it has none.
    const auto number = [&](MeasurementColumn column, bool mustBePositive) {
        const std::string& text = texts[column];
        if (Trimmed(text).empty()) return fail(column, "missing");
        double value = 0.0;
        try {
            value = CheckFinite(ReadDouble(text));
        } catch (const CalculationError&) {
            return fail(column, "\"" + text + "\" is not a number");
        }
        if (mustBePositive && !(value > 0.0)) return fail(column, "not above 0");
        return value;
    };
    Measurement measurement;
    measurement.fieldMHz = number(MeasurementColumn::Field, true);
    if (!std::isfinite(static_cast<float>(measurement.fieldMHz))) {
        fail(MeasurementColumn::Field, "too large");
    }
    const std::optional<Quantity> quantity = QuantityNamed(texts[MeasurementColumn::Quantity]);
    if (quantity) {
        measurement.quantity = *quantity;
    } else {
        fail(MeasurementColumn::Quantity,
             "\"" + texts[MeasurementColumn::Quantity] + "\" is none of R1, R2, NOE, T1, T2");
    }
    measurement.value = number(MeasurementColumn::Value, quantity && IsTime(*quantity));
    measurement.error = number(MeasurementColumn::Error, true);
    if (reading.problems.empty()) reading.measurement = measurement;
    return reading;
}

std::vector<std::optional<Measurement>> ReadMeasurements(
    const std::vector<MeasurementTexts>& rows) {
    std::vector<std::optional<Measurement>> readings;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        readings.push_back(ReadMeasurement(rows[row], static_cast<int>(row) + 1).measurement);
    }
    return readings;
}

MeasurementImport ParseMeasurements(std::string_view text, char separator, HeaderRule header) {
    MeasurementImport import;
    const std::vector<std::string_view> lines = LinesOf(text);
    std::optional<Header> named;
    if (!lines.empty()) named = HeaderOf(CellsOf(lines.front(), separator));
    if (named) {
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            if (!named->positions[static_cast<std::size_t>(column)]) {
                import.error = "the header names no \"" +
                               std::string(kColumnNames[static_cast<std::size_t>(column)]) +
                               "\" column";
                return import;
            }
        }
    } else if (header == HeaderRule::Required) {
        import.error = "the first line must name the columns: field, quantity, value, error";
        return import;
    }
    const Header used = named.value_or(Header{ColumnPositions{0, 1, 2, 3}, std::nullopt});
    for (std::size_t k = named ? 1 : 0; k < lines.size(); ++k) {
        const std::vector<std::string> cells = CellsOf(lines[k], separator);
        const auto cell = [&cells](std::size_t at) { return at < cells.size() ? cells[at] : ""; };
        MeasurementTexts row;
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            row.cells[static_cast<std::size_t>(column)] =
                cell(*used.positions[static_cast<std::size_t>(column)]);
        }
        import.rows.push_back(row);
        if (used.residue) import.residues.push_back(cell(*used.residue));
    }
    import.problems = ProblemsOf(import.rows);
    return import;
}

char SeparatorOf(std::string_view text) {
    const std::vector<std::string_view> lines = LinesOf(text);
    const std::string_view first = lines.empty() ? std::string_view() : lines.front();
    if (first.find('\t') != std::string_view::npos) return '\t';
    if (first.find(',') != std::string_view::npos) return ',';
    return kBlanks;
}

std::vector<ResidueRows> ResiduesOf(const MeasurementImport& import) {
    std::vector<ResidueRows> residues;
    for (const std::string& residue : import.residues) {
        const auto known = std::ranges::find(residues, residue, &ResidueRows::residue);
        if (known != residues.end()) {
            ++known->rows;
        } else {
            residues.push_back({residue, 1});
        }
    }
    return residues;
}

MeasurementImport RowsOfResidue(const MeasurementImport& import, std::string_view residue) {
    MeasurementImport kept;
    for (std::size_t row = 0; row < import.rows.size() && row < import.residues.size(); ++row) {
        if (import.residues[row] != residue) continue;
        kept.rows.push_back(import.rows[row]);
        kept.residues.push_back(import.residues[row]);
    }
    kept.problems = ProblemsOf(kept.rows);
    return kept;
}

std::string MeasurementsCsv(const std::vector<MeasurementTexts>& rows) {
    std::string csv = "field (MHz),quantity,value,error\n";
    for (const MeasurementTexts& row : rows) {
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            if (column > 0) csv += ',';
            csv += Quoted(row.cells[static_cast<std::size_t>(column)]);
        }
        csv += '\n';
    }
    return csv;
}

namespace {

double ComparedOf(const FieldResult& result, Quantity quantity) {
    switch (ComparedQuantity(quantity)) {
        case Quantity::R1: return result.r1;
        case Quantity::R2: return result.r2;
        default: return 1.0 + NoeValue(result);
    }
}

float OmegaOf(const Measurement& measurement) {
    return ProtonOmega(StoreSingle(measurement.fieldMHz));
}

}  // namespace

double CalculatedValue(const WorkingValues& values, const Measurement& measurement) {
    return ComparedOf(RelaxationAtField(values, OmegaOf(measurement)), measurement.quantity);
}

Comparisons Compare(const WorkingValues& values,
                    std::span<const std::optional<Measurement>> measurements) {
    std::vector<float> omegas;
    for (const auto& measurement : measurements) {
        if (measurement) omegas.push_back(OmegaOf(*measurement));
    }
    std::vector<FieldResult> results(omegas.size());
    if (!RelaxationAcrossFields(values, omegas, results)) {
        // One by one, so that a failure is the one the field's own evaluation gives.
        for (std::size_t k = 0; k < omegas.size(); ++k) {
            results[k] = RelaxationAtField(values, omegas[k]);
        }
    }
    Comparisons comparisons;
    std::size_t next = 0;
    for (const auto& measurement : measurements) {
        if (!measurement) {
            comparisons.rows.emplace_back();
            continue;
        }
        Comparison row;
        row.measured = measurement->ComparedValue();
        row.error = measurement->ComparedError();
        row.calculated = ComparedOf(results[next++], measurement->quantity);
        row.residual = (row.calculated - row.measured) / row.error;
        comparisons.chiSquared += row.residual * row.residual;
        ++comparisons.compared;
        comparisons.rows.push_back(row);
    }
    return comparisons;
}

}  // namespace veldorin
