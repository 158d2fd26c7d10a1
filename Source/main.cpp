// Program start: the core object before any window, the main window, the message loop.

#include "uCore.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ewidar"));
    QApplication::setOrganizationName(QStringLiteral("Quorsys"));
    CreateCore();
    int rc = 0;
    {
        // Interim main window until the registry window is built.
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("Ewidar Quor"));
        window.resize(1000, 700);
        window.setCentralWidget(new QLabel(QStringLiteral("Ewidar Quor"), &window));
        window.show();
        rc = QApplication::exec();
    }
    DestroyCore();
    return rc;
}
