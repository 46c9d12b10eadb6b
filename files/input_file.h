// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace veldorin {

// The largest file the program reads: a model with 100,000 measurement rows, or a
// protein's data with as many, fits well within it.
inline constexpr std::size_t kMaxInputFileBytes = std::size_t{64} << 20;

// A file's bytes, or why it was not read, without its name: "no such file", "a folder,
// not a file", "not an ordinary file" (a device, a FIFO, a socket), "a loop of symbolic
// links", "larger than the limit of 64 MiB", or "cannot be read (the system's reason)".
struct InputFileRead {
    std::optional<std::string> bytes;
    std::string reason;
};

// Reads a whole ordinary file of at most `limit` bytes, following links. A FIFO is
// refused without waiting for a writer, and a device without reading from it.
InputFileRead ReadInputFile(const std::string& path, std::size_t limit = kMaxInputFileBytes);

// "64 MiB": a limit as the messages name it.
std::string SizeText(std::size_t bytes);

}  // namespace veldorin
