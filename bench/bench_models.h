// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "engine/model.h"

namespace veldorin::bench {

// Every slot occupied, all kinds of neighbour: the most work one table can take.
inline ModelTexts EightNeighbourModel() {
    ModelTexts model = DefaultModel();
    model.slots = {{
        {"1H", "1.09", "1"},
        {"1H", "2", "0.5"},
        {"13C", "1.5", "1"},
        {"15N", "1.45", "0.3"},
        {"Like", "1.8", "1"},
        {"Like", "2.5", "0.7"},
        {"1H", "2.9", "1"},
        {"13C", "2.2", "0.011"},
        {"13C", "", "1"},
    }};
    return model;
}

}  // namespace veldorin::bench
