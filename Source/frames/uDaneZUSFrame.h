#pragma once
// "Dane zakładu ubezpieczeń społecznych": a social-insurance office with its four bank
// accounts in a numbered table. A new office starts with the four usual account names
// as its stored values, so they count as no change. Refused in the contractor context.

#include "uSectionFrame.h"

class TDaneZUSFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneZUSFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetSize() override;

    static constexpr int AccountCount = 4;

    TPanel* pnlNazwa;
    TPanel* pnlAdres;
    TPanel* Panel7;
    TPanel* pnlNazwa1;
    TPanel* pnlNazwa2;
    TPanel* pnlNazwa3;
    TPanel* pnlNazwa4;
    TPanel* pnlNumer1;
    TPanel* pnlNumer2;
    TPanel* pnlNumer3;
    TPanel* pnlNumer4;
};
