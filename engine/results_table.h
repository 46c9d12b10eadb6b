// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/constants.h"
#include "engine/failure.h"
#include "engine/model.h"
#include "engine/relaxation.h"

namespace veldorin {

std::string HeaderLine(TableMode mode);
// One row: frequency, NOE cut to three decimals, then CRR, R1, R2 (or their
// inverses) cut to four, always towards minus infinity.
std::string RowLine(const Field& field, const FieldResult& result, TableMode mode);

// A rate cut to four decimals towards minus infinity, or in times mode its inverse in
// seconds ("_" for a zero rate), as the table's rate columns write it.
std::string RateField(float rate, TableMode mode);

// The tooltip of one row: each occupied neighbour's share of R1, R2 and CRR, then the
// CSA's share of R1 and R2 and the exchange share of R2, in 1/s and cut like the table,
// also in times mode. `model` holds the texts the table was computed from.
std::string ContributionsTooltip(const Field& field, const FieldContributions& parts,
                                 const ModelTexts& model);

// The tooltips of the six rows, in the order of kFieldTable.
using RowContributionTexts = std::array<std::string, kFieldCount>;

// Where the table goes: the list and "table.dat", line by line, in the order
// WriteResultsTable writes them.
class TableSink {
public:
    // Opens the file, then empties the list; false when the file cannot be created.
    virtual bool Begin() = 0;
    // Lists the line and writes it to the file; false on a write error.
    virtual bool AddLine(const std::string& line) = 0;
    // Closes the file; false if it could not be completed.
    virtual bool Finish() = 0;

    virtual ~TableSink() = default;
};

// The results table: header and six rows into the sink, with the observer told of each
// neighbour at each field. Returns the failure that ended it, if any; what was
// written before the failure stays, and the file is always closed.
std::optional<FailureReason> WriteResultsTable(const WorkingValues& values, TableMode mode,
                                               TableSink& sink, NeighbourObserver* observer);

// The bytes of "table.dat" for the given lines: each line ends with CR LF.
std::string TableFileContents(const std::vector<std::string>& lines);

// The working directory followed by "table.dat"; a directory text without a final
// separator gets one, so the file never runs on into the folder's name.
std::string TableFilePath(std::string_view workingDirectory);

}  // namespace veldorin
