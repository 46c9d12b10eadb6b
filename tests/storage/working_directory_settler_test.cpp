// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/working_directory_settler.h"

#include <gtest/gtest.h>

#include <QDir>
#include <functional>
#include <ostream>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

QByteArray LineBytes(const QString& text) { return text.toUtf8() + "\r\n"; }

// A program folder and a per-user data folder, both inside a fresh temporary folder.
class Settling : public ::testing::Test {
protected:
    QString ProgramDir() const { return root_.Path("program files/app"); }
    QString UserDir() const { return root_.Path("home/.local/share"); }
    QString DefaultDir() const { return ProgramDir() + "/Lumen_Forge/"; }
    QString SettingsPath() const { return ProgramDir() + "/Lumen_Forge/VELDORIN.ini"; }

    SettledWorkingDirectory Settle(const QString& program, const QString& user) const {
        return WorkingDirectorySettler(StartupPlaces{program, user}).Settle();
    }
    SettledWorkingDirectory Settle() const { return Settle(ProgramDir(), UserDir()); }

    // Stores raw bytes as the settings file, as a previous run or an editor left it.
    void Store(const QByteArray& bytes) const {
        root_.MakeFile("program files/app/Lumen_Forge/VELDORIN.ini", bytes);
    }

    TempFolder root_;
};

TEST_F(Settling, FirstStartCreatesTheDataFolderAndStoresItAsTheDefault) {
    root_.MakeDir("program files/app");

    const SettledWorkingDirectory settled = Settle();

    EXPECT_TRUE(QDir(DefaultDir()).exists());
    EXPECT_EQ(settled.workingDirectory, DefaultDir());
    EXPECT_EQ(settled.settingsFilePath, SettingsPath());
    EXPECT_EQ(ReadBytes(SettingsPath()), LineBytes(DefaultDir()));
    EXPECT_TRUE(settled.settingsStored);
    EXPECT_FALSE(settled.storedTextRejected);
    EXPECT_FALSE(settled.inUserDataFolder);
    EXPECT_FALSE(QDir(UserDir()).exists());
}

TEST_F(Settling, SecondStartKeepsTheDefault) {
    Settle();
    const SettledWorkingDirectory settled = Settle();

    EXPECT_EQ(settled.workingDirectory, DefaultDir());
    EXPECT_FALSE(settled.storedTextRejected);
    EXPECT_EQ(ReadBytes(SettingsPath()), LineBytes(DefaultDir()));
}

// Each row leaves a settings file behind that must be refused.
struct RejectedRow {
    const char* name;
    std::function<QByteArray(const TempFolder&)> stored;
};

void PrintTo(const RejectedRow& row, std::ostream* out) { *out << row.name; }

class SettlingARejectedSetting : public Settling,
                                 public ::testing::WithParamInterface<RejectedRow> {};

TEST_P(SettlingARejectedSetting, FallsBackToTheDefaultAndStoresIt) {
    Store(GetParam().stored(root_));

    const SettledWorkingDirectory settled = Settle();

    EXPECT_EQ(settled.workingDirectory, DefaultDir());
    EXPECT_TRUE(settled.storedTextRejected);
    EXPECT_TRUE(settled.settingsStored);
    EXPECT_EQ(ReadBytes(SettingsPath()), LineBytes(DefaultDir()));
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, SettlingARejectedSetting,
    ::testing::Values(
        RejectedRow{"deleted_directory",
                    [](const TempFolder& f) { return LineBytes(f.Path("deleted/")); }},
        RejectedRow{"only_subdirectories",
                    [](const TempFolder& f) {
                        f.MakeFile("runs/2023/table.dat");
                        return LineBytes(f.Path("runs/"));
                    }},
        RejectedRow{"only_hidden_files",
                    [](const TempFolder& f) {
                        f.MakeFile("runs/.directory");
                        return LineBytes(f.Path("runs/"));
                    }},
        RejectedRow{"names_a_file",
                    [](const TempFolder& f) { return LineBytes(f.MakeFile("notes.txt") + "/"); }},
        RejectedRow{"relative_path",
                    [](const TempFolder& f) {
                        f.MakeFile("runs/table.dat");
                        return LineBytes(QDir::current().relativeFilePath(f.Path("runs")));
                    }},
        RejectedRow{"empty_file", [](const TempFolder&) { return QByteArray(); }},
        RejectedRow{"binary_bytes",
                    [](const TempFolder&) { return QByteArray("/tmp\0\x01\x02/\r\n", 10); }},
        RejectedRow{"invalid_utf8",
                    [](const TempFolder&) { return QByteArray("/tmp/\xfe\xff/\r\n"); }},
        RejectedRow{"very_large_file", [](const TempFolder&) { return QByteArray(8 << 20, '/'); }}),
    [](const ::testing::TestParamInfo<RejectedRow>& info) { return info.param.name; });

