// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "document/model_document.h"
#include "files/input_file.h"

namespace veldorin {

// A model file (".veldorin"): one JSON object in UTF-8, described key by key in the
// README. Every text is stored exactly as typed, so a model reopens unchanged. Version 2
// adds the motion, the measurements, the pair frequencies and (only when something is
// ticked, and optional when read) the fit's setup; a model that uses none of them (no
// motion, no measurement, magnitudes, nothing ticked) is written as version 1, as before.
inline constexpr int kModelFormatVersion = 2;
// Longest text a model file keeps, in characters (code points); a typed number never
// needs more than a few dozen. A save refuses a longer text, naming its box, so that
// every saved model opens again.
inline constexpr qsizetype kMaxModelTextLength = 1000;
// Largest model file read and written: one with 100,000 measurement rows fits well
// within it. A save that would be larger is refused, so that every saved model opens
// again.
inline constexpr std::size_t kMaxModelFileBytes = kMaxInputFileBytes;

// The format version the document needs: 2 when it has a motion, a measurement, signed
// pair frequencies or a fit setup, else 1.
int FormatVersionOf(const ModelDocument& document);

// The document as indented JSON, keys in alphabetical order.
QByteArray ToJson(const ModelDocument& document);

struct ModelFileRead {
    std::optional<ModelDocument> document;  // set when the file holds a valid model
    QString error;                          // otherwise the file's path and what is wrong
};

// Reads a model file. Unknown keys are ignored; a missing key, a value of the wrong
// kind, a text that is too long, a nucleus its slot's menu does not offer, a newer
// format version or a file that is not a VELDORIN model at all is an error.
ModelFileRead ReadModelFile(const QString& path);

// Replaces the file with the document through SaveAside, so that a failed save leaves
// the old file whole; a text too long to be read back is refused before anything is
// written. Returns a message naming the file and what went wrong, if so.
std::optional<QString> WriteModelFile(const QString& path, const ModelDocument& document);

}  // namespace veldorin
