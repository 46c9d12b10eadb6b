// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "options/directory_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QStyle>

namespace veldorin {
namespace {

// The folder and all its ancestors, the root first.
QStringList AncestryOf(const QString& path) {
    QStringList chain;
    QString folder = path;
    for (;;) {
        chain.prepend(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder) {
            return chain;
        }
        folder = parent;
    }
}

QString NameOf(const QString& folder) {
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;  // the root has no name of its own
}

}  // namespace

DirectoryList::DirectoryList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, &DirectoryList::Open);
}

void DirectoryList::SetPath(const QString& path) {
    path_ = QDir::cleanPath(QDir(path).absolutePath());
    Refresh();
}

void DirectoryList::Refresh() {
    clear();
    const QStringList ancestry = AncestryOf(path_);
    for (int depth = 0; depth < ancestry.size(); ++depth) {
        AddEntry(ancestry[depth], NameOf(ancestry[depth]), depth, true);
    }
    setCurrentRow(count() - 1);
    const QFileInfoList subdirectories =
        QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& subdirectory : subdirectories) {
        if (!subdirectory.fileName().startsWith(QLatin1Char('.'))) {
            AddEntry(subdirectory.absoluteFilePath(), subdirectory.fileName(),
                     static_cast<int>(ancestry.size()), false);
        }
    }
}

void DirectoryList::AddEntry(const QString& path, const QString& name, int depth, bool open) {
    const QIcon icon =
        style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    auto* item = new QListWidgetItem(icon, QString(depth * 2, QLatin1Char(' ')) + name, this);
    item->setData(kPathRole, path);
}

void DirectoryList::Open(const QListWidgetItem* item) {
    const QString path = item->data(kPathRole).toString();
    if (path == path_) {
        return;
    }
    SetPath(path);  // deletes the item
    Q_EMIT pathOpened(path_);
}

}  // namespace veldorin
