#include "uBackupSchedule.h"

#include "uDataBaseModule.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uSettingsModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace BackupSchedule {

namespace {

const QString& Key() {
    return QuorDataBaseDefs::EwidarKey;
}

QString DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Ewidar/kopie"));
}

void Say(const QString& Line) {
    std::fprintf(stderr, "%s\n", Line.toUtf8().constData());
}

} // namespace

TSettings Load() {
    TSettings s;
    s.folder = Registry::ReadString(Key(), QStringLiteral("BackupFolder"), QString());
    if (s.folder.isEmpty())
        s.folder = DefaultFolder();
    s.copies = std::max(1, Registry::ReadInteger(Key(), QStringLiteral("BackupCopies"), 7));
    s.automatic = Registry::ReadInteger(Key(), QStringLiteral("BackupAutomatic"), 1) != 0;
    s.lastDay = QDate::fromString(Registry::ReadString(Key(), QStringLiteral("BackupLastDay"), QString()),
                                  Qt::ISODate);
    return s;
}

void Save(const TSettings& Settings) {
    Registry::WriteString(Key(), QStringLiteral("BackupFolder"), Settings.folder);
    Registry::WriteInteger(Key(), QStringLiteral("BackupCopies"), Settings.copies);
    Registry::WriteInteger(Key(), QStringLiteral("BackupAutomatic"), Settings.automatic ? 1 : 0);
    Registry::WriteString(Key(), QStringLiteral("BackupLastDay"), Settings.lastDay.toString(Qt::ISODate));
}

QString NewFileName(const QString& Folder, const QDateTime& At) {
    return QDir(Folder).filePath(At.toString(QStringLiteral("'ewidar-'yyyy-MM-dd-HHmmss'.ewkopia'")));
}

QString FileFilter() {
    return QStringLiteral("Kopie zapasowe Ewidar (*.ewkopia);;Wszystkie pliki (*)");
}

bool Due(const TSettings& Settings, const QDate& Today) {
    return Settings.automatic && (!Settings.lastDay.isValid() || Settings.lastDay < Today);
}

QStringList Prune(const QString& Folder, int Keep) {
    QDir dir(Folder);
    QStringList removed;
    QStringList copies = dir.entryList({QStringLiteral("ewidar-*.ewkopia")}, QDir::Files, QDir::Name);
    while (copies.size() > std::max(1, Keep)) {
        const QString oldest = copies.takeFirst();
        if (dir.remove(oldest))
            removed << oldest;
    }
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.ewkopia.*.niepelna")}, QDir::Files))
        if (f.lastModified() < dayAgo && dir.remove(f.fileName()))
            removed << f.fileName();
    return removed;
}

bool IsCommandLine(const QStringList& Arguments) {
    return Arguments.contains(QStringLiteral("--kopia"));
}

int RunCommandLine(const QStringList& Arguments, const QString& ProgramFolder) {
    const qsizetype at = Arguments.indexOf(QStringLiteral("--kopia"));
    const QString folder = Arguments.value(at + 1);
    const qsizetype pw = Arguments.indexOf(QStringLiteral("--haslo-z-pliku"));
    if (folder.isEmpty() || folder.startsWith(QStringLiteral("--")) || (pw >= 0 && Arguments.value(pw + 1).isEmpty())) {
        Say(QStringLiteral("Użycie: Ewidar --kopia FOLDER [--haslo-z-pliku PLIK]"));
        return 2;
    }
    QString password;
    if (pw >= 0) {
        QFile f(Arguments.value(pw + 1));
        if (!f.open(QIODevice::ReadOnly)) {
            Say(QStringLiteral("Błąd kopii zapasowej: nie można odczytać pliku hasła %1.").arg(f.fileName()));
            return 1;
        }
        password = QString::fromUtf8(f.readAll()).section(u'\n', 0, 0).remove(u'\r');
        if (password.isEmpty()) {
            Say(QStringLiteral("Błąd kopii zapasowej: plik hasła %1 jest pusty.").arg(f.fileName()));
            return 1;
        }
    }
    if (!QDir().mkpath(folder)) {
        Say(QStringLiteral("Błąd kopii zapasowej: nie można utworzyć folderu %1.").arg(folder));
        return 1;
    }
    try {
        TSettingsModule settings;
        TDataBaseModule module(ProgramFolder);
        const QString symbol = settings.FMainSettingsRecord.DataBaseSymbol;
        TIntfPtr<IEwidarDataBase> root = module.CreateEwidarInterface(symbol);
        if (!root) {
            Say(QStringLiteral("Błąd kopii zapasowej: brak biblioteki bazy danych dla typu %1.").arg(symbol));
            return 1;
        }
        std::u16string param = settings.GetConnectorParam(symbol.isEmpty() ? QuorDataBaseDefs::SymbolAt(0) : symbol)
                                   .toStdU16String();
        const QString path = NewFileName(folder, QDateTime::currentDateTime());
        const bool ok = root->Connect(param, false) && root->Backup(path.toStdU16String(), password.toStdU16String());
        const int32_t code = root->GetLastErrorCode();
        std::u16string text, link;
        if (!ok && module.FGetLastError)
            module.FGetLastError(code, root->GetDataBaseID(), text, link);
        root->Disconnect();
        if (!ok) {
            Say(QStringLiteral("Błąd kopii zapasowej (kod %1): %2")
                    .arg(code)
                    .arg(QString::fromStdU16String(text).simplified()));
            return 1;
        }
        Say(QStringLiteral("Kopia zapasowa zapisana i sprawdzona: %1").arg(path));
        return 0;
    } catch (const Registry::ERegistryException& e) {
        Say(QStringLiteral("Błąd kopii zapasowej: ") + e.Message());
        return 1;
    }
}

} // namespace BackupSchedule
