// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/model.h"

namespace veldorin {

ModelTexts DefaultModel() {
    ModelTexts model;
    model.slots = {{
        {"1H", "2", "1"},
        {"1H", "1.09", "1"},
        {"13C", "1.5", "1"},
        {"", "1.09", "1"},
        {"", "1.09", "1"},
        {"", "1.09", "1"},
        {"", "1.09", "1"},
        {"", "1.09", "1"},
        {"13C", "", "1"},
    }};
    model.weights = {"0.25", "0.25", "0.25", "0.25", "0", "0"};
    model.times = {"7000", "1750", "437.5", "109.37", "437.5", "437.5"};
    model.csa = "-25";
    model.rex = "0";
    model.tableMode = TableMode::Rates;
    return model;
}

std::vector<std::string_view> OfferedNuclei(int slot) {
    std::vector<std::string_view> names;
    if (slot != kCentralSlot) names = {"", "Like"};
    names.insert(names.end(), {"1H", "13C", "15N"});
    return names;
}

SlotKind KindOfNucleus(std::string_view nucleus) {
    if (nucleus.empty()) return SlotKind::Empty;
    return nucleus == "Like" ? SlotKind::Like : SlotKind::Unlike;
}

SlotKinds DeriveKinds(const ModelTexts& model) {
    SlotKinds kinds{};
    for (int i = 0; i < kNeighbourCount; ++i) kinds[i] = KindOfNucleus(model.slots[i].nucleus);
    return kinds;
}

}  // namespace veldorin
