// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/design_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace veldorin {

QFont DesignFont(double points, bool italic) {
    // Liberation Sans has the letter widths the layout's boxes were sized for; where it is
    // missing, the platform's user-interface face stands in.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"),
                      QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    font.setStyleHint(QFont::SansSerif);
    // Hinting across the line would round every advance to whole pixels, and by how much
    // depends on the user's font settings; the face's own widths are what the texts fit.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setBold(true);
    font.setItalic(italic);
    font.setPointSizeF(points);
    return font;
}

}  // namespace veldorin
