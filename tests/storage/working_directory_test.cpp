// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/working_directory.h"

#include <gtest/gtest.h>

#include <QDir>
#include <functional>
#include <ostream>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::TempFolder;

TEST(WorkingDirectoryText, EndsWithExactlyOneSeparator) {
    EXPECT_EQ(WorkingDirectoryText(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WorkingDirectoryText(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WorkingDirectoryText(QStringLiteral("/a//b/./c/../")), QStringLiteral("/a/b/"));
    EXPECT_EQ(WorkingDirectoryText(QStringLiteral("/")), QStringLiteral("/"));
}

// Each row builds a folder (or not) and gives the stored text that names it.
struct CheckRow {
    const char* name;
    std::function<QString(const TempFolder&)> storedText;
    bool accepted;
};

void PrintTo(const CheckRow& row, std::ostream* out) { *out << row.name; }

class CheckingAStoredDirectory : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CheckingAStoredDirectory, AcceptsOnlyAnAbsoluteFolderWithAnOrdinaryFile) {
    const TempFolder folder;
    EXPECT_EQ(IsAcceptedWorkingDirectory(GetParam().storedText(folder)), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, CheckingAStoredDirectory,
    ::testing::Values(
        CheckRow{"holds_a_file",
                 [](const TempFolder& f) {
                     f.MakeFile("w/table.dat");
                     return f.Path("w/");
                 },
                 true},
        CheckRow{"without_final_separator",
                 [](const TempFolder& f) {
                     f.MakeFile("w/table.dat");
                     return f.Path("w");
                 },
                 true},
        CheckRow{"hidden_and_ordinary_file",
                 [](const TempFolder& f) {
                     f.MakeFile("w/.hidden");
                     f.MakeFile("w/notes");
                     return f.Path("w/");
                 },
                 true},
        CheckRow{"deleted", [](const TempFolder& f) { return f.Path("gone/"); }, false},
        CheckRow{"empty", [](const TempFolder& f) { return f.MakeDir("w") + "/"; }, false},
        CheckRow{"only_subdirectories",
                 [](const TempFolder& f) {
                     f.MakeFile("w/sub/deep.dat");
                     f.MakeDir("w/other");
                     return f.Path("w/");
                 },
                 false},
        CheckRow{"only_hidden_files",
                 [](const TempFolder& f) {
                     f.MakeFile("w/.settings");
                     f.MakeFile("w/.cache");
                     return f.Path("w/");
                 },
                 false},
        CheckRow{"names_a_file", [](const TempFolder& f) { return f.MakeFile("table.dat") + "/"; },
                 false},
        CheckRow{"relative_path",
                 [](const TempFolder& f) {
                     f.MakeFile("w/table.dat");
                     return QDir::current().relativeFilePath(f.Path("w"));
                 },
                 false},
        CheckRow{"empty_text", [](const TempFolder&) { return QString(); }, false}),
    [](const ::testing::TestParamInfo<CheckRow>& info) { return info.param.name; });

TEST(EnterWorkingDirectory, MakesAnExistingFolderCurrentAndRefusesAMissingOne) {
    const TempFolder folder;
    const QString before = QDir::currentPath();
    const QString target = folder.MakeDir(QStringLiteral("work dir"));

    EXPECT_FALSE(EnterWorkingDirectory(folder.Path("missing/")));
    EXPECT_EQ(QDir::currentPath(), before);

    EXPECT_TRUE(EnterWorkingDirectory(WorkingDirectoryText(target)));
    EXPECT_EQ(QDir::currentPath(), QDir(target).canonicalPath());

    QDir::setCurrent(before);
}

}  // namespace
}  // namespace veldorin
