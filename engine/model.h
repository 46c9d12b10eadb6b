// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veldorin {

inline constexpr int kNeighbourCount = 8;  // slots 0..7
inline constexpr int kCentralSlot = 8;
inline constexpr int kSlotCount = 9;
inline constexpr int kLorentzianCount = 6;

// How a neighbour slot takes part in the calculation, derived from its nucleus text.
enum class SlotKind : std::uint8_t { Empty = 0, Like = 1, Unlike = 2 };

using SlotKinds = std::array<SlotKind, kNeighbourCount>;

// Rates (1/s) or their inverses (s) in the results table.
enum class TableMode { Rates, Times };

// How a pair's zero- and double-quantum frequencies are formed from the Larmor
// frequencies of its two nuclei: from their magnitudes (wS - wI and wI + wS), or from
// the signed frequencies gamma B0, which for constants of opposite signs (15N with 1H)
// puts the zero-quantum term at the sum of the magnitudes and the double-quantum term at
// their difference.
enum class PairFrequencySigns : std::uint8_t { Magnitudes = 0, Signed = 1 };

// One position of the spin system, as the texts the user sees. The central slot
// has no distance; its abundance is always "1".
struct SpinSlot {
    std::string nucleus;
    std::string distance;
    std::string abundance;
    friend bool operator==(const SpinSlot&, const SpinSlot&) = default;
};

// Everything a recalculation reads: the texts of the window's controls and the table
// mode the window holds.
struct ModelTexts {
    std::array<SpinSlot, kSlotCount> slots;
    std::array<std::string, kLorentzianCount> weights;  // ci, typed
    std::array<std::string, kLorentzianCount> times;    // ti in ps
    std::string csa;                                    // ppm
    std::string rex;                                    // 1/s at 800 MHz
    TableMode tableMode = TableMode::Rates;
    PairFrequencySigns pairFrequencies = PairFrequencySigns::Magnitudes;
    std::string workingDirectory;  // folder of "table.dat"
    friend bool operator==(const ModelTexts&, const ModelTexts&) = default;
};

// The model every start begins with (working directory left empty: start-up sets it).
ModelTexts DefaultModel();

// The nucleus texts a slot can hold, as its nucleus menu lists them: a neighbour slot
// "" (no nucleus) and "Like" (the central nucleus again), then every slot "1H", "13C"
// and "15N".
std::vector<std::string_view> OfferedNuclei(int slot);

// Only the empty text is Empty and only exactly "Like" is Like; anything else is Unlike.
SlotKind KindOfNucleus(std::string_view nucleus);

SlotKinds DeriveKinds(const ModelTexts& model);

}  // namespace veldorin
