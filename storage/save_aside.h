#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace veldorin {

// Writes a whole file through `write`, aside first and then renamed over the old one, so
// that a failed write leaves what was there before. Returns whether the file was written.
bool SaveAside(const QString& path, const std::function<bool(QIODevice&)>& write);

}  // namespace veldorin
