#pragma once
// Runs a backup operation of a root object under a progress window with "Przerwij".
// A backup and the reading of a backup run on a thread of their own (the backend
// works over connections of its own), so the window stays live; a restore writes
// through the root object's connection and runs on this thread, the window kept
// live from its progress handler. The root object's own handler is put back after.

#include "uEwidarQuorDBIntf.h"

#include <QString>

#include <functional>

class QWidget;

namespace BackupTask {

enum class TWhere { wThread, wHere };

// Work's result; the window is closed before returning.
bool Run(QWidget* Owner, const QString& Label, IEwidarDataBase* Root, TWhere Where,
         const std::function<bool()>& Work);

// Runs Work on a thread of its own without any window; Done(result) is called on this
// thread when it has ended. The root object must stay alive and connected until then,
// or until StopBackground has returned.
void RunInBackground(IEwidarDataBase* Root, std::function<bool()> Work, std::function<void(bool)> Done);

// Asks every background work to stop (its progress handler answers "cancel"), waits for
// each thread and puts the root objects' handlers back. Done runs only for a work that
// had already succeeded; one that stopped short is dropped without a message (the program
// is closing or leaving the database). Called before a connection ends.
void StopBackground();

} // namespace BackupTask
