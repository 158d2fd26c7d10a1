// The list frame's actions: add, edit, view, delete (one record or the ticked
// ones inside a transaction), relations and merge.

#include "uCollectionBaseFrame.h"

#include "uCommaText.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarKinds.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace {

constexpr uint32_t kMsgDeleteData = 301;
constexpr uint32_t kMsgDeleteTicked = 308;
constexpr uint32_t kMsgDeleteLink = 325;
constexpr uint32_t kMsgDeleteTickedLinks = 326;
constexpr uint32_t kMsgLinkedData = 202;
constexpr uint32_t kMsgMergeTwo = 329;
// Rows between two repaints of the progress bar during a bulk deletion.
constexpr int kRepaintEvery = 10;

bool Shown(const QWidget* Widget) {
    return !Widget->isHidden();
}

uint32_t Code(int32_t ErrorCode) {
    return static_cast<uint32_t>(ErrorCode);
}

QString RecordDescription(IEwidarRecord* Record) {
    const TIntfPtr<IEwidarRecordInfo> info = Record->GetRecordInfo();
    return info ? DescribeCommaText(toQ(info->GetSummary())) : QString();
}

} // namespace

TIntfPtr<IEwidarRecord> TCollectionBaseFrame::CurrentRowRecord() const {
    return DrawGrid1->EwidarRecord(DrawGrid1->Row());
}

void TCollectionBaseFrame::ChangeSelected(IEwidarRecord* Record) {
    if (FOnChangeSelected)
        FOnChangeSelected(this, Record);
}

void TCollectionBaseFrame::OpenRecord(IEwidarRecord* Record, TKontekst Kontekst) {
    if (ListOpeners::OpenRecordForm(window(), Record, Kontekst, EwidarDataBase().get()))
        RefreshData();
}

void TCollectionBaseFrame::btnAddClick() {
    if (!FEwidarCollection)
        return;
    TKontekst kontekst = FKontekst;
    bool openWindow = true;
    FCurrentEwidarRecord = NewRecord(kontekst, openWindow);
    if (openWindow) {
        if (FCurrentEwidarRecord)
            OpenRecord(FCurrentEwidarRecord.get(), kontekst);
        else
            ShowUserMessage(Code(FEwidarCollection->GetLastErrorCode()), window());
    }
    ChangeSelected(FCurrentEwidarRecord.get());
}

TIntfPtr<IEwidarRecord> TCollectionBaseFrame::NewRecord(TKontekst& Kontekst, bool& OpenWindow) {
    IEwidarCollection* collection = FEwidarCollection.get();
    if (SupportsIID(collection, IPodmioty::IID)) {
        OpenWindow = false; // nothing can be added to the list of all subjects
        return {};
    }
    for (const auto& [iid, type, kontekst] : {std::tuple{&IPracownicy::IID, ptPracownik, kPracownik},
                                              std::tuple{&IKontrahenci::IID, ptKontrahent, kKontrahent}}) {
        if (!SupportsIID(collection, *iid))
            continue;
        const bool ownTaxpayer = Kontekst != kBrak; // the list already belongs to a taxpayer
        Kontekst = kontekst;
        return ownTaxpayer ? EwidarKinds::CollectionNew(collection) : NewPersonRecord(type);
    }
    return EwidarKinds::CollectionNew(collection);
}

TIntfPtr<IEwidarRecord> TCollectionBaseFrame::NewPersonRecord(TPodmiotType Type) {
    // A record of a registry list: the taxpayer is asked for first; without a
    // choice the record is created all the same.
    const TIntfPtr<IPodmiot> taxpayer = ListOpeners::ChooseTaxpayer(window(), EwidarDataBase().get(), Type);
    const TIntfPtr<IEwidarDataBase> root = EwidarDataBase();
    if (!root)
        return {};
    const TIntfPtr<IEwidarRegistries> registries = root->GetRegistries();
    if (!registries)
        return {};
    TIntfPtr<IEwidarPeopleCollection> people;
    if (Type == ptPracownik)
        people = registries->GetPracownicy(std::u16string());
    else
        people = registries->GetKontrahenci(std::u16string());
    return people ? people->NewForPodatnik(taxpayer.get()) : TIntfPtr<IEwidarRecord>();
}

void TCollectionBaseFrame::btnEditClick() {
    if (!Shown(btnEdit))
        return;
    FCurrentEwidarRecord = CurrentRowRecord();
    if (!FCurrentEwidarRecord)
        return;
    TKontekst kontekst = FKontekst;
    if (kontekst == kBrak && SupportsIID(FEwidarCollection.get(), IPracownicy::IID))
        kontekst = kPracownik;
    else if (kontekst == kBrak && SupportsIID(FEwidarCollection.get(), IKontrahenci::IID))
        kontekst = kKontrahent;
    OpenRecord(FCurrentEwidarRecord.get(), kontekst);
    ChangeSelected(FCurrentEwidarRecord.get());
}

void TCollectionBaseFrame::btnViewClick() {
    if (!Shown(btnView))
        return;
    const auto podatnicy = Supports<IPodatnicy>(FEwidarCollection);
    const auto podmioty = Supports<IPodmioty>(FEwidarCollection);
    FCurrentEwidarRecord = CurrentRowRecord();
    if (const auto podmiot = Supports<IPodmiot>(FCurrentEwidarRecord))
        ListOpeners::ShowSubjectInfo(window(), EwidarDataBase().get(), podmioty.get(), podatnicy.get(),
                                     podmiot.get());
}

void TCollectionBaseFrame::Powizania1Click() {
    if (const auto record = CurrentRowRecord())
        ListOpeners::ShowRelations(window(), record.get(), EwidarDataBase().get());
}

