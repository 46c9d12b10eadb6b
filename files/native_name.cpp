// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/native_name.h"

namespace veldorin {
namespace {

constexpr char16_t kStrayByteBase = 0xDC00;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of the valid UTF-8 sequence at `at`, and its length; length 0 when
// the bytes there are not one (overlong forms and surrogates included).
struct Sequence {
    char32_t codePoint = 0;
    qsizetype length = 0;
};

Sequence SequenceAt(const QByteArray& bytes, qsizetype at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return {lead, 1};
    qsizetype length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return {};
    }
    if (at + length > bytes.size()) return {};
    for (qsizetype i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + i]);
        if (!IsContinuation(byte)) return {};
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || codePoint > 0x10FFFF || surrogate) return {};
    return {codePoint, length};
}

}  // namespace

QString NameFromNative(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const Sequence sequence = SequenceAt(bytes, at);
        if (sequence.length == 0) {
            name += QChar(kStrayByteBase + static_cast<unsigned char>(bytes[at]));
            ++at;
            continue;
        }
        const char32_t codePoint = sequence.codePoint;
        name += QString::fromUcs4(&codePoint, 1);
        at += sequence.length;
    }
    return name;
}

QByteArray NativeName(const QString& name) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < name.size(); ++at) {
        const char16_t unit = name[at].unicode();
        const bool afterHighSurrogate = at > 0 && name[at - 1].isHighSurrogate();
        if (unit < kStrayByteBase + 0x80 || unit > kStrayByteBase + 0xFF || afterHighSurrogate) {
            continue;
        }
        bytes += name.mid(runStart, at - runStart).toUtf8();
        bytes += static_cast<char>(unit - kStrayByteBase);
        runStart = at + 1;
    }
    bytes += name.mid(runStart).toUtf8();
    return bytes;
}

}  // namespace veldorin
