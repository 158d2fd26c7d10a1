#pragma once
// "Dane wspólnika": a partner of a company (first name, surname). Refused in the
// employee and contractor contexts.

#include "uSectionFrame.h"

class TDaneWspolnikaFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneWspolnikaFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlImie;
    TPanel* pnlNazwisko;
};
