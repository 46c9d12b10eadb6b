// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "results/results_list.h"
#include "results/table_writer.h"

namespace veldorin::test {
namespace {

class TableWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        list_.AppendLine("old header");
        list_.AppendLine("old row");
    }

    QTemporaryDir folder_;
    ResultsList list_{TwipScale(96.0), nullptr};
};

TEST_F(TableWriterTest, WritesEachLineWithCrlfAndListsIt) {
    TableWriter writer(list_, folder_.filePath("table.dat"));
    ASSERT_TRUE(writer.Begin());
    EXPECT_EQ(list_.count(), 0);
    EXPECT_TRUE(writer.AddLine("f, MHz\tNOE"));
    EXPECT_TRUE(writer.AddLine("100\t1.5"));
    EXPECT_TRUE(writer.Finish());

    EXPECT_EQ(list_.Lines(), QStringList({"f, MHz\tNOE", "100\t1.5"}));
    QFile file(folder_.filePath("table.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("f, MHz\tNOE\r\n100\t1.5\r\n"));
}

TEST_F(TableWriterTest, RewritesALongerOldFileCompletely) {
    QFile old(folder_.filePath("table.dat"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("a much longer table than the new one\r\n");
    old.close();

    TableWriter writer(list_, old.fileName());
    ASSERT_TRUE(writer.Begin());
    EXPECT_TRUE(writer.AddLine("x"));
    EXPECT_TRUE(writer.Finish());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("x\r\n"));
}

TEST_F(TableWriterTest, AFileThatCannotBeCreatedLeavesTheListAlone) {
    QFile plain(folder_.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    TableWriter writer(list_, folder_.filePath("plain/table.dat"));
    EXPECT_FALSE(writer.Begin());
    EXPECT_EQ(list_.Lines(), QStringList({"old header", "old row"}));
}

}  // namespace
}  // namespace veldorin::test
