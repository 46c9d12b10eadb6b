// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/measurement.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <utility>

#include "engine/checked_arithmetic.h"
#include "engine/constants.h"
#include "engine/csv_text.h"
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

// The fields a spectrometer's proton frequency may have: anything outside is a typing error.
constexpr double kLowestFieldMHz = 1.0;
constexpr double kHighestFieldMHz = 10000.0;

// " (decimal commas? ...)" after a text that would be a number with a point for its comma.
std::string DecimalCommaHint(std::string_view text) {
    if (text.find(',') == std::string_view::npos) return "";
    std::string pointed(text);
    std::ranges::replace(pointed, ',', '.');
    return IsNumeric(pointed) ? " (a decimal comma? the decimal mark is a point)" : "";
}

bool IsTime(Quantity quantity) { return quantity == Quantity::T1 || quantity == Quantity::T2; }

// The position of each column among a line's cells, from a header line, or nothing when
// the line is not one; and that of the residue column, if the header has one.
using ColumnPositions = std::array<std::optional<std::size_t>, kMeasurementColumnCount>;
struct Header {
    ColumnPositions positions;
    std::optional<std::size_t> residue;
    std::size_t cells = 0;  // of the header line
};
std::optional<Header> HeaderOf(const std::vector<std::string>& cells) {
    Header header;
    header.cells = cells.size();
    bool anyNamed = false;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (const auto column = MeasurementColumnNamed(cells[k])) {
            header.positions[static_cast<std::size_t>(*column)] = k;
            anyNamed = true;
        } else if (Lower(WithoutBlanksAround(cells[k])) == "residue") {
            header.residue = k;
        }
    }
    if (!anyNamed) return std::nullopt;
    return header;
}

// A row with more cells than the header names, as a decimal comma makes: the cells from
// the last column it reads onwards stay together in that column, so that the row shows
// what it holds and cannot be read as if it had the header's shape.
CellProblem KeepSurplusTogether(std::vector<std::string>& cells, std::size_t headerCells,
                                const ColumnPositions& positions, char separator, int row) {
    std::size_t last = 0;
    for (int column = 1; column < kMeasurementColumnCount; ++column) {
        if (*positions[static_cast<std::size_t>(column)] > *positions[last]) {
            last = static_cast<std::size_t>(column);
        }
    }
    const std::size_t from = *positions[last];
    for (std::size_t k = from + 1; k < cells.size(); ++k) cells[from] += separator + cells[k];
    return {row, static_cast<MeasurementColumn>(last),
            MoreCellsThanHeader(cells.size(), headerCells)};
}

}  // namespace

std::string_view NameOf(Quantity quantity) {
    return kQuantityNames[static_cast<std::size_t>(quantity)];
}

