// The list frame's actions: adding by collection family, editing with its
// context, deleting one record or the ticked ones inside a transaction.

#include "FrameFixture.h"

#include <QProgressBar>

namespace {

const QString kYes = QStringLiteral("Tak");
const QString kNo = QStringLiteral("Nie");

TEST_F(FrameTest, AddingToASectionOrRegistryListOpensTheCollectionsNewRecord) {
    auto addresses = MakeCollection<IAdresy>();
    m_frame.SetKontekst(kPodatnik);
    m_frame.SetEwidarCollection(addresses.get());
    m_frame.btnAddClick();
    EXPECT_EQ(addresses->NewCalls, 1);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_TRUE(m_opened[0].Record->IsNew());
    EXPECT_EQ(m_opened[0].Kontekst, kPodatnik);
    EXPECT_EQ(m_frame.CurrentEwidarRecord().get(), m_opened[0].Record.get());
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_EQ(m_changed[0].get(), m_opened[0].Record.get());
    EXPECT_FALSE(m_frame.tmrFilter->isActive()); // cancelled: no reload

    m_postAnswer = true;
    m_frame.btnAddClick();
    EXPECT_TRUE(m_frame.tmrFilter->isActive()); // posted: the list reloads through the timer
}

TEST_F(FrameTest, NothingIsAddedToTheListOfAllSubjectsOrWithoutACollection) {
    m_frame.btnAddClick();
    EXPECT_TRUE(m_changed.isEmpty());
    auto subjects = MakeCollection<IPodmioty>();
    m_frame.SetCurrentEwidarRecord(MakeIntf<FakeRecord, FakeRecord>(5, QStringList()).get());
    m_frame.SetEwidarCollection(subjects.get());
    m_frame.btnAddClick();
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_FALSE(m_frame.CurrentEwidarRecord());
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_FALSE(m_changed[0]);
}

class FramePeopleTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_registries = MakeIntf<FakeRegistries, FakeRegistries>();
        m_freshPeople = MakeCollection<IPracownicy>();
        m_freshContractors = MakeCollection<IKontrahenci>();
        m_registries->Pracownicy = m_freshPeople;
        m_registries->Kontrahenci = m_freshContractors;
        m_db->Registries = m_registries;
        m_taxpayer = MakeIntf<FakePodatnik, FakePodatnik>(40, QStringList());
        ListOpeners::SetTaxpayerChooser([this](QWidget*, IEwidarDataBase*, TPodmiotType Type) {
            m_asked.append(Type);
            return m_choice;
        });
    }

    TIntfPtr<FakeRegistries> m_registries;
    TIntfPtr<FakeCollection<IPracownicy>> m_freshPeople;
    TIntfPtr<FakeCollection<IKontrahenci>> m_freshContractors;
    TIntfPtr<FakePodatnik> m_taxpayer;
    TIntfPtr<IPodmiot> m_choice;
    QList<TPodmiotType> m_asked;
};

TEST_F(FramePeopleTest, AnEmployeeOfTheRegistryAsksForItsTaxpayerFirst) {
    m_choice = m_taxpayer;
    auto listed = MakeCollection<IPracownicy>();
    m_frame.SetEwidarCollection(listed.get());
    m_frame.btnAddClick();
    EXPECT_EQ(m_asked, QList<TPodmiotType>{ptPracownik});
    EXPECT_EQ(listed->NewCalls, 0);
    EXPECT_EQ(m_registries->PracownicyFilter, QString());
    EXPECT_EQ(m_freshPeople->NewForPodatnikCalls, 1);
    EXPECT_EQ(m_freshPeople->ChosenPodatnik->GetID(), 40);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].Kontekst, kPracownik);
}

TEST_F(FramePeopleTest, AContractorIsCreatedEvenWhenNoTaxpayerIsChosen) {
    auto listed = MakeCollection<IKontrahenci>();
    m_frame.SetEwidarCollection(listed.get());
    m_frame.btnAddClick();
    EXPECT_EQ(m_asked, QList<TPodmiotType>{ptKontrahent});
    EXPECT_EQ(m_freshContractors->NewForPodatnikCalls, 1);
    EXPECT_FALSE(m_freshContractors->ChosenPodatnik);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].Kontekst, kKontrahent);
}

TEST_F(FramePeopleTest, ATaxpayersOwnListCreatesWithoutAsking) {
    auto listed = MakeCollection<IPracownicy>();
    m_frame.SetKontekst(kPracownik);
    m_frame.SetEwidarCollection(listed.get());
    m_frame.btnAddClick();
    EXPECT_TRUE(m_asked.isEmpty());
    EXPECT_EQ(listed->NewCalls, 1);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].Kontekst, kPracownik);
}

