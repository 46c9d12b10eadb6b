// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph_panel/figure_export.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "files/save_aside.h"

namespace veldorin {

namespace {

constexpr double kMillimetresPerInch = 25.4;

QFont FigureFont(double points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(points);
    return font;
}

QColor ColourOf(Rgb rgb) { return {rgb.red, rgb.green, rgb.blue}; }

// Draws a laid-out figure in device pixels, `scale` pixels to the millimetre.
class FigurePainter {
public:
    FigurePainter(QPainter& painter, const FigureLayout& figure, double scale)
        : painter_(painter), figure_(figure), scale_(scale) {}

    void Paint() {
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setRenderHint(QPainter::TextAntialiasing);
        painter_.fillRect(QRectF(At(0.0, 0.0), At(figure_.width, figure_.height)), Qt::white);
        const FigureRect& plot = figure_.plot;
        const QRectF frame(At(plot.left, plot.top), At(plot.right(), plot.bottom()));
        painter_.save();
        painter_.setClipRect(frame);
        for (const FigureMarker& marker : figure_.markers) {
            painter_.setPen(Pen(marker.colour, FigureStyle::kMarkerWidth));
            painter_.drawLine(At(marker.x, marker.top), At(marker.x, marker.bottom));
        }
        for (const FigurePolyline& curve : figure_.curves) {
            painter_.setPen(Pen(curve.colour, FigureStyle::kCurveWidth));
            QPolygonF points;
            for (const FigurePoint& point : curve.points) points << At(point.x, point.y);
            painter_.drawPolyline(points);
        }
        // A measurement: an error bar with caps and a cross at the value.
        const double half = figure_.pointWidth / 2.0;
        for (const FigurePointMark& mark : figure_.points) {
            painter_.setPen(Pen(mark.colour, FigureStyle::kPointLineWidth));
            const double x = mark.at.x;
            if (!std::isnan(mark.low)) {
                painter_.drawLine(At(x, mark.low), At(x, mark.high));
                for (double end : {mark.low, mark.high}) {
                    painter_.drawLine(At(x - half, end), At(x + half, end));
                }
            }
            painter_.drawLine(At(x - half, mark.at.y - half), At(x + half, mark.at.y + half));
            painter_.drawLine(At(x - half, mark.at.y + half), At(x + half, mark.at.y - half));
        }
        painter_.restore();
        painter_.setPen(Pen({}, FigureStyle::kFrameWidth));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(frame);
        Axes();
        Legend();
    }

private:
    QPointF At(double x, double y) const { return {x * scale_, y * scale_}; }

    QPen Pen(Rgb colour, double width) const {
        QPen pen(ColourOf(colour), width * scale_);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    }

    // Text placed by one point of its box, given by the alignment.
    void Text(const QString& text, QPointF at, Qt::Alignment alignment) {
        const double room = 1000.0 * scale_;
        QRectF box(at.x() - room / 2.0, at.y() - room / 2.0, room, room);
        if (alignment & Qt::AlignRight) box.moveRight(at.x());
        if (alignment & Qt::AlignLeft) box.moveLeft(at.x());
        if (alignment & Qt::AlignTop) box.moveTop(at.y());
        painter_.drawText(box, static_cast<int>(alignment), text);
    }

    void Axes() {
        const FigureRect& plot = figure_.plot;
        const double gap = FigureStyle::kLabelGap;
        painter_.setFont(FigureFont(FigureStyle::kTickPoints));
        for (const FigureTick& tick : figure_.xTicks) {
            const double length =
                tick.major ? FigureStyle::kMajorTickLength : FigureStyle::kMinorTickLength;
            painter_.drawLine(At(tick.at, plot.bottom()), At(tick.at, plot.bottom() - length));
            painter_.drawLine(At(tick.at, plot.top), At(tick.at, plot.top + length));
            Text(QString::fromStdString(tick.label), At(tick.at, plot.bottom() + gap),
                 Qt::AlignHCenter | Qt::AlignTop);
        }
        for (const FigureTick& tick : figure_.yTicks) {
            const double length =
                tick.major ? FigureStyle::kMajorTickLength : FigureStyle::kMinorTickLength;
            painter_.drawLine(At(plot.left, tick.at), At(plot.left + length, tick.at));
            painter_.drawLine(At(plot.right(), tick.at), At(plot.right() - length, tick.at));
            Text(QString::fromStdString(tick.label), At(plot.left - gap, tick.at),
                 Qt::AlignRight | Qt::AlignVCenter);
        }
        painter_.setFont(FigureFont(FigureStyle::kTitlePoints));
        Text(QString::fromStdString(figure_.xTitle),
             At(figure_.xTitleCentre.x, figure_.xTitleCentre.y), Qt::AlignCenter);
        painter_.save();
        painter_.translate(At(figure_.yTitleCentre.x, figure_.yTitleCentre.y));
        painter_.rotate(-90.0);
        Text(QString::fromStdString(figure_.yTitle), QPointF(0.0, 0.0), Qt::AlignCenter);
        painter_.restore();
    }

