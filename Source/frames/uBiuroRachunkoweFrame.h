#pragma once
// "Biuro rachunkowe": an accounting office. The tax number is judged with its country
// code, which is picked from the country table.

#include "uSectionFrame.h"

class TBiuroRachunkoweFrames : public TSectionFrame {
    Q_OBJECT
public:
    explicit TBiuroRachunkoweFrames(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlKrajNadaniaNumeru;
    TPanel* pnlNIP;
    TPanel* pnlNazwa;
    TPanel* pnlNazwisko;
    TPanel* pnlImie;
};
