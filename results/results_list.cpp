// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/results_list.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <algorithm>
#include <array>

namespace veldorin {

namespace {

// One row every 195 twips keeps the rows level with the colour marks beside the list.
constexpr int kRowTwips = 195;
// Column starts after the first, in twips from the text's left edge.
constexpr std::array<int, 4> kTabStops{630, 1215, 2010, 2730};

class TabbedLineDelegate : public QStyledItemDelegate {
public:
    TabbedLineDelegate(const TwipScale& scale, ResultsList* list)
        : QStyledItemDelegate(list), scale_(scale), list_(*list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        if (selected) painter->fillRect(option.rect, option.palette.color(QPalette::Highlight));
        const QPalette::ColorGroup group = list_.stale() ? QPalette::Disabled : QPalette::Active;
        const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::Text;

        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        layout.setTabArray(list_.ColumnStops());
        layout.setWrapMode(QTextOption::NoWrap);
        painter->save();
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, role));
        painter->drawText(option.rect.adjusted(ResultsList::kTextInset, 0, 0, 0),
                          index.data(Qt::DisplayRole).toString(), layout);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), scale_.ToPixels(kRowTwips)};
    }

private:
    TwipScale scale_;
    const ResultsList& list_;
};

}  // namespace

ResultsList::ResultsList(const TwipScale& scale, QWidget* parent)
    : QListWidget(parent), scale_(scale) {
    setItemDelegate(new TabbedLineDelegate(scale, this));
    setUniformItemSizes(true);
    // The columns are laid out to fit the list's width.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ResultsList::AppendLine(const std::string& line) {
    addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
}

QStringList ResultsList::Lines() const {
    QStringList lines;
    for (int row = 0; row < count(); ++row) lines.append(item(row)->text());
    return lines;
}

QList<qreal> ResultsList::ColumnStops() const {
    const QStringList lines = Lines();
    if (!measuredStops_ || measuredStops_->lines != lines || measuredStops_->font != font()) {
        measuredStops_ = MeasuredStops{lines, font(), MeasureColumnStops(lines)};
    }
    return measuredStops_->stops;
}

QList<qreal> ResultsList::MeasureColumnStops(const QStringList& lines) const {
    QList<qreal> stops;
    // Room between a field and the next column, so that numbers never touch.
    const qreal gap = scale_.ToPixelsExact(60);
    const QFontMetricsF metrics(font());
    qreal start = 0.0;
    for (std::size_t column = 0; column < kTabStops.size(); ++column) {
        qreal next = scale_.ToPixelsExact(kTabStops[column]);
        const auto field = static_cast<int>(column);
        for (const QString& line : lines) {
            const qreal width =
                metrics.horizontalAdvance(line.section(QLatin1Char('\t'), field, field));
            next = std::max(next, start + width + gap);
        }
        stops.append(next);
        start = next;
    }
    return stops;
}

void ResultsList::SetRowTooltips(const RowContributionTexts& texts) {
    for (std::size_t row = 0; row < texts.size(); ++row) {
        QListWidgetItem* line = item(static_cast<int>(row) + 1);
        if (line) line->setToolTip(QString::fromStdString(texts[row]));
    }
}

void ResultsList::SetStale(bool stale) {
    // An old table's breakdown would pass for the current one.
    if (stale) {
        for (int row = 0; row < count(); ++row) item(row)->setToolTip({});
    }
    if (stale_ == stale) return;
    stale_ = stale;
    viewport()->update();
}

}  // namespace veldorin
