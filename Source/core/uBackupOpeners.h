#pragma once
// How the main window reaches the backup windows and the automatic backup, which
// live in a unit above it. Until installed, the windows show nothing and the
// automatic backup does not run.

#include "uEwidarQuorDBIntf.h"

#include <functional>

class QWidget;

namespace BackupOpeners {

// "Utwórz kopię zapasową…".
using TBackupOpener = std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;
// "Przywróć z kopii…": true when the program must connect again (the current database
// was replaced, or the program now works on the restored one).
using TRestoreOpener = std::function<bool(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;
// Runs once the database is connected at start: the day's automatic backup.
using TStartHook = std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;

void SetBackupOpener(TBackupOpener Opener);
void SetRestoreOpener(TRestoreOpener Opener);
void SetStartHook(TStartHook Hook);
// Runs before the connection ends (leaving the database, closing the program): the
// automatic backup still running is stopped and waited for.
void SetStopHook(std::function<void()> Hook);
void ResetOpeners();

void OpenBackup(QWidget* OwnerForm, IEwidarDataBase* DataBase);
bool OpenRestore(QWidget* OwnerForm, IEwidarDataBase* DataBase);
void Started(QWidget* OwnerForm, IEwidarDataBase* DataBase);
void Stopping();

} // namespace BackupOpeners
