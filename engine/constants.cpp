// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/constants.h"

namespace veldorin {

std::optional<float> GammaOf(std::string_view nucleus) {
    if (nucleus == "1H") return 2.6751e-11f;
    if (nucleus == "13C") return 6.7263e-12f;
    if (nucleus == "15N") return -2.7116e-12f;
    return std::nullopt;
}

float ProtonOmega(float frequencyMHz) {
    return static_cast<float>(2.0 * kPi * static_cast<double>(frequencyMHz));
}

}  // namespace veldorin
