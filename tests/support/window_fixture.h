// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>

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

    template <class W = QWidget>
    W* Control(std::string_view name) const {
        auto* widget = FindControl<W>(*window_, name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
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
