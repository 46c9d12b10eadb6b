// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/table_export.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "results/results_list.h"
#include "tests/support/window_fixture.h"

namespace veldorin::test {
namespace {

using TableExport = WindowTest;

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(TableCsv, QuotesOnlyTheFieldsThatNeedIt) {
    EXPECT_EQ(TableCsv({"f, MHz\tNOE", "100\t0.874"}), "\"f, MHz\",NOE\r\n100,0.874\r\n");
    EXPECT_EQ(TableCsv({"a\"b\tc"}), "\"a\"\"b\",c\r\n");
}

TEST_F(TableExport, CopyAndSaveGiveTheBytesOfTableDatOrCsv) {
    Started();
    const QByteArray tableDat = TableFileBytes();

    auto* list = controls().resultsList;
    list->setFocus();
    QTest::keySequence(list, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text().toLatin1(), tableDat);

    QTemporaryDir folder;
    const QString dat = folder.filePath("copy.dat");
    const QString csv = folder.filePath("copy.CSV");
    ASSERT_EQ(SaveTable(list->Lines(), dat), std::nullopt);
    ASSERT_EQ(SaveTable(list->Lines(), csv), std::nullopt);
    EXPECT_EQ(Read(dat), tableDat);
    EXPECT_EQ(Read(csv), TableCsv(list->Lines()));
    EXPECT_TRUE(Read(csv).startsWith("\"f, MHz\",NOE,"));
    EXPECT_NE(SaveTable(list->Lines(), folder.filePath("no/such/folder/table.dat")), std::nullopt);
}

}  // namespace
}  // namespace veldorin::test
