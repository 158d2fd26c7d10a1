// The list frame: a bulk deletion works on the records ticked when it started, whatever
// reloads are asked for meanwhile; ticks never pass to another list; the root object is
// read where the owner keeps it; detaching empties the list.

#include "FrameFixture.h"

#include <QProgressBar>

namespace {

// A record whose deletion makes the list announce a change, as a backend does.
class AnnouncingRecord : public FakeRecord {
public:
    using FakeRecord::FakeRecord;
    bool Delete() override {
        const bool ok = FakeRecord::Delete();
        if (ok && OnDelete)
            OnDelete();
        return ok;
    }
    std::function<void()> OnDelete;
};

class FrameSnapshotTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_messages.Answer = [](const TMessageRequest&) {
            return ModalResult::mrYes;
        };
        m_banks = MakeCollection<IDaneBankow>();
        for (int id = 1; id <= 30; ++id) {
            AnnouncingRecord* r = m_banks->Add<AnnouncingRecord>(id, {QStringLiteral("bank %1").arg(id)});
            r->OnDelete = [this] {
                ++m_deletions;
                m_banks->OnChange(m_banks.get());
                // The reload timer comes due in the middle of the run.
                if (m_deletions == 3)
                    m_frame.tmrFilterTimer();
            };
        }
        m_frame.SetEwidarCollection(m_banks.get());
    }
    // Ticks the rows of the records with these identifiers.
    void Tick(const QList<int>& Ids) {
        for (int r = Grid()->FixedRows(); r < Grid()->RowCount(); ++r)
            if (Ids.contains(Grid()->EwidarRecord(r)->GetID()))
                Grid()->SetChecked(r, true);
    }
    QList<int> DeletedIds() const {
        QList<int> ids;
        for (const auto& r : m_banks->Records)
            if (StateOf(r.get())->Deleted)
                ids << StateOf(r.get())->ID;
        return ids;
    }

    TIntfPtr<FakeCollection<IDaneBankow>> m_banks;
    int m_deletions = 0;
};

TEST_F(FrameSnapshotTest, ReloadsAskedForDuringTheRunWaitAndEveryTickedRecordGoes) {
    const QList<int> ticked = {2, 3, 5, 8, 13, 21, 29, 30};
    Tick(ticked);
    const int filters = m_banks->FilterCalls;
    m_frame.btnDeleteClick();

    EXPECT_EQ(DeletedIds(), ticked);
    EXPECT_EQ(m_db->Starts, 1);
    EXPECT_EQ(m_db->Commits, 1);
    // One reload, after the run; nothing left waiting.
    EXPECT_EQ(m_banks->FilterCalls, filters + 1);
    EXPECT_FALSE(m_frame.tmrFilter->isActive());
    EXPECT_FALSE(m_frame.BulkDeleting());
    EXPECT_EQ(Grid()->RowCount() - Grid()->FixedRows(), 30 - ticked.size());
    EXPECT_TRUE(Grid()->CheckedIDList().isEmpty()) << "no tick of a deleted record is remembered";
    ASSERT_EQ(m_changed.size(), 1);
    EXPECT_FALSE(m_changed[0]);

    // Changes announced after the run reload the list as usual.
    m_banks->OnChange(m_banks.get());
    EXPECT_TRUE(m_frame.tmrFilter->isActive());
}

TEST_F(FrameSnapshotTest, ATickedRecordsIdentifierGivenToANewRecordIsNotTicked) {
    Tick({1, 4, 30});
    m_frame.btnDeleteClick();
    ASSERT_EQ(DeletedIds(), (QList<int>{1, 4, 30}));

    m_banks->Add(30, {QStringLiteral("nowy bank")}); // the backend reuses the identifier
    m_frame.tmrFilterTimer();
    EXPECT_TRUE(Grid()->CheckedIDList().isEmpty());
}

TEST_F(FrameSnapshotTest, AFailedRunKeepsTheTicksAndReloadsOnlyWhenAsked) {
    Tick({6, 7});
    auto* seven = StateOf(m_banks->Records[6].get());
    seven->DeleteOk = false;
    seven->DeleteError = 201;
    m_frame.RefreshData(); // a reload was already due when the run started
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_db->Commits, 0);
    EXPECT_EQ(Grid()->CheckedIDList(), (QStringList{QStringLiteral("6"), QStringLiteral("7")}))
        << "nothing was committed: the ticks stay";
    EXPECT_FALSE(m_frame.tmrFilter->isActive());

    // Without anything deleted, a reload due before the run still happens, once.
    for (const auto& r : m_banks->Records)
        StateOf(r.get())->DeleteOk = false;
    const int filters = m_banks->FilterCalls;
    m_frame.RefreshData();
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_banks->FilterCalls, filters + 1);
    EXPECT_FALSE(m_frame.tmrFilter->isActive());
}

TEST_F(FrameTest, AnotherCollectionForgetsTheTicksTheSameOneKeepsThem) {
    auto banks = Banks(3);
    auto others = Banks(3); // the same identifiers in another list
    m_frame.SetEwidarCollection(banks.get());
    Grid()->SetChecked(2, true);
    m_frame.SetEwidarCollection(banks.get());
    EXPECT_TRUE(Grid()->Checked(2));
    m_frame.SetEwidarCollection(others.get());
    EXPECT_FALSE(Grid()->Checked(2));
    EXPECT_TRUE(Grid()->CheckedIDList().isEmpty());
}

TEST_F(FrameTest, DetachingEmptiesTheListAndLeavesNothingToEditOrDelete) {
    auto banks = Banks(3);
    m_frame.SetEwidarCollection(banks.get());
    Grid()->SetChecked(1, true);
    ASSERT_TRUE(m_frame.btnEdit->isEnabled());
    m_frame.SetEwidarCollection(nullptr);
    EXPECT_FALSE(m_frame.EwidarCollection());
    for (int r = 0; r < Grid()->RowCount(); ++r)
        EXPECT_FALSE(Grid()->EwidarRecord(r)) << r;
    EXPECT_FALSE(m_frame.btnEdit->isEnabled());
    EXPECT_FALSE(m_frame.btnDelete->isEnabled());
    // The same list again: its earlier ticks are gone.
    m_frame.SetEwidarCollection(banks.get());
    EXPECT_TRUE(Grid()->CheckedIDList().isEmpty());
    EXPECT_TRUE(m_frame.btnEdit->isEnabled());
}

TEST_F(FrameTest, TheRootIsReadFromItsSourceEachTimeItIsNeeded) {
    auto second = MakeIntf<ListDataBase, ListDataBase>();
    TIntfPtr<ListDataBase> current = m_db;
    m_frame.SetEwidarDataBaseSource([&current] { return TIntfPtr<IEwidarDataBase>(current.get()); });
    auto banks = Banks(2);
    m_frame.SetEwidarCollection(banks.get());
    Grid()->SetChecked(1, true);
    current = second; // the owner replaced its root object
    m_messages.QueueResult(ModalResult::mrYes);
    m_frame.btnDeleteClick();
    EXPECT_EQ(m_db->Starts, 0);
    EXPECT_EQ(second->Starts, 1);
    EXPECT_EQ(second->Commits, 1);
    EXPECT_EQ(m_frame.EwidarDataBase().get(), static_cast<IEwidarDataBase*>(second.get()));
    // A fixed root replaces the source.
    m_frame.SetEwidarDataBase(m_db.get());
    current = nullptr;
    EXPECT_EQ(m_frame.EwidarDataBase().get(), static_cast<IEwidarDataBase*>(m_db.get()));
}

} // namespace
