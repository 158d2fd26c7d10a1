#pragma once
// "Dane reprezentanta": a representative of a subject: the kind of representation and,
// in "Dane podstawowe", the representing subject's identity, read-only, chosen or
// removed from that header. The subject's panels show the linked subject's own fields
// (they are not the representative's and are neither posted nor counted as changes);
// a newly chosen subject's fields replace them. Refused in the employee context.

#include "uSectionFrame.h"

class TDaneReprezentantaFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneReprezentantaFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetReadOnly(bool Value) override;
    void SetKontekst(TKontekst Value) override;
    void SetSize() override;
    // A changed subject is a change, whatever the panels say.
    bool GetModified() override;
    void AcceptChanges() override;
    void CancelChanges() override;

    // The header actions of "Dane podstawowe".
    void Choose();
    void Unlink();

    TPanel* pnlRodzajReprezentanta;
    TPanel* pnlPosiadaUpowaznienie;
    QWidget* Bevel1;
    TPanel* Panel1;
    TPanel* pnlImie;
    TPanel* pnlNazwisko;
    TPanel* pnlTelefon;
    TPanel* pnlKodKraju;
    TPanel* pnlNip;
    TPanel* pnlPesel;
    TPanel* pnlWlasciwyIdentyfikatorPodatkowy;

private:
    // The subject the representative links to now; empty for none.
    TIntfPtr<IPodmiot> CurrentPodmiot() const;
    // Binds the subject's panels to the subject's fields (empties them for none).
    void ShowPodmiot(const TIntfPtr<IPodmiot>& Podmiot);
    QList<TPanel*> PodmiotPanels() const;

    TIntfPtr<IReprezentant> FReprezentant;
    // The represented subject as last accepted.
    TIntfPtr<IPodmiot> FPodmiot;
};
