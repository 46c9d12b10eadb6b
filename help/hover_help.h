#pragma once

#include <QLatin1StringView>
#include <span>
#include <string_view>

namespace veldorin {

// A control whose pointer moves scroll the help list to a section.
struct HoverTopic {
    std::string_view objectName;  // the control's objectName, by which the window finds it
    QLatin1StringView title;      // the section's title line
};

// The controls that show a help section when the pointer passes over them: the ci and ti
// boxes, the array button and its two captions, and the results list. The frames, the
// graph panel and the word mark have handlers of their own; every other enabled control
// keeps its pointer moves to itself.
std::span<const HoverTopic> HoverTopics();

}  // namespace veldorin
