#pragma once
// Installing dictionary data from the program: the TERYT files TERC and SIMC (the .zip
// files as the statistics office serves them, or the unpacked .csv) and a tax-office
// list. The files are checked and installed as the command-line tool Kwadrel2015Import
// does, under a progress window, and the result is reported with the tool's messages
// (a refusal names the file and the line). A refused file changes nothing.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace DictionaryImport {

// Asks the operator for files (Many: one or more); an empty list when cancelled.
using TFileChooser =
    std::function<QStringList(QWidget* Owner, const QString& Title, const QString& Filter, bool Many)>;
// Replaces the file dialog (tests); an empty function puts the file dialog back.
void SetFileChooser(TFileChooser Chooser);
// Where the data goes; empty (the default): the address-dictionary library's data folder.
void SetTargetFolder(const QString& Folder);

// Each returns true when new data was installed (the caller then reloads the tables).
bool ImportTeryt(QWidget* Owner);
bool ImportUrzedy(QWidget* Owner);

} // namespace DictionaryImport
