// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>

#include "graph_panel/graph_canvas.h"
#include "help/theory_page.h"
#include "options/directory_box.h"
#include "options/directory_list.h"
#include "options/options_panel.h"
#include "results/results_list.h"
#include "spins/spin_diagram.h"
#include "tests/support/watchdog.h"
#include "window/main_window.h"
#include "window/panel_controller.h"

// Texts in failure messages as text, not as arrays of UTF-16 units. Found by argument-
// dependent lookup, so it lives in QString's namespace.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace veldorin::test {

// A control of the window by its objectName, as automation finds it.
template <class W = QWidget>
W* FindControl(const QWidget& window, std::string_view objectName) {
    return window.findChild<W*>(
        QString::fromUtf8(objectName.data(), static_cast<qsizetype>(objectName.size())));
}

// A control in a table of cases, by its WindowControls member: Of<&WindowControls::x>,
// or Of<&WindowControls::column, row> for one of a column.
using ControlOf = QWidget* (*)(const WindowControls&);

template <auto Member, int Row = -1>
QWidget* Of(const WindowControls& controls) {
    if constexpr (Row < 0) {
        return controls.*Member;
    } else {
        return (controls.*Member)[Row];
    }
}

// One window per test, started from a temporary program folder, so that everything
// the program writes ("Lumen_Forge", "table.dat") lands in a throw-away place.
// The lines the engine computes for a model, as the results list shows them.
QStringList EngineTableOf(const ModelTexts& model);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // How long one test may run before the watchdog ends the program.
    virtual std::chrono::seconds TimeLimit() const { return std::chrono::seconds(60); }

    // The window after the start-up sequence, shown and exposed.
    MainWindow& Started();
    // The window as constructed: hidden, nothing selected, nothing computed.
    MainWindow& Constructed();

    // The window's controls by their roles.
    const WindowControls& controls() const { return window_->controls(); }

    QWidget* Reached(ControlOf control) const { return control(controls()); }

    template <class W = QWidget>
    W* Control(std::string_view name) const {
        auto* widget = FindControl<W>(*window_, name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // What a paste with the pointer does: the box shows the text and the model holds it;
    // nothing is recalculated.
    static void Paste(QLineEdit* box, const QString& text) {
        box->setText(text);
        Q_EMIT box->textEdited(text);
    }

    // A pop-up list opened on purpose stays open while events are processed.
    void ExpectPopups(bool expected) { watchdog_->ExpectPopups(expected); }
    // A dialog the test answers stays open while events are processed.
    void ExpectDialogs(bool expected) { watchdog_->ExpectDialogs(expected); }

    QString programDirectory() const { return programDirectory_.path(); }
    QString tablePath() const { return programDirectory() + "/Lumen_Forge/table.dat"; }
    QByteArray TableFileBytes() const;
    QStringList ListLines() const;
    // The lines the engine computes for the default model in the given table mode.
    static QStringList DefaultTable(TableMode mode);

    std::unique_ptr<MainWindow> window_;

private:
    QTemporaryDir programDirectory_;
    std::optional<Watchdog> watchdog_;
};

}  // namespace veldorin::test
