#include "uHelpMenu.h"

#include "uMessagePresenter.h"
#include "uVersion.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace HelpMenu {

namespace {
const QString kTitle = QStringLiteral("Ewidar Quor");
const QString kGuidePage = QStringLiteral("podrecznik/index.html");
} // namespace

QStringList GuideCandidates(const QString& ProgramFolder) {
    const QDir program(ProgramFolder);
    return {QDir::cleanPath(program.absoluteFilePath(kGuidePage)),
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../../share/doc/ewidar/") + kGuidePage)),
            QStringLiteral("/usr/share/doc/ewidar/") + kGuidePage};
}

QString FindGuide(const QString& ProgramFolder) {
    for (const QString& path : GuideCandidates(ProgramFolder))
        if (QFileInfo(path).isFile())
            return path;
    return {};
}

void OpenGuide(QWidget* Owner) {
    const QString folder = QCoreApplication::applicationDirPath();
    const QString guide = FindGuide(folder);
    if (guide.isEmpty()) {
        QStringList looked;
        for (const QString& path : GuideCandidates(folder))
            looked << QDir::toNativeSeparators(path);
        ShowMessageBox(Owner, kTitle,
                       QStringLiteral("Nie znaleziono podręcznika. Szukano:\n%1").arg(looked.join(u'\n')),
                       TMsgDlgType::mtWarning);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide)))
        ShowMessageBox(Owner, kTitle,
                       QStringLiteral("Nie udało się otworzyć przeglądarki. Podręcznik jest w pliku:\n%1")
                           .arg(QDir::toNativeSeparators(guide)),
                       TMsgDlgType::mtWarning);
}

QString AboutText() {
    return QStringLiteral("Ewidar Quor\nWersja %1\n\nEwidencja podatników, pracowników, kontrahentów i "
                          "instytucji dla biur rachunkowych.\n\nQt %2")
        .arg(QLatin1String(EwidarVersion), QLatin1String(qVersion()));
}

void ShowAbout(QWidget* Owner) {
    ShowMessageBox(Owner, QStringLiteral("O programie"), AboutText(), TMsgDlgType::mtInformation);
}

} // namespace HelpMenu
