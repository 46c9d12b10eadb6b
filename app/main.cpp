#include <QApplication>

#include "modeling.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // One style everywhere, so that the design's button and list colours show.
    QApplication::setStyle(QStringLiteral("Fusion"));
    veldorin::Modeling window;
    window.Form_Load(QCoreApplication::applicationDirPath());
    return QApplication::exec();
}
