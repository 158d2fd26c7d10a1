#include "uBiuroRachunkoweFrame.h"
#include "uDataValidate.h"

const TSectionDescription& TBiuroRachunkoweFrames::Declaration() {
    static const TSectionDescription d{
        "TBiuroRachunkoweFrames",
        QStringLiteral("Biuro rachunkowe"),
        {{"pnlKrajNadaniaNumeru",
          &cBiuroRachunkoweKodKrajuNadaniaNumeru,
          uDataValidate::ValidateCountryCode,
          {"pnlNIP"},
          fdKrajKod,
          psCountryCode},
         {"pnlNIP", &cBiuroRachunkoweNIP, uDataValidate::ValidateNIPWithCountry, {"pnlKrajNadaniaNumeru"}},
         {"pnlNazwa", &cBiuroRachunkoweNazwa},
         {"pnlNazwisko", &cBiuroRachunkoweNazwisko},
         {"pnlImie", &cBiuroRachunkoweImie}},
        {},
    };
    return d;
}

TBiuroRachunkoweFrames::TBiuroRachunkoweFrames(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlKrajNadaniaNumeru(Panel("pnlKrajNadaniaNumeru")),
      pnlNIP(Panel("pnlNIP")), pnlNazwa(Panel("pnlNazwa")), pnlNazwisko(Panel("pnlNazwisko")),
      pnlImie(Panel("pnlImie")) {}
