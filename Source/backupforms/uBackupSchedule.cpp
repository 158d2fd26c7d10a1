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

namespace {

const QString kUsage = QStringLiteral(
    "Użycie: Ewidar --kopia FOLDER [--haslo-z-pliku PLIK] [--login LOGIN --haslo-operatora-z-pliku PLIK]");

// The value after Option; Given tells whether the option is there at all.
QString OptionValue(const QStringList& Arguments, const QString& Option, bool& Given) {
    const qsizetype at = Arguments.indexOf(Option);
    Given = at >= 0;
    return Given ? Arguments.value(at + 1) : QString();
}

bool Missing(const QString& Value) {
    return Value.isEmpty() || Value.startsWith(QStringLiteral("--"));
}

// The first line of the file Path (What names it in messages); empty, with the line
// said, when it cannot be read or is empty. An operator's password (OwnerOnly) is
// refused from a file that others than its owner may read or change.
QString SecretFromFile(const QString& Path, const QString& What, bool OwnerOnly) {
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly)) {
        Say(QStringLiteral("Błąd kopii zapasowej: nie można odczytać pliku %1 %2.").arg(What, Path));
        return {};
    }
#if defined(Q_OS_UNIX)
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ReadOther | QFileDevice::WriteOther;
    if (OwnerOnly && (f.permissions() & others)) {
        Say(QStringLiteral("Błąd kopii zapasowej: plik %1 %2 mogą czytać lub zmieniać inni użytkownicy; "
                           "pozwól na dostęp tylko właścicielowi (chmod 600 %2).")
                .arg(What, Path));
        return {};
    }
#else
    Q_UNUSED(OwnerOnly)
#endif
    const QString secret = QString::fromUtf8(f.readAll()).section(u'\n', 0, 0).remove(u'\r');
    if (secret.isEmpty())
        Say(QStringLiteral("Błąd kopii zapasowej: plik %1 %2 jest pusty.").arg(What, Path));
    return secret;
}

// The line of a refusal by the backend: its code and its text.
void SayRefused(TDataBaseModule& Module, IEwidarDataBase* Root, const QString& Before) {
    const int32_t code = Root->GetLastErrorCode();
    std::u16string text, link;
    if (Module.FGetLastError)
        Module.FGetLastError(code, Root->GetDataBaseID(), text, link);
    Say(QStringLiteral("%1 (kod %2): %3").arg(Before).arg(code).arg(QString::fromStdU16String(text).simplified()));
}

} // namespace

int RunCommandLine(const QStringList& Arguments, const QString& ProgramFolder) {
    bool given = false, passwordGiven = false, loginGiven = false, operatorPasswordGiven = false;
    const QString folder = OptionValue(Arguments, QStringLiteral("--kopia"), given);
    const QString passwordFile = OptionValue(Arguments, QStringLiteral("--haslo-z-pliku"), passwordGiven);
    const QString login = OptionValue(Arguments, QStringLiteral("--login"), loginGiven);
    const QString operatorFile =
        OptionValue(Arguments, QStringLiteral("--haslo-operatora-z-pliku"), operatorPasswordGiven);
    if (Missing(folder) || (passwordGiven && Missing(passwordFile)) || (loginGiven && Missing(login)) ||
        (operatorPasswordGiven && Missing(operatorFile)) || loginGiven != operatorPasswordGiven) {
        Say(kUsage);
        return 2;
    }
    QString password, operatorPassword;
    if (passwordGiven && (password = SecretFromFile(passwordFile, QStringLiteral("hasła"), false)).isEmpty())
        return 1;
    if (loginGiven &&
        (operatorPassword = SecretFromFile(operatorFile, QStringLiteral("hasła operatora"), true)).isEmpty())
        return 1;
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
        if (!root->Connect(param, false)) {
            SayRefused(module, root.get(), QStringLiteral("Błąd kopii zapasowej"));
            return 1;
        }
        // A database with operators is read with the rights of the one named; a database
        // without them needs no login (a given one is then not used).
        if (!root->IsLoggedIn()) {
            if (!loginGiven) {
                root->Disconnect();
                Say(QStringLiteral("Błąd kopii zapasowej: baza danych ma operatorów, a nie podano, kto robi kopię; "
                                   "dodaj --login LOGIN --haslo-operatora-z-pliku PLIK."));
                return 1;
            }
            if (!root->Login(login.toStdU16String(), operatorPassword.toStdU16String())) {
                SayRefused(module, root.get(),
                           QStringLiteral("Błąd kopii zapasowej: operator %1 nie został zalogowany").arg(login));
                root->Disconnect();
                return 1;
            }
        }
        const QString path = NewFileName(folder, QDateTime::currentDateTime());
        const bool ok = root->Backup(path.toStdU16String(), password.toStdU16String());
        if (!ok)
            SayRefused(module, root.get(), QStringLiteral("Błąd kopii zapasowej"));
        if (loginGiven)
            root->Logout();
        root->Disconnect();
        if (!ok)
            return 1;
        Say(QStringLiteral("Kopia zapasowa zapisana i sprawdzona: %1").arg(path));
        return 0;
    } catch (const Registry::ERegistryException& e) {
        Say(QStringLiteral("Błąd kopii zapasowej: ") + e.Message());
        return 1;
    }
}

} // namespace BackupSchedule
