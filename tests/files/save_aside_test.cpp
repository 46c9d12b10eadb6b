// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/save_aside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::TempFolder;

// Each name in the folder, hidden ones too, with its kind: a side file left behind, or a
// device or a link replaced by a file, shows.
QStringList Kinds(const TempFolder& folder) {
    QStringList kinds;
    for (const QString& name :
         QDir(folder.Path())
             .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat status {};
        ::lstat(QFile::encodeName(folder.Path(name)).constData(), &status);
        kinds << name + QString::number(status.st_mode & S_IFMT);
    }
    kinds.sort();
    return kinds;
}

// The name to save to: the first of the links, [name, target], made in the folder beside
// the null device "dev" when `device`; "" where this user cannot make a device.
using Make = std::function<QString(const TempFolder&)>;
Make Made(bool device, std::vector<std::pair<const char*, const char*>> links) {
    return [=](const TempFolder& f) {
        f.MakeDir("sub");
        const QByteArray node = QFile::encodeName(f.Path("dev"));
        if (device && ::mknod(node.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            return QString();
        }
        for (const auto& [name, target] : links) {
            ::symlink(target, QFile::encodeName(f.Path(name)).constData());
        }
        return f.Path(links.empty() ? "dev" : links.front().first);
    };
}

struct SaveRow {
    const char* name;
    Make make;
    NotOrdinary notOrdinary;
    const char* reason;  // part of the failure; "" when saved
    QString made = {};   // the new file that then holds the bytes, if any
};

class Saving : public ::testing::TestWithParam<SaveRow> {};

TEST_P(Saving, WritesWhatTheNameLeadsToOrSaysWhyAndReplacesNothingElse) {
    const TempFolder folder;
    const SaveRow& row = GetParam();
    const QString path = row.make(folder);
    if (path.isEmpty()) GTEST_SKIP() << "this user cannot make a device";
    QStringList expected = Kinds(folder);

    const std::optional<QString> failure = SaveBytesAside(path, "saved", row.notOrdinary);

    const QString said = failure.value_or(QStringLiteral("saved"));
    EXPECT_TRUE(said.contains(*row.reason != '\0' ? row.reason : "saved")) << said.toStdString();
    if (!row.made.isEmpty()) {
        EXPECT_EQ(testing::ReadBytes(folder.Path(row.made)), "saved");
        expected << row.made + QString::number(S_IFREG);
    }
    expected.sort();
    EXPECT_EQ(Kinds(folder), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, Saving,
    ::testing::Values(
        SaveRow{"device_from_the_command_line", Made(true, {}), NotOrdinary::WriteInPlace, ""},
        SaveRow{"device_from_the_window", Made(true, {}), NotOrdinary::Refuse, "not an ordinary"},
        SaveRow{"link_from_the_command_line", Made(true, {{"l", "dev"}}), NotOrdinary::WriteInPlace,
                ""},
        SaveRow{"link_from_the_window", Made(true, {{"l", "dev"}}), NotOrdinary::Refuse,
                "not an ordinary"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Limits, Saving,
    ::testing::Values(
        SaveRow{"longest_name", [](const TempFolder& f) { return f.Path(QString(NAME_MAX, 'n')); },
                NotOrdinary::Refuse, "", QString(NAME_MAX, 'n')},
        SaveRow{"dangling_links", Made(false, {{"l", "sub/next"}, {"sub/next", "../made"}}),
                NotOrdinary::Refuse, "", "made"},
        SaveRow{"dangling_into_no_folder", Made(false, {{"l", "none/made"}}), NotOrdinary::Refuse,
                "No such file"},
        SaveRow{"loop", Made(false, {{"l", "l"}}), NotOrdinary::Refuse, "Too many levels"}),
    [](const auto& info) { return info.param.name; });

// /dev/stdout redirected to a file: the bytes go on after what the program wrote there.
TEST(SaveAside, AnOpenFileOfTheProgramIsWrittenInPlaceOnlyFromTheCommandLine) {
    const TempFolder folder;
    const QString path = folder.MakeFile("printed", "");
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    ASSERT_EQ(::write(descriptor, "printed,", 8), 8);
    const QString name = QStringLiteral("/dev/fd/%1").arg(descriptor);

    EXPECT_TRUE(SaveBytesAside(name, "refused", NotOrdinary::Refuse));
    EXPECT_EQ(SaveBytesAside(name, "saved", NotOrdinary::WriteInPlace), std::nullopt);
    ::close(descriptor);

    EXPECT_EQ(testing::ReadBytes(path), "printed,saved");
}

}  // namespace
}  // namespace veldorin
