#pragma once

#include <QString>

namespace veldorin {

// Where start-up looks for the program's data folder "Lumen_Forge".
struct StartupPlaces {
    QString programDirectory;   // the folder that holds the program file
    QString userDataDirectory;  // the user's own data folder, used when the program's folder
                                // cannot hold "Lumen_Forge"; empty means there is none

    // The running program's places; needs the application object.
    static StartupPlaces OfThisProgram();
};

}  // namespace veldorin
