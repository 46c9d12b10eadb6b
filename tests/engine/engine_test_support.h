// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <clocale>
#include <locale>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/failure.h"
#include "engine/input_preparation.h"
#include "engine/model.h"
#include "engine/results_table.h"
#include "tests/support/recording_sink.h"

namespace veldorin::test {

// The reason a call failed with, or nothing when it returned normally.
template <typename Call>
std::optional<FailureReason> FailureOf(Call call) {
    try {
        call();
    } catch (const CalculationError& error) {
        return error.reason;
    }
    return std::nullopt;
}

// One Lorentzian of weight 1 and time t0 ps, the given central nucleus, no
// neighbours, CSA and Rex 0: the base of the hand-checkable systems.
inline ModelTexts SingleLorentzianModel(const std::string& central,
                                        const std::string& t0 = "1000") {
    ModelTexts model = DefaultModel();
    for (int j = 0; j < kNeighbourCount; ++j) model.slots[j] = {"", "1.09", "1"};
    model.slots[kCentralSlot].nucleus = central;
    model.weights = {"1", "0", "0", "0", "0", "0"};
    model.times = {t0, "0", "0", "0", "0", "0"};
    model.csa = "0";
    model.rex = "0";
    return model;
}

inline void PlaceNeighbour(ModelTexts& model, int slot, const std::string& nucleus,
                           const std::string& distance, const std::string& abundance = "1") {
    model.slots[slot] = {nucleus, distance, abundance};
}

// The table lines of a model prepared by a fresh calculation; empty if the
// preparation stops before the table.
inline std::vector<std::string> TableLines(const ModelTexts& model, TableMode mode) {
    InputPreparation preparation;
    const PreparedRun run = preparation.Prepare(model);
    if (run.stage != PreparedRun::Stage::Ready) return {};
    RecordingSink sink;
    WriteResultsTable(run.values, mode, sink, nullptr);
    return sink.lines;
}

// Makes a locale with a decimal comma the C and C++ global locale for its
// lifetime, if one is installed; active() tells whether it is.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() : savedC_(std::setlocale(LC_ALL, nullptr)) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
            try {
                std::locale::global(std::locale(name));
            } catch (const std::runtime_error&) {
                continue;
            }
            std::setlocale(LC_ALL, name);
            if (std::localeconv()->decimal_point == std::string(",")) {
                active_ = true;
                return;
            }
        }
        Restore();
    }
    ~DecimalCommaLocale() { Restore(); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool active() const { return active_; }

private:
    void Restore() {
        std::locale::global(savedCpp_);
        std::setlocale(LC_ALL, savedC_.c_str());
    }

    std::locale savedCpp_;
    std::string savedC_;
    bool active_ = false;
};

}  // namespace veldorin::test
