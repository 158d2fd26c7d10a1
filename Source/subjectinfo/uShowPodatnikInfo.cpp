#include "uShowPodatnikInfo.h"

#include <QCursor> // before uWaitCursor.h, which needs it

#include "uGetPodatnikInfo.h"
#include "uHTMLViewerModule.h"
#include "uListOpeners.h"
#include "uWaitCursor.h"

void ShowPodatnikInfo(THTMLViewerModule& Viewer, QWidget* OwnerForm, IEwidarDataBase* DataBase,
                      IPodmioty* Podmioty, IPodatnicy* Podatnicy, IPodmiot* Podmiot) {
    if (!Podmiot)
        return;
    QString page;
    {
        TWaitCursor wait;
        page = GetPodatnikInfo(DataBase, Podmioty, Podatnicy, Podmiot, true, true, 3);
    }
    if (!page.isEmpty())
        Viewer.Show(OwnerForm, page);
}

void InstallSubjectInfo() {
    ListOpeners::SetSubjectInfoOpener([](QWidget* OwnerForm, IEwidarDataBase* DataBase, IPodmioty* Podmioty,
                                         IPodatnicy* Podatnicy, IPodmiot* Podmiot) {
        ShowPodatnikInfo(HTMLViewerModule(), OwnerForm, DataBase, Podmioty, Podatnicy, Podmiot);
    });
}
