#pragma once
// "Dane zamawiającego": the person who orders on behalf of a contractor. Contractors
// only: refused in the taxpayer and employee contexts.

#include "uSectionFrame.h"

class TDaneZamawiajacego : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneZamawiajacego(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlImie;
    TPanel* pnlNazwisko;
    TPanel* pnlDaneDodatkowe;
};
