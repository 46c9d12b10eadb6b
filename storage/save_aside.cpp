// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/save_aside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "storage/native_name.h"

namespace veldorin {
namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The file a save replaces: the one a link points to, so that the link stays.
QByteArray TargetOf(const QByteArray& path) {
    char resolved[PATH_MAX];
    struct stat status {};
    if (::lstat(path.constData(), &status) == 0 && S_ISLNK(status.st_mode) &&
        ::realpath(path.constData(), resolved) != nullptr) {
        return QByteArray(resolved);
    }
    return path;
}

// A new file beside the target, created with the permissions a new file gets; the old
// file's when there is one.
int CreateAside(const QByteArray& target, QByteArray& aside, const struct stat* old) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        aside =
            target + ".saving-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int descriptor =
            ::open(aside.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
    } else if (::fsync(descriptor) != 0) {
        reason = SystemReason(errno);
    }
    file.close();
    if (::close(descriptor) != 0 && !reason) reason = SystemReason(errno);
    return reason;
}

}  // namespace

std::optional<QString> SaveAside(const QString& path,
                                 const std::function<bool(QIODevice&)>& write) {
    const QByteArray target = TargetOf(NativeName(path));
    struct stat old {};
    const bool hadFile = ::stat(target.constData(), &old) == 0;
    const auto failure = [&](const QString& reason) {
        return QStringLiteral("Could not write %1: %2. %3")
            .arg(path, reason,
                 hadFile ? QStringLiteral("The file that was there is unchanged.")
                         : QStringLiteral("No file was made."));
    };

    QByteArray aside;
    const int descriptor = CreateAside(target, aside, hadFile ? &old : nullptr);
    if (descriptor < 0) return failure(SystemReason(errno));
    std::optional<QString> reason = WriteAndSync(descriptor, write);
    if (!reason && ::rename(aside.constData(), target.constData()) != 0) {
        reason = SystemReason(errno);
    }
    if (reason) {
        ::unlink(aside.constData());
        return failure(*reason);
    }
    return std::nullopt;
}

std::optional<QString> SaveBytesAside(const QString& path, const QByteArray& bytes) {
    return SaveAside(path,
                     [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

}  // namespace veldorin
