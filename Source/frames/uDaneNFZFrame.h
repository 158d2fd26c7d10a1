#pragma once
// "Dane NFZ": a health-fund branch (code and name). Refused in the contractor context.

#include "uSectionFrame.h"

class TDaneNFZFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneNFZFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlKod;
    TPanel* pnlNazwa;
};
