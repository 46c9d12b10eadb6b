// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>

#include "measurements/measurements_controller.h"
#include "measurements/measurements_window.h"
#include "motion/motion_controller.h"
#include "motion/motion_window.h"
#include "tests/support/window_fixture.h"
#include "window/model_files.h"

namespace veldorin::test {
namespace {

using Teardown = WindowTest;

struct FocusedBoxRow {
    const char* name;
    QComboBox* WindowControls::*box;
    Qt::Key key;  // typed over the whole text: the text of another item of the list
    const char* typed;
};

// An editable list box that loses the keyboard with the text of another item in it
// reports that item as chosen; the window must not hear it while it is taken down.
const FocusedBoxRow kFocusedBoxes[] = {
    {"Rex typed as 5", &WindowControls::rexBox, Qt::Key_5, "5"},
    {"CSA typed as 0", &WindowControls::csaBox, Qt::Key_0, "0"},
};

TEST_F(Teardown, TakingTheWindowDownWithAnEditedListBoxFocusedRunsNoHandler) {
    for (const auto& row : kFocusedBoxes) {
        Started();
        QComboBox* box = controls().*row.box;
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        box->lineEdit()->selectAll();
        QTest::keyClick(box, row.key);
        ASSERT_EQ(box->currentText(), row.typed) << row.name;
        ASSERT_TRUE(box->hasFocus()) << row.name;
        int runs = 0;
        QObject::connect(window_.get(), &MainWindow::runStarted, [&runs] { ++runs; });

        window_.reset();

        EXPECT_EQ(runs, 0) << row.name;
    }
}

// A cell editor of the Measurements window commits when it loses the keyboard. Taken down
// without a close (a session ending, a signal), the window must hear that commit before
// its controls go, or not at all.
TEST_F(Teardown, TakingTheWindowDownWithAMeasurementCellBeingEditedRunsNoHandler) {
    Started();
    ASSERT_EQ(window_->modelFiles().Open(VELDORIN_MODEL_FREE_EXAMPLE), std::nullopt);
    window_->OpenMeasurementsWindow();
    MeasurementsWindow& measurements = window_->measurementsWindow();
    QApplication::setActiveWindow(&measurements);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&measurements));
    QTableView& table = *measurements.table();
    const QPoint value = table.visualRect(table.model()->index(0, 2)).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, value);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, value);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(table.isAncestorOf(editor));
    QTest::keyClicks(editor, "1");
    int runs = 0;
    QObject::connect(window_.get(), &MainWindow::runStarted, [&runs] { ++runs; });

    window_.reset();

    EXPECT_EQ(runs, 0);
}

// The tool windows and their controllers act on the controls: they end while the controls
// are whole.
TEST_F(Teardown, TheToolWindowsEndBeforeTheControls) {
    Started();
    const QPointer<QWidget> control = controls().rexBox;
    QObject* const tools[] = {&window_->measurementsWindow(),
                              window_->measurementsWindow().findChild<MeasurementsController*>(),
                              &window_->motionWindow(),
                              window_->motionWindow().findChild<MotionController*>()};
    int endedBeforeTheControls = 0;
    for (QObject* tool : tools) {
        ASSERT_NE(tool, nullptr);
        QObject::connect(tool, &QObject::destroyed,
                         [&] { endedBeforeTheControls += !control.isNull(); });
    }

    window_.reset();

    EXPECT_EQ(endedBeforeTheControls, 4);
}

}  // namespace
}  // namespace veldorin::test
