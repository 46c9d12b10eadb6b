#pragma once

#include <QHash>
#include <QObject>
#include <functional>

class QWidget;

namespace veldorin {

// Runs a control's handler when a key is released in it. A held key repeats as pairs
// of press and release that the system marks as auto-repeat; only the final release
// of a held key counts, so holding a key down commits and recalculates once. The
// release still reaches the control afterwards.
class KeyReleaseFilter : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void()>;

    explicit KeyReleaseFilter(QObject* parent);

    void Watch(QWidget* control, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, Handler> handlers_;
};

}  // namespace veldorin
