// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

#include "fit/protein_fit.h"

namespace veldorin {

// Whether the text is a STAR file: its first word outside comments starts with "data_".
bool IsNmrStarText(std::string_view text);

// Reads the backbone amide 15N relaxation of an NMR-STAR 3.x entry: the save frames of
// categories heteronucl_T1_relaxation, heteronucl_T2_relaxation and heteronucl_NOEs, each
// at its list's Spectrometer_frequency_1H. T1 and T2 in s or ms are times in s, in s-1 or
// ms-1 the rates R1 and R2; the NOE is the intensity ratio. Rows of atom N (for the NOE,
// N with H) are taken, with either generation of value tags (T1_val or Val, ...); a row
// without a value is left out. A residue is named by its Seq_ID (Comp_index_ID when there
// is none), as a CSV file of the same protein would name it, and residues come in sequence
// order. An entry whose relaxation loops name more than one chain (Entity_assembly_ID; for
// the NOE, Entity_assembly_ID_1) names each residue "<Entity_assembly_ID>:<Seq_ID>" instead,
// so that equal numbers in two chains are not pooled, and orders them by chain, then
// sequence; with one chain named, rows that name none are taken as of that chain. Rows keep no
// line: the parser tells only where a loop starts. The error names the frame, the loop's row and
// the tag of each value that cannot be read (the first fifty).
ProteinDataRead ReadNmrStarRelaxation(std::string_view text);

}  // namespace veldorin
