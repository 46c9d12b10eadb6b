// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <csignal>
#include <functional>

#include "graph_panel/graph_canvas.h"
#include "graph_panel/picture_export.h"
#include "results/results_list.h"
#include "results/table_export.h"
#include "storage/model_file.h"
#include "storage/settings_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

class DiskFault : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Started();
        folder_ = programDirectory() + "/Lumen_Forge";
    }

    QLineEdit* Weight() const { return controls().weightBoxes[0]; }
    ResultsList* List() const { return controls().resultsList; }
    QLabel* Status() const { return controls().failureLine; }

    // One digit typed in front of the first weight, as a user does: each one changes
    // the weights, and so the table, a great deal.
    void TypeDigit(char digit) {
        if (!Weight()->hasFocus()) QTest::mouseClick(Weight(), Qt::LeftButton);
        QTest::keyClick(Weight(), Qt::Key_Home);
        QTest::keyClick(Weight(), digit);
    }

    // The list shows the table of the model with the typed weight, and "table.dat"
    // holds the same lines.
    void ExpectCurrentTable(const char* row) {
        ModelTexts model = DefaultModel();
        model.weights[0] = Weight()->text().toStdString();
        EXPECT_EQ(ListLines(), EngineTableOf(model)) << row;
        EXPECT_FALSE(List()->stale()) << row;
        EXPECT_EQ(Status()->text(), "") << row;
        EXPECT_EQ(TableFileBytes(), ListLines().join("\r\n").toLatin1() + "\r\n") << row;
    }

    QString folder_;
};

struct FaultRow {
    const char* name;
    std::function<bool(const QString& folder)> breakIt;
    std::function<bool(const QString& folder)> mend;
};

bool MakeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("not a folder\n") > 0;
}

const FaultRow kFaults[] = {
    {"folder removed", [](const QString& f) { return QDir(f).removeRecursively(); },
     [](const QString& f) { return QDir().mkpath(f); }},
    {"folder replaced by an ordinary file",
     [](const QString& f) { return QDir(f).removeRecursively() && MakeFile(f); },
     [](const QString& f) { return QFile::remove(f) && QDir().mkpath(f); }},
    {"table file replaced by a folder",
     [](const QString& f) { return QFile::remove(f + "/table.dat") && QDir(f).mkdir("table.dat"); },
     [](const QString& f) { return QDir(f).rmdir("table.dat"); }},
};

TEST_F(DiskFault, AnEditOnABrokenFolderIsReportedAndTheNextAfterMendingWritesAgain) {
    for (const auto& row : kFaults) {
        Weight()->setText("0.25");
        TypeDigit('5');
        ExpectCurrentTable(row.name);
        const QStringList before = ListLines();

        ASSERT_TRUE(row.breakIt(folder_)) << row.name;
        TypeDigit('1');
        EXPECT_TRUE(List()->stale()) << row.name;
        EXPECT_EQ(Status()->toolTip(), "not recalculated: table.dat cannot be written") << row.name;
        EXPECT_TRUE(Status()->text().startsWith("not recalculated")) << row.name;
        EXPECT_EQ(ListLines(), before) << row.name << ": the old table stays, greyed";
        // A second edit on the broken folder changes nothing either.
        TypeDigit('2');
        EXPECT_TRUE(List()->stale()) << row.name;
        EXPECT_EQ(ListLines(), before) << row.name;

        ASSERT_TRUE(row.mend(folder_)) << row.name;
        TypeDigit('3');
        ExpectCurrentTable(row.name);
        EXPECT_NE(ListLines(), before) << row.name << ": the table of the last edit";
    }
}

// A file-size limit stands in for a full disk: a write beyond it fails ("File too
// large") instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(DiskFault, ASaveOnAFullDiskSaysWhyAndLeavesTheOldFileWhole) {
    const GraphCanvas* canvas = controls().graphCanvas;
    const ModelDocument model = DefaultModelDocument();
    const struct {
        const char* name;
        std::function<std::optional<QString>(const QString& path)> save;
    } writers[] = {
        {"model.veldorin", [&](const QString& path) { return WriteModelFile(path, model); }},
        {"table.dat", [&](const QString& path) { return SaveTable(ListLines(), path); }},
        {"table.csv", [&](const QString& path) { return SaveTable(ListLines(), path); }},
        {"graph.png",
         [&](const QString& path) {
             return SavePicture(canvas->picture(), canvas->image(), path);
         }},
        {"graph.svg",
         [&](const QString& path) {
             return SavePicture(canvas->picture(), canvas->image(), path);
         }},
        {"curves.csv", [&](const QString& path) { return SaveCurves(canvas->curves(), path); }},
        {"VELDORIN.ini", [](const QString& path) { return SettingsFile(path).Store("/a/b/"); }},
    };
    const testing::TempFolder folder;
    for (const auto& writer : writers) {
        const QByteArray old = "what was there before";
        const QString path = folder.MakeFile(writer.name, old);
        std::optional<QString> failure;
        {
            const FileSizeLimit fullDisk(4);
            failure = writer.save(path);
        }
        ASSERT_TRUE(failure.has_value()) << writer.name;
        EXPECT_TRUE(failure->contains("File too large")) << failure->toStdString();
        EXPECT_TRUE(failure->contains("unchanged")) << failure->toStdString();
        EXPECT_EQ(testing::ReadBytes(path), old) << writer.name;
        EXPECT_EQ(QDir(folder.Path("")).entryList(QDir::Files | QDir::Hidden).size(), 1)
            << writer.name;
        EXPECT_EQ(writer.save(path), std::nullopt) << writer.name << ": with room again";
        QFile::remove(path);
    }
}

}  // namespace
}  // namespace veldorin::test
