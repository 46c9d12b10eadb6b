// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

namespace veldorin {

// File names as the file system holds them (bytes) and as the program carries them
// (text). Qt reads every name as UTF-8 and replaces the bytes of a name in another
// encoding, so such a file could be neither opened nor saved under its name. Here a
// byte that is not part of valid UTF-8 becomes the lone code unit U+DC80..U+DCFF and
// turns back into the same byte, so every name survives the round trip.
QString NameFromNative(const QByteArray& bytes);
QByteArray NativeName(const QString& name);

}  // namespace veldorin
