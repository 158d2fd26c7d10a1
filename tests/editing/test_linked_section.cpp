// A linked-record section over the real SQL backend: a bank account frame declared in
// the test embeds the bank frame; choosing, unlinking, cancelling, posting, and a link
// that can no longer be read.

#include "EditingFixture.h"
#include "uDaneBankuFrame.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uLinkedRecordSection.h"

#include <QVBoxLayout>

namespace {

const TSectionDescription& AccountDeclaration() {
    static const TSectionDescription d{"TTestAccountFrame",
                                       QStringLiteral("Dane rachunku"),
                                       {{"pnlNrRachunku", &cDaneRachunkuNrRachunku}},
                                       {}};
    return d;
}

// The linked-bank part of an account frame, built on the reusable section.
class TTestAccountFrame : public TSectionFrame {
public:
    explicit TTestAccountFrame(QWidget* Parent) : TSectionFrame(AccountDeclaration(), Parent) {
        DaneBankuFrame1 = new TDaneBankuFrame(pnlContainer);
        pnlContainer->Layout()->addWidget(DaneBankuFrame1);
        Bank = new TLinkedRecordSection(this, DaneBankuFrame1,
                                        {&IDaneBanku::IID,
                                         [](IEwidarRecord* Owner) {
                                             auto account = Supports<IRachunekBankowy>(Owner);
                                             return account ? TIntfPtr<IEwidarRecord>(account->GetDaneBanku())
                                                            : TIntfPtr<IEwidarRecord>();
                                         },
                                         [](IEwidarRecord* Owner, IEwidarRecord* Bank) {
                                             if (auto account = Supports<IRachunekBankowy>(Owner))
                                                 account->SetDaneBanku(Bank);
                                         },
                                         [](IEwidarRegistries* R) {
                                             return TIntfPtr<IEwidarCollection>(R->GetDaneBankow({}));
                                         }});
        Bank->OnLinkChanged = [this] {
            ++LinkChanges;
        };
    }
    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override {
        TSectionFrame::SetEwidarRecord(Record);
        Bank->Bind();
    }
    void SetReadOnly(bool Value) override {
        TSectionFrame::SetReadOnly(Value);
        Bank->SetOwnerReadOnly(Value);
    }
    void CancelChanges() override { Bank->CancelChanges(); }

    TDaneBankuFrame* DaneBankuFrame1;
    TLinkedRecordSection* Bank;
    int LinkChanges = 0;
};

TBaseFrame* NewAccountFrame(QWidget* Parent) {
    return new TTestAccountFrame(Parent);
}

class LinkedSectionTest : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        BankA = NewBank(QStringLiteral("Bank A"));
        BankB = NewBank(QStringLiteral("Bank B"));
        auto subject = Reg()->GetPodatnicy({})->New();
        Subject = subject;
        Account = Supports<IPodmiot>(subject)->GetRachunkiBankowe()->New();
        ASSERT_TRUE(Supports<IRachunekBankowy>(Account));
        Supports<IRachunekBankowy>(Account)->SetDaneBanku(BankA.get());
        Form = std::make_unique<THostForm>(NewAccountFrame);
        Frame = static_cast<TTestAccountFrame*>(Form->Frame);
        Frame->SetEwidarDataBase(m_db);
        Frame->SetKontekst(kPodatnik);
        Frame->SetReadOnly(false);
        Frame->SetEwidarRecord(Account);
        EditingOpeners::SetCollectionChooser([this](QWidget*, IEwidarDataBase*, IEwidarCollection* Collection,
                                                    TKontekst Kontekst, IEwidarRecord* Current) {
            ChooserCollection = SupportsIID(Collection, IDaneBankow::IID);
            ChooserKontekst = Kontekst;
            ChooserCurrent = Current ? Current->GetID() : 0;
            return Pick;
        });
    }
    void TearDown() override {
        EditingOpeners::SetCollectionChooser({});
        Form.reset();
        Account = nullptr;
        Subject = nullptr;
        BankA = BankB = Pick = nullptr;
        EditingTest::TearDown();
    }
    int32_t LinkedID() {
        auto bank = Supports<IRachunekBankowy>(Account)->GetDaneBanku();
        return bank ? bank->GetID() : 0;
    }
    QString ShownBank() { return Frame->DaneBankuFrame1->pnlNazwa->Value(); }

    TIntfPtr<IEwidarRecord> BankA, BankB, Subject, Account, Pick;
    std::unique_ptr<THostForm> Form;
    TTestAccountFrame* Frame = nullptr;
    bool ChooserCollection = false;
    TKontekst ChooserKontekst = kBrak;
    int32_t ChooserCurrent = 0;
};

} // namespace

