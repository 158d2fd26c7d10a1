// Program start: the core object before any window, the main window, the message loop.

#include "uCore.h"
#include "uInstallWindows.h"
#include "uMainForm.h"
#include "uRegistry.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ewidar"));
    QApplication::setOrganizationName(QStringLiteral("Quorsys"));
    try {
        CreateCore();
    } catch (const Registry::ERegistryException& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Ewidar Quor"), e.Message());
        return 1;
    }
    InstallWindows();
    int rc = 0;
    {
        TMainForm form;
        form.show();
        rc = QApplication::exec();
    }
    DestroyCore();
    return rc;
}
