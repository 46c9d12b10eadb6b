#include "startup_places.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace veldorin {

StartupPlaces StartupPlaces::OfThisProgram() {
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)};
}

}  // namespace veldorin
