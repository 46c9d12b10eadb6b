#include "hover_help.h"

#include "help_text.h"
#include "layout.h"
#include "model.h"

namespace veldorin {

std::vector<HoverTopic> HoverTopics() {
    std::vector<HoverTopic> topics;
    for (int row = 0; row < kLorentzianCount; ++row) {
        topics.push_back({Element("Text7", row), kHelpLorentzians});
        topics.push_back({Element("Text8", row), kHelpLorentzians});
    }
    topics.push_back({"Command3", kHelpArray});
    topics.push_back({"Label3(8)", kHelpArray});
    topics.push_back({"Label3(6)", kHelpArray});
    topics.push_back({"List3", kHelpTable});
    return topics;
}

}  // namespace veldorin
