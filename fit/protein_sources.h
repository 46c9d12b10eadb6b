// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>
#include <vector>

#include "fit/intensity_decay.h"
#include "fit/protein_data.h"

namespace veldorin {

// What a data file gave: its rates and, from a series of peak intensities, the decays they
// were fitted to.
struct ProteinSourceRead : ProteinDataRead {
    std::vector<DecayFit> decays;
};

// A protein's data file read by what it holds: an NMR-STAR entry (IsNmrStarText), a series
// of peak intensities whose rates are fitted (IsIntensitySeriesText, with the options), or
// measured rates in the long or the wide form (ReadProteinData).
ProteinSourceRead ReadProteinSource(std::string_view text, const DecayFitOptions& decays = {});

}  // namespace veldorin
