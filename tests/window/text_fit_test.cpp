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

// Plain screens and scaled ones.
constexpr qreal kRatios[] = {1.0, 1.5, 2.0};

qreal WidthAt(const QFont& font, const QString& text, qreal ratio) {
    // When it scales, Qt lays text out at the logical size with hinting off and only draws
    // the glyphs larger.
    QFont laidOut(font);
    if (ratio != 1.0) laidOut.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(laidOut).horizontalAdvance(text);
}

// The width each kind of control leaves for its text, as the style lays the control out.
qreal LabelRoom(const QLabel& label) {
    // A label without a frame is indented only when an indent is set.
    return label.contentsRect().width() - 2 * label.margin() - std::max(label.indent(), 0);
}

// A line edit keeps two pixels inside its contents at either end, and shows its text
// unscrolled while the width, rounded to whole pixels, leaves one pixel for the cursor.
qreal LineEditRoom(const QLineEdit& box) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth =
        box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const QMargins margins = box.textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2 - 1;
}

qreal ComboRoom(const QComboBox& list) {
    if (list.isEditable()) return LineEditRoom(*list.lineEdit());
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.frame = list.hasFrame();
    const QRect field = list.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, &list);
    // The shown item is drawn one pixel inside the field at either end.
    return field.width() - 2;
}

qreal ButtonRoom(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
}

// A list line is drawn in its row, a focus-frame margin and one pixel in from either end.
qreal ListLineRoom(const QListWidget& list) {
    const int margin = list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    return list.visualItemRect(list.item(0)).width() - 2 * margin;
}

QStringList LabelTexts(const QLabel& label) {
    // A wrapping label puts a word that has no room beside the others on a line of its own.
    if (label.wordWrap()) return label.text().split(' ', Qt::SkipEmptyParts);
    // Spaces after the last word of a text aligned left take no room anyone sees.
    if (label.alignment() & Qt::AlignLeft) {
        static const QRegularExpression kTrailingSpaces(QStringLiteral(" +$"));
        return {QString(label.text()).remove(kTrailingSpaces)};
    }
    return {label.text()};
}

QStringList Items(const QComboBox& list) {
    QStringList items{list.currentText(), list.placeholderText()};
    for (int i = 0; i < list.count(); ++i) items.append(list.itemText(i));
    return items;
}

QStringList Lines(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i) lines.append(list.item(i)->text());
    return lines;
}

// A control's texts, the font they are drawn in and the width left for each.
struct Shown {
    QString control;
    QFont font;
    QStringList texts;
    qreal room;
    bool wholePixels = false;  // the control rounds the text's width before it compares
};

std::optional<Shown> ShownBy(const QWidget& control) {
    const QString name = control.objectName();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return Shown{name, label->font(), LabelTexts(*label), LabelRoom(*label)};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        return Shown{name, button->font(), {button->text()}, ButtonRoom(*button)};
    }
    if (const auto* list = qobject_cast<const QComboBox*>(&control)) {
        return Shown{name, list->font(), Items(*list), ComboRoom(*list), list->isEditable()};
    }
    // The box of an editable list is measured with the list's items.
    if (const auto* box = qobject_cast<const QLineEdit*>(&control);
        box != nullptr && qobject_cast<const QComboBox*>(box->parent()) == nullptr) {
        return Shown{name, box->font(), {box->text()}, LineEditRoom(*box), true};
    }
    if (const auto* list = qobject_cast<const QListWidget*>(&control);
        list != nullptr && qobject_cast<const ResultsList*>(list) == nullptr && list->count() > 0) {
        return Shown{name, list->font(), Lines(*list), ListLineRoom(*list)};
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
        for (const QWidget* control : window_->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(window_.get()) || Unmeasured(*control)) continue;
            if (const std::optional<Shown> shown = ShownBy(*control)) ExpectFits(*shown, state);
        }
        ExpectResultColumnsFit(state);
    }

    // The working directory is this machine's folder, of any length, and so are the
    // folders listed under it: a long one scrolls.
    bool Unmeasured(const QWidget& control) const {
        return &control == controls().optionsPanel->directoryBox() ||
               &control == controls().optionsPanel->directoryList();
    }

    static void ExpectFits(const Shown& shown, const std::string& state) {
        for (const qreal ratio : kRatios) {
            for (const QString& text : shown.texts) {
                const qreal width = WidthAt(shown.font, text, ratio);
                EXPECT_LE(shown.wholePixels ? qRound(width) : width, shown.room)
                    << state << ": " << shown.control.toStdString() << " \"" << text.toStdString()
                    << "\" at ratio " << ratio;
            }
        }
    }

    // Each column of the results starts where the list puts it; the last ends in the list.
    void ExpectResultColumnsFit(const std::string& state) {
        const auto* list = controls().resultsList;
        const QList<qreal> stops = list->ColumnStops();
        const qreal room = list->viewport()->width() - ResultsList::kTextInset;
        for (const qreal ratio : kRatios) {
            for (const QString& line : list->Lines()) {
                const QStringList fields = line.split('\t');
                for (qsizetype field = 0; field < fields.size(); ++field) {
                    const qreal start = field == 0 ? 0.0 : stops[field - 1];
                    const qreal end = field + 1 < fields.size() ? stops[field] : room;
                    EXPECT_LE(start + WidthAt(list->font(), fields[field], ratio), end)
                        << state << ": \"" << line.toStdString() << "\" at ratio " << ratio;
                }
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
