// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/results_table.h"

namespace veldorin::test {

// A table sink that keeps the lines in memory instead of a list and a file, and counts
// the openings and closings; it can be told to refuse at a chosen point, as a full disk
// or a missing folder would.
class RecordingSink final : public TableSink {
public:
    // Empties the lines, as the list is emptied, unless the opening is refused.
    bool Begin() override;
    bool AddLine(const std::string& line) override;
    bool Finish() override;

    std::vector<std::string> lines;
    int begins = 0;
    int finishes = 0;
    bool refuseBegin = false;
    std::optional<std::size_t> refuseLineAt;  // the index of the line refused
    bool refuseFinish = false;
};

}  // namespace veldorin::test
