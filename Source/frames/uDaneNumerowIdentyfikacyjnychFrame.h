#pragma once
// "Dane numeru identyfikacyjnego": a tax or social-insurance number given in another
// country. Country name and code are picked together from the country table.

#include "uSectionFrame.h"

class QToolButton;

class TDaneNumerowIdentyfikacyjnychFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneNumerowIdentyfikacyjnychFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlTyp;
    TPanel* pnlNumer;
    TPanel* pnlKraj;
    TPanel* pnlKodKraju;
    // "Sprawdź w VIES": a tax number of a member state against the EU's VAT register.
    QToolButton* btnVIES;
};
