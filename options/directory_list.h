// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QListWidget>
#include <QString>

namespace veldorin {

// A list of one folder's ancestors (from the root down, the folder itself last) followed
// by its visible subdirectories, indented by depth. Opening an entry (double-click or
// Enter) makes that folder the list's path.
class DirectoryList : public QListWidget {
    Q_OBJECT

public:
    // Each entry's full folder path is held in this item data role.
    static constexpr int kPathRole = Qt::UserRole;

    explicit DirectoryList(QWidget* parent = nullptr);

    // Shows the folder's ancestors and subdirectories; tells nobody.
    void SetPath(const QString& path);
    // The folder shown: absolute, cleaned, without a final '/' except for the root.
    const QString& Path() const { return path_; }

Q_SIGNALS:
    // The user opened another folder; it is now Path().
    void pathOpened(const QString& path);

private:
    void Refresh();
    void AddEntry(const QString& path, const QString& name, int depth, bool open);
    void Open(const QListWidgetItem* item);

    QString path_;
};

}  // namespace veldorin
