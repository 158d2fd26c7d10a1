#pragma once
// A linked-record section: the owner frame's record points to one record of another
// registry (an account's bank, a share's company), shown in an embedded read-only
// frame whose header links choose ("Ustaw/Zmień") and remove ("Usuń") the link.
// The embedded frame is a child of the owner, so a changed link makes the owner
// modified and a post accepts it; CancelChanges puts the accepted link back.
//
// A frame owns one section per link and calls Bind, SetOwnerReadOnly and
// CancelChanges from its own overrides.

#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"

#include <QObject>
#include <QPointer>

#include <functional>

class TBaseFrame;

class TLinkedRecordSection : public QObject {
    Q_OBJECT
public:
    struct TLink {
        // Identifier of the linked kind (IDaneBanku::IID ...).
        const TGUID* Kind = nullptr;
        // The owner record's current link; empty when none (or the record is of another kind).
        std::function<TIntfPtr<IEwidarRecord>(IEwidarRecord* Owner)> Get;
        // Sets the owner record's link; nullptr clears it.
        std::function<void(IEwidarRecord* Owner, IEwidarRecord* Target)> Set;
        // The registry to choose from (registries->GetDaneBankow(u"") ...).
        std::function<TIntfPtr<IEwidarCollection>(IEwidarRegistries* Registries)> Registry;
        // The context the chooser gets for the owner's context; the owner's own when not set.
        std::function<TKontekst(TKontekst Owner)> ChooserKontekst;
    };

    // Embedded is made read-only here; both frames stay owned by their parents.
    TLinkedRecordSection(TBaseFrame* Owner, TBaseFrame* Embedded, TLink Link);

    // Called when the owner's record is bound: shows the current link, wires the header links.
    void Bind();
    // The header links read "Ustaw/Zmień" and "Usuń" while the owner is editable; none otherwise.
    void SetOwnerReadOnly(bool Value);
    // Sets the link back to the embedded frame's last accepted record.
    void CancelChanges();

    // The header actions.
    void Choose();
    void Unlink();

    TBaseFrame* Embedded() const { return FEmbedded; }
    // Raised after every choose and unlink that changed what is shown.
    std::function<void()> OnLinkChanged;

private:
    TIntfPtr<IEwidarRecord> OwnerRecord() const;
    // The record if it is of the linked kind, else empty.
    TIntfPtr<IEwidarRecord> OfLinkedKind(const TIntfPtr<IEwidarRecord>& Record) const;
    void Show(const TIntfPtr<IEwidarRecord>& Record);

    QPointer<TBaseFrame> FOwner;
    QPointer<TBaseFrame> FEmbedded;
    TLink FLink;
};
