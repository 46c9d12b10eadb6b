// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace veldorin {
namespace {

std::string WhyNotRead(int error) {
    switch (error) {
        case ENOENT: return "no such file";
        case ENOTDIR: return "no such file (a part of its path is not a folder)";
        case ELOOP: return "a loop of symbolic links, not a file";
        default: return std::string("cannot be read (") + std::strerror(error) + ")";
    }
}

InputFileRead Refused(std::string reason) { return {std::nullopt, std::move(reason)}; }

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

}  // namespace

std::string SizeText(std::size_t bytes) {
    if (bytes % (std::size_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes % (std::size_t{1} << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

InputFileRead ReadInputFile(const std::string& path, std::size_t limit) {
    // Without blocking, so that a FIFO in the file's place is refused, not waited on.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        // A folder opens read-only on Linux, but not everywhere.
        return Refused(errno == EISDIR ? "a folder, not a file" : WhyNotRead(errno));
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return Refused(WhyNotRead(errno));
    if (S_ISDIR(status.st_mode)) return Refused("a folder, not a file");
    if (!S_ISREG(status.st_mode)) return Refused("not an ordinary file");
    const auto tooLarge = [limit] {
        return Refused("larger than the limit of " + SizeText(limit));
    };
    if (static_cast<std::size_t>(status.st_size) > limit) return tooLarge();
    // The size may change while it is read: one byte beyond the limit tells.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > limit) return tooLarge();
            bytes.resize(std::min(limit + 1, 2 * bytes.size()));
        }
        const ssize_t count = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (count < 0) {
            if (errno == EINTR) continue;
            return Refused(WhyNotRead(errno));
        }
        if (count == 0) break;
        filled += static_cast<std::size_t>(count);
    }
    if (filled > limit) return tooLarge();
    bytes.resize(filled);
    return {std::move(bytes), {}};
}

}  // namespace veldorin
