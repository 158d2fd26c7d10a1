// Program start: the core object before any window, the main window, the message loop.

#include "uBackupSchedule.h"
#include "uCore.h"
#include "uInstallWindows.h"
#include "uMainForm.h"
#include "uQtTranslations.h"
#include "uRegistry.h"
#include "uVersion.h"

#include <QApplication>
#include <QMessageBox>

// The sanitizer build's leak check at exit leaves out what system libraries keep for
// the process's life (the same list the tests use) and says nothing about it; other
// builds never call these.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_options();
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\nleak:libglib-2.0.so\n";
}
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_options() {
    return "print_suppressions=0";
}

namespace {

// "Ewidar --kopia FOLDER [...]": a backup for cron, without any window (no display needed).
int CommandLineBackup(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ewidar"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorsys"));
    qputenv("EWIDAR_NO_ASK", "1");
    return BackupSchedule::RunCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "--kopia")
            return CommandLineBackup(argc, argv);
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
