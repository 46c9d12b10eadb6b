// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <random>
#include <string>

#include "engine/model.h"
#include "run_phases/run_phases.h"

namespace veldorin::test {

// Random model texts of every kind a user or a damaged input could produce:
// ordinary numbers, the edges of single precision, zero and negative values,
// huge and tiny times, empty and non-numeric texts, every nucleus text.
class RandomModels {
public:
    explicit RandomModels(unsigned seed) : engine_(seed) {}

    ModelTexts NextModel();
    // Texts a user would type: every nucleus, distances 0.8 to 4 A, abundances, weights
    // and times spread over their useful ranges, so that most runs complete.
    ModelTexts NextPlausibleModel();
    GraphSettings NextSettings();

private:
    std::string Number();
    std::string Nucleus();
    std::string Uniform(double low, double high);
    std::string Pick(std::initializer_list<const char*> choices);
    int Between(int low, int high);

    std::mt19937 engine_;
};

}  // namespace veldorin::test
