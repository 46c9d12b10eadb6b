#include "window/lorentzian_entry.h"

#include <QLineEdit>

#include "ui/entry_rules.h"
#include "ui/event_hooks.h"

namespace veldorin {

LorentzianEntry::LorentzianEntry(const Column& weights, const Column& times, EventHooks& hooks,
                                 std::function<void()> recalculate)
    : weights_(weights), times_(times), recalculate_(std::move(recalculate)) {
    for (int i = 0; i < kLorentzianCount; ++i) {
        hooks.OnKeyRelease(weights_[i], [this, i] { Text7_KeyUp(i); });
        hooks.OnKeyRelease(times_[i], [this, i] { Text8_KeyUp(i); });
    }
}

// Which box the key was released in does not matter: the whole column is cleaned.
void LorentzianEntry::Text7_KeyUp(int) {
    Clean(weights_);
    recalculate_();
}

void LorentzianEntry::Text8_KeyUp(int) {
    Clean(times_);
    recalculate_();
}

void LorentzianEntry::Clean(const Column& column) {
    for (QLineEdit* box : column) Enforce(kLorentzianRule, *box);
}

}  // namespace veldorin