void TCollectionBaseFrame::Scaldane1Click() {
    const std::vector<TIntfPtr<IEwidarRecord>> ticked = TickedRecords();
    if (ticked.size() != 2) {
        ShowUserMessage(kMsgMergeTwo, window());
        return;
    }
    if (ListOpeners::MergeRecords(window(), ticked[0].get(), ticked[1].get(), EwidarDataBase().get()))
        ReloadAfterDelete();
}

void TCollectionBaseFrame::Znajdzduplikaty1Click() {
    ListOpeners::FindDuplicates(window(), EwidarDataBase().get());
    tmrFilterTimer(); // merges made there show at once
}

std::vector<TIntfPtr<IEwidarRecord>> TCollectionBaseFrame::TickedRecords() const {
    std::vector<TIntfPtr<IEwidarRecord>> ticked;
    for (int r = 0; r < DrawGrid1->RowCount(); ++r)
        if (DrawGrid1->Checked(r))
            if (TIntfPtr<IEwidarRecord> record = DrawGrid1->EwidarRecord(r))
                ticked.push_back(std::move(record));
    return ticked;
}

void TCollectionBaseFrame::btnDeleteClick() {
    // The ticked records are taken once: the run works on them whatever the list does.
    const std::vector<TIntfPtr<IEwidarRecord>> ticked = TickedRecords();
    if (ticked.empty())
        DeleteCurrent();
    else
        DeleteTicked(ticked);
}

void TCollectionBaseFrame::DeleteCurrent() {
    const TIntfPtr<IEwidarRecord> record = CurrentRowRecord();
    if (!record)
        return;
    const uint32_t question = FPodatnik ? kMsgDeleteLink : kMsgDeleteData;
    if (ShowUserMessage(question, {RecordDescription(record.get())}, window()) != ModalResult::mrYes)
        return;
    bool deleted;
    {
        TWaitCursor wait;
        deleted = record->Delete();
    }
    if (deleted)
        ReloadAfterDelete();
    else
        ReportDeleteError(record.get());
}

void TCollectionBaseFrame::ReportDeleteError(IEwidarRecord* Record) {
    const int32_t code = Record->GetLastErrorCode();
    const int answer = ShowUserMessage(Code(code), window());
    if (answer == ModalResult::mrOk && code == static_cast<int32_t>(kMsgLinkedData))
        ListOpeners::ShowRelations(window(), Record, EwidarDataBase().get());
}

void TCollectionBaseFrame::ReloadAfterDelete() {
    tmrFilterTimer();
    ChangeSelected(nullptr);
}

void TCollectionBaseFrame::DeleteTicked(const std::vector<TIntfPtr<IEwidarRecord>>& Records) {
    const uint32_t question = FPodatnik ? kMsgDeleteTickedLinks : kMsgDeleteTicked;
    if (ShowUserMessage(question, {QString::number(Records.size())}, window()) != ModalResult::mrYes)
        return;
    const TIntfPtr<IEwidarDataBase> root = EwidarDataBase();
    if (!root)
        return; // no transaction can be started: nothing is deleted
    if (!root->StartTransaction()) {
        ShowUserMessage(Code(root->GetLastErrorCode()), window());
        return;
    }
    // Reloads wait until the run has ended (the deletions themselves announce changes,
    // and so may other programs): the list is reloaded once afterwards.
    FReloadPending = tmrFilter->isActive();
    tmrFilter->stop();
    FBulkDeleting = true;
    pbDeleteProgress->setMaximum(static_cast<int>(Records.size()));
    pbDeleteProgress->setValue(0);
    pbDeleteProgress->show();
    QSet<int32_t> deleted;
    bool committed = false;
    {
        // Ends the transaction, the progress display and the pause on every way out.
        struct TFinish {
            TCollectionBaseFrame* Frame;
            IEwidarDataBase* Root;
            bool& Committed;
            bool Failed = true;
            ~TFinish() {
                if (!Failed) {
                    Committed = Root->Commit();
                    if (!Committed)
                        ShowUserMessage(Code(Root->GetLastErrorCode()), Frame->window());
                }
                Frame->pbDeleteProgress->hide();
                Frame->FBulkDeleting = false;
            }
        } finish{this, root.get(), committed};
        TWaitCursor wait;
        finish.Failed = !DeleteRecords(Records, deleted);
    }
    if (committed)
        UntickDeleted(deleted);
    const bool pending = std::exchange(FReloadPending, false);
    if (!deleted.isEmpty())
        ReloadAfterDelete();
    else if (pending)
        tmrFilterTimer();
}

bool TCollectionBaseFrame::DeleteRecords(const std::vector<TIntfPtr<IEwidarRecord>>& Records,
                                         QSet<int32_t>& Deleted) {
    for (size_t i = 0; i < Records.size(); ++i) {
        IEwidarRecord* record = Records[i].get();
        const int32_t id = record->GetID();
        if (!record->Delete()) {
            ReportDeleteError(record);
            return false;
        }
        Deleted.insert(id);
        pbDeleteProgress->setValue(pbDeleteProgress->value() + 1);
        if (i % kRepaintEvery == 0)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

void TCollectionBaseFrame::UntickDeleted(const QSet<int32_t>& Deleted) {
    // A deleted record's identifier may be given to a new record: its tick must not
    // carry over to it.
    for (int r = 0; r < DrawGrid1->RowCount(); ++r)
        if (DrawGrid1->Checked(r) && Deleted.contains(DrawGrid1->RowID(r)))
            DrawGrid1->SetChecked(r, false);
}
