#include "working_directory.h"

#include <QDir>

namespace veldorin {

QString DefaultWorkingDirectory(const QString& programDirectory) {
    const QString name = QStringLiteral("Lumen_Forge");
    // A folder that cannot be created shows up at the first recalculation, which then
    // reports that "table.dat" cannot be written.
    QDir(programDirectory).mkpath(name);
    return programDirectory + QLatin1Char('/') + name + QLatin1Char('/');
}

}  // namespace veldorin
