// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/window_fixture.h"

#include <QFile>
#include <QTest>

#include "results/results_list.h"
#include "run_phases/run_phases.h"
#include "tests/support/recording_sink.h"
#include "ui/spoken_interfaces.h"

namespace veldorin::test {

void WindowTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    watchdog_.emplace(std::string(info->test_suite_name()) + "." + info->name(), TimeLimit());
    ASSERT_TRUE(programDirectory_.isValid());
    // As the program does before its first window.
    InstallSpokenInterfaces();
}

void WindowTest::TearDown() {
    window_.reset();
    watchdog_.reset();
}

MainWindow& WindowTest::Constructed() {
    window_ = std::make_unique<MainWindow>();
    return *window_;
}

MainWindow& WindowTest::Started() {
    Constructed().Start({programDirectory(), {}});
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    return *window_;
}

QByteArray WindowTest::TableFileBytes() const {
    QFile file(tablePath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << tablePath().toStdString();
    return file.readAll();
}

QStringList WindowTest::ListLines() const { return controls().resultsList->Lines(); }

QStringList WindowTest::DefaultTable(TableMode mode) {
    ModelTexts model = DefaultModel();
    model.tableMode = mode;
    return EngineTableOf(model);
}

QStringList EngineTableOf(const ModelTexts& model) {
    RecordingSink sink;
    RunPhases().RunTable(model, GraphSettings{}, sink);
    QStringList lines;
    for (const std::string& line : sink.lines) lines.append(QString::fromStdString(line));
    return lines;
}

}  // namespace veldorin::test
