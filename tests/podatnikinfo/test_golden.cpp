// The report of a fully filled subject stored through the SQL backend, as text and as
// an HTML page, compared with the reviewed files in golden/. Set EWIDAR_UPDATE_GOLDEN=1
// to write the files anew after an intended change (and review the difference).

#include "BackendLoader.h"
#include "FilledSubject.h"
#include "TestSupport.h"
#include "uGetPodatnikInfo.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString GoldenPath(const char* Name) {
    return QStringLiteral(EWIDAR_GOLDEN_DIR "/") + QString::fromUtf8(Name);
}

void CompareWithGolden(const char* Name, const QString& Actual) {
    QFile file(GoldenPath(Name));
    if (qEnvironmentVariableIntValue("EWIDAR_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GoldenPath(Name).toStdString();
    const QString expected = QString::fromUtf8(file.readAll());
    const QStringList e = expected.split(QStringLiteral("\r\n"));
    const QStringList a = Actual.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < std::min(e.size(), a.size()); ++i)
        ASSERT_EQ(a[i], e[i]) << Name << " line " << i + 1;
    EXPECT_EQ(a.size(), e.size()) << Name;
    EXPECT_EQ(Actual, expected) << Name;
}

class GoldenReport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Backend().error.isEmpty()) << Backend().error.toStdString();
        m_db = NewRoot();
        ASSERT_TRUE(m_db);
        std::u16string param =
            U(QStringLiteral("DIR=%1/golden.db;").arg(TestSupport::NewTempDir(QStringLiteral("golden"))));
        ASSERT_TRUE(m_db->Connect(param, true));
    }
    void TearDown() override {
        if (m_db)
            m_db->Disconnect();
    }
    TIntfPtr<IEwidarDataBase> m_db;
};

} // namespace

TEST_F(GoldenReport, FullyFilledSubjectAsTextAndAsPage) {
    const TIntfPtr<IPodmiot> subject = NewFilledSubject(m_db.get());
    ASSERT_TRUE(subject);
    // The list frame's call: pruned, as a page, three columns.
    CompareWithGolden("report.html",
                      GetPodatnikInfo(m_db.get(), nullptr, nullptr, subject.get(), true, true, 3));
    CompareWithGolden("report.txt",
                      GetPodatnikInfo(m_db.get(), nullptr, nullptr, subject.get(), true, false, 3));
}
