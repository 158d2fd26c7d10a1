#pragma once
// "Dane obywatelstwa": one citizenship of a subject. Refused in the contractor context.

#include "uSectionFrame.h"

class TDaneObywatelstwaFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneObywatelstwaFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    TPanel* pnlObywatelstwo;
};
