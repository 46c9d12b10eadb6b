#pragma once

// The Theory page: the equations of the calculation, their legend and a table of typical
// distances between atoms, drawn as text and vector strokes on the page's own background.

#include <QColor>
#include <QSize>
#include <QWidget>

class QPainter;

namespace veldorin {

inline constexpr QColor kTheoryBackground{255, 224, 192};
// Size of the open page in twips; its drawing is laid out in these units and scaled to
// whatever size the widget has.
inline constexpr QSize kTheoryPageTwips{7695, 7515};

// Paints the whole page into the rectangle (0, 0, size).
void PaintTheoryPage(QPainter& painter, const QSizeF& size);

class TheoryPage : public QWidget {
public:
    explicit TheoryPage(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace veldorin
