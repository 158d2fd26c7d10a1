#include "uRodzajDzialalnosciFrame.h"

const TSectionDescription& TRodzajDzialalnosciFrame::Declaration() {
    static const TSectionDescription d{
        "TRodzajDzialalnosciFrame",
        QStringLiteral("Rodzaj działalności"),
        {{"pnlKodPKD", &cRodzajDzialalnosciKodPKD}, {"pnlOpisPKD", &cRodzajDzialalnosciOpisPKD}},
        {kPracownik, kKontrahent},
    };
    return d;
}

TRodzajDzialalnosciFrame::TRodzajDzialalnosciFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlKodPKD(Panel("pnlKodPKD")), pnlOpisPKD(Panel("pnlOpisPKD")) {}

void TRodzajDzialalnosciFrame::SetReadOnly(bool Value) {
    TSectionFrame::SetReadOnly(Value);
    pnlKodPKD->SetFieldCaption(QStringLiteral("Rodzaj przeważającej działalności - kod wg PKD:"));
    pnlOpisPKD->SetFieldCaption(QStringLiteral("Rodzaj przeważającej działalności - opis wg PKD:"));
}
