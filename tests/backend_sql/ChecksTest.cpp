// The proof of register checks: kept as written with the time and the operator, newest first,
// found by subject or by the number asked about, and kept when the subject is deleted.

#include "BackendFixture.h"
#include "uEwidarRegisterChecksIntf.h"

#include <QDateTime>

#include <stdexcept>

namespace {

TRegisterCheck Check(int32_t Subject, const char16_t* Register, const char16_t* Outcome) {
    TRegisterCheck c;
    c.SubjectID = Subject;
    c.Register = Register;
    c.AskedDate = u"2026-01-05";
    c.Identifier = u"5260250995";
    c.Outcome = Outcome;
    c.Source = u"usługa";
    c.RequestId = u"abc-123";
    return c;
}

using ChecksTest = BackendTest;

TEST_F(ChecksTest, ChecksAreKeptAsWrittenAndOutliveTheirSubject) {
    auto subject = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    const int32_t id = subject->GetID();
    TRegisterCheck first = Check(id, u"WL", u"Czynny");
    // The raw answer as received: any text, of any length.
    first.Raw = (QStringLiteral("{\"name\":\"ŻÓŁW\"}") + QString(200000, u'x')).toStdU16String();
    ASSERT_TRUE(RegisterChecks(m_db)->AddRegisterCheck(first)) << m_db->GetLastErrorCode();
    EXPECT_NE(first.ID, 0);
    EXPECT_TRUE(first.Operator.empty()); // nobody logs in to a database without operators
    EXPECT_TRUE(QDateTime::fromString(QString::fromStdU16String(first.AskedAt), Qt::ISODate).isValid());
    TRegisterCheck second = Check(id, u"WL-RACHUNEK", u"przypisany");
    second.Account = u"12105000997603123456789123";
    ASSERT_TRUE(RegisterChecks(m_db)->AddRegisterCheck(second));
    TRegisterCheck other = Check(id + 1000, u"VIES", u"ważny");
    other.Identifier = u"DE123456789";
    ASSERT_TRUE(RegisterChecks(m_db)->AddRegisterCheck(other));

    ASSERT_TRUE(subject->Delete()) << subject->GetLastErrorCode();
    auto db = Open(); // another connection: the rows are stored, not remembered
    std::vector<TRegisterCheck> found;
    ASSERT_TRUE(RegisterChecks(db)->GetRegisterChecks(id, {}, found)) << db->GetLastErrorCode();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].ID, second.ID); // newest first
    EXPECT_EQ(found[0].Account, second.Account);
    EXPECT_EQ(found[0].Outcome, u"przypisany");
    const TRegisterCheck& f = found[1];
    EXPECT_EQ(f.Register, u"WL");
    EXPECT_EQ(f.AskedDate, u"2026-01-05");
    EXPECT_EQ(f.AskedAt, first.AskedAt);
    EXPECT_EQ(f.Identifier, u"5260250995");
    EXPECT_EQ(f.Source, u"usługa");
    EXPECT_EQ(f.RequestId, u"abc-123");
    EXPECT_TRUE(f.Raw == first.Raw);

    ASSERT_TRUE(RegisterChecks(db)->GetRegisterChecks(0, u"5260250995", found));
    EXPECT_EQ(found.size(), 2u);
    ASSERT_TRUE(RegisterChecks(db)->GetRegisterChecks(0, u"DE123456789", found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].SubjectID, id + 1000);
}

TEST_F(ChecksTest, TheOperatorWhoAskedIsRecordedAndAGuestMayNotAsk) {
    ASSERT_TRUE(AddAdministrator(m_db.get(), u"anna", u"tajne-hasło"));
    m_db->Logout();
    TRegisterCheck c = Check(1, u"WL", u"Czynny");
    EXPECT_FALSE(RegisterChecks(m_db)->AddRegisterCheck(c));
    std::vector<TRegisterCheck> found;
    EXPECT_FALSE(RegisterChecks(m_db)->GetRegisterChecks(1, {}, found));
    ASSERT_TRUE(m_db->Login(u"anna", u"tajne-hasło")) << m_db->GetLastErrorCode();
    ASSERT_TRUE(RegisterChecks(m_db)->AddRegisterCheck(c)) << m_db->GetLastErrorCode();
    EXPECT_EQ(c.Operator, u"anna");
    ASSERT_TRUE(RegisterChecks(m_db)->GetRegisterChecks(1, {}, found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Operator, u"anna");
}

} // namespace
