#pragma once

#include <QString>

namespace veldorin {

// The program's own folder "Lumen_Forge" beside the program file, created when it is
// missing, as the working directory text: the folder followed by a separator.
QString DefaultWorkingDirectory(const QString& programDirectory);

}  // namespace veldorin
