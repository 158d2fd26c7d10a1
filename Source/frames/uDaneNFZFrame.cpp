#include "uDaneNFZFrame.h"

const TSectionDescription& TDaneNFZFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneNFZFrame",
        QStringLiteral("Dane NFZ"),
        {{"pnlKod", &cDaneNFZKod}, {"pnlNazwa", &cDaneNFZNazwa}},
        {kKontrahent},
    };
    return d;
}

TDaneNFZFrame::TDaneNFZFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlKod(Panel("pnlKod")), pnlNazwa(Panel("pnlNazwa")) {}
