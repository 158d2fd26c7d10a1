#include "uDaneUrzeduStatystycznegoFrame.h"

const TSectionDescription& TDaneUrzeduStatystycznegoFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneUrzeduStatystycznegoFrame",
        QStringLiteral("Dane urzędu statystycznego"),
        {{"pnlNazwa", &cDaneUrzeduStatystycznegoNazwa}, {"pnlAdres", &cDaneUrzeduStatystycznegoAdres}},
        {kPracownik, kKontrahent},
    };
    return d;
}

TDaneUrzeduStatystycznegoFrame::TDaneUrzeduStatystycznegoFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")), pnlAdres(Panel("pnlAdres")) {}
