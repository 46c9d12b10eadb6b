// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/measurement.h"

namespace veldorin {

// One residue's measurements, in the order of the file.
struct ResidueData {
    std::string residue;
    std::vector<Measurement> measurements;
    std::vector<int> lines;  // the line of each measurement in its file
};

struct ProteinData {
    std::vector<ResidueData> residues;  // in the order they first appear
};

// The measured relaxation of a protein as a lab keeps it, in one of two forms the header
// tells apart:
// - long, one measurement per row: "residue,field_mhz,quantity,value,error" in any order
//   (the names the window's import takes, "field", "sigma", "uncertainty", too);
// - wide, one residue per row: "residue" and a pair of columns for each quantity at a
//   field, its value and its uncertainty ("R1_600", "R1_600_err" or "R1_600_error"), an
//   empty pair where nothing was measured. A residue's row comes once.
// Quantities are R1, R2 in 1/s, T1, T2 in s or NOE as the intensity ratio, each row's cells
// read by the window's rules (ReadMeasurement). Header names are taken in any case, a unit
// in brackets after them left off; the cells are separated as the header's are (SeparatorOf),
// blanks around them left off; a line whose text starts with '#' is a comment. The error
// names each line that cannot be read and the column as the header names it (the first
// fifty of them): also a line longer than kMaxLineBytes, a residue's name longer than
// kMaxCellBytes, a row with more cells than the header, or a header without rows.
struct ProteinDataRead {
    std::optional<ProteinData> data;
    std::string error;
};
ProteinDataRead ReadProteinData(std::string_view text);

// The data of one file, with the name that messages give it.
struct NamedProteinData {
    std::string name;
    ProteinData data;
};
// The residues of every file merged by name, in the order they first appear, each with its
// measurements from every file in the files' order. A rate (a time counts as its rate) at a
// field that two files give one residue is refused, each time on a line naming both files.
ProteinDataRead MergedProteinData(std::vector<NamedProteinData> files);

// The data in the long form, "residue,field_mhz,quantity,value,error", a row per measurement
// in the order of the residues, each number the shortest text that reads back the same.
std::string LongFormCsv(const ProteinData& data);

}  // namespace veldorin
