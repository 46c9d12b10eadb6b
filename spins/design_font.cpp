#include "design_font.h"

#include <QFontDatabase>

namespace veldorin {

QFont DesignFont(double points, bool italic) {
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setItalic(italic);
    font.setPointSizeF(points);
    return font;
}

}  // namespace veldorin
