#pragma once
// "Słowniki" → "Importuj plik płaski wykazu VAT…": the ministry's daily flat file (its 7z
// archive or the JSON unpacked) chosen in a file dialog, imported under a progress window with "Przerwij", and a
// summary of what was imported. A refused or interrupted import keeps the previous file.

#include <QString>

#include <functional>

class QWidget;

namespace WhiteListFlatImport {

// Chooses the file (empty: cancelled); the file dialog unless replaced (tests).
using TFileChooser = std::function<QString(QWidget* Owner)>;
void SetFileChooser(TFileChooser Chooser);

// Imports into WhiteListFlatFile::StorePath(); true when a file was imported.
bool Run(QWidget* Owner);

} // namespace WhiteListFlatImport
