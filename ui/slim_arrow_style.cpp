// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/slim_arrow_style.h"

#include <QStyleOption>

namespace veldorin {

QRect SlimArrowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                     SubControl part, const QWidget* widget) const {
    QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
    if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField)) {
        return rect;
    }
    const QRect arrow = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
    const int spare = arrow.width() - option->rect.height() / 2;
    if (spare <= 0) return rect;
    // The arrow gives up the spare width on the side of the field, which takes it.
    if (part == SC_ComboBoxArrow) {
        rect.setLeft(rect.left() + spare);
    } else {
        rect.setRight(rect.right() + spare);
    }
    return rect;
}

}  // namespace veldorin
