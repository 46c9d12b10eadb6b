#include "storage/save_aside.h"

#include <QSaveFile>

namespace veldorin {

bool SaveAside(const QString& path, const std::function<bool(QIODevice&)>& write) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && write(file) && file.commit();
}

}  // namespace veldorin
