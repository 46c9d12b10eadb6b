#include "control_set.h"

#include "control_factory.h"
#include "drawn_surface.h"
#include "layout.h"

namespace veldorin {

ControlSet ControlSet::Build(const TwipScale& scale, DrawnSurface& clientArea) {
    ControlSet set;
    auto parentOf = [&](const std::string& name) -> QWidget* {
        return name.empty() ? &clientArea : set.Find(name);
    };
    for (const ControlSpec& spec : ControlTable()) {
        set.controls_.emplace(spec.name, MakeControl(spec, scale, parentOf(spec.parent)));
    }
    for (const LineSpec& line : LineTable()) {
        qobject_cast<DrawnSurface*>(parentOf(line.parent))->AddLine(line);
    }
    for (const ShapeSpec& shape : ShapeTable()) clientArea.AddShape(shape);
    return set;
}

QWidget* ControlSet::Find(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

}  // namespace veldorin
