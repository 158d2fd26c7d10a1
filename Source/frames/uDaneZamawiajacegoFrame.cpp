#include "uDaneZamawiajacegoFrame.h"

const TSectionDescription& TDaneZamawiajacego::Declaration() {
    static const TSectionDescription d{
        "TDaneZamawiajacego",
        QStringLiteral("Dane zamawiającego"),
        {{"pnlImie", &cDaneZamawiajacegoImie},
         {"pnlNazwisko", &cDaneZamawiajacegoNazwisko},
         {"pnlDaneDodatkowe", &cDaneZamawiajacegoDaneDodatkowe}},
        {kPodatnik, kPracownik},
    };
    return d;
}

TDaneZamawiajacego::TDaneZamawiajacego(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlImie(Panel("pnlImie")), pnlNazwisko(Panel("pnlNazwisko")),
      pnlDaneDodatkowe(Panel("pnlDaneDodatkowe")) {}
