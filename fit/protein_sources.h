// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

#include "fit/intensity_decay.h"
#include "fit/protein_data.h"

namespace veldorin {

// A protein's data file read by what it holds: an NMR-STAR entry (IsNmrStarText), a series
// of peak intensities whose rates are fitted (IsIntensitySeriesText, with the options), or
// measured rates in the long or the wide form (ReadProteinData).
ProteinDataRead ReadProteinSource(std::string_view text, const DecayFitOptions& decays = {});

}  // namespace veldorin
