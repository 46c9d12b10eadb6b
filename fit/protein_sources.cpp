// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fit/protein_sources.h"

#include "fit/nmr_star.h"

namespace veldorin {

ProteinSourceRead ReadProteinSource(std::string_view text, const DecayFitOptions& decays) {
    if (IsNmrStarText(text)) return {ReadNmrStarRelaxation(text), {}};
    if (IsIntensitySeriesText(text)) {
        IntensityDecayRead read = ReadIntensityDecays(text, decays);
        return {{std::move(read.data), std::move(read.error)}, std::move(read.fits)};
    }
    return {ReadProteinData(text), {}};
}

}  // namespace veldorin
