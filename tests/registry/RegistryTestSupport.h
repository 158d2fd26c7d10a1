#pragma once
// Helpers for tests of the registry layer: prepare the machine-wide branch, look at the
// user's settings file directly, make the user's store unreadable or unwritable, and record
// what the report list shows.

#include "uRegistryReport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace RegistryTest {

// Clears both settings folders, the policy table and the report list.
void ResetAll();

// A value of the machine-wide branch under organisation "Quorsys" (Group "A/B" is the key
// "Software\Quorsys\A\B"; an empty group is "Software\Quorsys" itself).
void SetMachine(const QString& Group, const QString& Name, const QVariant& Data);
void RemoveMachine(const QString& Group, const QString& Name);
// Replaces the machine-wide file of organisation "Quorsys" with the given INI text.
void WriteMachineFile(const QByteArray& IniText);

// The user's branch read directly (no policy, no machine-wide fall-back).
bool UserHas(const QString& Group, const QString& Name);
QVariant UserValue(const QString& Group, const QString& Name);
void SetUser(const QString& Group, const QString& Name, const QVariant& Data);
// Moves the modification time of both settings files so that the next read parses them
// from disk again instead of using QSettings' cache.
void ForceReloadFromDisk();

// While alive, the user's settings file of "Quorsys" is a folder: it can be neither read nor
// written. The file is put back afterwards.
class TUnreadableUserStore {
public:
    TUnreadableUserStore();
    ~TUnreadableUserStore();
};

// While alive, the folder of the given scope's settings is a regular file: nothing can be
// written there, and it reads as empty.
class TUnwritableStore {
public:
    explicit TUnwritableStore(bool MachineWide = false);
    ~TUnwritableStore();

private:
    QString m_dir;
};

// While alive, every showing of the report list is recorded instead of shown.
class TReportRecorder {
public:
    struct TShowing {
        QString Caption;
        QString Text;
    };
    TReportRecorder();
    ~TReportRecorder();
    std::vector<TShowing> Showings;

private:
    Registry::TReportPresenter m_previous;
};

// Runs the event loop for the given time.
void ProcessEventsFor(int Ms);

} // namespace RegistryTest
