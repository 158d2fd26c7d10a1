#include "uDaneSaduRejonowegoFrame.h"

const TSectionDescription& TDaneSaduRejonowegoFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneSaduRejonowegoFrame",
        QStringLiteral("Dane sądu rejonowego"),
        {{"pnlNazwa", &cDaneSaduRejonowegoNazwa}, {"pnlAdres", &cDaneSaduRejonowegoAdres}},
        {kPracownik, kKontrahent},
    };
    return d;
}

TDaneSaduRejonowegoFrame::TDaneSaduRejonowegoFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")), pnlAdres(Panel("pnlAdres")) {}
