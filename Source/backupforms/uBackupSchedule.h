#pragma once
// Where and how often backups are made, without windows: the settings (folder,
// copies kept, whether the day's automatic backup runs), the names of backup files,
// the removal of copies beyond the count, and the command-line backup for cron.

#include <QDate>
#include <QString>
#include <QStringList>

namespace BackupSchedule {

struct TSettings {
    QString folder;  // default: <user's data folder>/Ewidar/kopie
    int copies = 7;  // automatic backups kept in the folder
    bool automatic = true;
    QDate lastDay;   // the day of the last automatic backup
};

TSettings Load();
void Save(const TSettings& Settings);

// "ewidar-2026-12-10-081500.ewkopia" in Folder for the moment At.
QString NewFileName(const QString& Folder, const QDateTime& At);
// The file filter of backups in file dialogs.
QString FileFilter();

// Whether the day's automatic backup is still to be made.
bool Due(const TSettings& Settings, const QDate& Today);

// Removes the oldest "ewidar-*.ewkopia" files of Folder beyond Keep (by name, which
// orders them by time), and unfinished files of backups that died more than a day
// ago. Returns the removed names.
QStringList Prune(const QString& Folder, int Keep);

// "Ewidar --kopia FOLDER [--haslo-z-pliku FILE] [--login LOGIN --haslo-operatora-z-pliku
// FILE]": true when Arguments ask for it.
bool IsCommandLine(const QStringList& Arguments);
// Backs the configured database up into the folder without any window; one line on
// standard error, exit code 0 on success, 1 on failure, 2 for wrong arguments. The
// backup's password is the first line of its file; a database with operators needs the
// login and the operator's password, the first line of a file only its owner may read.
int RunCommandLine(const QStringList& Arguments, const QString& ProgramFolder);

} // namespace BackupSchedule
