// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/input_file.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::TempFolder;

// Makes the thing to read in the folder and returns its path, or "" where this user
// cannot make it (a device node needs root).
struct InputRow {
    const char* name;
    std::function<std::string(const TempFolder&)> make;
    std::size_t limit;
    std::optional<std::string> bytes;
    std::string reason;
};

void PrintTo(const InputRow& row, std::ostream* out) { *out << row.name; }

std::string PathIn(const TempFolder& folder, const char* name) {
    return folder.Path(QString::fromLatin1(name)).toStdString();
}

std::string Node(const TempFolder& folder, mode_t mode, dev_t device) {
    const std::string path = PathIn(folder, "node");
    return ::mknod(path.c_str(), mode, device) == 0 ? path : std::string();
}

class ReadingAnInputFile : public ::testing::TestWithParam<InputRow> {};

TEST_P(ReadingAnInputFile, GivesItsBytesOrTheReason) {
    const TempFolder folder;
    const InputRow& row = GetParam();
    const std::string path = row.make(folder);
    if (path.empty()) GTEST_SKIP() << "this user cannot make the file";

    const InputFileRead read = ReadInputFile(path, row.limit);

    EXPECT_EQ(read.bytes, row.bytes);
    EXPECT_EQ(read.reason, row.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Storage, ReadingAnInputFile,
    ::testing::Values(
        InputRow{"ordinary",
                 [](const TempFolder& f) { return f.MakeFile("a", "abc").toStdString(); }, 3, "abc",
                 ""},
        InputRow{"one_byte_over",
                 [](const TempFolder& f) { return f.MakeFile("a", "abcd").toStdString(); }, 3,
                 std::nullopt, "larger than the limit of 3 bytes"},
        InputRow{"missing", [](const TempFolder& f) { return PathIn(f, "none"); }, 3, std::nullopt,
                 "no such file"},
        InputRow{"folder", [](const TempFolder& f) { return f.MakeDir("d").toStdString(); }, 3,
                 std::nullopt, "a folder, not a file"},
        InputRow{"fifo", [](const TempFolder& f) { return Node(f, S_IFIFO | 0600, 0); }, 3,
                 std::nullopt, "not an ordinary file"},
        InputRow{"endless_device",
                 [](const TempFolder& f) { return Node(f, S_IFCHR | 0600, makedev(1, 5)); }, 3,
                 std::nullopt, "not an ordinary file"},
        InputRow{"loop_of_links",
                 [](const TempFolder& f) {
                     const std::string path = PathIn(f, "loop");
                     return ::symlink(path.c_str(), path.c_str()) == 0 ? path : std::string();
                 },
                 3, std::nullopt, "a loop of symbolic links, not a file"}));

}  // namespace
}  // namespace veldorin
