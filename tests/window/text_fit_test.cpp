// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <functional>

#include "results/results_list.h"
#include "spins/spin_editors.h"
#include "tests/support/window_fixture.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

// Each control is asked what its texts need: FirstClippedOf gives a text a control cannot
// show whole, or nothing. The suite runs again under QT_SCALE_FACTOR, where Qt lays text
// out unhinted, so scaled screens are measured by the same questions.

// The width a label asks for; spaces after the last word of a text aligned left take no
// room anyone sees, so it is asked without them.
int WidthAskedBy(const QLabel& label) {
    static const QRegularExpression kTrailingSpaces(QStringLiteral(" +$"));
    if (label.wordWrap() || !(label.alignment() & Qt::AlignLeft) ||
        !label.text().contains(kTrailingSpaces)) {
        return label.minimumSizeHint().width();
    }
    QLabel probe(QString(label.text()).remove(kTrailingSpaces));
    probe.setFont(label.font());
    probe.setFrameStyle(label.frameStyle());
    probe.setMargin(label.margin());
    probe.setIndent(label.indent());
    return probe.minimumSizeHint().width();
}

std::optional<QString> FirstClippedOf(const QLabel& label) {
    // A wrapping label also needs the height for the lines its words take.
    const bool fits = WidthAskedBy(label) <= label.width() &&
                      (!label.wordWrap() || label.heightForWidth(label.width()) <= label.height());
    return fits ? std::nullopt : std::optional(label.text());
}

// Where the box puts its cursor; it scrolls to the cursor when it paints.
int CursorX(QLineEdit& box, qsizetype position) {
    box.setCursorPosition(static_cast<int>(position));
    box.repaint();
    return box.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// A box scrolls its text when it has no room: with the cursor at the end, the end then
// lies less than the text's width from the start.
std::optional<QString> FirstClippedOf(QLineEdit& box) {
    const int cursor = box.cursorPosition();
    const int start = CursorX(box, 0);
    const int end = CursorX(box, box.text().size());
    box.setCursorPosition(cursor);
    const int width = box.fontMetrics().horizontalAdvance(box.text());
    return end - start >= width ? std::nullopt : std::optional(box.text());
}

// A list draws the chosen item in its edit field; every item and the placeholder may be
// the one shown.
std::optional<QString> FirstClippedOf(const QComboBox& list) {
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.editable = list.isEditable();
    const QRect field = list.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, &list);
    QStringList items{list.placeholderText()};
    for (int i = 0; i < list.count(); ++i) items.append(list.itemText(i));
    for (const QString& item : items) {
        if (list.fontMetrics().horizontalAdvance(item) > field.width()) return item;
    }
    return std::nullopt;
}

std::optional<QString> FirstClippedOf(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const QRect contents =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) <= contents.width()
               ? std::nullopt
               : std::optional(button.text());
}

std::optional<QString> FirstClippedOf(const QListWidget& list) {
    if (list.sizeHintForColumn(0) <= list.viewport()->width()) return std::nullopt;
    return list.item(0)->text();
}

std::optional<QString> FirstClippedOf(QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return FirstClippedOf(*label);
    if (const auto* button = qobject_cast<const QPushButton*>(&control))
        return FirstClippedOf(*button);
    if (const auto* list = qobject_cast<const QComboBox*>(&control)) return FirstClippedOf(*list);
    // The box of an editable list is measured with the list's items.
    if (auto* box = qobject_cast<QLineEdit*>(&control);
        box != nullptr && qobject_cast<const QComboBox*>(box->parent()) == nullptr) {
        return FirstClippedOf(*box);
    }
    if (const auto* list = qobject_cast<const QListWidget*>(&control);
        list != nullptr && qobject_cast<const ResultsList*>(list) == nullptr && list->count() > 0) {
        return FirstClippedOf(*list);
    }
    return std::nullopt;
}

// A word of a label and where its ink lies in the label's parent.
struct Word {
    QString text;
    QRectF ink;
};

std::vector<Word> WordsOf(const QLabel& label) {
    const QFontMetricsF metrics(label.font());
    const QRectF area = QRectF(label.contentsRect()).translated(label.pos());
    const QString text = label.text();
    const qreal slack = area.width() - metrics.horizontalAdvance(text);
    const Qt::Alignment align = label.alignment();
    const qreal left = area.left() + (align & Qt::AlignRight     ? slack
                                      : align & Qt::AlignHCenter ? slack / 2
                                                                 : 0.0);
    const qreal baseline = area.top() + metrics.ascent();
    std::vector<Word> words;
    static const QRegularExpression kWord(QStringLiteral("\\S+"));
    for (auto match = kWord.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch word = match.next();
        const qreal x = left + metrics.horizontalAdvance(text.left(word.capturedStart()));
        const QRectF ink = metrics.tightBoundingRect(word.captured()).translated(x, baseline);
        words.push_back({word.captured(), ink});
    }
    return words;
}

