#pragma once
// "Dane urzędu statystycznego": a statistical office (name, address). Taxpayers only:
// refused in the employee and contractor contexts.

#include "uSectionFrame.h"

class TDaneUrzeduStatystycznegoFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneUrzeduStatystycznegoFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlNazwa;
    TPanel* pnlAdres;
};