TEST_F(FramePeopleTest, WithoutRegistriesNoRecordAndNoWindow) {
    m_db->Registries = nullptr;
    auto listed = MakeCollection<IKontrahenci>();
    m_frame.SetEwidarCollection(listed.get());
    m_frame.btnAddClick();
    EXPECT_TRUE(m_opened.isEmpty());
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_FALSE(m_changed[0]);
}

TEST_F(FramePeopleTest, EditingOpensTheCurrentRecordInItsListsContext) {
    auto people = MakeCollection<IPracownicy>();
    people->Add(1, {QStringLiteral("Jan")});
    people->Add(2, {QStringLiteral("Anna")});
    m_frame.SetEwidarCollection(people.get());
    Grid()->SetRow(2);
    m_frame.btnEditClick();
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].Record->GetID(), 2);
    EXPECT_EQ(m_opened[0].Kontekst, kPracownik);
    EXPECT_EQ(m_changed.size(), 1);

    m_frame.SetKontekst(kPodatnik);
    m_frame.btnEditClick();
    EXPECT_EQ(m_opened[1].Kontekst, kPodatnik);

    auto contractors = MakeCollection<IKontrahenci>();
    contractors->Add(3, {QStringLiteral("Firma")});
    m_frame.SetKontekst(kBrak);
    m_frame.SetEwidarCollection(contractors.get());
    m_frame.btnList->click(); // by default the same handler
    EXPECT_EQ(m_opened[2].Kontekst, kKontrahent);

    m_frame.btnEdit->hide();
    m_frame.btnEditClick();
    EXPECT_EQ(m_opened.size(), 3);
}

TEST_F(FrameTest, DeletingOneRecordAsksWithItsDescription) {
    auto banks = Banks(3);
    StateOf(banks->Records[1].get())->Summary = QStringLiteral("PKO,,\"ul. Długa 1\",");
    m_frame.SetEwidarCollection(banks.get());
    Grid()->SetRow(2);
    m_messages.QueueButton(kNo);
    m_frame.btnDeleteClick();
    ASSERT_EQ(m_messages.Count(), 1);
    EXPECT_EQ(m_messages.Last().Text,
              QStringLiteral("Czy na pewno usunąć wybrane dane?\r\n\r\nPKO, ul. Długa 1"));
    EXPECT_EQ(StateOf(banks->Records[1].get())->DeleteCalls, 0);

    m_messages.QueueButton(kYes);
    m_frame.btnDeleteClick();
    EXPECT_TRUE(StateOf(banks->Records[1].get())->Deleted);
    EXPECT_EQ(Grid()->RowCount(), 3); // reloaded at once
    EXPECT_EQ(m_db->Starts, 0);       // no transaction for one record
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_FALSE(m_changed[0]);
}

TEST_F(FrameTest, InATaxpayersListDeletingSpeaksOfLinks) {
    auto banks = Banks(3);
    m_frame.SetPodatnik(true);
    m_frame.SetEwidarCollection(banks.get());
    m_messages.QueueButton(kNo);
    m_frame.btnDeleteClick();
    EXPECT_TRUE(
        m_messages.Last().Text.startsWith(QStringLiteral("Czy na pewno usunąć powiązanie z danymi?")));
    Grid()->SetChecked(1, true);
    Grid()->SetChecked(3, true);
    m_messages.QueueButton(kNo);
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_messages.Last().Text,
              QStringLiteral("Czy na pewno usunąć powiązania z wybranymi (2) danymi?"));
    EXPECT_EQ(m_db->Starts, 0);
}

TEST_F(FrameTest, AFailedDeletionShowsItsCodeAndOffersTheRelations) {
    auto banks = Banks(2);
    FakeRecordState* first = StateOf(banks->Records[0].get());
    first->DeleteOk = false;
    first->DeleteError = 202;
    m_frame.SetEwidarCollection(banks.get());
    m_messages.QueueButton(kYes);
    m_messages.QueueButton(QStringLiteral("Zamknij"));
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_messages.Count(), 2);
    EXPECT_EQ(m_messages.LastCaptions(),
              (QStringList{QStringLiteral("Powiązania"), QStringLiteral("Zamknij")}));
    EXPECT_TRUE(m_relations.isEmpty());
    EXPECT_TRUE(m_changed.isEmpty());

    m_messages.QueueButton(kYes);
    m_messages.QueueButton(QStringLiteral("Powiązania"));
    m_frame.btnDeleteClick();
    ASSERT_EQ(m_relations.size(), 1);
    EXPECT_EQ(m_relations[0]->GetID(), 1);

    first->DeleteError = 201; // another error: its message only
    m_messages.QueueButton(kYes);
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Katastrofalny błąd podczas usuwania danych"));
    EXPECT_EQ(m_relations.size(), 1);
}

class FrameBulkDeleteTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_banks = Banks(5);
        m_frame.SetEwidarCollection(m_banks.get());
        for (int row : {1, 2, 4})
            Grid()->SetChecked(row, true);
    }
    FakeRecordState* Record(int Id) { return StateOf(m_banks->Records[static_cast<size_t>(Id - 1)].get()); }

    TIntfPtr<FakeCollection<IDaneBankow>> m_banks;
};

TEST_F(FrameBulkDeleteTest, TheTickedRecordsAreDeletedInOneTransaction) {
    int progressMax = -1;
    bool progressShown = false;
    m_messages.Answer = [&](const TMessageRequest&) {
        return ModalResult::mrYes;
    };
    // The progress bar is visible while the records go.
    QObject::connect(m_frame.pbDeleteProgress, &QProgressBar::valueChanged, [&](int) {
        progressShown = !m_frame.pbDeleteProgress->isHidden();
        progressMax = m_frame.pbDeleteProgress->maximum();
    });
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_messages.Shown.first().Text, QStringLiteral("Czy na pewno usunąć zaznaczone (3) rekordy?"));
    EXPECT_EQ(m_db->Starts, 1);
    EXPECT_EQ(m_db->Commits, 1);
    for (int id : {1, 2, 4})
        EXPECT_TRUE(Record(id)->Deleted) << id;
    EXPECT_FALSE(Record(3)->Deleted);
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(progressMax, 3);
    EXPECT_TRUE(m_frame.pbDeleteProgress->isHidden());
    EXPECT_EQ(Grid()->RowCount(), 3); // two banks left
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_FALSE(m_changed[0]);
}

TEST_F(FrameBulkDeleteTest, DeletionStopsAtTheFirstFailureAndDoesNotCommit) {
    Record(2)->DeleteOk = false;
    Record(2)->DeleteError = 201;
    m_messages.QueueButton(kYes);
    m_frame.btnDeleteClick();
    EXPECT_TRUE(Record(1)->Deleted);
    EXPECT_EQ(Record(4)->DeleteCalls, 0);
    EXPECT_EQ(m_db->Commits, 0);
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Katastrofalny błąd podczas usuwania danych"));
    EXPECT_TRUE(m_frame.pbDeleteProgress->isHidden());
    // Record 1 went: the list reloads and the owner hears of it.
    EXPECT_EQ(Grid()->RowCount(), 5);
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_FALSE(m_changed[0]);
}

TEST_F(FrameBulkDeleteTest, AFailureOnTheFirstRecordNeitherCommitsNorReloads) {
    Record(1)->DeleteOk = false; // and no error code at all
    m_messages.QueueButton(kYes);
    const int filters = m_banks->FilterCalls;
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_db->Commits, 0);
    EXPECT_EQ(Record(2)->DeleteCalls, 0);
    EXPECT_EQ(m_messages.Count(), 1); // code 0 shows nothing
    EXPECT_EQ(m_banks->FilterCalls, filters);
    EXPECT_TRUE(m_changed.isEmpty());
}

TEST_F(FrameBulkDeleteTest, A202InTheMiddleOffersTheRelationsOfThatRecord) {
    Record(4)->DeleteOk = false;
    Record(4)->DeleteError = 202;
    m_messages.QueueButton(kYes);
    m_messages.QueueButton(QStringLiteral("Powiązania"));
    m_frame.btnDeleteClick();
    ASSERT_EQ(m_relations.size(), 1);
    EXPECT_EQ(m_relations[0]->GetID(), 4);
    EXPECT_EQ(m_db->Commits, 0);
}

TEST_F(FrameBulkDeleteTest, ATransactionThatCannotStartDeletesNothing) {
    m_db->StartOk = false;
    m_db->m_errorCode = 7;
    m_messages.QueueButton(kYes);
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Błąd podczas otwierania transakcji w bazie danych."));
    EXPECT_EQ(Record(1)->DeleteCalls, 0);
    EXPECT_TRUE(m_frame.pbDeleteProgress->isHidden());
}

TEST_F(FrameBulkDeleteTest, AFailedCommitIsShown) {
    m_db->CommitOk = false;
    m_db->m_errorCode = 8;
    m_messages.QueueButton(kYes);
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Błąd podczas zamykania transakcji w bazie danych."));
}

TEST_F(FrameBulkDeleteTest, AnsweringNoDeletesNothing) {
    m_messages.QueueButton(kNo);
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_db->Starts, 0);
    EXPECT_EQ(Record(1)->DeleteCalls, 0);
}

} // namespace
