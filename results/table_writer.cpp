// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/table_writer.h"

#include "results/results_list.h"

namespace veldorin {

TableWriter::TableWriter(ResultsList& list, const QString& path) : list_(list), file_(path) {}

// The table is written over the old one and the file truncated to what was written when it
// is closed: the same bytes as truncating first, but truncating a file to nothing
// makes the file system flush it to disk on close, which every key release would wait for.
bool TableWriter::Begin() {
    if (!file_.open(QIODevice::ReadWrite) &&
        !file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    list_.clear();
    return true;
}

bool TableWriter::AddLine(const std::string& line) {
    list_.AppendLine(line);
    const std::string bytes = line + "\r\n";
    return file_.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

bool TableWriter::Finish() {
    const bool flushed = file_.flush() && file_.resize(file_.pos());
    file_.close();
    return flushed && file_.error() == QFileDevice::NoError;
}

}  // namespace veldorin
