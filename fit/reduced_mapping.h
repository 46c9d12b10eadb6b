// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fit/protein_fit.h"
#include "fit/relaxation_model.h"

namespace veldorin {

// A value and its uncertainty, one standard deviation.
struct Uncertain {
    double value = 0.0;
    double error = 0.0;
};

// What one field measured of a residue: R1 and R2 in 1/s, the NOE as the intensity ratio
// 1 + eta.
struct FieldRates {
    Uncertain r1;
    Uncertain r2;
    Uncertain noe;
};

// The constants of the rates as the literature writes them, in 1/(s ps) for J in ps/rad:
// R1 = d2/4 [J(wH - wN) + 3 J(wN) + 6 J(wH + wN)] + c2 J(wN), with J(w) = (2/5) tm / (1 +
// (w tm)^2) for rigid tumbling.
struct MappingConstants {
    double d2 = 0.0;
    double c2 = 0.0;
    double gammaRatio = 0.0;  // gN / gH: the central nucleus's constant over its partner's
};
// The constants a fit uses at the 1H frequency in MHz, of the system's first neighbour.
MappingConstants MappingConstantsOf(const FitSpinSystem& system, double protonMHz);

// Spectral densities in ns/rad (ps/rad times 1e-3), each with its error propagated to first
// order from the rates' errors, taken as independent.
struct MappedDensities {
    Uncertain j0;
    Uncertain jN;
    Uncertain jH;  // J(0.87 wH)
};

// Reduced spectral density mapping of a 15N-1H pair (Farrow and co-workers, 1995): with
// sigma = R1 (NOE - 1) gN/gH and J(wH - wN), J(wH), J(wH + wN) all taken as one J(0.87 wH),
// as for a density falling as 1/w^2 there,
//   J(0.87 wH) = 4 sigma / (5 d2),
//   J(wN) = (4 R1 - 5 sigma) / (3 d2 + 4 c2),
//   J(0) = (6 R2 - 3 R1 - 2.72 sigma) / (3 d2 + 4 c2).
MappedDensities MapDensities(const FieldRates& rates, const MappingConstants& constants);

// A field of a residue that could not be mapped, and why ("no NOE", "two R1").
struct UnmappedField {
    double fieldMHz = 0.0;
    std::string reason;
};

struct MappedField {
    double fieldMHz = 0.0;
    MappedDensities densities;
};

struct ResidueMap {
    std::string residue;
    std::vector<MappedField> fields;  // in the order the data first name them
    std::vector<UnmappedField> unmapped;
};

// Every residue mapped at each field with R1 (or T1), R2 (or T2) and the NOE measured once.
std::vector<ResidueMap> MapProtein(const ProteinData& data, const FitSpinSystem& system);

// Whether J(0) is the same at every field within the errors, every pair within twice their
// combined error: exchange raises it with the field. Nothing for fewer than two fields.
std::optional<bool> J0Agrees(const std::vector<MappedField>& fields);

// "residue,field_mhz,J0,J0_error,JN,JN_error,JH,JH_error,J0_agrees", a row per mapped field,
// J in ns/rad; J0_agrees yes, no or empty.
std::string SpectralDensityMapCsv(const std::vector<ResidueMap>& residues);

}  // namespace veldorin
