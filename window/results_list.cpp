#include "results_list.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <array>

namespace veldorin {

namespace {

// One row every 195 twips keeps the rows level with the colour marks beside the list.
constexpr int kRowTwips = 195;
// Column starts after the first, in twips from the text's left edge.
constexpr std::array<int, 4> kTabStops{630, 1215, 2010, 2730};
constexpr int kTextInset = 2;  // pixels

class TabbedLineDelegate : public QStyledItemDelegate {
public:
    TabbedLineDelegate(const TwipScale& scale, ResultsList* list)
        : QStyledItemDelegate(list), scale_(scale), list_(*list) {
        for (const int stop : kTabStops) tabs_.append(scale_.ToPixelsExact(stop));
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        if (selected) painter->fillRect(option.rect, option.palette.color(QPalette::Highlight));
        const QPalette::ColorGroup group = list_.stale() ? QPalette::Disabled : QPalette::Active;
        const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::Text;

        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        layout.setTabArray(tabs_);
        layout.setWrapMode(QTextOption::NoWrap);
        painter->save();
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, role));
        painter->drawText(option.rect.adjusted(kTextInset, 0, 0, 0),
                          index.data(Qt::DisplayRole).toString(), layout);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), scale_.ToPixels(kRowTwips)};
    }

private:
    TwipScale scale_;
    const ResultsList& list_;
    QList<qreal> tabs_;
};

}  // namespace

ResultsList::ResultsList(const TwipScale& scale, QWidget* parent) : QListWidget(parent) {
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

void ResultsList::SetStale(bool stale) {
    if (stale_ == stale) return;
    stale_ = stale;
    viewport()->update();
}

}  // namespace veldorin
