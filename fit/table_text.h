// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the readers of the protein's data tables share: their lines, cells, column names and
// the list of problems they tell.

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/csv_text.h"

namespace veldorin {

// The lines that hold more than blanks or a comment (a line whose text starts with '#').
std::vector<CsvLine> DataLines(std::string_view text);

// The cells of a data file's line, blanks around each left off.
std::vector<std::string> TrimmedCells(std::string_view line, char separator);

// A column as messages name it: as its header's cell does, at most the start of a long one.
std::string ColumnName(std::string_view cell);

// The problems of a file, of which the first fifty are told.
class Problems {
public:
    void Add(const std::string& problem);
    bool Any() const { return count_ > 0; }
    std::string Text() const;

private:
    static constexpr int kTold = 50;
    int count_ = 0;
    std::string text_;
};

}  // namespace veldorin
