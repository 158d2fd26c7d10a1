#pragma once
// "Dokument stwierdzający tożsamość / pozostały numer identyfikacyjny": an identity
// document. The kind is picked from a fixed list; the description of another document
// is open only for "inny dokument" or while it still holds text (the rule marks a
// description that no longer fits, so it can be cleared).

#include "uSectionFrame.h"

class TDaneDokumentuTozsamosciFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneDokumentuTozsamosciFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetReadOnly(bool Value) override;

    TPanel* pnlRodzaj;
    TPanel* pnlRodzajInny;
    TPanel* pnlKraj;
    TPanel* pnlKodKraju;
    TPanel* pnlSeria;
    TPanel* pnlNumer;

private:
    void UpdateRodzajInny();
};
