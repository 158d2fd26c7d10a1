#include "uDaneBankuFrame.h"

const TSectionDescription& TDaneBankuFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneBankuFrame",
        QStringLiteral("Dane banku"),
        {{"pnlNazwa", &cDaneBankuNazwa},
         {"pnlAdres", &cDaneBankuAdres},
         {.Name = "pnlKraj", .Field = &cDaneBankuKraj, .Dictionary = fdKrajNazwa}},
        {kKontrahent},
    };
    return d;
}

TDaneBankuFrame::TDaneBankuFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")), pnlAdres(Panel("pnlAdres")),
      pnlKraj(Panel("pnlKraj")) {}
