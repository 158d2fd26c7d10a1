#pragma once
// Fixture of the backend tests: a temporary database file, a connected root
// object, helpers to fill and read records and to look into the file directly.

#include "BackendLoader.h"
#include "uEwidarRegisterChecksIntf.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

class BackendTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The parameter for a file (a server database under the server dialect), with a
    // short wait for other processes' locks.
    static QString Param(const QString& Path);
    // A new root object connected to Path (the fixture's file by default).
    TIntfPtr<IEwidarDataBase> Open(const QString& Path = {});
    // A second, empty database: a file beside the fixture's, or a new server database.
    QString AnotherDataBase();
    TIntfPtr<IEwidarRegistries> Reg() { return m_db->GetRegistries(); }

    QString m_dir;
    QString m_path; // the file, or the server database's name
    // Tests of what only a database file has (paths, file locks, file systems).
#define FILE_DATABASE_ONLY()                                                                                 \
    if (ServerDialect())                                                                                     \
    GTEST_SKIP() << "a database file only"
    TIntfPtr<IEwidarDataBase> m_db;
};

void SetValue(IEwidarRecord* R, const QString& Symbol, const QString& Value);
QString Value(IEwidarRecord* R, const QString& Symbol);
QStringList Lines(IEwidarRecord* R);
QStringList ListLines(IEwidarCollection* C, int Column = 0);

// A posted taxpayer named "First Last" with one address in City (when given).
TIntfPtr<IEwidarRecord> NewPodatnik(IEwidarDataBase* Db, const QString& First, const QString& Last,
                                    const QString& City = {});
// A posted record of a registry with one value set.
TIntfPtr<IEwidarRecord> NewPosted(IEwidarListCollection* C, const QString& Symbol, const QString& Value);

// A group "Administratorzy" with every right and the operator Login in it, both posted;
// false, with a test failure naming the code, when the database refuses either.
bool AddAdministrator(IEwidarDataBase* Db, const std::u16string& Login, const std::u16string& Password);
// The root object's proof of register checks (the SQL backend always has it); throws without.
TIntfPtr<IEwidarRegisterChecks> RegisterChecks(const TIntfPtr<IEwidarDataBase>& Db);

// Writes a plain file (not a database); false when it cannot be written.
bool WriteFile(const QString& Path, const QByteArray& Data);

// A Qt connection (not yet opened) to the test database as an administrator's tool would
// make it: the file, or the private server's database as root.
QSqlDatabase AddRawConnection(const QString& Name, const QString& Path);
// Runs a query on the file (the server database) through a connection of its own; the first column of the
// first row.
QVariant RawScalar(const QString& Path, const QString& Sql);

// Another program that holds the file in an exclusive write transaction while it lives.
class TExclusiveHolder {
public:
    explicit TExclusiveHolder(const QString& Path);
    ~TExclusiveHolder();
    TExclusiveHolder(const TExclusiveHolder&) = delete;
    TExclusiveHolder& operator=(const TExclusiveHolder&) = delete;
    bool Holds() const { return m_holds; }

private:
    QString m_name;
    bool m_holds = false;
};
