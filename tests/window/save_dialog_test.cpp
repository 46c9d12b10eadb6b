// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/save_dialog.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "tests/support/temp_folder.h"

namespace veldorin::test {
namespace {

struct SaveNameRow {
    const char* name;
    const char* typed;
    int format;            // the filter chosen before typing
    const char* existing;  // a file in the folder, or nullptr
    const char* expected;  // what the dialog gives back ("" when cancelled)
    bool asksToReplace;
};

const QList<SaveFormat> kFormats = {{"Models", "veldorin"}, {"Values", "csv"}};

// Plays the user at the modal dialogs: types the name and accepts the file dialog, says
// No when asked to replace a file, and then cancels the file dialog.
class User : public QObject {
public:
    explicit User(const SaveNameRow& row) : row_(row) {
        connect(&poll_, &QTimer::timeout, this, &User::Act);
        poll_.start(5);
    }

    bool asked = false;

private:
    void Act() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* question = qobject_cast<QMessageBox*>(modal)) {
            asked = true;
            question->button(QMessageBox::No)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed_) {
                dialog->reject();
                return;
            }
            typed_ = true;
            auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int step = 0; step < row_.format; ++step) QTest::keyClick(filters, Qt::Key_Down);
            dialog->selectFile(QString::fromUtf8(row_.typed));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    }

    const SaveNameRow& row_;
    QTimer poll_;
    bool typed_ = false;
};

TEST(SaveDialog, GivesTheChosenFormatsEndingAndAsksBeforeReplacingWhatItNames) {
    const SaveNameRow rows[] = {
        {"new name", "fresh", 0, nullptr, "fresh.veldorin", false},
        {"existing without ending", "precious", 0, "precious.veldorin", "", true},
        {"existing with ending", "precious.veldorin", 0, "precious.veldorin", "", true},
        {"second format", "values", 1, nullptr, "values.csv", false},
        {"other ending kept", "notes.txt", 0, nullptr, "notes.txt", false},
    };
    for (const SaveNameRow& row : rows) {
        const testing::TempFolder folder;
        if (row.existing != nullptr) folder.MakeFile(QString::fromUtf8(row.existing), "kept");
        QWidget parent;
        const User user(row);

        const QString chosen = ChooseSaveName(&parent, "Save", folder.Path(), kFormats);

        const QString expected = *row.expected ? folder.Path(row.expected) : QString();
        EXPECT_EQ(chosen.toStdString(), expected.toStdString()) << row.name;
        EXPECT_EQ(user.asked, row.asksToReplace) << row.name;
    }
}

}  // namespace
}  // namespace veldorin::test
