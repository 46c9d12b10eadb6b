// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "options/directory_list.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include "tests/support/temp_folder.h"

namespace veldorin {
namespace {

using testing::TempFolder;

QStringList PathsIn(const DirectoryList& list) {
    QStringList paths;
    for (int row = 0; row < list.count(); ++row) {
        paths << list.item(row)->data(DirectoryList::kPathRole).toString();
    }
    return paths;
}

int RowOf(const DirectoryList& list, const QString& path) {
    return static_cast<int>(PathsIn(list).indexOf(path));
}

class DirectoryListing : public ::testing::Test {
protected:
    DirectoryListing() {
        root_.MakeDir("w/beta");
        root_.MakeDir("w/Alpha");
        root_.MakeDir("w/.hidden");
        root_.MakeFile("w/table.dat");
        base_ = QDir::cleanPath(root_.Path("w"));
        list_.resize(300, 300);
        list_.SetPath(base_);
        list_.show();
    }

    TempFolder root_;
    QString base_;
    DirectoryList list_;
};

TEST_F(DirectoryListing, ShowsAncestorsRootFirstThenVisibleSubdirectoriesByName) {
    QStringList expected;
    for (QString folder = base_;; folder = QFileInfo(folder).path()) {
        expected.prepend(folder);
        if (QDir(folder).isRoot()) {
            break;
        }
    }
    expected << base_ + "/Alpha" << base_ + "/beta";

    EXPECT_EQ(PathsIn(list_), expected);
    EXPECT_EQ(list_.currentRow(), RowOf(list_, base_));
    EXPECT_EQ(list_.Path(), base_);
    EXPECT_EQ(list_.item(0)->text(), QStringLiteral("/"));
    EXPECT_TRUE(list_.item(RowOf(list_, base_ + "/beta"))->text().endsWith(" beta"));
}

TEST_F(DirectoryListing, SettingThePathTellsNobody) {
    QSignalSpy opened(&list_, &DirectoryList::pathOpened);
    list_.SetPath(base_ + "/beta/../Alpha/");

    EXPECT_EQ(list_.Path(), base_ + "/Alpha");
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(DirectoryListing, EnterOpensTheCurrentEntry) {
    QSignalSpy opened(&list_, &DirectoryList::pathOpened);
    list_.setCurrentRow(RowOf(list_, base_ + "/beta"));

    QTest::keyClick(&list_, Qt::Key_Return);

    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), base_ + "/beta");
    EXPECT_EQ(list_.Path(), base_ + "/beta");
    EXPECT_EQ(PathsIn(list_).last(), base_ + "/beta");
}

TEST_F(DirectoryListing, DoubleClickOpensAnAncestor) {
    QSignalSpy opened(&list_, &DirectoryList::pathOpened);
    const QString parent = QFileInfo(base_).path();
    QListWidgetItem* item = list_.item(RowOf(list_, parent));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
    list_.scrollToItem(item);

    const QPoint at = list_.visualItemRect(item).center();
    // As the user does it: a click, then the second press that makes it a double-click.
    QTest::mouseClick(list_.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list_.viewport(), Qt::LeftButton, {}, at);

    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(list_.Path(), parent);
    EXPECT_EQ(list_.currentRow(), RowOf(list_, parent));
}

TEST_F(DirectoryListing, OpeningTheFolderShownChangesNothing) {
    QSignalSpy opened(&list_, &DirectoryList::pathOpened);
    list_.setCurrentRow(RowOf(list_, base_));

    QTest::keyClick(&list_, Qt::Key_Return);

    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(list_.Path(), base_);
}

}  // namespace
}  // namespace veldorin
