// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <functional>

#include "document/model_document.h"

class QLineEdit;

namespace veldorin {

class EventHooks;

// The two editable columns of the Lorentzians: the weights ci and the correlation times
// ti in ps. Every key release in a box of a column cleans the whole column, so that the
// calculation reads numbers that are not negative, puts the column into the document and
// recalculates once. The other column is left as it is. What the user puts into a box
// without a key (a paste with the pointer) goes into the document at once.
class LorentzianEntry {
public:
    using Column = std::array<QLineEdit*, kLorentzianCount>;

    LorentzianEntry(const Column& weights, const Column& times, EventHooks& hooks,
                    ModelDocument& document, std::function<void()> recalculate);

    // Cleans the whole column, puts it into the document and recalculates once: what a
    // key released in any box of the column does.
    void CommitWeights();
    void CommitTimes();

    // Top to bottom: a text that is not a number, or is a negative one, becomes "0".
    static void Clean(const Column& column);

private:
    Column weights_;
    Column times_;
    ModelDocument& document_;
    std::function<void()> recalculate_;
};

}  // namespace veldorin
