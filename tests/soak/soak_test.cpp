// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/numeric_text.h"
#include "graph_panel/graph_canvas.h"
#include "options/directory_list.h"
#include "results/results_list.h"
#include "spins/spin_diagram.h"
#include "tests/soak/table_oracle.h"
#include "tests/support/window_fixture.h"
#include "window/layout.h"
#include "window/word_mark.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELDORIN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELDORIN_ADDRESS_SANITIZER 1
#endif
#endif

namespace veldorin::test {
namespace {

#ifdef VELDORIN_ADDRESS_SANITIZER
// Freed memory is held back on purpose to catch late use of it, so the resident size
// says nothing about leaks; the leak checker at exit does that job.
constexpr bool kMeasureMemory = false;
#else
constexpr bool kMeasureMemory = true;
#endif

constexpr std::uint32_t kSeed = 20250611;
// Resident memory is averaged over this many actions at the start and at the end, and
// may grow by this share of its start: glyph and style caches settle early on.
constexpr int kMemoryWindow = 1000;
constexpr double kAllowedGrowth = 0.10;

// VELDORIN_SOAK_ACTIONS sets the number of actions, for a longer run by hand.
int ActionCount() {
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("VELDORIN_SOAK_ACTIONS", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : 5000;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

double Average(const std::vector<long>& values, std::size_t from, std::size_t count) {
    const auto begin = values.begin() + static_cast<std::ptrdiff_t>(from);
    return static_cast<double>(
               std::accumulate(begin, begin + static_cast<std::ptrdiff_t>(count), 0L)) /
           static_cast<double>(count);
}

// One key a user may press in a number box: a character, or an editing or moving key.
struct Keystroke {
    const char* name;
    Qt::Key key;
    char character;  // 0 for keys that type nothing
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

const Keystroke kKeys[] = {
    {"0", Qt::Key_0, '0'},
    {"1", Qt::Key_1, '1'},
    {"2", Qt::Key_2, '2'},
    {"3", Qt::Key_3, '3'},
    {"4", Qt::Key_4, '4'},
    {"5", Qt::Key_5, '5'},
    {"6", Qt::Key_6, '6'},
    {"7", Qt::Key_7, '7'},
    {"8", Qt::Key_8, '8'},
    {"9", Qt::Key_9, '9'},
    {".", Qt::Key_Period, '.'},
    {"-", Qt::Key_Minus, '-'},
    {"e", Qt::Key_E, 'e'},
    {"x", Qt::Key_X, 'x'},
    {"backspace", Qt::Key_Backspace, 0},
    {"delete", Qt::Key_Delete, 0},
    {"left", Qt::Key_Left, 0},
    {"right", Qt::Key_Right, 0},
    {"home", Qt::Key_Home, 0},
    {"end", Qt::Key_End, 0},
    {"up", Qt::Key_Up, 0},
    {"down", Qt::Key_Down, 0},
    {"select all", Qt::Key_A, 0, Qt::ControlModifier},
};

const Keystroke& KeyNamed(std::string_view name) {
    for (const Keystroke& key : kKeys) {
        if (name == key.name) return key;
    }
    throw std::invalid_argument(std::string(name));
}

// Key sequences that random typing seldom hits, each leading to a text that stands the
// check at every release and then breaks or strains the calculation.
// How the history of actions names one of a row of controls, e.g. "weight box 2".
std::string Numbered(const char* what, int index) {
    return std::string(what) + " " + std::to_string(index);
}

struct Script {
    const char* name;
    ControlOf box;  // null: the distance box, which a label opens
    std::vector<std::string_view> keys;
};

// Each script ends by typing a plain value again, so that the broken state lasts a few
// checks and not the rest of the run.
const Script kScripts[] = {
    {"distance 00",
     nullptr,
     {"select all", "1", "0", "home", "0", "home", "right", "delete", "select all", "2"}},
    {"distance 1e-30",
     nullptr,
     {"select all", "1", "3", "0", "left", "left", "e", "-", "select all", "3"}},
    {"distance 1e30",
     nullptr,
     {"select all", "1", "3", "0", "left", "left", "e", "select all", "4"}},
    {"Rex 1e39",
     Of<&WindowControls::rexBox>,
     {"select all", "1", "3", "9", "left", "left", "e", "select all", "2"}},
    {"CSA 1e30",
     Of<&WindowControls::csaBox>,
     {"select all", "1", "3", "0", "left", "left", "e", "select all", "9"}},
    {"CSA -1e20",
     Of<&WindowControls::csaBox>,
     {"select all", "1", "2", "0", "left", "left", "e", "home", "-", "select all", "5"}},
    {"time 1e3", Of<&WindowControls::timeBoxes, 2>, {"select all", "1", "3", "left", "e"}},
    {"time 1e-40",
     Of<&WindowControls::timeBoxes, 0>,
     {"select all", "1", "4", "0", "left", "left", "e", "-", "select all", "7", "0"}},
    {"weight 1e37",
     Of<&WindowControls::weightBoxes, 1>,
     {"select all", "1", "3", "7", "left", "left", "e", "select all", "1"}},
};

struct Snapshot {
    QStringList lines;
    bool stale = false;
};

class Soak : public WindowTest {
protected:
    std::string RexOrCsaName(const QComboBox* box) const {
        return box == controls().rexBox ? "Rex box" : "CSA box";
    }

    std::chrono::seconds TimeLimit() const override { return std::chrono::seconds(240); }

    void SetUp() override {
        WindowTest::SetUp();
        root_ = QDir::cleanPath(programDirectory());
        Started();
        // Folders the working directory may be pointed at: two that exist, one that does
        // not and one below an ordinary file.
        ASSERT_TRUE(QDir(root_).mkpath("Lumen_Forge/one"));
        ASSERT_TRUE(QDir(root_).mkpath("two"));
        QFile plain(root_ + "/plain");
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        folders_ = {root_ + "/Lumen_Forge/", root_ + "/Lumen_Forge/one/", root_ + "/two/",
                    root_ + "/two",          root_ + "/missing/",         root_ + "/plain/below/"};
        QObject::connect(window_.get(), &MainWindow::runStarted, [this] { ++runs_; });
        standardGraph_ = Graph()->geometry();
        lastWritten_ = tablePath();
        // The oracle starts where the window's calculation is after start-up.
        oracle_.Expect(*window_);
    }

    // Picks uniformly from 0..count-1.
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    QPoint PointIn(const QWidget* widget) {
        return {Pick(std::max(1, widget->width())), Pick(std::max(1, widget->height()))};
    }

    void Note(std::string what) {
        history_.push_back(std::to_string(done_) + ": " + std::move(what));
        if (history_.size() > 40) history_.pop_front();
    }

    std::string History() const {
        std::string text = "\nlast actions (seed " + std::to_string(kSeed) + "):\n";
        for (const auto& line : history_) text += "  " + line + "\n";
        return text;
    }

    QWidget* Client() const { return window_->centralWidget(); }
    GraphCanvas* Graph() const { return controls().graphCanvas; }
    SpinDiagram& Spins() const { return *window_->controls().spinDiagram; }

    // A user can click a control only where nothing covers it.
    bool Reachable(QWidget* control, QPoint at) const {
        if (!control->isVisible()) return false;
        const QWidget* top = window_->childAt(control->mapTo(window_.get(), at));
        return top == control || control->isAncestorOf(top);
    }

    bool ClickAt(QWidget* control, const std::string& name) {
        const QPoint at = PointIn(control);
        if (!Reachable(control, at)) return false;
        Note("click " + name);
        QTest::mouseClick(control, Qt::LeftButton, {}, at);
        return true;
    }

    // Clicks into the box unless it already has the keyboard, then presses one key.
    bool TypeInto(QWidget* box, QWidget* clickTarget, const std::string& name) {
        return Press(kKeys[Pick(std::size(kKeys))], box, clickTarget, name);
    }

    bool Press(const Keystroke& key, QWidget* box, QWidget* clickTarget, const std::string& name) {
        if (!box->hasFocus() && !ClickAt(clickTarget, name)) return false;
        Note(std::string("key ") + key.name + " in " + name);
        if (key.character != 0) {
            QTest::keyClick(box, key.character);
        } else {
            QTest::keyClick(box, key.key, key.modifiers);
        }
        return true;
    }

    // Opens the list of a drop-down with the keyboard and chooses a row, as a user who
    // tabbed there does.
    bool Choose(QComboBox* list, const std::string& name) {
        if (!list->isVisible() || list->count() == 0) return false;
        const int row = Pick(list->count());
        Note("choose " + list->itemText(row).toStdString() + " in " + name);
        list->setFocus();
        // Opening the list takes the keyboard from an edited Rex or CSA box, which may
        // recalculate, and so process events, with the list already open.
        ExpectPopups(true);
        QTest::keyPress(list, Qt::Key_F4);
        if (!list->view()->isVisible()) {
            ExpectPopups(false);
            ADD_FAILURE() << name << " did not open its list" << History();
            return true;
        }
        QTest::keyClick(list->view(), Qt::Key_Home);
        for (int i = 0; i < row; ++i) QTest::keyClick(list->view(), Qt::Key_Down);
        QTest::keyClick(list->view(), Qt::Key_Return);
        ExpectPopups(false);
        if (list->view()->isVisible()) ADD_FAILURE() << name << " kept its list open" << History();
        // The offscreen platform leaves no window active when a pop-up list closes; a
        // desktop gives the activation back to the window, and so does the test.
        if (!window_->isActiveWindow()) {
            window_->activateWindow();
            if (!QTest::qWaitForWindowActive(window_.get()))
                ADD_FAILURE() << "window not active again";
        }
        return true;
    }

    bool TypeInLorentzian() {
        const bool weight = Pick(2) == 0;
        const int row = Pick(kLorentzianCount);
        QWidget* box = weight ? controls().weightBoxes[row] : controls().timeBoxes[row];
        return TypeInto(box, box, Numbered(weight ? "weight box" : "time box", row));
    }

    // Plans, as the next actions, selecting the text of every weight box and typing 0:
    // the weights then sum to zero, and a run stops without touching the table.
    bool ClearWeights() {
        static constexpr Keystroke kSelectAll{"select all", Qt::Key_A, 0, Qt::ControlModifier};
        static constexpr Keystroke kZero{"0", Qt::Key_0, '0'};
        for (int i = 0; i < kLorentzianCount; ++i) {
            for (const Keystroke* key : {&kSelectAll, &kZero}) {
                planned_.push_back([this, i, key] {
                    QWidget* box = controls().weightBoxes[i];
                    return Press(*key, box, box, Numbered("weight box", i));
                });
            }
        }
        return false;
    }

    // Plans the keys of a script as the next actions.
    bool RunScript() {
        const Script& script = kScripts[Pick(std::size(kScripts))];
        const bool distance = script.box == nullptr;
        QWidget* box = distance ? controls().distanceEditor : Reached(script.box);
        // Opening the distance box is an action of its own; the keys come after it.
        bool opened = false;
        if (distance && !box->isVisible()) {
            if (!EditDistance()) return false;
            opened = true;
        }
        if (!box->isVisible()) return opened;
        Note(std::string("script ") + script.name);
        QWidget* clickTarget = box;
        if (auto* list = qobject_cast<QComboBox*>(box)) clickTarget = list->lineEdit();
        for (const std::string_view key : script.keys) {
            planned_.push_back([this, box, clickTarget, &key = KeyNamed(key), name = script.name] {
                return Press(key, box, clickTarget, name);
            });
        }
        return opened;
    }

    // A user who sees "not recalculated" types a plain value into every box whose text
    // does not read as a number the calculation can hold, and over every such label.
    bool MendBrokenInputs() {
        if (!controls().resultsList->stale()) return false;
        const auto broken = [](const QString& text) {
            try {
                ReadSingle(text.toStdString());
                return false;
            } catch (const CalculationError&) {
                return true;
            }
        };
        const auto retype = [this](QWidget* box, QWidget* clickTarget, std::string name) {
            for (const char* key : {"select all", "2"}) {
                planned_.push_back([this, box, clickTarget, name, &key = KeyNamed(key)] {
                    return Press(key, box, clickTarget, name);
                });
            }
        };
        std::size_t plannedBefore = planned_.size();
        for (int i = 0; i < kLorentzianCount; ++i) {
            QLineEdit* weight = controls().weightBoxes[i];
            QLineEdit* time = controls().timeBoxes[i];
            if (broken(weight->text())) retype(weight, weight, Numbered("weight box", i));
            if (broken(time->text())) retype(time, time, Numbered("time box", i));
        }
        for (QComboBox* box : {controls().rexBox, controls().csaBox}) {
            if (broken(box->currentText())) retype(box, box->lineEdit(), RexOrCsaName(box));
        }
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            for (const bool distance : {true, false}) {
                QLabel* label =
                    distance ? Spins().distanceLabel(slot) : Spins().abundanceLabel(slot);
                if (!label->isVisible() || !broken(label->text())) continue;
                const std::string name = Numbered(distance ? "distance" : "abundance", slot);
                planned_.push_back([this, label, name] { return ClickAt(label, name); });
                QWidget* box = distance ? controls().distanceEditor : controls().abundanceEditor;
                retype(box, box, distance ? "distance box" : "abundance box");
            }
        }
        if (planned_.size() > plannedBefore) Note("mend what does not read");
        return false;
    }

    // Opens the edit box over a shown label, or types into the box when it is open.
    bool EditSpin(bool distance) {
        QLineEdit* box = distance ? controls().distanceEditor : controls().abundanceEditor;
        if (box->isVisible())
            return TypeInto(box, box, distance ? "distance box" : "abundance box");
        std::vector<int> shown;
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            const QLabel* label =
                distance ? Spins().distanceLabel(slot) : Spins().abundanceLabel(slot);
            if (label->isVisible()) shown.push_back(slot);
        }
        if (shown.empty()) return false;
        const int slot = shown[static_cast<std::size_t>(Pick(static_cast<int>(shown.size())))];
        QLabel* label = distance ? Spins().distanceLabel(slot) : Spins().abundanceLabel(slot);
        return ClickAt(label, Numbered(distance ? "distance" : "abundance", slot));
    }

    bool EditDistance() { return EditSpin(true); }
    bool EditAbundance() { return EditSpin(false); }

    // Presses a nucleus box and, mostly, chooses an item of the menu that opens over it.
    bool ChangeNucleus() {
        const int slot = Pick(kSlotCount);
        if (!ClickAt(Spins().nucleusBox(slot), Numbered("nucleus", slot))) return false;
        auto* menu = controls().nucleusMenu;
        if (!menu->isVisible()) {
            ADD_FAILURE() << "no nucleus menu over slot " << slot << History();
            return true;
        }
        if (Pick(5) > 0) Choose(menu, "the nucleus menu");
        return true;
    }

    bool TypeInRexOrCsa() {
        QComboBox* box = Pick(2) == 0 ? controls().rexBox : controls().csaBox;
        return TypeInto(box, box->lineEdit(), RexOrCsaName(box));
    }

    bool ChooseRexOrCsa() {
        QComboBox* box = Pick(2) == 0 ? controls().rexBox : controls().csaBox;
        return Choose(box, RexOrCsaName(box));
    }

    bool ChooseMenuItem() {
        const QList<QAction*> items = window_->menuBar()->actions();
        QAction* item = items.at(Pick(static_cast<int>(items.size())));
        Note("menu " + item->objectName().toStdString());
        item->trigger();
        return true;
    }

    bool MoveAnywhere() {
        const QPoint at = PointIn(Client());
        Note("move to " + std::to_string(at.x()) + "," + std::to_string(at.y()));
        QTest::mouseMove(Client(), at);
        return true;
    }

    // A move onto a control picked by name, so that small ones get their share.
    bool MoveOverControl() {
        std::vector<std::pair<std::string, QWidget*>> shown;
        for (QWidget* control : window_->centralWidget()->findChildren<QWidget*>()) {
            const std::string name = control->objectName().toStdString();
            if (!name.empty() && control->isVisible()) shown.emplace_back(name, control);
        }
        for (int letter = 0; letter < WordMark::kLetterCount; ++letter) {
            shown.emplace_back(Numbered("word-mark letter", letter),
                               window_->wordMark().letter(letter));
        }
        const auto& [name, control] =
            shown[static_cast<std::size_t>(Pick(static_cast<int>(shown.size())))];
        Note("move over " + name);
        QTest::mouseMove(control, PointIn(control));
        return true;
    }

    bool ToggleTableMode() { return ClickAt(controls().tableModeButton, "rates button"); }
    bool ToggleArrayMode() { return ClickAt(controls().arrayButton, "array button"); }
    bool ChoosePlot() { return Choose(controls().plotList, "graph option list"); }
    bool ChooseArrayParameter() {
        return Choose(controls().arrayParameterList, "array parameter list");
    }
    bool ClickGraph() { return ClickAt(Graph(), "graph"); }

    // Keys in the directory box redirect "table.dat"; a text that leads out of the
    // test's folder is put back before any recalculation can use it.
    bool TypeInDirectoryBox() {
        QLineEdit* box = controls().optionsPanel->directoryBox();
        if (!box->isVisible()) return false;
        if (Pick(2) == 0) {
            const QString folder = folders_.at(Pick(static_cast<int>(folders_.size())));
            if (!box->hasFocus() && !ClickAt(box, "directory box")) return false;
            Note("type " + folder.toStdString() + " into the directory box");
            box->selectAll();
            QTest::keyClicks(box, folder);
            return true;
        }
        if (!TypeInto(box, box, "directory box")) return false;
        const QString file =
            QDir::cleanPath(QString::fromStdString(TableFilePath(box->text().toStdString())));
        if (!file.startsWith(root_ + "/")) {
            Note("put the directory box back");
            box->setText(folders_.front());
        }
        return true;
    }

    // Opens a folder inside the test's folder in the directory list, by keyboard.
    bool OpenFolderInList() {
        DirectoryList* list = controls().optionsPanel->directoryList();
        if (!list->isVisible()) return false;
        std::vector<QListWidgetItem*> inside;
        for (int row = 0; row < list->count(); ++row) {
            const QString path = list->item(row)->data(DirectoryList::kPathRole).toString();
            if (path == root_ || path.startsWith(root_ + "/")) inside.push_back(list->item(row));
        }
        if (inside.empty()) return false;
        QListWidgetItem* item =
            inside[static_cast<std::size_t>(Pick(static_cast<int>(inside.size())))];
        Note("open " + item->data(DirectoryList::kPathRole).toString().toStdString() + " in Dir1");
        list->setFocus();
        list->setCurrentItem(item);
        QTest::keyClick(list, Qt::Key_Return);
        return true;
    }

    Snapshot Snap() const { return {ListLines(), controls().resultsList->stale()}; }

    static bool Writable(const QString& filePath) {
        const QFileInfo file(filePath);
        return QFileInfo(file.path()).isDir() && !file.isDir();
    }

    // After a recalculation: the list, its mark and "table.dat" agree with what the
    // engine makes of the inputs the window shows.
    testing::AssertionResult CheckTable(const Snapshot& before) {
        const ExpectedTable expected = oracle_.Expect(*window_);
        const Snapshot after = Snap();
        const QString said = controls().failureLine->toolTip();
        const bool writable = Writable(expected.filePath);
        auto failure = [&](const char* what) {
            return testing::AssertionFailure()
                   << what << "; list stale " << after.stale << ", status \"" << said.toStdString()
                   << "\", table file " << expected.filePath.toStdString();
        };
        auto reported = [&](FailureReason reason) {
            return after.stale && said == QStringLiteral("not recalculated: ") +
                                              QString::fromLatin1(Describe(reason));
        };
        switch (expected.status) {
            case RunOutcome::Status::Stopped:
                if (after.lines != before.lines || after.stale != before.stale) {
                    return failure("a run stopped by the weights changed the list");
                }
                ++outcomes_["stopped by the weights"];
                break;
            case RunOutcome::Status::Completed:
                if (!writable) {
                    if (!reported(FailureReason::FileNotWritable))
                        return failure("unwritable file not reported");
                    if (after.lines != before.lines)
                        return failure("the list changed without its file");
                    ++outcomes_[std::string(Describe(FailureReason::FileNotWritable))];
                    break;
                }
                if (after.stale) return failure("complete table marked stale");
                if (after.lines != expected.lines)
                    return failure("the list is not the engine's table");
                lastWritten_ = expected.filePath;
                ++outcomes_["complete"];
                break;
            case RunOutcome::Status::Failed: {
                const FailureReason reason = expected.failedAfterOpening && !writable
                                                 ? FailureReason::FileNotWritable
                                                 : *expected.failure;
                if (!reported(reason)) {
                    return failure(
                        (std::string("failure not reported: ") + std::string(Describe(reason)))
                            .c_str());
                }
                ++outcomes_[std::string(Describe(reason))];
                break;
            }
        }
        if (!after.stale) {
            QFile file(lastWritten_);
            if (!file.open(QIODevice::ReadOnly))
                return failure("table.dat of the shown table is gone");
            if (file.readAll() != after.lines.join("\r\n").toLatin1() + "\r\n") {
                return failure("table.dat differs from the list");
            }
        }
        return testing::AssertionSuccess();
    }

    // What holds after any action: one editor at most, one panel at most, and the graph
    // in its standard place unless it is enlarged.
    testing::AssertionResult CheckWindow() const {
        int editors = 0;
        for (const QWidget* editor : std::initializer_list<const QWidget*>{
                 controls().nucleusMenu, controls().distanceEditor, controls().abundanceEditor})
            editors += editor->isVisible();
        if (editors > 1) return testing::AssertionFailure() << editors << " editors open";
        const int panels = controls().optionsPanel->isVisible() +
                           controls().theoryPage->isVisible() + controls().aboutList->isVisible() +
                           (controls().helpList->y() == 0);
        if (panels > 1) return testing::AssertionFailure() << panels << " panels open";
        const bool enlarged = window_->state().graphEnlarged;
        if (enlarged != (Graph()->geometry() != standardGraph_)) {
            return testing::AssertionFailure()
                   << "graph in its enlarged place: " << (Graph()->geometry() != standardGraph_)
                   << ", held as enlarged: " << enlarged;
        }
        return testing::AssertionSuccess();
    }

    struct Action {
        int weight;
        bool (Soak::*run)();
    };

    // How often each kind of action comes up, relative to the others.
    static constexpr Action kActions[] = {
        {12, &Soak::TypeInLorentzian},    {7, &Soak::EditDistance},
        {7, &Soak::EditAbundance},        {4, &Soak::ChangeNucleus},
        {6, &Soak::TypeInRexOrCsa},       {2, &Soak::ChooseRexOrCsa},
        {3, &Soak::ChooseMenuItem},       {8, &Soak::MoveAnywhere},
        {6, &Soak::MoveOverControl},      {2, &Soak::ToggleTableMode},
        {2, &Soak::ToggleArrayMode},      {2, &Soak::ChoosePlot},
        {2, &Soak::ChooseArrayParameter}, {3, &Soak::ClickGraph},
        {3, &Soak::TypeInDirectoryBox},   {1, &Soak::OpenFolderInList},
        {1, &Soak::ClearWeights},         {2, &Soak::RunScript},
        {2, &Soak::MendBrokenInputs},
    };

    bool RunRandomAction() {
        if (!planned_.empty()) {
            const std::function<bool()> next = std::move(planned_.front());
            planned_.pop_front();
            return next();
        }
        static const int total =
            std::accumulate(std::begin(kActions), std::end(kActions), 0,
                            [](int sum, const Action& a) { return sum + a.weight; });
        int ticket = Pick(total);
        for (const Action& action : kActions) {
            if (ticket < action.weight) return (this->*action.run)();
            ticket -= action.weight;
        }
        return false;
    }

    static int CountWidgets() { return static_cast<int>(QApplication::allWidgets().size()); }

    std::mt19937 random_{kSeed};
    QString root_;
    QStringList folders_;
    std::uint64_t runs_ = 0;
    int done_ = 0;
    std::deque<std::string> history_;
    std::deque<std::function<bool()>> planned_;  // actions that go before any random one
    QRect standardGraph_;
    QString lastWritten_;
    TableOracle oracle_;
    std::map<std::string, int> outcomes_;  // how the checked recalculations ended
};

TEST_F(Soak, RandomUserActionsKeepListFileAndMemoryInOrder) {
    const int count = ActionCount();
    std::vector<long> resident;
    resident.reserve(static_cast<std::size_t>(count));
    int widgetsHalfway = 0;
    std::uint64_t recalculations = 0;
    while (done_ < count) {
        const std::uint64_t runsBefore = runs_;
        const Snapshot before = Snap();
        if (!RunRandomAction()) continue;
        if (HasFailure()) FAIL() << History();
        if (runs_ != runsBefore) {
            ++recalculations;
            ASSERT_TRUE(CheckTable(before)) << History();
        }
        ASSERT_TRUE(CheckWindow()) << History();
        resident.push_back(ResidentKilobytes());
        if (++done_ == count / 2) widgetsHalfway = CountWidgets();
    }

    EXPECT_GT(recalculations, static_cast<std::uint64_t>(count / 4))
        << "too few actions recalculated";
    // Pop-up lists are made the first time they open; after that nothing may pile up.
    EXPECT_LE(CountWidgets(), widgetsHalfway + 5) << "widgets pile up";
    if (kMeasureMemory && count >= 2 * kMemoryWindow) {
        const double first = Average(resident, 0, kMemoryWindow);
        const double last = Average(resident, resident.size() - kMemoryWindow, kMemoryWindow);
        EXPECT_LT(last, first * (1.0 + kAllowedGrowth))
            << "resident memory grew from " << first << " kB to " << last << " kB";
        std::printf(
            "soak: resident memory %.0f kB over the first %d actions, %.0f kB over the last\n",
            first, kMemoryWindow, last);
    }
    std::printf("soak: %d actions, %llu of them recalculated\n", count,
                static_cast<unsigned long long>(recalculations));
    for (const auto& [outcome, times] : outcomes_)
        std::printf("soak:   %5d %s\n", times, outcome.c_str());
}

}  // namespace
}  // namespace veldorin::test
