// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/save_aside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "files/native_name.h"

namespace veldorin {
namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// As many links as the system itself follows in one name.
constexpr int kMaxLinks = 40;

// "a/b/" for "a/b/c", "" for "c": where a file of the name lies.
QByteArray FolderOf(const QByteArray& path) { return path.left(path.lastIndexOf('/') + 1); }

// N when the link is /proc/self/fd/N under any name (/dev/fd/N, /dev/stdout's target):
// one of the program's own open files, which has no name that a rename could replace.
std::optional<int> OwnDescriptorOf(const QByteArray& link) {
    struct stat folder {};
    struct stat own {};
    if (::stat((FolderOf(link) + ".").constData(), &folder) != 0 ||
        ::stat("/proc/self/fd", &own) != 0 || folder.st_dev != own.st_dev ||
        folder.st_ino != own.st_ino) {
        return std::nullopt;
    }
    bool isNumber = false;
    const int descriptor = link.mid(FolderOf(link).size()).toInt(&isNumber);
    return isNumber ? std::optional(descriptor) : std::nullopt;
}

// Where a save goes once the links in its name are followed.
struct Destination {
    QByteArray path;                      // the file to replace or make, or to write in place
    std::optional<struct stat> existing;  // what is there now; nothing when it is to be made
    std::optional<int> ownDescriptor;     // for one of the program's open files
    int error = 0;                        // why the links could not be followed
};

// Follows the links one by one rather than by realpath(), which gives up on a link to a
// file that does not exist yet: that file is the one to make.
Destination Follow(const QByteArray& name) {
    QByteArray path = name;
    for (int link = 0; link <= kMaxLinks; ++link) {
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0) {
            return {path, std::nullopt, std::nullopt, errno == ENOENT ? 0 : errno};
        }
        if (!S_ISLNK(status.st_mode)) return {path, status, std::nullopt};
        if (const auto descriptor = OwnDescriptorOf(path)) {
            if (::fstat(*descriptor, &status) != 0) {
                return {path, std::nullopt, std::nullopt, errno};
            }
            return {path, status, descriptor};
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length < 0) return {path, std::nullopt, std::nullopt, errno};
        if (static_cast<std::size_t>(length) == sizeof target) {
            return {path, std::nullopt, std::nullopt, ENAMETOOLONG};
        }
        const QByteArray next(target, length);
        path = next.startsWith('/') ? next : FolderOf(path) + next;
    }
    return {name, std::nullopt, std::nullopt, ELOOP};
}

// The side file: a new file in the target's folder, created with the permissions a new
// file gets; the old file's when there is one. Its short name leaves room for a target's
// name of any length the system allows.
int CreateSideFile(const QByteArray& target, QByteArray& sideFile, const struct stat* old) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        sideFile = FolderOf(target) + ".veldorin-";
        for (int digit = 0; digit < 6; ++digit) {
            sideFile += kDigits[QRandomGenerator::global()->bounded(36)];
        }
        const int descriptor =
            ::open(sideFile.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            if (old != nullptr) ::fchmod(descriptor, old->st_mode & 07777);
            return descriptor;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

// The device a writer writes to: every write goes on to the file, and one that the file
// takes only in part counts as failed. Qt reports a partial write of a large block (a full
// disk) back as a short count without an error, and some writers (the SVG generator)
// ignore the count.
class CheckedDevice final : public QIODevice {
public:
    explicit CheckedDevice(QFile& file) : file_(file) { open(WriteOnly | Unbuffered); }

    // The system's reason for the first write that failed, if one did.
    std::optional<int> failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        errno = 0;
        const qint64 written = file_.write(data, length);
        if (written != length && !failure_) failure_ = errno != 0 ? errno : EIO;
        return written;
    }

private:
    QFile& file_;
    std::optional<int> failure_;
};

// A device or a pipe has nothing to sync, and says so by failing.
bool IsOrdinaryFile(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

// Writes through a QFile on the descriptor, flushes Qt's buffer and the system's, and
// closes; the reason when any of it failed.
std::optional<QString> WriteAndSync(int descriptor, const std::function<bool(QIODevice&)>& write) {
    QFile file;
    if (!file.open(descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        ::close(descriptor);
        return file.errorString();
    }
    CheckedDevice device(file);
    const bool made = write(device);
    errno = 0;
    const bool flushed = file.flush();
    std::optional<QString> reason;
    // Qt's message for a failed write on a descriptor is "Unknown error"; the system's is
    // the one to show.
    if (const auto failure = device.failure()) {
        reason = SystemReason(*failure);
    } else if (!flushed) {
        reason = SystemReason(errno != 0 ? errno : EIO);
    } else if (!made) {
        reason = QStringLiteral("the data could not be made");
    } else if (IsOrdinaryFile(descriptor) && ::fsync(descriptor) != 0) {
        reason = SystemReason(errno);
    }
    file.close();
    if (::close(descriptor) != 0 && !reason) reason = SystemReason(errno);
    return reason;
}

// Writes the side file and renames it over the destination.
std::optional<QString> Replace(const Destination& destination,
                               const std::function<bool(QIODevice&)>& write) {
    QByteArray sideFile;
    const int descriptor = CreateSideFile(destination.path, sideFile,
                                          destination.existing ? &*destination.existing : nullptr);
    if (descriptor < 0) return SystemReason(errno);
    std::optional<QString> reason = WriteAndSync(descriptor, write);
    if (!reason && ::rename(sideFile.constData(), destination.path.constData()) != 0) {
        reason = SystemReason(errno);
    }
    if (reason) ::unlink(sideFile.constData());
    return reason;
}

// Writes into what is there, as a shell's redirection does: a device, a FIFO, or one of
// the program's own open files, which goes on after what the program printed to it.
std::optional<QString> WriteInPlace(const Destination& destination,
                                    const std::function<bool(QIODevice&)>& write) {
    int descriptor = -1;
    if (destination.ownDescriptor) {
        std::fflush(nullptr);
        descriptor = ::fcntl(*destination.ownDescriptor, F_DUPFD_CLOEXEC, 0);
    } else {
        descriptor = ::open(destination.path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    }
    if (descriptor < 0) return SystemReason(errno);
    return WriteAndSync(descriptor, write);
}

}  // namespace

std::optional<QString> SaveAside(const QString& path, const std::function<bool(QIODevice&)>& write,
                                 NotOrdinary notOrdinary) {
    const Destination destination = Follow(NativeName(path));
    const auto failure = [&](const QString& reason) {
        return QStringLiteral("Could not write %1: %2. %3")
            .arg(path, reason,
                 destination.existing ? QStringLiteral("The file that was there is unchanged.")
                                      : QStringLiteral("No file was made."));
    };
    if (destination.error != 0) return failure(SystemReason(destination.error));
    const bool ordinary = !destination.ownDescriptor &&
                          (!destination.existing || S_ISREG(destination.existing->st_mode));
    if (ordinary) {
        const auto reason = Replace(destination, write);
        return reason ? failure(*reason) : reason;
    }
    if (S_ISDIR(destination.existing->st_mode)) {
        return failure(QStringLiteral("a folder, not a file"));
    }
    if (notOrdinary == NotOrdinary::Refuse) return failure(QStringLiteral("not an ordinary file"));
    const auto reason = WriteInPlace(destination, write);
    return reason ? std::optional(QStringLiteral("Could not write %1: %2.").arg(path, *reason))
                  : reason;
}

std::optional<QString> SaveBytesAside(const QString& path, const QByteArray& bytes,
                                      NotOrdinary notOrdinary) {
    return SaveAside(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); },
        notOrdinary);
}

}  // namespace veldorin
