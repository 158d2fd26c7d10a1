#pragma once
// "Dane sądu rejonowego": a district court (name, address). Taxpayers only: refused in
// the employee and contractor contexts.

#include "uSectionFrame.h"

class TDaneSaduRejonowegoFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneSaduRejonowegoFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlNazwa;
    TPanel* pnlAdres;
};
