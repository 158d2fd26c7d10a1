// Section frames that show a linked record, over the real SQL backend: a contractor's
// bank account, choosing and removing a company or a bank with screen and record kept
// in step, the account number judged again by the new bank, the company's partners, and
// the representative's subject.

#include "FrameKinds.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uDaneBankuFrame.h"
#include "uDaneRachunkuFrame.h"
#include "uDaneReprezentantaFrame.h"
#include "uDaneSpolkiFrame.h"
#include "uDataValidate.h"
#include "uEditingOpeners.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarRecordForm.h"
#include "uFrameOpeners.h"
#include "uLinkedRecordSection.h"
#include "uSpolkaPodmiotuFrame.h"

#include <QToolButton>

namespace {

using uBaseFrame::ctCancel;

class FrameLinksTest : public FramesTest {
protected:
    void SetUp() override {
        FramesTest::SetUp();
        EditingOpeners::SetCollectionChooser(
            [this](QWidget*, IEwidarDataBase*, IEwidarCollection*, TKontekst Kontekst, IEwidarRecord*) {
                ChooserKontekst = Kontekst;
                ++Chosen;
                return Pick;
            });
        FrameOpeners::SetSubjectChooser([this](QWidget*, IEwidarDataBase*) {
            ++Chosen;
            return Pick;
        });
    }
    void TearDown() override {
        EditingOpeners::SetCollectionChooser({});
        FrameOpeners::SetSubjectChooser({});
        Pick = nullptr;
        FramesTest::TearDown();
    }
    TIntfPtr<IEwidarRecord> Bank(const QString& Name, const QString& Kraj = {}) {
        auto bank = NewBank();
        SetValue(bank.get(), cDaneBankuNazwa.Symbol, Name);
        SetValue(bank.get(), cDaneBankuKraj.Symbol, Kraj);
        EXPECT_TRUE(bank->Post());
        return bank;
    }
    // Deletes a registry record through a second connection.
    void DeleteElsewhere(const char* Frame, int32_t ID) {
        auto other = Reread(KindOf(Frame), ID);
        ASSERT_TRUE(other);
        ASSERT_TRUE(other->Delete()) << other->GetLastErrorCode();
    }

    TIntfPtr<IEwidarRecord> Pick;
    TKontekst ChooserKontekst = kBrak;
    int Chosen = 0;
};

// The linked part of the share and account frames, for tests that treat them alike.
struct TLinkCase {
    const char* Owner;
    const char* Linked;
    TLinkedRecordSection* (*Section)(TBaseFrame* Frame);
    TIntfPtr<IEwidarRecord> (*Link)(IEwidarRecord* Owner);
};

const TLinkCase kLinkCases[] = {
    {"TSpolkaPodmiotuFrame", "TDaneSpolkiFrame",
     [](TBaseFrame* F) { return static_cast<TSpolkaPodmiotuFrame*>(F)->Spolka; },
     [](IEwidarRecord* O) {
         return TIntfPtr<IEwidarRecord>(Supports<ISpolkaPodmiotu>(O)->GetSpolka());
     }},
    {"TDaneRachunkuFrame", "TDaneBankuFrame",
     [](TBaseFrame* F) { return static_cast<TDaneRachunkuFrame*>(F)->Bank; },
     [](IEwidarRecord* O) {
         return TIntfPtr<IEwidarRecord>(Supports<IRachunekBankowy>(O)->GetDaneBanku());
     }},
};

} // namespace

