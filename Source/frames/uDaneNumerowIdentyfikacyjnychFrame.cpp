#include "uDaneNumerowIdentyfikacyjnychFrame.h"

#include "uFrameOpeners.h"

#include <QToolButton>

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
      pnlKraj(Panel("pnlKraj")), pnlKodKraju(Panel("pnlKodKraju")) {
    btnVIES = new QToolButton(pnlContainer);
    btnVIES->setObjectName(QStringLiteral("btnVIES"));
    btnVIES->setText(QStringLiteral("Sprawdź w VIES"));
    btnVIES->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AddBelowPanels(btnVIES);
    connect(btnVIES, &QToolButton::clicked, this, [this] { FrameOpeners::CheckInVies(window(), this); });
}
