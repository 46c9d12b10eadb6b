// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

namespace veldorin {

// The application's style, with the arrow of a drop-down list half as wide as the list is
// high: a list as narrow as a nucleus box keeps room in its field for a nucleus name.
class SlimArrowStyle : public QProxyStyle {
    Q_OBJECT

public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
};

}  // namespace veldorin