TEST_F(FrameLinksTest, ContractorsBankAccountOpensWithItsBankAndChoosesWithoutTheContractorContext) {
    auto bank = Bank(QStringLiteral("Bank Kontrahenta"));
    auto account = NewRecord(KindOf("TDaneRachunkuFrame"));
    Supports<IRachunekBankowy>(account)->SetDaneBanku(bank.get());
    ASSERT_TRUE(account->Post());
    bool shown = false;
    WhenWindow(QStringLiteral("RecordForm"), [&](QWidget* w) {
        auto* frame = qobject_cast<TDaneRachunkuFrame*>(qobject_cast<TRecordForm*>(w)->BaseFrame());
        ASSERT_TRUE(frame);
        shown = true;
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Dane rachunku"));
        EXPECT_EQ(frame->DaneBankuFrame1->pnlNazwa->Value(), QStringLiteral("Bank Kontrahenta"));
        frame->Bank->Choose();
        EXPECT_EQ(ChooserKontekst, kBrak) << "the bank chooser serves no contractor context";
        frame->btnClose->click();
    });
    EXPECT_EQ(ShowRecordForm(nullptr, account.get(), kKontrahent, m_db.get()), ctCancel);
    EXPECT_TRUE(shown);
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

TEST_F(FrameLinksTest, UnlinkingAndAFailedRereadKeepScreenAndRecordInStep) {
    for (const TLinkCase& c : kLinkCases) {
        SCOPED_TRACE(c.Owner);
        const TFrameKind& linkedKind = KindOf(c.Linked);
        auto first = NewRecord(linkedKind);
        SetValue(first.get(), linkedKind.Panels[0].second, QStringLiteral("Pierwszy"));
        ASSERT_TRUE(first->Post());
        auto second = NewRecord(linkedKind);
        SetValue(second.get(), linkedKind.Panels[0].second, QStringLiteral("Drugi"));
        ASSERT_TRUE(second->Post());

        auto owner = NewRecord(KindOf(c.Owner));
        TBaseFrame* frame = Host(owner, kPodatnik);
        TLinkedRecordSection* section = c.Section(frame);
        const auto shownName = [&] {
            return static_cast<TSectionFrame*>(section->Embedded())->Panel("pnlNazwa")->Value();
        };
        EXPECT_EQ(section->Embedded()->pnlContainer->Header()->EditLabel(), QStringLiteral("Ustaw/Zmień"));
        Pick = first;
        section->Choose();
        EXPECT_EQ(shownName(), QStringLiteral("Pierwszy"));
        EXPECT_EQ(c.Link(owner.get())->GetID(), first->GetID());
        EXPECT_TRUE(frame->Modified());

        // Unlink: No keeps both, Yes clears both.
        Messages->QueueResult(ModalResult::mrNo);
        section->Unlink();
        EXPECT_EQ(c.Link(owner.get())->GetID(), first->GetID());
        Messages->QueueResult(ModalResult::mrYes);
        section->Unlink();
        EXPECT_FALSE(c.Link(owner.get()));
        EXPECT_FALSE(section->Embedded()->EwidarRecord());

        // Linked again, then the linked record disappears: an empty choice clears both.
        Pick = second;
        section->Choose();
        DeleteElsewhere(c.Linked, second->GetID());
        Pick = nullptr;
        section->Choose();
        EXPECT_FALSE(c.Link(owner.get())) << "no link to a deleted record";
        EXPECT_FALSE(section->Embedded()->EwidarRecord());
        EXPECT_EQ(Messages->Last().Text, QStringLiteral("Dane zostały usunięte."));

        // Closing without posting puts back the accepted (empty) link.
        Pick = first;
        section->Choose();
        Messages->QueueResult(ModalResult::mrYes);
        EXPECT_TRUE(frame->Close());
        EXPECT_FALSE(c.Link(owner.get()));
    }
}

TEST_F(FrameLinksTest, AccountNumberIsJudgedAgainWhenTheBankChanges) {
    auto polish = Bank(QStringLiteral("Bank Polski"), QStringLiteral("Polska"));
    auto foreign = Bank(QStringLiteral("Bank Fremd"), QStringLiteral("Niemcy"));
    auto account = NewRecord(KindOf("TDaneRachunkuFrame"));
    Supports<IRachunekBankowy>(account)->SetDaneBanku(polish.get());
    SetValue(account.get(), cDaneRachunkuNrRachunku.Symbol,
             QStringLiteral("12 3456 7890 1234 5678 9012 3456"));
    auto* frame = qobject_cast<TDaneRachunkuFrame*>(Host(account, kPodatnik));
    EXPECT_EQ(frame->pnlNrRachunku->Error(), uDataValidate::cErrBankAccount);
    Pick = foreign;
    frame->Bank->Choose();
    EXPECT_TRUE(frame->pnlNrRachunku->Error().Empty()) << "a foreign bank's number has no Polish checksum";
    Messages->QueueResult(ModalResult::mrYes);
    frame->Bank->Unlink();
    EXPECT_EQ(frame->pnlNrRachunku->Error(), uDataValidate::cErrBankAccount) << "no bank: judged as Polish";
}

TEST_F(FrameLinksTest, CompanyListsItsPartnersAndOffersListActionsOnlyWhenEditable) {
    auto partner = m_spolka->GetWspolnicy()->New();
    SetValue(partner.get(), cDaneWspolnikaNazwisko.Symbol, QStringLiteral("Nowak"));
    ASSERT_TRUE(partner->Post());
    auto* frame = qobject_cast<TDaneSpolkiFrame*>(Host(TIntfPtr<IEwidarRecord>(m_spolka.get()), kPodatnik));
    TCollectionBaseFrame* list = frame->CollectionBaseFrame1;
    EXPECT_EQ(list->Panel1->Header()->CaptionLabel(), QStringLiteral("Wspólnicy: "));
    EXPECT_TRUE(list->pnlFilter->isHidden());
    ASSERT_TRUE(list->EwidarCollection());
    EXPECT_EQ(list->EwidarCollection()->GetCount(), 1);
    EXPECT_EQ(list->Kontekst(), kPodatnik);
    frame->SetReadOnly(true);
    EXPECT_TRUE(list->Panel5->isHidden());
    EXPECT_FALSE(list->DrawGrid1->VisibleCheckBoxEnabled());
    frame->SetReadOnly(false);
    EXPECT_FALSE(list->Panel5->isHidden());
}

TEST_F(FrameLinksTest, RepresentativeShowsItsSubjectAndAsksNothingWhenNothingWasEdited) {
    auto subject = m_podatnik;
    SetValue(subject.get(), cDanePodmiotuKodKrajuNadaniaNumeru.Symbol, QStringLiteral("PL"));
    SetValue(subject.get(), cDanePodmiotuWlasciwyIdentyfikatorPodatkowy.Symbol, QStringLiteral("1"));
    ASSERT_TRUE(subject->Post());
    auto rep = NewRecord(KindOf("TDaneReprezentantaFrame"));
    Supports<IReprezentant>(rep)->SetPodmiot(subject.get());
    ASSERT_TRUE(rep->Post()) << rep->GetLastErrorCode();

    auto stored = Reread(KindOf("TDaneReprezentantaFrame"), rep->GetID());
    auto* frame = qobject_cast<TDaneReprezentantaFrame*>(Host(stored, kPodatnik));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Panel1->Header()->CaptionLabel(), QStringLiteral("Dane podstawowe"));
    EXPECT_EQ(frame->Panel1->Header()->EditLabel(), QStringLiteral("Ustaw/Zmień"));
    EXPECT_EQ(frame->pnlNazwisko->Value(), QStringLiteral("Kowalski"));
    EXPECT_EQ(frame->pnlKodKraju->Value(), QStringLiteral("PL"));
    EXPECT_EQ(frame->pnlWlasciwyIdentyfikatorPodatkowy->Value(), QStringLiteral("1"));
    EXPECT_TRUE(frame->pnlKodKraju->ReadOnly());
    EXPECT_FALSE(frame->Modified()) << "showing the subject is no change";
    EXPECT_TRUE(frame->Close());
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

TEST_F(FrameLinksTest, RepresentativeChoosingRebindsTheSubjectsPanelsAndCancelPutsTheSubjectBack) {
    auto first = m_podatnik;
    auto second = NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Nowak"));
    auto rep = NewRecord(KindOf("TDaneReprezentantaFrame"));
    Supports<IReprezentant>(rep)->SetPodmiot(first.get());
    ASSERT_TRUE(rep->Post());
    auto* frame = qobject_cast<TDaneReprezentantaFrame*>(Host(rep, kPodatnik));

    frame->Choose();
    EXPECT_EQ(Chosen, 1);
    EXPECT_EQ(frame->pnlNazwisko->Value(), QStringLiteral("Kowalski")) << "nothing picked, nothing changed";
    EXPECT_FALSE(frame->Modified());

    Pick = second;
    frame->Choose();
    EXPECT_EQ(frame->pnlImie->Value(), QStringLiteral("Anna"));
    EXPECT_EQ(frame->pnlNazwisko->Value(), QStringLiteral("Nowak"));
    EXPECT_EQ(frame->pnlNazwisko->DataField()->GetValue(), u"Nowak") << "bound to the new subject's field";
    EXPECT_EQ(Value(first.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Kowalski"))
        << "the old one untouched";
    EXPECT_TRUE(frame->Modified());

    Messages->QueueResult(ModalResult::mrYes);
    EXPECT_TRUE(frame->Close());
    EXPECT_EQ(Supports<IReprezentant>(rep)->GetPodmiot()->GetID(), first->GetID());

    // Posting keeps the new subject; unlinking empties the panels.
    frame = qobject_cast<TDaneReprezentantaFrame*>(Host(rep, kPodatnik));
    frame->Choose();
    ASSERT_TRUE(frame->btnPostClick()) << Shown().toStdString();
    EXPECT_EQ(Supports<IReprezentant>(Reread(KindOf("TDaneReprezentantaFrame"), rep->GetID()))
                  ->GetPodmiot()
                  ->GetID(),
              second->GetID());
    EXPECT_FALSE(frame->Modified());
    Messages->QueueResult(ModalResult::mrYes);
    frame->Unlink();
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Nowak")))
        << Messages->Last().Text.toStdString();
    EXPECT_EQ(frame->pnlNazwisko->Value(), QString());
    EXPECT_EQ(frame->pnlWlasciwyIdentyfikatorPodatkowy->Value(), QStringLiteral("-1"));
    EXPECT_FALSE(Supports<IReprezentant>(rep)->GetPodmiot());
    EXPECT_TRUE(frame->Modified());
}
