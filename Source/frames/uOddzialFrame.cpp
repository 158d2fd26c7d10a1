#include "uOddzialFrame.h"

#include "uDataValidate.h"

const TSectionDescription& TOddzialFrame::Declaration() {
    static const TSectionDescription d = [] {
        TSectionDescription d{"TOddzialFrame",
                              QStringLiteral("Dane oddziału / jednostki lokalnej"),
                              {{"pnlNazwa", &cDaneOddzialuNazwa},
                               {"pnlREGON", &cDaneOddzialuREGON, uDataValidate::ValidateREGON}},
                              {}};
        d.Panels += AddressPanels(QStringLiteral("cDaneOddzialu"));
        d.Panels.append({"pnlSkrytkaPocztowa", &cDaneOddzialuSkrytkaPocztowa});
        return d;
    }();
    return d;
}

TOddzialFrame::TOddzialFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")), pnlREGON(Panel("pnlREGON")),
      pnlSkrytkaPocztowa(Panel("pnlSkrytkaPocztowa")) {}
