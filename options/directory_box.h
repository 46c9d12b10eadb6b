// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>

namespace veldorin {

// The directory box: an ordinary text box that also tells when any mouse button is
// pressed in it, which is how the user asks for the directory list.
class DirectoryBox : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

Q_SIGNALS:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace veldorin
