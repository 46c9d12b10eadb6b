// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "engine/rgb.h"

namespace veldorin {

inline constexpr double kPi = 3.14159265358979;
// The 1H constant as the reference that scales a 1H angular frequency to another nucleus.
inline constexpr double kProtonGammaReference = 2.6751e-11;
// Reduced Planck constant (erg s) times 1e54: absorbs the 1e-15 scaling of two
// gyromagnetic constants and Angstrom to centimetres.
inline constexpr double kDipolarFactor = 1.0545e27;
// 2 pi 800: the 1H angular frequency of the 800 MHz field, in 1e6 rad/s.
inline constexpr double kRexReferenceOmega = 5026.548245743664;

// Gyromagnetic constants (rad/(s G) times 1e-15) of "1H", "13C" and "15N"; compared
// exactly and case-sensitively. Any other text has none.
std::optional<float> GammaOf(std::string_view nucleus);

// One spectrometer field: its 1H frequency and the colour of its row and markers.
struct Field {
    float frequencyMHz;
    Rgb colour;
};

inline constexpr int kFieldCount = 6;
inline constexpr std::array<Field, kFieldCount> kFieldTable{{
    {100.0f, {0, 255, 0}},
    {250.0f, {255, 0, 0}},
    {300.0f, {128, 128, 255}},
    {500.0f, {255, 255, 0}},
    {600.0f, {255, 0, 255}},
    {800.0f, {0, 0, 192}},
}};

// The 1H angular frequency of a field, 2 pi f in 1e6 rad/s, held as single.
float ProtonOmega(float frequencyMHz);

}  // namespace veldorin