    void Legend() {
        painter_.setFont(FigureFont(FigureStyle::kLegendPoints));
        for (const FigureLegendEntry& entry : figure_.legend) {
            double x = entry.at.x;
            for (const Rgb colour : entry.swatches) {
                if (entry.mark == LegendMark::Scale) {
                    const double half = FigureStyle::kScaleHeight / 2.0;
                    painter_.fillRect(QRectF(At(x, entry.at.y - half),
                                             At(x + FigureStyle::kScaleStep, entry.at.y + half)),
                                      QColor(colour.red, colour.green, colour.blue));
                    x += FigureStyle::kScaleStep;
                    continue;
                }
                const bool curve = entry.mark == LegendMark::Curve;
                painter_.setPen(
                    Pen(colour, curve ? FigureStyle::kCurveWidth : FigureStyle::kMarkerWidth));
                painter_.drawLine(At(x, entry.at.y),
                                  At(x + FigureStyle::kSwatchLength, entry.at.y));
                x += FigureStyle::kSwatchLength + FigureStyle::kSwatchGap;
            }
            painter_.setPen(Qt::black);
            Text(QString::fromStdString(entry.text), At(entry.textLeft, entry.at.y),
                 Qt::AlignLeft | Qt::AlignVCenter);
        }
    }

    QPainter& painter_;
    const FigureLayout& figure_;
    double scale_;
};

}  // namespace

QSize FigureSize::Pixels() const {
    const double perMillimetre = dotsPerInch / kMillimetresPerInch;
    return {static_cast<int>(std::lround(width * perMillimetre)),
            static_cast<int>(std::lround(height * perMillimetre))};
}

FigureSource::FigureSource(const SampledCurves& curves, const DrawCommands& panelCommands,
                           const FigureOptions& options)
    : layOut([&curves, &panelCommands, options](double width, double height,
                                                const TextWidth& textWidth) {
          return LayOutFigure(curves, panelCommands, width, height, textWidth, options);
      }) {}

TextWidth FigureTextWidth(const QPaintDevice& device) {
    const double scale = device.logicalDpiX() / kMillimetresPerInch;
    return [&device, scale](const std::string& text, double points) {
        return QFontMetricsF(FigureFont(points), &device)
                   .horizontalAdvance(QString::fromStdString(text)) /
               scale;
    };
}

void PaintFigureLayout(QPainter& painter, const FigureLayout& figure, double pixelsPerMillimetre) {
    FigurePainter(painter, figure, pixelsPerMillimetre).Paint();
}

void PaintFigure(QPainter& painter, QPaintDevice& device, const FigureSource& source,
                 const FigureSize& size) {
    const FigureLayout figure = source.layOut(size.width, size.height, FigureTextWidth(device));
    PaintFigureLayout(painter, figure, device.logicalDpiX() / kMillimetresPerInch);
}

qint64 FigureSize::PixelCount() const {
    const QSize pixels = Pixels();
    return qint64{pixels.width()} * pixels.height();
}

QString PngSizeNote(const FigureSize& size) {
    const QSize pixels = size.Pixels();
    const QString note =
        QStringLiteral("PNG: %1 × %2 pixels").arg(pixels.width()).arg(pixels.height());
    if (size.PixelCount() <= kMaxFigurePixels) return note;
    return note + QStringLiteral(
                      ", more than the %1 million a PNG may have: choose a smaller "
                      "size or resolution, or SVG or PDF")
                      .arg(kMaxFigurePixels / 1'000'000);
}

namespace {

// The figure drawn on an image; a null image when it would have more pixels than a PNG
// may have or the memory for it could not be had.
QImage FigureImage(const FigureSource& source, const FigureSize& size) {
    if (size.PixelCount() > kMaxFigurePixels) return {};
    QImage image(size.Pixels(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    const int dotsPerMetre = static_cast<int>(std::lround(size.dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    PaintFigure(painter, image, source, size);
    return image;
}

}  // namespace

bool WriteFigurePng(const FigureSource& source, const FigureSize& size, QIODevice& device) {
    const QImage image = FigureImage(source, size);
    return !image.isNull() && image.save(&device, "PNG");
}

bool WriteFigureSvg(const FigureSource& source, const FigureSize& size, QIODevice& device) {
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setResolution(size.dotsPerInch);
    generator.setSize(size.Pixels());
    generator.setViewBox(QRect(QPoint(0, 0), size.Pixels()));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    PaintFigure(painter, generator, source, size);
    return painter.end();
}

bool WriteFigurePdf(const FigureSource& source, const FigureSize& size, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setResolution(size.dotsPerInch);
    writer.setPageSize(QPageSize(QSizeF(size.width, size.height), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    PaintFigure(painter, writer, source, size);
    return painter.end();
}

std::optional<QString> SaveFigure(const FigureSource& source, const FigureSize& size,
                                  const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "svg") {
        return SaveAside(path,
                         [&](QIODevice& device) { return WriteFigureSvg(source, size, device); });
    }
    if (suffix == "pdf") {
        return SaveAside(path,
                         [&](QIODevice& device) { return WriteFigurePdf(source, size, device); });
    }
    // Drawn before the file is touched: what cannot be drawn leaves no trace.
    const QImage image = FigureImage(source, size);
    if (image.isNull()) {
        const QSize pixels = size.Pixels();
        const QString why = size.PixelCount() > kMaxFigurePixels
                                ? QStringLiteral("a PNG may have at most %1 million pixels")
                                      .arg(kMaxFigurePixels / 1'000'000)
                                : QStringLiteral("there is not enough memory to draw it");
        return QStringLiteral(
                   "Could not write %1: the figure would be %2 × %3 pixels, and %4. A "
                   "smaller size or resolution, or SVG or PDF, can be saved. Nothing was "
                   "written.")
            .arg(path, QString::number(pixels.width()), QString::number(pixels.height()), why);
    }
    return SaveAside(path, [&](QIODevice& device) { return image.save(&device, "PNG"); });
}

}  // namespace veldorin
