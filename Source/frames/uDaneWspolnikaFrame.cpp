#include "uDaneWspolnikaFrame.h"

const TSectionDescription& TDaneWspolnikaFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneWspolnikaFrame",
        QStringLiteral("Dane wspólnika"),
        {{"pnlImie", &cDaneWspolnikaImie}, {"pnlNazwisko", &cDaneWspolnikaNazwisko}},
        {kPracownik, kKontrahent},
    };
    return d;
}

TDaneWspolnikaFrame::TDaneWspolnikaFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlImie(Panel("pnlImie")), pnlNazwisko(Panel("pnlNazwisko")) {}
