// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/table_export.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

#include "files/save_aside.h"
#include "results/results_list.h"
#include "ui/save_dialog.h"

namespace veldorin {

namespace {

QString CsvField(const QString& field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r'))) {
        return field;
    }
    QString quoted = field;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

QByteArray TableBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += line.toLatin1() + "\r\n";
    return bytes;
}

QByteArray TableCsv(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('\t'));
        for (QString& field : fields) field = CsvField(field);
        bytes += fields.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return bytes;
}

std::optional<QString> SaveTable(const QStringList& lines, const QString& path) {
    const QByteArray bytes = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)
                                 ? TableCsv(lines)
                                 : TableBytes(lines);
    return SaveBytesAside(path, bytes);
}

TableExportMenu::TableExportMenu(ResultsList& list)
    : QObject(&list), list_(list), copy_(new QAction(tr("Copy table"), &list)) {
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    copy_->setShortcutVisibleInContextMenu(true);
    connect(copy_, &QAction::triggered, this, &TableExportMenu::CopyTable);
    list.addAction(copy_);
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list, &QWidget::customContextMenuRequested, this, &TableExportMenu::Show);
}

void TableExportMenu::CopyTable() {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(TableBytes(list_.Lines())));
}

void TableExportMenu::Show(const QPoint& position) {
    auto* menu = new QMenu(&list_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(copy_);
    menu->addAction(tr("Save table as…"), this, &TableExportMenu::SaveTableAs);
    if (!commands_.isEmpty()) menu->addSeparator();
    menu->addActions(commands_);
    menu->popup(list_.viewport()->mapToGlobal(position));
}

void TableExportMenu::SaveTableAs() {
    const QString path = ChooseSaveName(&list_, tr("Save table as"), QString(),
                                        {{tr("Table as table.dat"), QStringLiteral("dat")},
                                         {tr("Comma-separated values"), QStringLiteral("csv")}});
    if (path.isEmpty()) return;
    if (const auto failure = SaveTable(list_.Lines(), path)) {
        QMessageBox::warning(&list_, tr("Save table as"), *failure);
    }
}

}  // namespace veldorin
