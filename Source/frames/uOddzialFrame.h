#pragma once
// "Dane oddziału / jednostki lokalnej": a branch of a subject with its REGON and
// address; the address panels pick from the dictionaries.

#include "uSectionFrame.h"

class TOddzialFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TOddzialFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlNazwa;
    TPanel* pnlREGON;
    TPanel* pnlSkrytkaPocztowa;
};
