#include <QApplication>

#include "modeling.h"
#include "startup_places.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // One style everywhere, so that the design's button and list colours show.
    QApplication::setStyle(QStringLiteral("Fusion"));
    veldorin::Modeling window;
    const veldorin::StartupPlaces places = veldorin::StartupPlaces::OfThisProgram();
    window.Form_Load(places.programDirectory, places.userDataDirectory);
    return QApplication::exec();
}
