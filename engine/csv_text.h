// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// One cell of a CSV line. A cell holding a comma, a quote or a line break is quoted, its
// quotes doubled; text starting with =, +, - or @ that is not a number starts with ' so
// that a spreadsheet shows it rather than running it as a formula.
std::string CsvCell(std::string_view text);

}  // namespace veldorin
