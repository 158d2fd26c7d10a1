#include "uLinkedRecordSection.h"

#include "uBaseFrame.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uUserMessagesModule.h"

TLinkedRecordSection::TLinkedRecordSection(TBaseFrame* Owner, TBaseFrame* Embedded, TLink Link)
    : QObject(Owner), FOwner(Owner), FEmbedded(Embedded), FLink(std::move(Link)) {
    FEmbedded->SetReadOnly(true);
    if (TPanel* container = FEmbedded->pnlContainer) {
        container->SetBorderLeft(false);
        container->SetBorderRight(false);
    }
}

TIntfPtr<IEwidarRecord> TLinkedRecordSection::OwnerRecord() const {
    return FOwner ? FOwner->EwidarRecord() : TIntfPtr<IEwidarRecord>();
}

TIntfPtr<IEwidarRecord> TLinkedRecordSection::OfLinkedKind(const TIntfPtr<IEwidarRecord>& Record) const {
    return Record && SupportsIID(Record.get(), *FLink.Kind) ? Record : TIntfPtr<IEwidarRecord>();
}

void TLinkedRecordSection::Show(const TIntfPtr<IEwidarRecord>& Record) {
    FEmbedded->SetEwidarRecord(Record);
}

void TLinkedRecordSection::Bind() {
    const TIntfPtr<IEwidarRecord> owner = OwnerRecord();
    Show(owner ? OfLinkedKind(FLink.Get(owner.get())) : TIntfPtr<IEwidarRecord>());
    if (TPanel* container = FEmbedded->pnlContainer) {
        container->Header()->SetEditOnClick([this] { Choose(); });
        container->Header()->SetDeleteOnClick([this] { Unlink(); });
    }
}

void TLinkedRecordSection::SetOwnerReadOnly(bool Value) {
    TPanel* container = FEmbedded->pnlContainer;
    if (!container)
        return;
    container->Header()->SetEditLabel(Value ? QString() : QStringLiteral("Ustaw/Zmień"));
    container->Header()->SetDeleteLabel(Value ? QString() : QStringLiteral("Usuń"));
    if (!Value) {
        container->Header()->SetEditOnClick([this] { Choose(); });
        container->Header()->SetDeleteOnClick([this] { Unlink(); });
        container->Header()->SetDeleteLabelEnabled(bool(FEmbedded->EwidarRecord()));
    }
}

void TLinkedRecordSection::Choose() {
    const TIntfPtr<IEwidarRecord> owner = OwnerRecord();
    const TIntfPtr<IEwidarDataBase> db = FOwner->EwidarDataBase();
    if (!owner || !db)
        return;
    TIntfPtr<IEwidarCollection> registry;
    if (TIntfPtr<IEwidarRegistries> registries = db->GetRegistries())
        registry = FLink.Registry(registries.get());
    const TIntfPtr<IEwidarRecord> picked = OfLinkedKind(EditingOpeners::ChooseFromCollection(
        FOwner->window(), db.get(), registry.get(),
        FLink.ChooserKontekst ? FLink.ChooserKontekst(FOwner->Kontekst()) : FOwner->Kontekst(),
        FEmbedded->EwidarRecord().get()));
    if (picked) {
        Show(picked);
        FLink.Set(owner.get(), picked.get());
    } else {
        // The link is read again. One that can no longer be read (the owner may no longer
        // give it at all) is removed with the reason shown, not kept pointing at nothing.
        const TIntfPtr<IEwidarRecord> current = OfLinkedKind(FLink.Get(owner.get()));
        if (current && current->Refresh()) {
            Show(current);
        } else {
            const TIntfPtr<IEwidarRecord> lost = current ? current : FEmbedded->EwidarRecord();
            if (lost) {
                if (!current)
                    lost->Refresh();
                ShowUserMessage(uint32_t(lost->GetLastErrorCode()), FOwner->window());
                FLink.Set(owner.get(), nullptr);
            }
            Show({});
        }
    }
    if (OnLinkChanged)
        OnLinkChanged();
}

void TLinkedRecordSection::Unlink() {
    const TIntfPtr<IEwidarRecord> owner = OwnerRecord();
    const TIntfPtr<IEwidarRecord> shown = FEmbedded->EwidarRecord();
    if (!owner || !shown)
        return;
    QString summary;
    if (TIntfPtr<IEwidarRecordInfo> info = shown->GetRecordInfo())
        summary = QString::fromStdU16String(info->GetSummary());
    if (ShowUserMessage(302, {DescribeCommaText(summary)}, FOwner->window()) != ModalResult::mrYes)
        return;
    Show({});
    FLink.Set(owner.get(), nullptr);
    if (OnLinkChanged)
        OnLinkChanged();
}

void TLinkedRecordSection::CancelChanges() {
    if (const TIntfPtr<IEwidarRecord> owner = OwnerRecord())
        FLink.Set(owner.get(), OfLinkedKind(FEmbedded->TempRecord()).get());
}
