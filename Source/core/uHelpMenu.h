#pragma once
// "Pomoc": the user guide shipped with the program and the "O programie" box.

#include <QString>
#include <QStringList>

class QWidget;

namespace HelpMenu {

// Where the guide's first page may be, first found wins: beside the program (a build
// folder), the installed documentation relative to the program's folder
// (<prefix>/lib/ewidar -> <prefix>/share/doc/ewidar), and the system's documentation.
QStringList GuideCandidates(const QString& ProgramFolder);
// The first candidate that exists; empty when none does.
QString FindGuide(const QString& ProgramFolder);
// Opens the guide in the desktop's browser, or says where it was looked for.
void OpenGuide(QWidget* Owner);
// The text of "O programie": name, version, Qt version.
QString AboutText();
void ShowAbout(QWidget* Owner);

} // namespace HelpMenu
