// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <optional>

class QAction;
class QPoint;

namespace veldorin {

class ResultsList;

// The table as "table.dat" holds it: tab-separated lines, each ending in CR LF.
QByteArray TableBytes(const QStringList& lines);
// The table as comma-separated values: the tabs become commas, and a field that holds a
// comma, a quote or a line break is quoted.
QByteArray TableCsv(const QStringList& lines);
// CSV when the name ends in ".csv" (in any case), otherwise the bytes of "table.dat";
// written through SaveAside. Returns nothing when the file was written, otherwise
// SaveAside's message.
std::optional<QString> SaveTable(const QStringList& lines, const QString& path);

// The results list's menu on the right button, "Copy table" and "Save table as…", and
// Ctrl+C while the list has the keyboard: the table goes to the clipboard as the text
// of "table.dat".
class TableExportMenu : public QObject {
    Q_OBJECT

public:
    explicit TableExportMenu(ResultsList& list);

    void CopyTable();
    // One more command for the menu, after the table's own.
    void AddCommand(QAction* command) { commands_.append(command); }

private:
    void Show(const QPoint& position);
    void SaveTableAs();

    ResultsList& list_;
    QAction* copy_;  // Ctrl+C in the list, and the menu's first item
    QList<QAction*> commands_;
};

}  // namespace veldorin
