// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "engine/input_names.h"

#include "engine/numeric_text.h"

namespace veldorin {
namespace {

enum class Precision { Single, Double };

struct ReadText {
    NamedText named;
    Precision precision;
};

std::string Numbered(const char* prefix, int index) { return prefix + std::to_string(index + 1); }

std::string SlotName(int slot, const char* what) {
    return slot == kCentralSlot ? std::string("central ") + what
                                : Numbered("neighbour ", slot) + ' ' + what;
}

NamedText Weight(const ModelTexts& model, int i) { return {Numbered("c", i), &model.weights[i]}; }
NamedText Time(const ModelTexts& model, int i) {
    return {Numbered("t", i) + " (ps)", &model.times[i]};
}
NamedText Csa(const ModelTexts& model) { return {"CSA (ppm)", &model.csa}; }
NamedText Rex(const ModelTexts& model) { return {"Rex (1/s at 800 MHz)", &model.rex}; }
NamedText Distance(const ModelTexts& model, int slot) {
    return {SlotName(slot, "distance (Å)"), &model.slots[slot].distance};
}
NamedText Abundance(const ModelTexts& model, int slot) {
    return {SlotName(slot, "abundance"), &model.slots[slot].abundance};
}

// The numbers a run reads, in the order it reads them.
std::vector<ReadText> TextsARunReads(const ModelTexts& model) {
    std::vector<ReadText> texts{{Csa(model), Precision::Double}, {Rex(model), Precision::Double}};
    for (int i = 0; i < kLorentzianCount; ++i) {
        texts.push_back({Weight(model, i), Precision::Single});
        texts.push_back({Time(model, i), Precision::Single});
    }
    texts.push_back({Abundance(model, kCentralSlot), Precision::Single});
    for (int slot = 0; slot < kNeighbourCount; ++slot) {
        if (KindOfNucleus(model.slots[slot].nucleus) == SlotKind::Empty) continue;
        texts.push_back({Distance(model, slot), Precision::Single});
        texts.push_back({Abundance(model, slot), Precision::Single});
    }
    return texts;
}

}  // namespace

std::vector<NamedText> NamedTexts(const ModelTexts& model) {
    std::vector<NamedText> texts;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        texts.push_back({SlotName(slot, "nucleus"), &model.slots[slot].nucleus});
        texts.push_back(Distance(model, slot));
        texts.push_back(Abundance(model, slot));
    }
    for (int i = 0; i < kLorentzianCount; ++i) {
        texts.push_back(Weight(model, i));
        texts.push_back(Time(model, i));
    }
    texts.push_back(Csa(model));
    texts.push_back(Rex(model));
    return texts;
}

std::optional<std::string> DescribeUnreadableInput(const ModelTexts& model) {
    for (const auto& [named, precision] : TextsARunReads(model)) {
        try {
            if (precision == Precision::Single) {
                ReadSingle(*named.text);
            } else {
                ReadDouble(*named.text);
            }
        } catch (const CalculationError& error) {
            return named.name + ": \"" + *named.text + "\" " + std::string(Refusal(error.reason));
        }
    }
    return std::nullopt;
}

}  // namespace veldorin
