#pragma once
// "Rodzaj działalności": one business activity (PKD code and description). Taxpayers
// only: refused in the employee and contractor contexts. Shown read-only, it names the
// predominant activity.

#include "uSectionFrame.h"

class TRodzajDzialalnosciFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TRodzajDzialalnosciFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetReadOnly(bool Value) override;

    TPanel* pnlKodPKD;
    TPanel* pnlOpisPKD;
};
