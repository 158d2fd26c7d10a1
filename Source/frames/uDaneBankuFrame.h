#pragma once
// "Dane banku": a bank (name, address, country). The country panel picks from the
// country table. Refused in the contractor context. Embedded read-only in the
// account frame as its linked bank.

#include "uSectionFrame.h"

class TDaneBankuFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneBankuFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlNazwa;
    TPanel* pnlAdres;
    TPanel* pnlKraj;
};
