// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/table_text.h"

#include <algorithm>

namespace veldorin {

std::vector<CsvLine> DataLines(std::string_view text) {
    std::vector<CsvLine> lines = CsvLines(text);
    std::erase_if(
        lines, [](const CsvLine& line) { return WithoutBlanksAround(line.text).starts_with('#'); });
    return lines;
}

std::vector<std::string> TrimmedCells(std::string_view line, char separator) {
    std::vector<std::string> cells = CsvCells(line, separator);
    for (std::string& cell : cells) cell = std::string(WithoutBlanksAround(cell));
    return cells;
}

std::string ColumnName(std::string_view cell) {
    const std::string quoted = Excerpt(cell);
    return quoted.substr(1, quoted.size() - 2);
}

void Problems::Add(const std::string& problem) {
    if (++count_ <= kTold) text_ += (text_.empty() ? "" : "\n") + problem;
}

std::string Problems::Text() const {
    if (count_ <= kTold) return text_;
    return text_ + "\nand " + std::to_string(count_ - kTold) + " more problems";
}

}  // namespace veldorin
