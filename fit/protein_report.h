// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fit/protein_fit.h"

namespace veldorin {

// The files a report names besides the fit: the data it was read from and the files
// written beside it.
struct ReportedFiles {
    std::vector<std::string> data;
    std::optional<std::string> back;
    std::optional<std::string> report;
    std::optional<std::string> structure;  // the bonds' structure, with a diffusion tensor
};

// How a protein's fit was made, as JSON for whoever reads its numbers later: the program
// and its version, the options in force with the nuclei as named, how tm was found and
// with what error, and each residue's model, failure, eliminated models, flags and Monte
// Carlo sets. Numbers are the shortest that read back exactly; null where not finite.
std::string ProteinReportJson(std::string_view nucleus, std::string_view partner,
                              const ProteinFitOptions& options, const ReportedFiles& files,
                              const ProteinFit& fit);

}  // namespace veldorin
