#include "window/control_set.h"

#include <QLabel>
#include <QLineEdit>

#include "window/control_factory.h"
#include "window/directory_list.h"
#include "window/drawn_surface.h"
#include "window/layout.h"
#include "window/options_panel.h"

namespace veldorin {

ControlSet ControlSet::Build(const TwipScale& scale, DrawnSurface& clientArea) {
    ControlSet set;
    auto parentOf = [&](const std::string& name) -> QWidget* {
        return name.empty() ? &clientArea : set.Find(name);
    };
    for (const ControlSpec& design : ControlTable()) {
        QWidget* control = MakeControl(design, scale, parentOf(design.parent));
        set.controls_.emplace(design.name, control);
        if (design.takesPointer) set.pointerTargets_.push_back(control);
    }
    for (const LineSpec& line : LineTable()) {
        qobject_cast<DrawnSurface*>(parentOf(line.parent))->AddLine(line);
    }
    for (const ShapeSpec& shape : ShapeTable()) clientArea.AddShape(shape);
    set.AddOptionsPanel(scale, clientArea);
    return set;
}

void ControlSet::AddOptionsPanel(const TwipScale& scale, QWidget& clientArea) {
    // Nothing is stored until start-up has settled where the settings file is.
    auto* panel = new OptionsPanel(scale, SettingsFile(QString()), &clientArea);
    const std::pair<const char*, QWidget*> parts[] = {
        {"Frame1(0)", panel},
        {"Label3(25)", panel->directoryCaption()},
        {"Text3", panel->directoryBox()},
        {"Dir1", panel->directoryList()},
    };
    for (const auto& [name, control] : parts) {
        control->setObjectName(QLatin1String(name));
        controls_.emplace(name, control);
        pointerTargets_.push_back(control);
    }
}

QWidget* ControlSet::Find(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

}  // namespace veldorin
