// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/csv_text.h"
#include "engine/relaxation.h"

namespace veldorin {

// What a measurement measured. The NOE is the heteronuclear NOE as spectrometers report
// it, the intensity ratio I_sat/I_ref = 1 + eta, where the table's NOE column is the
// enhancement eta. T1 and T2 are in s and are compared as the rates R1 and R2.
enum class Quantity : std::uint8_t { R1 = 0, R2 = 1, Noe = 2, T1 = 3, T2 = 4 };
inline constexpr int kQuantityCount = 5;

// "R1", "R2", "NOE", "T1", "T2": as typed, in a file and in the quantity list.
std::string_view NameOf(Quantity quantity);
// The quantity a name stands for, in any case and with blanks around; nothing for another.
std::optional<Quantity> QuantityNamed(std::string_view name);
// R1 for R1 and T1, R2 for R2 and T2, the NOE for itself.
Quantity ComparedQuantity(Quantity quantity);
// The heading of a compared value, naming what is shown: "R1, 1/s", "R2, 1/s",
// "NOE, I_sat/I_ref = 1 + η".
std::string_view ComparedHeading(Quantity quantity);

// The columns of the measurements' table, in order.
enum class MeasurementColumn : std::uint8_t { Field = 0, Quantity = 1, Value = 2, Error = 3 };
inline constexpr int kMeasurementColumnCount = 4;
// "field", "quantity", "value", "error": the names a header line gives them.
std::string_view NameOf(MeasurementColumn column);
// The column a header's cell names, as HeaderName reads it ("field_mhz" names the field,
// "uncertainty" and "sigma" the error); nothing for another.
std::optional<MeasurementColumn> MeasurementColumnNamed(std::string_view cell);

// One row as typed, kept whole whatever it holds: the field (1H frequency in MHz), the
// quantity's name, the value and its uncertainty (both in the quantity's unit: 1/s, s, or
// none for the NOE ratio).
struct MeasurementTexts {
    std::array<std::string, kMeasurementColumnCount> cells;

    const std::string& operator[](MeasurementColumn column) const {
        return cells[static_cast<std::size_t>(column)];
    }
    std::string& operator[](MeasurementColumn column) {
        return cells[static_cast<std::size_t>(column)];
    }
    friend bool operator==(const MeasurementTexts&, const MeasurementTexts&) = default;
};

// A row that reads, in the units typed.
struct Measurement {
    double fieldMHz = 0.0;
    Quantity quantity = Quantity::R1;
    double value = 0.0;
    double error = 0.0;

    // As compared: a time as its rate 1/T with the error sigma_T / T^2, anything else as typed.
    double ComparedValue() const;
    double ComparedError() const;
};

// What is wrong with one cell: the row as the table counts it (from 1), its column and why;
// for a row read from a text, the text's line too (from 1).
struct CellProblem {
    int row = 0;
    MeasurementColumn column = MeasurementColumn::Field;
    std::string reason;
    int line = 0;  // 0: typed into the table
};

// "row 3, error: not above 0", or "line 5, error: not above 0" for a row read from a text
std::string Describe(const CellProblem& problem);

// A row read: the measurement when every cell is good, else each bad cell's problem. The
// field must be a number from 1 to 10000 MHz, the error a number above 0, the quantity one
// of the five names, the value a number (above 0 for a time); numbers are finite and no
// cell is longer than kMaxCellBytes. A reason quotes at most the start of a cell.
struct MeasurementReading {
    std::optional<Measurement> measurement;
    std::vector<CellProblem> problems;
};
MeasurementReading ReadMeasurement(const MeasurementTexts& texts, int row);
// Every row read, numbered from 1: its measurement, or nothing where it cannot be read.
std::vector<std::optional<Measurement>> ReadMeasurements(const std::vector<MeasurementTexts>& rows);

// Rows of text as a spreadsheet pastes them (tab-separated) or as a file holds them (CSV,
// or the batch fit's data files). A first line in which a cell names a column (a unit in
// brackets after the name is allowed: "field (MHz)"; "field_mhz" names the field,
// "uncertainty" and "sigma" the error) is a header: it must name all four and says their
// order; a "residue" column says whose each row is; its other cells are columns to skip.
// Without a header the cells are taken in the columns' order, unless one is required. Cells
// and lines are split as CsvLines and CsvCells split them. Every row is kept, bad or not; a
// row with more cells than its header keeps the surplus in its last column read, marked. A
// line longer than kMaxLineBytes, or a header with no rows, is no table.
struct MeasurementImport {
    std::vector<MeasurementTexts> rows;
    std::vector<std::string> residues;  // each row's residue; empty without a residue column
    std::vector<CellProblem> problems;  // of all rows, in order
    std::optional<std::string> error;   // the text could not be taken as a table at all
};
enum class HeaderRule { Optional, Required };
// The separator is kBlanks, or a character; SeparatorOf finds a file's.
MeasurementImport ParseMeasurements(std::string_view text, char separator, HeaderRule header);

// The residues of an import in the order they first appear, each with its number of rows.
struct ResidueRows {
    std::string residue;
    int rows = 0;
};
std::vector<ResidueRows> ResiduesOf(const MeasurementImport& import);
// The rows of one residue alone, their problems numbered among them.
MeasurementImport RowsOfResidue(const MeasurementImport& import, std::string_view residue);

// The rows as CSV with a header line, the texts as typed (CsvCell's): what ParseMeasurements
// reads back, but for a ' before text a spreadsheet would run as a formula.
std::string MeasurementsCsv(const std::vector<MeasurementTexts>& rows);

// A measurement beside the value the model gives at its field, both in the compared
// quantity, and their difference in units of the uncertainty. A row whose field the model
// cannot be evaluated at, or whose residual is no finite number (a value or uncertainty
// absurdly far out), is left out of chi^2 and says why, so that it alone is lost.
struct Comparison {
    double measured = 0.0;
    double error = 0.0;
    double calculated = 0.0;
    double residual = 0.0;  // (calculated - measured) / error
    std::string leftOut;    // why the row is not in chi^2; empty when it is
};

// The value the model gives for a measurement: R1 or R2 in 1/s or the NOE ratio 1 + eta at
// its field, as the table computes them (the field rounded to single as the table's are, so
// that the table's fields give exactly the table's numbers before their cut). Throws
// CalculationError at a run-time error, as the table would.
double CalculatedValue(const WorkingValues& values, const Measurement& measurement);

// Every readable row against the model, in the rows' order (nothing for a bad row), and
// chi^2, the sum of the squared residuals of the rows not left out. Equal to
// CalculatedValue row by row, computed across all fields at once.
struct Comparisons {
    std::vector<std::optional<Comparison>> rows;
    double chiSquared = 0.0;
    int compared = 0;  // the rows in chi^2
    int leftOut = 0;   // the rows that read but are not in chi^2
};
Comparisons Compare(const WorkingValues& values,
                    std::span<const std::optional<Measurement>> measurements);

}  // namespace veldorin
