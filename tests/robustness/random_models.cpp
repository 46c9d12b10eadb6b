// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/robustness/random_models.h"

#include <cstdio>
#include <vector>

namespace veldorin::test {

int RandomModels::Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(engine_);
}

std::string RandomModels::Pick(std::initializer_list<const char*> choices) {
    const std::vector<const char*> all(choices);
    return all[static_cast<std::size_t>(Between(0, static_cast<int>(all.size()) - 1))];
}

std::string RandomModels::Number() {
    // Mostly ordinary numbers, so that many runs get through to the curves.
    switch (Between(0, 15)) {
        case 0:
            return Pick({"3.4028234e38", "3.4028236e38", "-3.4e38", "1e38", "1e39", "1.4e-45",
                         "1e-46", "1.17549435e-38", "1e308", "1e400", "-1e-300"});
        case 1: return Pick({"0", "-0", "0.0", "00", "-1", "-0.5", "-1e-9", "+2"});
        case 2:
            return Pick({"", " ", "-", "+", ".", "e3", "1e", "abc", "1,5", "1..2", "--1", "0x10"});
        case 3: return Pick({"1e30", "1e-30", "1e12", "1e-12", "7000", "0.001", "109.37", "1e3"});
        default: {
            char text[32];
            const double mantissa = std::uniform_real_distribution<double>(-1.0, 10.0)(engine_);
            std::snprintf(text, sizeof text, "%.*ge%d", Between(1, 9), mantissa, Between(-2, 3));
            return text;
        }
    }
}

std::string RandomModels::Nucleus() {
    return Pick({"", "", "Like", "1H", "13C", "15N", "like", "1h", "X", " 1H"});
}

ModelTexts RandomModels::NextModel() {
    ModelTexts model = DefaultModel();
    for (int j = 0; j < kSlotCount; ++j) {
        SpinSlot& slot = model.slots[static_cast<std::size_t>(j)];
        slot.nucleus = j == kCentralSlot ? Pick({"1H", "13C", "15N", "Like", ""}) : Nucleus();
        if (Between(0, 2) > 0) slot.distance = Number();
        if (Between(0, 3) == 0) slot.abundance = Number();
    }
    for (int i = 0; i < kLorentzianCount; ++i) {
        if (Between(0, 1) == 0) model.weights[static_cast<std::size_t>(i)] = Number();
        if (Between(0, 1) == 0) model.times[static_cast<std::size_t>(i)] = Number();
    }
    if (Between(0, 2) == 0) model.csa = Number();
    if (Between(0, 2) == 0) model.rex = Number();
    model.tableMode = Between(0, 2) == 0 ? TableMode::Rates : TableMode::Times;
    return model;
}

std::string RandomModels::Uniform(double low, double high) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*g", Between(1, 9),
                  std::uniform_real_distribution<double>(low, high)(engine_));
    return text;
}

ModelTexts RandomModels::NextPlausibleModel() {
    ModelTexts model = DefaultModel();
    for (int j = 0; j < kSlotCount; ++j) {
        SpinSlot& slot = model.slots[static_cast<std::size_t>(j)];
        slot.nucleus =
            j == kCentralSlot ? Pick({"1H", "13C", "15N"}) : Pick({"", "Like", "1H", "13C", "15N"});
        slot.distance = Uniform(0.8, 4.0);
        slot.abundance = Uniform(0.001, 1.0);
    }
    for (int i = 0; i < kLorentzianCount; ++i) {
        model.weights[static_cast<std::size_t>(i)] = Uniform(-0.2, 1.0);
        model.times[static_cast<std::size_t>(i)] =
            Uniform(1.0, 10.0) + "e" + std::to_string(Between(-1, 6));
    }
    model.csa = Uniform(-200.0, 200.0);
    model.rex = Uniform(0.0, 50.0);
    return model;
}

GraphSettings RandomModels::NextSettings() {
    GraphSettings settings;
    settings.plotMode = PlotModeAt(Between(-1, 4));
    settings.arrayOn = Between(0, 2) == 0;
    settings.arrayParameter = ArrayParameterAt(Between(-1, 13));
    if (Between(0, 3) == 0) {
        settings.width = static_cast<float>(Between(1, 20000));
        settings.height = static_cast<float>(Between(1, 20000));
    }
    return settings;
}

}  // namespace veldorin::test
