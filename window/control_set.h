#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/twips.h"

namespace veldorin {

class DrawnSurface;

// The window's controls by design name, built from the layout tables.
class ControlSet {
public:
    // Creates every control of the table under the client area, in table order, hands
    // every line and shape to the surface it is drawn on, and adds the Options panel,
    // whose own controls are known by their design names as well.
    static ControlSet Build(const TwipScale& scale, DrawnSurface& clientArea);

    template <class W>
    W* Get(std::string_view name) const {
        auto* widget = qobject_cast<W*>(Find(name));
        Q_ASSERT_X(widget != nullptr, "ControlSet::Get", std::string(name).c_str());
        return widget;
    }
    QWidget* Find(std::string_view name) const;

    const std::map<std::string, QWidget*, std::less<>>& all() const { return controls_; }
    // The controls that keep the pointer moves over them while they are enabled.
    const std::vector<QWidget*>& pointerTargets() const { return pointerTargets_; }

private:
    void AddOptionsPanel(const TwipScale& scale, QWidget& clientArea);

    std::map<std::string, QWidget*, std::less<>> controls_;
    std::vector<QWidget*> pointerTargets_;
};

}  // namespace veldorin
