#pragma once
// How the main window's "Importuj podmioty z pliku…" reaches the import window, which
// lives in another unit: a replaceable function; until one is installed nothing is imported.

#include "uEwidarQuorDBIntf.h"

#include <functional>

class QWidget;

namespace SubjectImportOpener {

// Registry: the subject registry shown (switch order 0-3; 0, all subjects, adds taxpayers).
// True when subjects were added.
using TOpener = std::function<bool(QWidget* OwnerForm, IEwidarDataBase* DataBase, int Registry)>;

// Installing an empty function puts the do-nothing default back.
void SetOpener(TOpener Opener);
bool ImportSubjects(QWidget* OwnerForm, IEwidarDataBase* DataBase, int Registry);

} // namespace SubjectImportOpener
