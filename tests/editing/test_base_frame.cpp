// The base frame over the real SQL backend: binding (providers by kind, rules run),
// posting without a record, view-only, an abandoned new record deleted on close,
// the word list saved with the record, the page control and read-only switch.

#include "EditingFixture.h"
#include "uDaneBankuFrame.h"
#include "uDaneNFZFrame.h"
#include "uDataValidate.h"
#include "uDynamicFieldsFrame.h"
#include "uEwidarComponents_Panel.h"

#include <QTabWidget>
#include <QTest>

namespace {

// A company frame declared here the way the section frames are: one rule on REGON.
const TSectionDescription& SpolkaDeclaration() {
    static const TSectionDescription d{
        "TTestSpolkaFrame",
        QStringLiteral("Dane spółki"),
        {{"pnlNazwa", &cDaneSpolkiNazwa}, {"pnlRegon", &cDaneSpolkiREGON, &uDataValidate::ValidateREGON}},
        {kPracownik, kKontrahent},
    };
    return d;
}

TBaseFrame* NewSpolkaFrame(QWidget* Parent) {
    return new TSectionFrame(SpolkaDeclaration(), Parent);
}
TBaseFrame* NewBankFrame(QWidget* Parent) {
    return new TDaneBankuFrame(Parent);
}
TBaseFrame* NewNfzFrame(QWidget* Parent) {
    return new TDaneNFZFrame(Parent);
}

class BaseFrameTest : public EditingTest {};

} // namespace

TEST_F(BaseFrameTest, PostingWithoutARecordCountsAsDoneAndClosesNothing) {
    THostForm form(NewNfzFrame);
    form.show();
    EXPECT_TRUE(form.Frame->btnPostClick());
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.Frame->Modified());
    EXPECT_TRUE(form.Frame->Close());
    EXPECT_EQ(Messages->Count(), 0);
}

TEST_F(BaseFrameTest, ViewOnlyFrameNeverAsksWhateverItShows) {
    auto nfz = NewNfz(QStringLiteral("03"), QStringLiteral("Lubelski"));
    THostForm form(NewNfzFrame);
    auto* frame = static_cast<TDaneNFZFrame*>(form.Frame);
    frame->SetEwidarDataBase(m_db);
    frame->SetViewOnly(true);
    frame->SetEwidarRecord(nfz);
    frame->pnlNazwa->SetValue(QStringLiteral("zmieniony"));
    frame->SetEwidarRecord(NewNfz(QStringLiteral("04"), QStringLiteral("Lubuski")));
    EXPECT_FALSE(frame->Modified());
    EXPECT_TRUE(frame->Close());
    EXPECT_EQ(Messages->Count(), 0);
    EXPECT_FALSE(frame->DynamicFields()) << "a view-only frame asks for no user-defined fields";
}

TEST_F(BaseFrameTest, AbandonedNewRecordIsDeletedFromTheDatabaseWhenClosed) {
    auto spolka = Reg()->GetSpolki({})->New();
    const int32_t id = spolka->GetID();
    ASSERT_NE(id, 0) << "the backend stores a company placeholder at once";
    ASSERT_TRUE(spolka->IsNew());
    {
        THostForm form(NewSpolkaFrame);
        form.Frame->SetEwidarDataBase(m_db);
        form.Frame->SetKontekst(kPodatnik);
        form.Frame->SetEwidarRecord(spolka);
        Type(static_cast<TSectionFrame*>(form.Frame)->Panel("pnlNazwa"), QStringLiteral("Spółka"));
        Messages->QueueResult(ModalResult::mrYes);
        EXPECT_TRUE(form.Frame->Close());
    }
    EXPECT_EQ(Messages->Count(), 1);
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE id = %1").arg(id)).toInt(), 0);
}

TEST_F(BaseFrameTest, BindingRunsEveryRuleAndRefusedContextsRaise) {
    auto spolka = Reg()->GetSpolki({})->New();
    SetValue(spolka.get(), cDaneSpolkiREGON.Symbol, QStringLiteral("123456780"));
    THostForm form(NewSpolkaFrame);
    auto* frame = static_cast<TSectionFrame*>(form.Frame);
    frame->SetEwidarDataBase(m_db);
    EXPECT_THROW(frame->SetKontekst(kKontrahent), EFrameContextError);
    try {
        frame->SetKontekst(kPracownik);
    } catch (const EFrameContextError& e) {
        EXPECT_STREQ(e.what(), "TTestSpolkaFrame nieprawidlowy kontekst");
    }
    frame->SetKontekst(kBrak);
    frame->SetEwidarRecord(spolka);
    EXPECT_EQ(frame->Panel("pnlRegon")->Error().ErrType, etValidate) << "opens with every error shown";
    EXPECT_TRUE(frame->DynamicFields());
    EXPECT_TRUE(frame->Slownik());
    EXPECT_FALSE(frame->Modified()) << "binding is not editing";
}

