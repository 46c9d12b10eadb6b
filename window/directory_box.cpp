#include "window/directory_box.h"

namespace veldorin {

void DirectoryBox::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressed();
    QLineEdit::mousePressEvent(event);
}

}  // namespace veldorin
