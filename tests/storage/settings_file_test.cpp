// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/settings_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ostream>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

struct ReadRow {
    const char* name;
    QByteArray bytes;
    SettingsReadStatus status;
    QString line;
};

void PrintTo(const ReadRow& row, std::ostream* out) { *out << row.name; }

class ReadingTheFirstLine : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadingTheFirstLine, GivesTheLineOrWhyNot) {
    const TempFolder folder;
    const ReadRow& row = GetParam();
    const SettingsFile settings(folder.MakeFile("VELDORIN.ini", row.bytes));

    const SettingsRead read = settings.ReadFirstLine();

    EXPECT_EQ(read.status, row.status);
    EXPECT_EQ(read.line, row.line);
}

const QByteArray kLongestLine = "/" + QByteArray(SettingsFile::kMaxLineBytes - 1, 'a');

INSTANTIATE_TEST_SUITE_P(
    Settings, ReadingTheFirstLine,
    ::testing::Values(
        ReadRow{"cr_lf", "/data/run/\r\n", SettingsReadStatus::Read, "/data/run/"},
        ReadRow{"lf_alone", "/data/run/\n", SettingsReadStatus::Read, "/data/run/"},
        ReadRow{"no_line_break", "/data/run/", SettingsReadStatus::Read, "/data/run/"},
        ReadRow{"later_lines_ignored", QByteArray("/a/\r\n/b/\r\n\0\xff", 11),
                SettingsReadStatus::Read, "/a/"},
        ReadRow{"blanks_kept", " /my data/ \r\n", SettingsReadStatus::Read, " /my data/ "},
        ReadRow{"non_ascii_utf8",
                "/home/zo\xc3\xab/Mes donn\xc3\xa9"
                "es/\r\n",
                SettingsReadStatus::Read, QStringLiteral(u"/home/zoë/Mes données/")},
        ReadRow{"longest_line", kLongestLine + "\r\n", SettingsReadStatus::Read,
                QString::fromLatin1(kLongestLine)},
        ReadRow{"empty_file", "", SettingsReadStatus::Empty, ""},
        ReadRow{"blank_first_line", "\r\n/a/\r\n", SettingsReadStatus::Empty, ""},
        ReadRow{"nul_byte", QByteArray("/a\0b/\r\n", 7), SettingsReadStatus::NotText, ""},
        ReadRow{"invalid_utf8", "/a\xff/\r\n", SettingsReadStatus::NotText, ""},
        ReadRow{"cut_utf8_sequence", "/caf\xc3", SettingsReadStatus::NotText, ""},
        ReadRow{"one_byte_too_long", kLongestLine + "a\r\n", SettingsReadStatus::TooLong, ""},
        ReadRow{"too_long_without_break", kLongestLine + "a", SettingsReadStatus::TooLong, ""},
        ReadRow{"huge_file", QByteArray(1 << 20, 'a'), SettingsReadStatus::TooLong, ""}),
    [](const ::testing::TestParamInfo<ReadRow>& info) { return info.param.name; });

TEST(SettingsFile, ReportsAMissingFileAndAFolderInItsPlace) {
    const TempFolder folder;
    EXPECT_EQ(SettingsFile(folder.Path("VELDORIN.ini")).ReadFirstLine().status,
              SettingsReadStatus::Missing);
    EXPECT_EQ(SettingsFile(folder.MakeDir("VELDORIN.ini")).ReadFirstLine().status,
              SettingsReadStatus::Unreadable);
}

TEST(SettingsFile, WritesOneLineWithCrLfReplacingEverything) {
    const TempFolder folder;
    const SettingsFile settings(folder.MakeFile("VELDORIN.ini", "/a/much/longer/old/line/\r\n/b/"));

    ASSERT_EQ(settings.Store(QStringLiteral("/x/")), std::nullopt);

    EXPECT_EQ(ReadBytes(settings.Path()), "/x/\r\n");
}

// Every start stores the line again; a file that holds it already is not replaced, so a
// full disk at start cannot harm it. Extra lines still go.
TEST(SettingsFile, StoringTheLineItHoldsLeavesTheFileAlone) {
    const TempFolder folder;
    const SettingsFile settings(folder.MakeFile("VELDORIN.ini", "/x/\r\n"));
    struct stat before {};
    ::stat(QFile::encodeName(settings.Path()).constData(), &before);

    ASSERT_EQ(settings.Store(QStringLiteral("/x/")), std::nullopt);

    struct stat after {};
    ::stat(QFile::encodeName(settings.Path()).constData(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);

    const SettingsFile longer(folder.MakeFile("other.ini", "/x/\r\nmore\r\n"));
    ASSERT_EQ(longer.Store(QStringLiteral("/x/")), std::nullopt);
    EXPECT_EQ(ReadBytes(longer.Path()), "/x/\r\n");
}

TEST(SettingsFile, WritesNonAsciiNamesAsUtf8AndReadsThemBack) {
    const TempFolder folder;
    const SettingsFile settings(folder.Path("VELDORIN.ini"));
    const QString line = QStringLiteral(u"/srv/Ångström data/été/");

    ASSERT_EQ(settings.Store(line), std::nullopt);

    EXPECT_EQ(ReadBytes(settings.Path()), line.toUtf8() + "\r\n");
    EXPECT_EQ(settings.ReadFirstLine().line, line);
}

TEST(SettingsFile, ReportsAFailedWriteAsAValue) {
    const TempFolder folder;
    const QString ordinaryFile = folder.MakeFile("plain.txt");
    EXPECT_NE(SettingsFile(ordinaryFile + "/VELDORIN.ini").Store(QStringLiteral("/a/")),
              std::nullopt);
    EXPECT_NE(SettingsFile(folder.MakeDir("VELDORIN.ini")).Store(QStringLiteral("/a/")),
              std::nullopt);
}

TEST(SettingsFile, RefusesATextThatWouldNotStayOneLine) {
    const TempFolder folder;
    const SettingsFile settings(folder.MakeFile("VELDORIN.ini", "/old/\r\n"));

    EXPECT_NE(settings.Store(QStringLiteral("/a\n/b/")), std::nullopt);
    EXPECT_NE(settings.Store(QStringLiteral("/a\r/")), std::nullopt);
    EXPECT_NE(settings.Store(QString(QChar(0))), std::nullopt);

    EXPECT_EQ(ReadBytes(settings.Path()), "/old/\r\n");
}

TEST(SettingsFile, RemoveSucceedsWhenTheFileIsGone) {
    const TempFolder folder;
    const SettingsFile settings(folder.MakeFile("VELDORIN.ini"));

    EXPECT_TRUE(settings.Remove());
    EXPECT_EQ(settings.ReadFirstLine().status, SettingsReadStatus::Missing);
    EXPECT_TRUE(settings.Remove());
}

}  // namespace
}  // namespace veldorin
