// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "options/options_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "options/directory_list.h"
#include "storage/working_directory_settler.h"
#include "tests/support/move_counting_widget.h"
#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

// A scale unlike the usual one, ten twips a pixel, so a length left unconverted shows.
const TwipScale kScale(144.0);
int Px(int twips) { return kScale.ToPixels(twips); }

using Background = test::MoveCountingWidget;

class OptionsPanelTest : public ::testing::Test {
protected:
    OptionsPanelTest() {
        work_ = root_.MakeDir("work");
        root_.MakeFile("work/table.dat");
        root_.MakeDir("work/sub dir");
        window_.resize(800, 800);
        window_.show();
        panel_->ShowWorkingDirectory(work_ + "/");
    }

    OptionsPanel* MakePanel(const QString& settingsPath) {
        return new OptionsPanel(kScale, SettingsFile(settingsPath), &window_);
    }

    // Opens an entry of the directory list as the user does, with Enter.
    void OpenInList(const QString& path, OptionsPanel* panel = nullptr) {
        DirectoryList* list = (panel != nullptr ? panel : panel_)->directoryList();
        list->setCurrentRow(static_cast<int>(PathsIn(list).indexOf(path)));
        QTest::keyClick(list, Qt::Key_Return);
    }

    static QStringList PathsIn(const DirectoryList* list) {
        QStringList paths;
        for (int row = 0; row < list->count(); ++row) {
            paths << list->item(row)->data(DirectoryList::kPathRole).toString();
        }
        return paths;
    }

    void MovePointer(QWidget* over, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, over->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(over, &move);
    }

    TempFolder root_;
    QString work_;
    QString settingsPath_ = root_.Path("VELDORIN.ini");
    Background window_;
    OptionsPanel* panel_ = MakePanel(settingsPath_);
};

TEST_F(OptionsPanelTest, StartsClosedAndOpensAtItsPlaceInTwips) {
    EXPECT_FALSE(panel_->isVisible());
    EXPECT_EQ(panel_->geometry(), QRect(Px(120), Px(0), Px(5895), Px(375)));

    panel_->Open();

    EXPECT_TRUE(panel_->isVisible());
    EXPECT_EQ(panel_->geometry(), QRect(Px(120), Px(0), Px(5895), Px(3255)));
    EXPECT_EQ(panel_->title(), QStringLiteral("Options"));
    EXPECT_EQ(panel_->directoryCaption()->text(), QStringLiteral("Directory: "));
    EXPECT_TRUE(panel_->directoryCaption()->alignment() & Qt::AlignRight);
    EXPECT_EQ(panel_->directoryCaption()->geometry(), QRect(Px(240), Px(480), Px(1035), Px(240)));
    EXPECT_EQ(panel_->directoryBox()->geometry(), QRect(Px(1440), Px(480), Px(3255), Px(300)));
    EXPECT_EQ(panel_->directoryList()->geometry(), QRect(Px(1440), Px(720), Px(3495), Px(1215)));
    EXPECT_FALSE(panel_->directoryList()->isVisible());
}

TEST_F(OptionsPanelTest, StartUpShowsTheDirectoryWithoutStoringIt) {
    EXPECT_EQ(panel_->directoryBox()->text(), work_ + "/");
    EXPECT_EQ(panel_->WorkingDirectory(), work_ + "/");
    EXPECT_EQ(panel_->directoryList()->Path(), work_);
    EXPECT_FALSE(QFileInfo::exists(settingsPath_));
}

TEST_F(OptionsPanelTest, APressOfAnyButtonInTheBoxShowsTheDirectoryList) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
        panel_->Open();
        panel_->HideDirectoryList();
        ASSERT_FALSE(panel_->directoryList()->isVisible());

        QTest::mousePress(panel_->directoryBox(), button, {}, QPoint(5, 5));
        QTest::mouseRelease(panel_->directoryBox(), button, {}, QPoint(5, 5));

        EXPECT_TRUE(panel_->directoryList()->isVisible()) << button;
    }
}