std::optional<Quantity> QuantityNamed(std::string_view name) {
    const std::string lower = Lower(WithoutBlanksAround(name));
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

std::optional<MeasurementColumn> MeasurementColumnNamed(std::string_view cell) {
    std::string name = HeaderName(cell);
    if (name == "uncertainty" || name == "sigma") name = "error";
    if (name == "field_mhz") name = "field";
    for (int column = 0; column < kMeasurementColumnCount; ++column) {
        if (kColumnNames[static_cast<std::size_t>(column)] == name) {
            return static_cast<MeasurementColumn>(column);
        }
    }
    return std::nullopt;
}

std::string_view NameOf(MeasurementColumn column) {
    return kColumnNames[static_cast<std::size_t>(column)];
}

double Measurement::ComparedValue() const { return IsTime(quantity) ? 1.0 / value : value; }

double Measurement::ComparedError() const {
    return IsTime(quantity) ? error / (value * value) : error;
}

std::string Describe(const CellProblem& problem) {
    const std::string where = problem.line > 0 ? "line " + std::to_string(problem.line)
                                               : "row " + std::to_string(problem.row);
    return where + ", " + std::string(NameOf(problem.column)) + ": " + problem.reason;
}

MeasurementReading ReadMeasurement(const MeasurementTexts& texts, int row) {
    MeasurementReading reading;
    const auto fail = [&](MeasurementColumn column, std::string reason) {
        reading.problems.push_back({row, column, std::move(reason)});
    };
    // The cell's finite number, or nothing after noting why it has none.
    const auto number = [&](MeasurementColumn column) -> std::optional<double> {
        const std::string& text = texts[column];
        if (WithoutBlanksAround(text).empty()) {
            fail(column, "missing");
        } else if (text.size() > kMaxCellBytes) {
            fail(column, CellTooLong() + ": " + Excerpt(text));
        } else if (const NumberRead read = DoubleIn(text); read.value) {
            return read.value;
        } else {
            fail(column,
                 Excerpt(text) + " " + std::string(Refusal(read.failure)) + DecimalCommaHint(text));
        }
        return std::nullopt;
    };
    const auto positive = [&](MeasurementColumn column, std::optional<double> value) {
        if (value && !(*value > 0.0)) fail(column, "not above 0");
    };
    const std::optional<double> field = number(MeasurementColumn::Field);
    if (field && !(*field >= kLowestFieldMHz && *field <= kHighestFieldMHz)) {
        fail(MeasurementColumn::Field, "not between 1 and 10000 MHz");
    }
    const std::string& name = texts[MeasurementColumn::Quantity];
    std::optional<Quantity> quantity;
    if (name.size() > kMaxCellBytes) {
        fail(MeasurementColumn::Quantity, CellTooLong() + ": " + Excerpt(name));
    } else if (quantity = QuantityNamed(name); !quantity) {
        fail(MeasurementColumn::Quantity, Excerpt(name) + " is none of R1, R2, NOE, T1, T2");
    }
    const std::optional<double> value = number(MeasurementColumn::Value);
    if (quantity && IsTime(*quantity)) positive(MeasurementColumn::Value, value);
    const std::optional<double> error = number(MeasurementColumn::Error);
    positive(MeasurementColumn::Error, error);
    if (reading.problems.empty()) reading.measurement = {*field, *quantity, *value, *error};
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
    const std::vector<CsvLine> lines = CsvLines(text);
    const auto tooLong = std::ranges::find_if(lines, IsTooLong);
    if (tooLong != lines.end()) {
        import.error = LongLineProblem(*tooLong);
        return import;
    }
    std::optional<Header> named;
    if (!lines.empty()) named = HeaderOf(CsvCells(lines.front().text, separator));
    if (named) {
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            if (!named->positions[static_cast<std::size_t>(column)]) {
                import.error = HeaderWithout(lines.front().number,
                                             kColumnNames[static_cast<std::size_t>(column)]);
                return import;
            }
        }
        if (lines.size() == 1) {
            import.error = HeaderWithoutRows(lines.front().number);
            return import;
        }
    } else if (header == HeaderRule::Required) {
        import.error = "the first line must name the columns: field, quantity, value, error";
        return import;
    }
    const Header used = named.value_or(Header{ColumnPositions{0, 1, 2, 3}, std::nullopt, 0});
    for (std::size_t k = named ? 1 : 0; k < lines.size(); ++k) {
        const int row = static_cast<int>(import.rows.size()) + 1;
        std::vector<std::string> cells = CsvCells(lines[k].text, separator);
        const std::size_t first = import.problems.size();
        if (named && cells.size() > used.cells) {
            import.problems.push_back(
                KeepSurplusTogether(cells, used.cells, used.positions, separator, row));
        }
        const auto cell = [&cells](std::size_t at) { return at < cells.size() ? cells[at] : ""; };
        MeasurementTexts texts;
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            texts.cells[static_cast<std::size_t>(column)] =
                cell(*used.positions[static_cast<std::size_t>(column)]);
        }
        const std::vector<CellProblem> problems = ReadMeasurement(texts, row).problems;
        import.problems.insert(import.problems.end(), problems.begin(), problems.end());
        for (std::size_t p = first; p < import.problems.size(); ++p) {
            import.problems[p].line = lines[k].number;
        }
        import.rows.push_back(std::move(texts));
        if (used.residue) import.residues.push_back(cell(*used.residue));
    }
    return import;
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
        // The row's problems, numbered as kept; each still names its line.
        for (CellProblem problem : import.problems) {
            if (problem.row != static_cast<int>(row) + 1) continue;
            problem.row = static_cast<int>(kept.rows.size());
            kept.problems.push_back(std::move(problem));
        }
    }
    return kept;
}

std::string MeasurementsCsv(const std::vector<MeasurementTexts>& rows) {
    std::string csv = "field (MHz),quantity,value,error\n";
    for (const MeasurementTexts& row : rows) {
        for (int column = 0; column < kMeasurementColumnCount; ++column) {
            if (column > 0) csv += ',';
            csv += CsvCell(row.cells[static_cast<std::size_t>(column)]);
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
    std::vector<std::optional<FailureReason>> failures(omegas.size());
    if (!RelaxationAcrossFields(values, omegas, results)) {
        // One by one, so that a failure is the one the field's own evaluation gives, and
        // stays with its row.
        for (std::size_t k = 0; k < omegas.size(); ++k) {
            try {
                results[k] = RelaxationAtField(values, omegas[k]);
            } catch (const CalculationError& error) {
                failures[k] = error.reason;
            }
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
        std::optional<FailureReason> failure = failures[next];
        row.calculated = std::numeric_limits<double>::quiet_NaN();
        try {
            if (!failure) row.calculated = ComparedOf(results[next], measurement->quantity);
        } catch (const CalculationError& error) {
            failure = error.reason;
        }
        ++next;
        row.residual = (row.calculated - row.measured) / row.error;
        if (failure) {
            row.leftOut = "the model's rates at this field: " + std::string(Describe(*failure));
        } else if (!std::isfinite(row.residual * row.residual)) {
            row.leftOut =
                "(calc − meas)/σ is too large to count in χ²: the value or its "
                "uncertainty is absurdly far out";
        }
        if (row.leftOut.empty()) {
            comparisons.chiSquared += row.residual * row.residual;
            ++comparisons.compared;
        } else {
            ++comparisons.leftOut;
        }
        comparisons.rows.push_back(std::move(row));
    }
    return comparisons;
}

}  // namespace veldorin
