// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/csv_text.h"

#include <algorithm>
#include <cctype>

#include "engine/numeric_text.h"

namespace veldorin {
namespace {

constexpr std::size_t kExcerptBytes = 40;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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

std::string_view WithoutBlanksAround(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string HeaderName(std::string_view cell) {
    std::string name(WithoutBlanksAround(cell.substr(0, cell.find('('))));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::vector<CsvLine> CsvLines(std::string_view text) {
    text = WithoutByteOrderMark(text);
    std::vector<CsvLine> lines;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!WithoutBlanksAround(line).empty()) lines.push_back({number, line});
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

char SeparatorOf(std::string_view text) {
    const std::vector<CsvLine> lines = CsvLines(text);
    const std::string_view first = lines.empty() ? std::string_view() : lines.front().text;
    if (first.find('\t') != std::string_view::npos) return '\t';
    if (first.find(',') != std::string_view::npos) return ',';
    return kBlanks;
}

std::vector<std::string> CsvCells(std::string_view line, char separator) {
    const bool blanks = separator == kBlanks;
    if (blanks) line = WithoutBlanksAround(line);
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

std::string AtLine(int line) { return "line " + std::to_string(line) + ": "; }

std::string AtCell(int line, std::string_view column) {
    return "line " + std::to_string(line) + ", column \"" + std::string(column) + "\": ";
}

bool IsTooLong(const CsvLine& line) { return line.text.size() > kMaxLineBytes; }

std::string LongLineProblem(const CsvLine& line) {
    return AtLine(line.number) + LineTooLong() + ": " + Excerpt(line.text);
}

std::string HeaderWithoutRows(int line) { return AtLine(line) + "a header with no rows after it"; }

std::string HeaderWithout(int line, std::string_view column) {
    return AtLine(line) + "the header names no \"" + std::string(column) + "\" column";
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
