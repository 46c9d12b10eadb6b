// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAccessible>
#include <QCheckBox>
#include <QSet>
#include <QTreeWidget>
#include <functional>

#include "measurements/fit_panel.h"
#include "measurements/measurements_window.h"
#include "measurements/model_ranking_panel.h"
#include "measurements/monte_carlo_panel.h"
#include "motion/motion_window.h"
#include "protein_window/protein_window.h"
#include "tests/support/window_fixture.h"
#include "window/model_files.h"
#include "window/word_mark.h"

namespace veldorin::test {
namespace {

// What takes input or shows a result; a label showing nothing yet says what it will show.
const QSet<QAccessible::Role> kNamedRoles{
    QAccessible::EditableText, QAccessible::ComboBox, QAccessible::PushButton, QAccessible::List,
    QAccessible::Table,        QAccessible::Tree,     QAccessible::Chart,
};

// Every unnamed control under the interface, hidden ones included, by its class.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
    const QAccessible::Role role = node->role();
    if (node->text(QAccessible::Name).trimmed().isEmpty() &&
        (kNamedRoles.contains(role) ||
         (role == QAccessible::StaticText && node->text(QAccessible::Description).isEmpty()))) {
        unnamed << node->object()->metaObject()->className() + node->object()->objectName();
    }
    for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed);
}

const auto Spoken = &QAccessible::queryAccessibleInterface;

// The named labels under `root` whose text a screen reader would not read.
QStringList Unread(const QWidget& root) {
    QStringList unread;
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (!label->accessibleName().isEmpty() && !label->text().isEmpty() &&
            Spoken(label)->text(QAccessible::Description) != label->text())
            unread << label->accessibleName();
    }
    return unread;
}

class Accessibility : public WindowTest {};

// In the main window and in the tool windows beside it.
TEST_F(Accessibility, EveryControlThatTakesInputOrShowsAResultIsNamed) {
    QStringList unnamed;
    QList<QWidget*> windows = Started().findChildren<QWidget*>();
    windows << window_.get();
    for (QWidget* shown : windows) {
        if (!shown->isWindow() || shown->windowType() == Qt::Popup) continue;
        CollectUnnamed(QAccessible::queryAccessibleInterface(shown), unnamed);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
}

// Results are read, not only named, after each change that shows new ones. (Offscreen,
// Qt has no platform accessibility and sends screen readers no change events to watch.)
TEST_F(Accessibility, ResultsAreReadAsTheyChange) {
    Started();
    ASSERT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
    window_->OpenMeasurementsWindow();
    const MeasurementsWindow& measurements = window_->measurementsWindow();
    FitPanel& fit = *measurements.fitPanel();
    ModelRankingPanel& ranking = *measurements.rankingPanel();
    MonteCarloPanel& monteCarlo = *measurements.monteCarloPanel();
    MotionWindow& motion = window_->motionWindow();
    const struct {
        const char* name;
        std::function<void()> change;
    } changes[] = {
        {"fit",
         [&fit] {
             fit.freeBox(MotionParameter::S2)->setChecked(true);
             fit.fitButton()->click();
         }},
        {"rank", [&ranking] { ranking.rankButton()->click(); }},
        {"Monte Carlo", [&monteCarlo] { Q_EMIT monteCarlo.cancelButton()->clicked(); }},
        {"motion with a problem",
         [&motion] { Paste(motion.parameterBox(MotionParameter::TauM), QStringLiteral("-1")); }},
    };
    for (const auto& c : changes) {
        c.change();
        for (const QWidget* root :
             std::initializer_list<const QWidget*>{&fit, &ranking, &monteCarlo, &motion}) {
            EXPECT_EQ(Unread(*root), QStringList()) << c.name;
        }
    }
    QTreeWidget& list = *ranking.rankingList();
    list.setCurrentItem(list.topLevelItem(list.topLevelItemCount() - 1));
    EXPECT_TRUE(
        Spoken(&list)->text(QAccessible::Description).contains(list.currentItem()->text(0)));
}

// An editable list is announced by its name; its text is its value, the line edit's too.
TEST_F(Accessibility, ListsSayTheirNamesAndGiveTheirTextsAsValues) {
    Started();
    const std::pair<const char*, ControlOf> lists[] = {{"Rex", Of<&WindowControls::rexBox>},
                                                       {"CSA", Of<&WindowControls::csaBox>}};
    for (const auto& [name, control] : lists) {
        auto* list = static_cast<QComboBox*>(Reached(control));
        const QString typed = list->currentText() + QStringLiteral("5");
        Paste(list->lineEdit(), typed);
        QAccessibleInterface* spoken = Spoken(list);
        QAccessibleInterface* box = Spoken(list->lineEdit());
        EXPECT_EQ(spoken->role(), QAccessible::ComboBox) << name;
        EXPECT_EQ(spoken->text(QAccessible::Name), list->accessibleName()) << name;
        EXPECT_EQ(spoken->text(QAccessible::Value), typed) << name;
        EXPECT_EQ(spoken->focusChild(), box) << name;
        EXPECT_EQ(box->text(QAccessible::Name), list->accessibleName()) << name;
        EXPECT_EQ(box->text(QAccessible::Value), typed) << name;
    }
}

// The word mark's letters are one element, read as its words, found where they stand;
// every window is a window.
TEST_F(Accessibility, TheWordMarkIsOneElementAndEveryWindowAWindow) {
    const WordMark& mark = Started().wordMark();
    QString words;
    QSet<QObject*> letters;
    for (int i = 0; i < WordMark::kLetterCount; ++i) {
        words += mark.letter(i)->text();
        letters << mark.letter(i);
    }
    QAccessibleInterface* surface = Spoken(mark.letter(0)->parentWidget());
    QList<QAccessibleInterface*> wholes;
    for (int i = 0; i < surface->childCount(); ++i) {
        QAccessibleInterface* child = surface->child(i);
        EXPECT_FALSE(letters.contains(child->object())) << "a letter on its own";
        if (child->text(QAccessible::Name).remove(' ') == words) wholes << child;
    }
    ASSERT_EQ(wholes.size(), 1);
    const QPoint onLetter = mark.letter(3)->mapToGlobal(mark.letter(3)->rect().center());
    EXPECT_EQ(surface->childAt(onLetter.x(), onLetter.y()), wholes.front());
    for (QWidget* shown : std::initializer_list<QWidget*>{window_.get(), &window_->motionWindow(),
                                                          &window_->measurementsWindow(),
                                                          &window_->proteinWindow()}) {
        EXPECT_EQ(Spoken(shown)->role(), QAccessible::Window) << shown->objectName().toStdString();
    }
}

}  // namespace
}  // namespace veldorin::test