TEST_F(BaseFrameTest, PostStoresTheValuesAndTheWordsAndAcceptsTheState) {
    auto bank = NewBank();
    THostForm form(NewBankFrame);
    auto* frame = static_cast<TDaneBankuFrame*>(form.Frame);
    frame->SetEwidarDataBase(m_db);
    frame->SetEwidarRecord(bank);
    Type(frame->pnlNazwa, QStringLiteral("Bank Łódzki"));
    EXPECT_TRUE(frame->Modified());
    form.show();
    EXPECT_TRUE(frame->btnPostClick());
    EXPECT_EQ(frame->CloseType(), uBaseFrame::ctPost);
    EXPECT_FALSE(frame->Modified());
    EXPECT_FALSE(form.isVisible()) << "a stored record closes its window";
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();

    auto other = Open();
    auto words =
        other->GetSlownikProvider(0)->GetSlownik(11)->GetWordList(cDaneBankuNazwa.Symbol.toStdU16String());
    ASSERT_TRUE(words);
    ASSERT_EQ(words->GetCount(), 1);
    EXPECT_EQ(Q(words->GetWord(0)), QStringLiteral("Bank Łódzki"));
}

TEST_F(BaseFrameTest, EditableFrameShowsTwoTabsAndReadOnlyNone) {
    auto bank = NewBank(QStringLiteral("Alfa"));
    THostForm form(NewBankFrame);
    TBaseFrame* frame = form.Frame;
    frame->SetEwidarDataBase(m_db);
    frame->SetEwidarRecord(bank);
    form.show();
    frame->SetSize();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Dane banku"));
    ASSERT_TRUE(frame->pgcContainer->isVisible());
    EXPECT_EQ(frame->pgcContainer->tabText(0), QStringLiteral("Pola ewidary"));
    EXPECT_EQ(frame->pgcContainer->tabText(1), QStringLiteral("Pola własne"));
    EXPECT_EQ(frame->pnlContainer->parentWidget(), frame->tsContainer);
    const int fieldsHeight = frame->pgcContainer->height();

    frame->pgcContainer->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->pgcContainer->height(), TBaseFrame::DynamicPageHeight);
    frame->pgcContainer->setCurrentIndex(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->pgcContainer->height(), fieldsHeight);

    frame->SetReadOnly(true);
    EXPECT_FALSE(frame->pgcContainer->isVisible());
    EXPECT_FALSE(frame->pnlButtons->isVisible());
    EXPECT_EQ(frame->pnlContainer->parentWidget(), frame);
    EXPECT_EQ(frame->pnlContainer->Header()->EditLabel(), QStringLiteral("Ustaw/zmień"));
    EXPECT_EQ(frame->pnlContainer->Header()->DeleteLabel(), QStringLiteral("Usuń"));
    EXPECT_TRUE(frame->pnlContainer->Header()->DeleteLabelEnabled());
    frame->SetReadOnly(false);
    EXPECT_TRUE(frame->pgcContainer->isVisible());
    EXPECT_TRUE(frame->pnlContainer->Header()->EditLabel().isEmpty());
}

TEST_F(BaseFrameTest, EmbeddedFramesAreChildrenUntilTheyGo) {
    THostForm form(NewNfzFrame);
    auto* embedded = new TDaneBankuFrame(form.Frame->pnlContainer);
    EXPECT_EQ(form.Frame->Childs(), QList<TBaseFrame*>{embedded});
    auto* moved = new TDaneNFZFrame;
    moved->setParent(embedded);
    EXPECT_EQ(embedded->Childs(), QList<TBaseFrame*>{moved});
    EXPECT_EQ(form.Frame->Childs(), QList<TBaseFrame*>{embedded}) << "only the nearest frame takes it";
    delete embedded;
    EXPECT_TRUE(form.Frame->Childs().isEmpty());
}
