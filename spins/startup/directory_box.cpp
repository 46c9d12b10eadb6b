#include "directory_box.h"

namespace veldorin {

void DirectoryBox::mousePressEvent(QMouseEvent* event) {
    emit pressed();
    QLineEdit::mousePressEvent(event);
}

}  // namespace veldorin
