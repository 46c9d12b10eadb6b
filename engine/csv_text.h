// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veldorin {

// The longest line a data file may have: a row of some fifty columns fits many times over,
// and a reader splitting it into cells stays small whatever the file holds.
inline constexpr std::size_t kMaxLineBytes = std::size_t{64} << 10;
// The longest cell that is read: a number with every digit of a double, or a residue's
// name, fits with room to spare.
inline constexpr std::size_t kMaxCellBytes = 256;

// "longer than the limit of 64 KiB" (of a line) and "... of 256 bytes" (of a cell).
std::string LineTooLong();
std::string CellTooLong();

// "7 cells where the header has 5 (decimal commas? ...)": a row that does not fit its
// header, most often because its numbers were written with decimal commas.
std::string MoreCellsThanHeader(std::size_t cells, std::size_t headerCells);

// The text in quotes as a message shows it: at most its first 40 bytes (whole characters)
// and an ellipsis, control characters as '?', so that a message neither grows with the
// text nor carries a terminal's commands.
std::string Excerpt(std::string_view text);

// The text without the UTF-8 byte-order mark some editors put at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

// The text without the spaces and tabs around it.
std::string_view WithoutBlanksAround(std::string_view text);

// What a header's cell names, in lower case, without the blanks around it and the unit in
// brackets after it: "Field_MHz (MHz)" names "field_mhz".
std::string HeaderName(std::string_view cell);

// A line of a data file that holds more than blanks: its number in the file (from 1, blank
// lines counted) and its text without the line break.
struct CsvLine {
    int number = 0;
    std::string_view text;
};
// The lines of a data file that hold more than blanks; a byte-order mark at its start and
// the CR of a CR LF are left off.
std::vector<CsvLine> CsvLines(std::string_view text);

// The separator `kBlanks` takes any run of spaces and tabs as one.
inline constexpr char kBlanks = ' ';
// How a file's cells are separated, by its first line: a tab when it holds one, else a
// comma when it holds one, else blanks.
char SeparatorOf(std::string_view text);

// The cells of one line as typed. A quoted cell may hold the separator and doubled quotes,
// each standing for one. Blanks as the separator take a run of them as one, and none
// before the first cell or after the last.
std::vector<std::string> CsvCells(std::string_view line, char separator);

// Where a problem of a data file lies, before what it is: "line 3: ", or, for one cell,
// "line 3, column "value": " with the column as the header names it.
std::string AtLine(int line);
std::string AtCell(int line, std::string_view column);

// "line 3: longer than the limit of 64 KiB: "..."", for a line longer than kMaxLineBytes.
bool IsTooLong(const CsvLine& line);
std::string LongLineProblem(const CsvLine& line);

// "line 1: a header with no rows after it" and "line 1: the header names no "error" column".
std::string HeaderWithoutRows(int line);
std::string HeaderWithout(int line, std::string_view column);

// One cell of a CSV line. A cell holding a comma, a quote or a line break is quoted, its
// quotes doubled; text starting with =, +, - or @ that is not a number starts with ' so
// that a spreadsheet shows it rather than running it as a formula.
std::string CsvCell(std::string_view text);

}  // namespace veldorin
