#include "help/hover_help.h"

#include "help/help_text.h"

namespace veldorin {

namespace {

constexpr HoverTopic kHoverTopics[] = {
    // The ci and ti boxes of the six Lorentzians, row by row.
    {"Text7(0)", kHelpLorentzians},
    {"Text8(0)", kHelpLorentzians},
    {"Text7(1)", kHelpLorentzians},
    {"Text8(1)", kHelpLorentzians},
    {"Text7(2)", kHelpLorentzians},
    {"Text8(2)", kHelpLorentzians},
    {"Text7(3)", kHelpLorentzians},
    {"Text8(3)", kHelpLorentzians},
    {"Text7(4)", kHelpLorentzians},
    {"Text8(4)", kHelpLorentzians},
    {"Text7(5)", kHelpLorentzians},
    {"Text8(5)", kHelpLorentzians},
    // The array button, its caption and the caption of its range.
    {"Command3", kHelpArray},
    {"Label3(8)", kHelpArray},
    {"Label3(6)", kHelpArray},
    // The results list.
    {"List3", kHelpTable},
};

}  // namespace

std::span<const HoverTopic> HoverTopics() { return kHoverTopics; }

}  // namespace veldorin
