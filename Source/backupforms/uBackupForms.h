#pragma once
// The backup windows of the main window's "Baza danych" menu and the day's automatic
// backup, installed as the main window's backup openers.
//
// "Utwórz kopię zapasową…": the file, an optional password (the copy holds personal
// data: PESEL numbers, addresses), the automatic backups' folder and count. "Przywróć
// z kopii…": the file and its password, "Sprawdź kopię" shows its manifest (date,
// counts), then the restore into a new database (a new SQLite file or an empty
// server database, which the program then works on) or, after a question, over the
// current one, whose state is first saved as a backup of its own.

#include "uEwidarQuorDBIntf.h"

class QWidget;

namespace BackupForms {

void ShowBackupForm(QWidget* Owner, IEwidarDataBase* DataBase);
// True when the program must connect again.
bool ShowRestoreForm(QWidget* Owner, IEwidarDataBase* DataBase);
// Starts the day's automatic backup in the background when it is due; old copies
// beyond the count go only after the new one is written and checked.
void StartAutomaticBackup(QWidget* Owner, IEwidarDataBase* DataBase);

// Installs the three as the main window's openers.
void InstallBackupWindows();

} // namespace BackupForms