TEST_F(OptionsPanelTest, OpeningAFolderMakesItTheWorkingDirectoryAndStoresItAtOnce) {
    QSignalSpy changed(panel_, &OptionsPanel::workingDirectoryChanged);
    panel_->Open();
    panel_->ShowDirectoryList();

    OpenInList(work_ + "/sub dir");

    const QString expected = work_ + "/sub dir/";
    EXPECT_EQ(panel_->directoryBox()->text(), expected);
    EXPECT_EQ(ReadBytes(settingsPath_), expected.toUtf8() + "\r\n");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), expected);

    OpenInList(QFileInfo(work_).path());

    EXPECT_EQ(panel_->directoryBox()->text(), QFileInfo(work_).path() + "/");
    EXPECT_EQ(ReadBytes(settingsPath_), (QFileInfo(work_).path() + "/").toUtf8() + "\r\n");
    EXPECT_EQ(changed.size(), 2);
}

TEST_F(OptionsPanelTest, TheNextStartUsesTheFolderOpenedInTheList) {
    const QString program = root_.MakeDir("app");
    const WorkingDirectorySettler settler(StartupPlaces{program, QString()});
    const SettledWorkingDirectory first = settler.Settle();
    OptionsPanel* panel = MakePanel(first.settingsFilePath);
    panel->ShowWorkingDirectory(first.workingDirectory);
    panel->directoryList()->SetPath(work_);

    ASSERT_EQ(panel->StoreListedDirectory(), std::nullopt);

    EXPECT_EQ(settler.Settle().workingDirectory, work_ + "/");
}

TEST_F(OptionsPanelTest, AnUnwritableSettingsFileStillChangesTheDirectoryAndSaysWhy) {
    OptionsPanel* panel = MakePanel(root_.MakeFile("blocker") + "/VELDORIN.ini");
    QSignalSpy changed(panel, &OptionsPanel::workingDirectoryChanged);
    QSignalSpy notStored(panel, &OptionsPanel::workingDirectoryNotStored);
    panel->ShowWorkingDirectory(work_ + "/");
    panel->Open();
    panel->ShowDirectoryList();

    OpenInList(work_ + "/sub dir", panel);

    EXPECT_EQ(panel->WorkingDirectory(), work_ + "/sub dir/");
    EXPECT_EQ(changed.size(), 1);
    ASSERT_EQ(notStored.size(), 1);
    EXPECT_TRUE(notStored.at(0).at(0).toString().contains("Not a directory"));
}

TEST_F(OptionsPanelTest, TypedTextIsTheWorkingDirectoryButIsNotStored) {
    panel_->Open();
    panel_->directoryBox()->clear();

    QTest::keyClicks(panel_->directoryBox(), QStringLiteral("/elsewhere/"));

    EXPECT_EQ(panel_->WorkingDirectory(), QStringLiteral("/elsewhere/"));
    EXPECT_FALSE(QFileInfo::exists(settingsPath_));
}

TEST_F(OptionsPanelTest, PointerOverTheBackgroundHidesTheDirectoryList) {
    QSignalSpy crossed(panel_, &OptionsPanel::backgroundPointerMoved);
    panel_->Open();
    panel_->ShowDirectoryList();

    // Over the separator line, which is drawn, not a control.
    MovePointer(panel_, QPoint(Px(3000), Px(2160)));

    EXPECT_FALSE(panel_->directoryList()->isVisible());
    EXPECT_EQ(crossed.size(), 1);
    EXPECT_EQ(window_.moves, 0);
}

TEST_F(OptionsPanelTest, PointerOverAControlKeepsTheListAndStaysInThePanel) {
    QSignalSpy crossed(panel_, &OptionsPanel::backgroundPointerMoved);
    panel_->Open();
    panel_->ShowDirectoryList();

    MovePointer(panel_->directoryCaption(), panel_->directoryCaption()->rect().center());

    EXPECT_TRUE(panel_->directoryList()->isVisible());
    EXPECT_TRUE(crossed.isEmpty());
    EXPECT_EQ(window_.moves, 0);
}

}  // namespace
}  // namespace veldorin
