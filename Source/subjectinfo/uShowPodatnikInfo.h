#pragma once
// "Pokaż" of the list frame: the information report of a subject as an HTML page in
// the viewer library.

#include "uEwidarQuorDBIntf.h"

class QWidget;
class THTMLViewerModule;

// Builds the page (pruned, three columns) and shows it in Viewer; an empty page shows nothing.
void ShowPodatnikInfo(THTMLViewerModule& Viewer, QWidget* OwnerForm, IEwidarDataBase* DataBase,
                      IPodmioty* Podmioty, IPodatnicy* Podatnicy, IPodmiot* Podmiot);

// Installs the program's opener of the report into the list frame.
void InstallSubjectInfo();