class TextFit : public WindowTest {
protected:
    void ExpectEveryTextFits(const std::string& state) {
        for (QWidget* control : window_->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(window_.get()) || Unmeasured(*control)) continue;
            if (const std::optional<QString> text = FirstClippedOf(*control)) {
                ADD_FAILURE() << state << ": " << control->objectName().toStdString() << " \""
                              << text->toStdString() << "\" does not show whole";
            }
        }
        ExpectResultColumnsFit(state);
    }

    // The working directory is this machine's folder, of any length, and so are the
    // folders listed under it: a long one scrolls.
    bool Unmeasured(const QWidget& control) const {
        return &control == controls().optionsPanel->directoryBox() ||
               &control == controls().optionsPanel->directoryList();
    }

    // Each column of the results starts where the list puts it; the last ends in the list.
    void ExpectResultColumnsFit(const std::string& state) {
        const auto* list = controls().resultsList;
        const QList<qreal> stops = list->ColumnStops();
        const qreal room = list->viewport()->width() - ResultsList::kTextInset;
        const QFontMetricsF metrics(list->font());
        for (const QString& line : list->Lines()) {
            const QStringList fields = line.split('\t');
            for (qsizetype field = 0; field < fields.size(); ++field) {
                const qreal start = field == 0 ? 0.0 : stops[field - 1];
                const qreal end = field + 1 < fields.size() ? stops[field] : room;
                EXPECT_LE(start + metrics.horizontalAdvance(fields[field]), end)
                    << state << ": \"" << line.toStdString() << "\"";
            }
        }
    }

    // A control in front of a label either leaves a word of it clear or, being an opaque
    // label itself, covers the word completely: no word shows in part.
    void ExpectWordsWholeOrHidden(const std::string& state) {
        for (const QLabel* label : window_->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(window_.get()) || label->wordWrap()) continue;
            const QObjectList& siblings = label->parent()->children();
            for (const Word& word : WordsOf(*label)) {
                for (qsizetype i = siblings.indexOf(label) + 1; i < siblings.size(); ++i) {
                    const auto* front = qobject_cast<const QWidget*>(siblings[i]);
                    if (front == nullptr || !front->isVisibleTo(window_.get()) || Moving(front)) {
                        continue;
                    }
                    const QRectF place(front->geometry());
                    if (!place.intersects(word.ink)) continue;
                    const auto* cover = qobject_cast<const QLabel*>(front);
                    EXPECT_TRUE(cover != nullptr && cover->autoFillBackground() &&
                                place.contains(word.ink))
                        << state << ": \"" << word.text.toStdString() << "\" of "
                        << label->objectName().toStdString() << " is partly under "
                        << front->objectName().toStdString();
                }
            }
        }
    }

    // The letters of the word mark wander over their corner of the window.
    bool Moving(const QWidget* control) const {
        for (int i = 0; i < WordMark::kLetterCount; ++i) {
            if (control == window_->wordMark().letter(i)) return true;
        }
        return false;
    }
};

// A state of the window, reached from the one before.
struct State {
    std::string name;
    std::function<void(MainWindow&)> enter;
};

void Choose(MainWindow& window, QComboBox* WindowControls::*list, int item) {
    (window.controls().*list)->setCurrentIndex(item);
}

// The window with every text the program shows in its boxes for the start-up model:
// both tables, the array range of every parameter, the pointer readout at the graph's
// corners in every plot, and every panel and editor open.
std::vector<State> States(const MainWindow& started) {
    std::vector<State> states{
        {"start", [](MainWindow&) {}},
        {"times table", [](MainWindow& window) { window.OnTableModeClicked(); }},
        {"rates table", [](MainWindow& window) { window.OnTableModeClicked(); }},
        {"array on", [](MainWindow& window) { window.OnArrayClicked(); }},
    };
    const int parameters = started.controls().arrayParameterList->count();
    for (int parameter = 0; parameter < parameters; ++parameter) {
        states.push_back(
            {"array of parameter " + std::to_string(parameter), [parameter](MainWindow& window) {
                 Choose(window, &WindowControls::arrayParameterList, parameter);
                 window.Recalculate();
             }});
    }
    const QRectF panel = started.controls().graphCanvas->rect();
    const int plots = started.controls().plotList->count();
    for (int plot = 0; plot < plots; ++plot) {
        for (const QPointF corner :
             {panel.topLeft(), panel.topRight(), panel.bottomRight(), panel.bottomLeft()}) {
            states.push_back(
                {"readout of plot " + std::to_string(plot), [plot, corner](MainWindow& window) {
                     Choose(window, &WindowControls::plotList, plot);
                     window.Recalculate();
                     window.panels().GraphHovered(corner);
                 }});
        }
    }
    const std::vector<State> panels{
        {"nucleus menu of a neighbour",
         [](MainWindow& window) { window.spinEditors().OpenNucleusMenu(2); }},
        {"nucleus menu of the centre",
         [](MainWindow& window) { window.spinEditors().OpenNucleusMenu(kCentralSlot); }},
        {"distance box", [](MainWindow& window) { window.spinEditors().EditDistance(1); }},
        {"abundance box", [](MainWindow& window) { window.spinEditors().EditAbundance(1); }},
        {"options", [](MainWindow& window) { window.panels().Open(Panel::Options); }},
        {"about", [](MainWindow& window) { window.panels().Open(Panel::About); }},
        {"whole help", [](MainWindow& window) { window.panels().Open(Panel::Help); }},
    };
    states.insert(states.end(), panels.begin(), panels.end());
    return states;
}

TEST_F(TextFit, EveryTextShowsWholeInItsBox) {
    MainWindow& window = Started();
    for (const State& state : States(window)) {
        state.enter(window);
        ExpectEveryTextFits(state.name);
    }
}

TEST_F(TextFit, HeadingsShowEachWordWholeOrHideItBehindTheLabelOverIt) {
    MainWindow& window = Started();
    ExpectWordsWholeOrHidden("start");
    window.OnArrayClicked();
    ExpectWordsWholeOrHidden("array on");
}

}  // namespace
}  // namespace veldorin::test
