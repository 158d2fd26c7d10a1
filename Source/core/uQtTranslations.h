#pragma once
// Qt's own Polish texts for the standard dialogs (file, print, colour, buttons),
// from the translations Qt ships (Debian: qt6-translations-l10n).

class QCoreApplication;
class QTranslator;

// Installs qtbase_pl from Qt's translations folder and returns the translator (a child
// of App); nullptr when the file is missing: the dialogs then stay in English.
QTranslator* InstallQtTranslations(QCoreApplication& App);
