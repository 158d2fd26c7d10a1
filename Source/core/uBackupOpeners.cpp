#include "uBackupOpeners.h"

#include "uOpener.h"

namespace BackupOpeners {

namespace {

struct TOpeners {
    TOpener<void(QWidget*, IEwidarDataBase*)> Backup;
    TOpener<bool(QWidget*, IEwidarDataBase*)> Restore;
    TOpener<void(QWidget*, IEwidarDataBase*)> Start;
    TOpener<void()> Stop;
};

TOpeners& Openers() {
    static TOpeners openers;
    return openers;
}

} // namespace

void SetBackupOpener(TBackupOpener Opener) {
    Openers().Backup.Set(std::move(Opener));
}
void SetRestoreOpener(TRestoreOpener Opener) {
    Openers().Restore.Set(std::move(Opener));
}
void SetStartHook(TStartHook Hook) {
    Openers().Start.Set(std::move(Hook));
}
void SetStopHook(std::function<void()> Hook) {
    Openers().Stop.Set(std::move(Hook));
}

void ResetOpeners() {
    Openers() = TOpeners();
}

void OpenBackup(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    Openers().Backup.Call(OwnerForm, DataBase);
}
bool OpenRestore(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    return Openers().Restore.Call(OwnerForm, DataBase);
}
void Started(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    Openers().Start.Call(OwnerForm, DataBase);
}

void Stopping() {
    Openers().Stop.Call();
}

} // namespace BackupOpeners
