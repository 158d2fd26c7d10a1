// Who may read the database: the file, its folder and its side files are the owner's only,
// whatever the umask, and an earlier file readable by everyone is made so when opened.

#include "BackendFixture.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

int Mode(const QString& Path) {
    struct stat st {};
    return ::stat(QFile::encodeName(Path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

class PrivacyTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        m_umask = ::umask(022);
    }
    void TearDown() override {
        ::umask(m_umask);
        BackendTest::TearDown();
    }
    mode_t m_umask = 0;
};

} // namespace

TEST_F(PrivacyTest, TheDatabaseItsSideFilesAndItsFolderAreTheOwnersOnly) {
    FILE_DATABASE_ONLY();
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ewidar");
    QDir(folder).removeRecursively();
    auto db = NewRoot();
    std::u16string param;
    ASSERT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    const QString file = folder + QStringLiteral("/ewidar.db");
    EXPECT_EQ(Mode(folder), 0700);
    for (const QString& f : {file, file + QStringLiteral("-wal"), file + QStringLiteral("-shm")})
        EXPECT_EQ(Mode(f), 0600) << f.toStdString();
    db->Disconnect();

    // An earlier database and an empty log left beside it, readable by everyone.
    QFile log(file + QStringLiteral("-wal"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.close();
    for (const QString& f : {file, file + QStringLiteral("-wal")})
        ASSERT_EQ(::chmod(QFile::encodeName(f).constData(), 0644), 0);
    auto again = NewRoot();
    ASSERT_TRUE(again->Connect(param, false)) << again->GetLastErrorCode();
    for (const QString& f : {file, file + QStringLiteral("-wal"), file + QStringLiteral("-shm")})
        EXPECT_EQ(Mode(f), 0600) << f.toStdString();
    again->Disconnect();
}
