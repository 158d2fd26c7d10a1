#pragma once
// "Dane adresowe działalności": one business address with its kinds. Not for
// employees. The "same as residence" boxes are hidden for a contractor; the descriptive
// address is shown only while the additional place of business is ticked.

#include "uSectionFrame.h"

class TDaneAdresoweDzialanosciFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneAdresoweDzialanosciFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetKontekst(TKontekst Value) override;
    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;

    TPanel* pnlTypAdresu;
    TPanel* pnlAdresDzialalnosciTakiSamJakZamieszkania;
    TPanel* pnlAdresDoreczeiTakiSamJakZamieszkania;
    TPanel* pnlAdresOpisowy;
    QWidget* Bevel1;
    QWidget* Bevel2;

private:
    void UpdateAdresOpisowy();
};