TEST_F(LinkedSectionTest, ChoosingAnotherRecordModifiesTheOwnerAndCancelPutsTheLinkBack) {
    EXPECT_EQ(ShownBank(), QStringLiteral("Bank A"));
    EXPECT_FALSE(Frame->Modified());
    EXPECT_EQ(Frame->DaneBankuFrame1->pnlContainer->Header()->EditLabel(), QStringLiteral("Ustaw/Zmień"));
    EXPECT_TRUE(Frame->DaneBankuFrame1->ReadOnly());

    Pick = BankB;
    Frame->Bank->Choose();
    EXPECT_TRUE(ChooserCollection);
    EXPECT_EQ(ChooserKontekst, kPodatnik);
    EXPECT_EQ(ChooserCurrent, BankA->GetID());
    EXPECT_EQ(ShownBank(), QStringLiteral("Bank B"));
    EXPECT_EQ(LinkedID(), BankB->GetID());
    EXPECT_TRUE(Frame->Modified()) << "no text changed, the link did";

    Messages->QueueResult(ModalResult::mrYes);
    EXPECT_TRUE(Frame->Close());
    EXPECT_EQ(Messages->Count(), 1) << "the changed link is an unsaved change";
    EXPECT_EQ(LinkedID(), BankA->GetID()) << "cancel puts the accepted link back";
}

TEST_F(LinkedSectionTest, PickingNothingRereadsTheLinkAndAnUnreadableLinkIsCleared) {
    Frame->Bank->Choose();
    EXPECT_EQ(ShownBank(), QStringLiteral("Bank A"));
    EXPECT_EQ(LinkedID(), BankA->GetID());
    EXPECT_EQ(Messages->Count(), 0);

    auto other = Open();
    auto list = other->GetRegistries()->GetDaneBankow({});
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        if (auto r = list->GetItem(i); r->GetID() == BankA->GetID()) {
            ASSERT_TRUE(r->Delete()) << r->GetLastErrorCode();
        }
    }
    Frame->Bank->Choose();
    EXPECT_EQ(ShownTexts(), QStringList{QStringLiteral("Dane zostały usunięte.")});
    EXPECT_EQ(LinkedID(), 0) << "a link to a deleted record is not kept";
    EXPECT_FALSE(Frame->DaneBankuFrame1->EwidarRecord());
    EXPECT_EQ(Frame->LinkChanges, 2);
}

TEST_F(LinkedSectionTest, UnlinkAsksWithTheSummaryAndClearsOnlyOnYes) {
    Messages->QueueResult(ModalResult::mrNo);
    Frame->Bank->Unlink();
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.startsWith(QStringLiteral("Czy usunąć powiązanie?\r\n\r\n")));
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Bank A")))
        << Messages->Last().Text.toStdString();
    EXPECT_EQ(LinkedID(), BankA->GetID());

    Messages->QueueResult(ModalResult::mrYes);
    Frame->Bank->Unlink();
    EXPECT_EQ(LinkedID(), 0);
    EXPECT_FALSE(Frame->DaneBankuFrame1->EwidarRecord());
    EXPECT_TRUE(Frame->Modified());
    Frame->Bank->Unlink();
    EXPECT_EQ(Messages->Count(), 2) << "nothing shown, nothing to unlink";
}

TEST_F(LinkedSectionTest, PostingAcceptsTheNewLink) {
    Pick = BankB;
    Frame->Bank->Choose();
    Form->show();
    ASSERT_TRUE(Frame->btnPostClick()) << Shown().toStdString();
    EXPECT_FALSE(Frame->Modified());
    EXPECT_EQ(Frame->DaneBankuFrame1->TempRecord()->GetID(), BankB->GetID());
    EXPECT_TRUE(Frame->Close());
    EXPECT_EQ(LinkedID(), BankB->GetID());
}

TEST_F(LinkedSectionTest, ReadOnlyOwnerOffersNoLinks) {
    Frame->SetReadOnly(true);
    EXPECT_TRUE(Frame->DaneBankuFrame1->pnlContainer->Header()->EditLabel().isEmpty());
    EXPECT_TRUE(Frame->DaneBankuFrame1->pnlContainer->Header()->DeleteLabel().isEmpty());
}
