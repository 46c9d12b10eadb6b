// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/csv_text.h"

#include "engine/numeric_text.h"

namespace veldorin {
namespace {

constexpr std::size_t kExcerptBytes = 40;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }

}  // namespace

std::string LineTooLong() {
    return "longer than the limit of " + std::to_string(kMaxLineBytes >> 10) + " KiB";
}

std::string CellTooLong() {
    return "longer than the limit of " + std::to_string(kMaxCellBytes) + " bytes";
}

std::string MoreCellsThanHeader(std::size_t cells, std::size_t headerCells) {
    return std::to_string(cells) + " cells where the header has " + std::to_string(headerCells) +
           " (decimal commas? the decimal mark is a point)";
}

std::string Excerpt(std::string_view text) {
    std::string_view shown = text.substr(0, kExcerptBytes);
    if (shown.size() < text.size()) {
        while (!shown.empty() && IsContinuationByte(text[shown.size()])) shown.remove_suffix(1);
    }
    std::string quoted = "\"";
    for (const char c : shown) quoted += IsControl(c) ? '?' : c;
    return quoted + (shown.size() < text.size() ? "…\"" : "\"");
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return text;
}

std::string CsvCell(std::string_view text) {
    std::string cell;
    const bool formula =
        !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos;
    if (formula && !IsNumeric(text)) cell += '\'';
    cell += text;
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

}  // namespace veldorin
