#include "uDaneNumerowIdentyfikacyjnychFrame.h"

const TSectionDescription& TDaneNumerowIdentyfikacyjnychFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneNumerowIdentyfikacyjnychFrame",
        QStringLiteral("Dane numeru identyfikacyjnego"),
        {{"pnlTyp", &cDaneNumeruIdentyfikacyjnegoTyp},
         {"pnlNumer", &cDaneNumeruIdentyfikacyjnegoNumer},
         {.Name = "pnlKraj", .Field = &cDaneNumeruIdentyfikacyjnegoKraj, .Dictionary = fdKraj},
         {.Name = "pnlKodKraju",
          .Field = &cDaneNumeruIdentyfikacyjnegoKodKraju,
          .Dictionary = fdKraj,
          .Shape = psCountryCode}},
        {},
    };
    return d;
}

TDaneNumerowIdentyfikacyjnychFrame::TDaneNumerowIdentyfikacyjnychFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlTyp(Panel("pnlTyp")), pnlNumer(Panel("pnlNumer")),
      pnlKraj(Panel("pnlKraj")), pnlKodKraju(Panel("pnlKodKraju")) {}
