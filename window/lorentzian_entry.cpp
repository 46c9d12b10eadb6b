// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/lorentzian_entry.h"

#include <QLineEdit>

#include "ui/entry_rules.h"
#include "ui/event_hooks.h"

namespace veldorin {

LorentzianEntry::LorentzianEntry(const Column& weights, const Column& times, EventHooks& hooks,
                                 std::function<void()> recalculate)
    : weights_(weights), times_(times), recalculate_(std::move(recalculate)) {
    for (int i = 0; i < kLorentzianCount; ++i) {
        hooks.OnKeyRelease(weights_[i], [this] { CommitWeights(); });
        hooks.OnKeyRelease(times_[i], [this] { CommitTimes(); });
    }
}

void LorentzianEntry::CommitWeights() {
    Clean(weights_);
    recalculate_();
}

void LorentzianEntry::CommitTimes() {
    Clean(times_);
    recalculate_();
}

void LorentzianEntry::Clean(const Column& column) {
    for (QLineEdit* box : column) Enforce(kLorentzianRule, *box);
}

}  // namespace veldorin
