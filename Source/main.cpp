// Program start: the core object before any window, the main window, the message loop.

#include "uCore.h"
#include "uInstallWindows.h"
#include "uMainForm.h"
#include "uQtTranslations.h"
#include "uRegistry.h"
#include "uVersion.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ewidar"));
    QApplication::setOrganizationName(QStringLiteral("Quorsys"));
    QApplication::setApplicationVersion(QLatin1String(EwidarVersion));
    // Polish texts in Qt's standard dialogs; the program's own texts are Polish already.
    InstallQtTranslations(app);
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
