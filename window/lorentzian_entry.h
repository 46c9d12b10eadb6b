// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <functional>

#include "engine/model.h"

class QLineEdit;

namespace veldorin {

class EventHooks;

// The two editable columns of the Lorentzians: the weights ci and the correlation times
// ti in ps. Every key release in a box of a column cleans the whole column, so that the
// calculation reads numbers that are not negative, and recalculates once. The other
// column is left as it is.
class LorentzianEntry {
public:
    using Column = std::array<QLineEdit*, kLorentzianCount>;

    LorentzianEntry(const Column& weights, const Column& times, EventHooks& hooks,
                    std::function<void()> recalculate);

    // Cleans the whole column and recalculates once: what a key released in any box of
    // the column does.
    void CommitWeights();
    void CommitTimes();

    // Top to bottom: a text that is not a number, or is a negative one, becomes "0".
    static void Clean(const Column& column);

private:
    Column weights_;
    Column times_;
    std::function<void()> recalculate_;
};

}  // namespace veldorin
