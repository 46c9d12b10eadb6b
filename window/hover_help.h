#pragma once

#include <QLatin1StringView>
#include <string>
#include <vector>

namespace veldorin {

// A control whose pointer moves scroll the help list to a section.
struct HoverTopic {
    std::string control;      // design name
    QLatin1StringView title;  // the section's title line
};

// The controls that show a help section when the pointer passes over them: the ci and ti
// boxes, the array button and its two captions, and the results list. The frames, the
// graph panel and the word mark have handlers of their own; every other enabled control
// keeps its pointer moves to itself.
std::vector<HoverTopic> HoverTopics();

}  // namespace veldorin