// Every start stores the accepted directory again as the file's one line, in its
// cleaned form, ending in CR LF, with nothing after it.
TEST_F(Settling, RewritesAnAcceptedDirectoryAsTheOneLineOfTheFile) {
    root_.MakeFile("results/table.dat");
    const QString results = root_.Path("results/");
    const struct {
        const char* name;
        QByteArray stored;
    } rows[] = {
        {"tidy", LineBytes(results)},
        {"line feed alone", results.toUtf8() + "\n"},
        {"untidy", LineBytes(root_.Path() + "/results//.")},
        {"lines after the first", LineBytes(results) + "left over\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Store(row.stored);

        const SettledWorkingDirectory settled = Settle();

        EXPECT_EQ(settled.workingDirectory, results);
        EXPECT_FALSE(settled.storedTextRejected);
        EXPECT_TRUE(settled.settingsStored);
        EXPECT_EQ(ReadBytes(SettingsPath()), LineBytes(results));
    }
}

TEST_F(Settling, FolderNamesWithBlanksAndNonAsciiLettersRoundTrip) {
    const QString folder = root_.MakeDir(QStringLiteral(u"Données été/Ångström 1")) + "/";
    root_.MakeFile(QStringLiteral(u"Données été/Ångström 1/résultat.dat"));
    Settle();
    ASSERT_EQ(SettingsFile(SettingsPath()).Store(folder), std::nullopt);

    const SettledWorkingDirectory settled = Settle();

    EXPECT_EQ(settled.workingDirectory, folder);
    EXPECT_FALSE(settled.storedTextRejected);
    EXPECT_EQ(ReadBytes(SettingsPath()), LineBytes(folder));
}

TEST_F(Settling, UsesTheUserDataFolderWhenTheProgramFolderIsNotWritable) {
    const QString program = root_.MakeFile("blocker") + "/app";

    const SettledWorkingDirectory settled = Settle(program, UserDir());

    const QString userDefault = UserDir() + "/Lumen_Forge/";
    EXPECT_TRUE(settled.inUserDataFolder);
    EXPECT_EQ(settled.workingDirectory, userDefault);
    EXPECT_EQ(settled.settingsFilePath, userDefault + "VELDORIN.ini");
    EXPECT_EQ(ReadBytes(settled.settingsFilePath), LineBytes(userDefault));
    EXPECT_TRUE(settled.settingsStored);

    // The next start finds the same place again and keeps what is stored there.
    root_.MakeFile("kept/table.dat");
    ASSERT_EQ(SettingsFile(settled.settingsFilePath).Store(root_.Path("kept/")), std::nullopt);
    EXPECT_EQ(Settle(program, UserDir()).workingDirectory, root_.Path("kept/"));
}

TEST_F(Settling, NeverWritesBesideAProgramInstalledForAllUsers) {
    root_.MakeDir("program files/app");
    StartupPlaces places{ProgramDir(), UserDir()};
    places.programDirectoryShared = true;

    const SettledWorkingDirectory settled = WorkingDirectorySettler(places).Settle();

    EXPECT_TRUE(settled.inUserDataFolder);
    EXPECT_EQ(settled.workingDirectory, UserDir() + "/Lumen_Forge/");
    EXPECT_FALSE(QDir(ProgramDir() + "/Lumen_Forge").exists());
}

TEST(StartupPlaces, SystemProgramFoldersAreRecognised) {
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/bin", "/opt/veldorin/bin"}) {
        EXPECT_TRUE(StartupPlaces::IsSystemProgramFolder(system)) << system;
    }
    for (const char* own :
         {"/home/user/veldorin", "/tmp/build/app", "/usrx/bin", "/work/main/build"}) {
        EXPECT_FALSE(StartupPlaces::IsSystemProgramFolder(own)) << own;
    }
}

TEST_F(Settling, UsesTheUserDataFolderWhenAFileBlocksTheDataFolder) {
    root_.MakeFile("program files/app/Lumen_Forge");

    const SettledWorkingDirectory settled = Settle();

    EXPECT_TRUE(settled.inUserDataFolder);
    EXPECT_EQ(settled.workingDirectory, UserDir() + "/Lumen_Forge/");
}

TEST_F(Settling, FinishesWithTheDefaultWhenNothingCanBeStoredAnywhere) {
    const QString blocker = root_.MakeFile("blocker");

    const SettledWorkingDirectory settled = Settle(blocker + "/app", blocker + "/share");

    EXPECT_EQ(settled.workingDirectory, blocker + "/app/Lumen_Forge/");
    EXPECT_FALSE(settled.settingsStored);
    EXPECT_FALSE(settled.inUserDataFolder);

    EXPECT_EQ(Settle(blocker + "/app", QString()).workingDirectory, blocker + "/app/Lumen_Forge/");
}

TEST_F(Settling, FinishesWithTheDefaultWhenTheSettingsFileCannotBeDeleted) {
    root_.MakeDir("program files/app/Lumen_Forge/VELDORIN.ini/locked");

    const SettledWorkingDirectory settled = Settle();

    EXPECT_EQ(settled.workingDirectory, DefaultDir());
    EXPECT_TRUE(settled.storedTextRejected);
    EXPECT_FALSE(settled.settingsStored);
}

}  // namespace
}  // namespace veldorin
