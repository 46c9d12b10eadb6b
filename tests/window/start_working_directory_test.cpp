// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "options/directory_list.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

class StartWorkingDirectory : public WindowTest {
protected:
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }
    QString DataFolder() const { return programDirectory() + "/Lumen_Forge/"; }
    QString SettingsPath() const { return DataFolder() + "VELDORIN.ini"; }
    QString ShownDirectory() const { return controls().optionsPanel->directoryBox()->text(); }
    static QString Canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    void Start(const StartupPlaces& places) {
        Constructed().Start(places);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void Recalculate() { QTest::mouseClick(controls().tableModeButton, Qt::LeftButton); }

    QTemporaryDir elsewhere_;
};

TEST_F(StartWorkingDirectory, TheFirstStartMakesTheDataFolderItsWorkingDirectory) {
    Start({programDirectory(), {}});
    EXPECT_EQ(ShownDirectory(), DataFolder());
    EXPECT_EQ(Bytes(SettingsPath()), DataFolder().toLocal8Bit() + "\r\n");
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "table.dat"));
    EXPECT_EQ(QDir(DataFolder()).entryList(QDir::Files),
              QStringList({"table.dat", "VELDORIN.ini"}));
    EXPECT_EQ(Canonical(QDir::currentPath()), Canonical(DataFolder()));
}

TEST_F(StartWorkingDirectory, AStoredFolderThatHoldsAFileIsUsedAndKept) {
    const QString stored = elsewhere_.path() + "/";
    Write(stored + "notes.txt", "x");
    ASSERT_TRUE(QDir().mkpath(DataFolder()));
    Write(SettingsPath(), stored.toLocal8Bit() + "\r\n");

    Start({programDirectory(), {}});

    EXPECT_EQ(ShownDirectory(), stored);
    EXPECT_TRUE(QFileInfo::exists(stored + "table.dat"));
    EXPECT_FALSE(QFileInfo::exists(DataFolder() + "table.dat"));
    EXPECT_EQ(Bytes(SettingsPath()), stored.toLocal8Bit() + "\r\n");
}

TEST_F(StartWorkingDirectory, AStoredFolderThatIsGoneGivesWayToTheDefault) {
    ASSERT_TRUE(QDir().mkpath(DataFolder()));
    Write(SettingsPath(), elsewhere_.path().toLocal8Bit() + "/gone/\r\n");

    Start({programDirectory(), {}});

    EXPECT_EQ(ShownDirectory(), DataFolder());
    EXPECT_EQ(Bytes(SettingsPath()), DataFolder().toLocal8Bit() + "\r\n");
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "table.dat"));
}

TEST_F(StartWorkingDirectory, TypedTextRedirectsTheTableButIsNotStored) {
    Start({programDirectory(), {}});
    const QByteArray settings = Bytes(SettingsPath());
    const QString typed = elsewhere_.path() + "/";
    auto* box = controls().optionsPanel->directoryBox();
    box->clear();
    QTest::keyClicks(box, typed);

    Recalculate();

    EXPECT_TRUE(QFileInfo::exists(typed + "table.dat"));
    EXPECT_EQ(Bytes(SettingsPath()), settings);

    Constructed().Start({programDirectory(), {}});
    EXPECT_EQ(ShownDirectory(), DataFolder());
}

TEST_F(StartWorkingDirectory, AFolderOpenedInTheListIsStoredAtOnceAndUsedNextTime) {
    Start({programDirectory(), {}});
    QSignalSpy runs(window_.get(), &MainWindow::runStarted);
    window_->panels().Open(Panel::Options);
    QTest::mouseClick(controls().optionsPanel->directoryBox(), Qt::LeftButton, {}, QPoint(5, 5));
    auto* list = controls().optionsPanel->directoryList();
    ASSERT_TRUE(list->isVisible());

    // The program's folder, one of the list's ancestors.
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(DirectoryList::kPathRole).toString() == programDirectory()) {
            list->setCurrentRow(row);
        }
    }
    QTest::keyClick(list, Qt::Key_Return);

    const QString chosen = programDirectory() + "/";
    EXPECT_EQ(ShownDirectory(), chosen);
    EXPECT_EQ(Bytes(SettingsPath()), chosen.toLocal8Bit() + "\r\n");
    EXPECT_EQ(runs.count(), 0);

    Recalculate();
    ASSERT_TRUE(QFileInfo::exists(chosen + "table.dat"));
    Constructed().Start({programDirectory(), {}});
    EXPECT_EQ(ShownDirectory(), chosen);
}

TEST_F(StartWorkingDirectory, TheDataGoesToTheUsersFolderWhenTheProgramFolderIsNotItsOwn) {
    const QString blocker = programDirectory() + "/blocker";
    Write(blocker, "a file, not a folder");
    struct Row {
        const char* name;
        StartupPlaces places;
    };
    const Row rows[] = {
        {"unwritable program folder", {blocker + "/app", elsewhere_.path() + "/a"}},
        {"installed for all users", {programDirectory(), elsewhere_.path() + "/b", true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Start(row.places);

        const QString data = row.places.userDataDirectory + "/Lumen_Forge/";
        EXPECT_EQ(ShownDirectory(), data);
        EXPECT_EQ(Bytes(data + "VELDORIN.ini"), data.toLocal8Bit() + "\r\n");
        EXPECT_TRUE(QFileInfo::exists(data + "table.dat"));
        EXPECT_FALSE(QFileInfo::exists(DataFolder()));
    }
}

}  // namespace
}  // namespace veldorin::test
