// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/save_aside.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>
#include <ostream>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// Everything in the folder, hidden names too: a side file left behind shows.
QStringList Entries(const TempFolder& folder) {
    return QDir(folder.Path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool IsCharacterDevice(const QString& path) {
    struct stat status {};
    return ::stat(Native(path).constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

// The null device under the folder's "dev" (a node needs root: "" otherwise), or a link
// to it.
QString NullDevice(const TempFolder& folder) {
    const QString path = folder.Path("dev");
    return ::mknod(Native(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : QString();
}

QString LinkTo(const TempFolder& folder, const QString& target) {
    const QString link = folder.Path("link");
    return ::symlink(Native(target).constData(), Native(link).constData()) == 0 ? link : QString();
}

struct DeviceRow {
    const char* name;
    NotOrdinary notOrdinary;
    std::function<QString(const TempFolder&)> make;  // the name to save to; "" cannot be made
    bool written;
};

void PrintTo(const DeviceRow& row, std::ostream* out) { *out << row.name; }

class SavingToADevice : public ::testing::TestWithParam<DeviceRow> {};

TEST_P(SavingToADevice, WritesInPlaceOrRefusesButNeverReplacesIt) {
    const TempFolder folder;
    const DeviceRow& row = GetParam();
    const QString path = row.make(folder);
    if (path.isEmpty()) GTEST_SKIP() << "this user cannot make a device";
    const QStringList before = Entries(folder);

    const std::optional<QString> failure = SaveBytesAside(path, "lost", row.notOrdinary);

    EXPECT_EQ(!failure, row.written) << failure.value_or("").toStdString();
    if (failure) {
        EXPECT_TRUE(failure->contains("not an ordinary file")) << failure->toStdString();
    }
    EXPECT_TRUE(IsCharacterDevice(folder.Path("dev")));
    EXPECT_EQ(Entries(folder), before);
}

INSTANTIATE_TEST_SUITE_P(
    Storage, SavingToADevice,
    ::testing::Values(
        DeviceRow{"device_from_the_command_line", NotOrdinary::WriteInPlace, NullDevice, true},
        DeviceRow{"device_from_the_window", NotOrdinary::Refuse, NullDevice, false},
        DeviceRow{"link_to_a_device_from_the_command_line", NotOrdinary::WriteInPlace,
                  [](const TempFolder& f) { return LinkTo(f, NullDevice(f)); }, true},
        DeviceRow{"link_to_a_device_from_the_window", NotOrdinary::Refuse,
                  [](const TempFolder& f) { return LinkTo(f, NullDevice(f)); }, false}),
    [](const ::testing::TestParamInfo<DeviceRow>& info) { return info.param.name; });

// One of the program's own open files, as /dev/stdout names a redirected standard
// output: what is written goes on after what the program wrote there, in the same file.
TEST(SaveAside, AnOpenFileOfTheProgramIsWrittenOnAfterWhatItHolds) {
    const TempFolder folder;
    const QString path = folder.MakeFile("printed", "");
    const int descriptor = ::open(Native(path).constData(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::write(descriptor, "printed,", 8), 8);
    const QString name = QStringLiteral("/dev/fd/%1").arg(descriptor);

    EXPECT_TRUE(SaveBytesAside(name, "no", NotOrdinary::Refuse));
    EXPECT_EQ(SaveBytesAside(name, "saved", NotOrdinary::WriteInPlace), std::nullopt);
    ::close(descriptor);

    EXPECT_EQ(ReadBytes(path), "printed,saved");
    EXPECT_EQ(Entries(folder), QStringList{"printed"});
}

// A file-size limit stands in for a full disk; its signal ignored, as the program does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

struct LimitRow {
    const char* name;
    std::function<QString(const TempFolder&)> make;  // the name to save to
    bool fullDisk;
    const char* reason;  // part of the failure; "" when saved
    QString file;        // the file that holds the bytes after a save, or the old ones
};

void PrintTo(const LimitRow& row, std::ostream* out) { *out << row.name; }

class SavingAtALimit : public ::testing::TestWithParam<LimitRow> {};

TEST_P(SavingAtALimit, WritesTheFileItNamesOrSaysWhyAndLeavesNoSideFile) {
    const TempFolder folder;
    const LimitRow& row = GetParam();
    const QString path = row.make(folder);
    const QStringList before = Entries(folder);

    std::optional<QString> failure;
    {
        const FileSizeLimit limit(row.fullDisk ? 4 : RLIM_INFINITY);
        failure = SaveBytesAside(path, QByteArray(60, 'n'));
    }

    if (*row.reason == '\0') {
        EXPECT_EQ(failure, std::nullopt) << failure.value_or("").toStdString();
        EXPECT_EQ(ReadBytes(folder.Path(row.file)), QByteArray(60, 'n'));
        return;
    }
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains(row.reason)) << failure->toStdString();
    EXPECT_EQ(Entries(folder), before);
    if (!row.file.isEmpty()) {
        EXPECT_EQ(ReadBytes(folder.Path(row.file)), "old");
    }
}

QString Link(const TempFolder& folder, const char* name, const char* target) {
    ::symlink(target, Native(folder.Path(name)).constData());
    return folder.Path(name);
}

INSTANTIATE_TEST_SUITE_P(
    Storage, SavingAtALimit,
    ::testing::Values(
        LimitRow{"longest_name", [](const TempFolder& f) { return f.Path(QString(NAME_MAX, 'n')); },
                 false, "", QString(NAME_MAX, 'n')},
        LimitRow{"dangling_link",
                 [](const TempFolder& f) {
                     f.MakeDir("sub");
                     Link(f, "sub/next", "../made");
                     return Link(f, "link", "sub/next");
                 },
                 false, "", "made"},
        LimitRow{"dangling_link_into_no_folder",
                 [](const TempFolder& f) { return Link(f, "link", "none/made"); }, false,
                 "No such file or directory", ""},
        LimitRow{"loop_of_links", [](const TempFolder& f) { return Link(f, "link", "link"); },
                 false, "Too many levels of symbolic links", ""},
        LimitRow{"file_size_limit",
                 [](const TempFolder& f) { return f.MakeFile("full", QByteArray("old")); }, true,
                 "File too large", "full"}),
    [](const ::testing::TestParamInfo<LimitRow>& info) { return info.param.name; });

}  // namespace
}  // namespace veldorin
