#include "window/graph_canvas.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/colours.h"

namespace veldorin {

// Carries one replay's painter and the mapping from the user scale to pixels.
struct GraphCanvas::Painting {
    GraphCanvas& canvas;
    QPainter painter;

    explicit Painting(GraphCanvas& target) : canvas(target), painter(&target.image_) {}

    QPointF Map(float x, float y) const {
        const QSizeF size = canvas.size();
        const QSizeF scale = canvas.userScale_.isEmpty() ? canvas.sizeInTwips() : canvas.userScale_;
        return {x * size.width() / scale.width(), y * size.height() / scale.height()};
    }

    void Stroke(float x1, float y1, float x2, float y2, const QColor& colour) {
        if (pen.color() != colour || pen.width() != canvas.lineWidth_) {
            pen = QPen(colour, canvas.lineWidth_, Qt::SolidLine, Qt::FlatCap);
            painter.setPen(pen);
        }
        // Smooth curves; crisp axis-parallel marker and reference lines, which are also
        // drawn many times over themselves and must not darken with every pass.
        painter.setRenderHint(QPainter::Antialiasing, x1 != x2 && y1 != y2);
        painter.drawLine(Map(x1, y1), Map(x2, y2));
    }

    QPen pen{Qt::NoPen};

    // The image is the panel's only surface, so all drawing is retained, and every
    // replay ends by presenting it: retaining, presenting and refreshing need no more.
    void operator()(const draw::RetainOn&) {}
    void operator()(const draw::RetainOff&) {}
    void operator()(const draw::Refresh&) {}
    void operator()(const draw::Clear&) { canvas.image_.fill(canvas.background()); }
    void operator()(const draw::SetScale& scale) {
        canvas.userScale_ = QSizeF(scale.width, scale.height);
    }
    void operator()(const draw::SetLineWidth& width) { canvas.lineWidth_ = width.pixels; }
    void operator()(const draw::SetColour& colour) { canvas.foreground_ = ToQColor(colour.colour); }
    void operator()(const draw::Line& line) {
        Stroke(line.x1, line.y1, line.x2, line.y2, canvas.foreground_);
    }
    void operator()(const draw::LineInColour& line) {
        Stroke(line.x1, line.y1, line.x2, line.y2, ToQColor(line.colour));
    }
    void operator()(const draw::SetAxisCaption& caption) {
        Q_EMIT canvas.axisCaptionChanged(QString::fromStdString(caption.text));
    }
};

GraphCanvas::GraphCanvas(const TwipScale& scale, QWidget* parent)
    : QWidget(parent), twips_(scale) {}

QSizeF GraphCanvas::sizeInTwips() const {
    return {twips_.ToTwips(width()), twips_.ToTwips(height())};
}

QColor GraphCanvas::background() const { return palette().color(QPalette::Window); }

void GraphCanvas::FitImage() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (image_.size() == pixels && image_.devicePixelRatio() == ratio) return;
    QImage fitted(pixels, QImage::Format_ARGB32_Premultiplied);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(background());
    if (!image_.isNull()) {
        QPainter painter(&fitted);
        painter.drawImage(QPointF(0, 0), image_);
    }
    image_ = fitted;
}

void GraphCanvas::Replay(const DrawCommands& commands) {
    FitImage();
    Painting painting(*this);
    for (const DrawCommand& command : commands) std::visit(painting, command);
    update();
}

void GraphCanvas::paintEvent(QPaintEvent*) {
    FitImage();
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image_);
}

void GraphCanvas::resizeEvent(QResizeEvent*) { FitImage(); }

void GraphCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void GraphCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) Q_EMIT clicked();
}

}  // namespace veldorin
