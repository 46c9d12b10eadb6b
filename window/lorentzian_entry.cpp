// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/lorentzian_entry.h"

#include <QLineEdit>

#include "ui/entry_rules.h"
#include "ui/event_hooks.h"
#include "window/document_controls.h"

namespace veldorin {

LorentzianEntry::LorentzianEntry(const Column& weights, const Column& times, EventHooks& hooks,
                                 ModelDocument& document, std::function<void()> recalculate)
    : weights_(weights), times_(times), document_(document), recalculate_(std::move(recalculate)) {
    for (int i = 0; i < kLorentzianCount; ++i) {
        hooks.OnKeyRelease(weights_[i], [this] { CommitWeights(); });
        hooks.OnKeyRelease(times_[i], [this] { CommitTimes(); });
        QObject::connect(
            weights_[i], &QLineEdit::textEdited, weights_[i],
            [this, i](const QString& text) { document_.texts.weights[i] = text.toStdString(); });
        QObject::connect(
            times_[i], &QLineEdit::textEdited, times_[i],
            [this, i](const QString& text) { document_.texts.times[i] = text.toStdString(); });
    }
}

void LorentzianEntry::CommitWeights() {
    Clean(weights_);
    document_.texts.weights = ColumnTexts(weights_);
    recalculate_();
}

void LorentzianEntry::CommitTimes() {
    Clean(times_);
    document_.texts.times = ColumnTexts(times_);
    recalculate_();
}

void LorentzianEntry::Clean(const Column& column) {
    for (QLineEdit* box : column) Enforce(kLorentzianRule, *box);
}

}  // namespace veldorin
