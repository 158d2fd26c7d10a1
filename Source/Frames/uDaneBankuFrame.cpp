#include "uDaneBankuFrame.h"

#include "uEditingPictures.h"

const TSectionDescription& TDaneBankuFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneBankuFrame",
        QStringLiteral("Dane banku"),
        {{"pnlNazwa", &cDaneBankuNazwa}, {"pnlAdres", &cDaneBankuAdres}, {"pnlKraj", &cDaneBankuKraj}},
        {kKontrahent},
    };
    return d;
}

TDaneBankuFrame::TDaneBankuFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")), pnlAdres(Panel("pnlAdres")),
      pnlKraj(Panel("pnlKraj")) {
    pnlKraj->SetIcon(EditingPictures::TableIcon());
    pnlKraj->SetIconHint(QStringLiteral("Tablica krajów"));
    pnlKraj->SetOnIconClick([this](TPanel* Sender) {
        const QString name = FrameOpeners::ChooseCountry(window(), Sender->Value());
        if (!name.isEmpty())
            Sender->SetValue(name);
    });
}
