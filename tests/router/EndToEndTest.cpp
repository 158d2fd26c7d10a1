// The program's database module reaching the real SQL backend through the real
// router, both as built into the common output folder.

#include "TestSupport.h"
#include "uDataBaseModule.h"
#include "uStrings.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

const std::u16string Nazwisko = u"cDanePodmiotuNazwisko";
const std::u16string Imie = u"cDanePodmiotuPierwszeImie";

// The backend's own text for an error code, through the router.
std::string ErrorText(TDataBaseModule& Module, IEwidarDataBase* Db, int32_t Code) {
    std::u16string text, link;
    if (!Module.FGetLastError || !Module.FGetLastError(Code, Db->GetDataBaseID(), text, link))
        return "code " + std::to_string(Code);
    return "code " + std::to_string(Code) + ": " + toQ(text).toStdString();
}

QString FieldValue(const TIntfPtr<IEwidarRecord>& Record, const std::u16string& Symbol) {
    const TIntfPtr<IDataFields> fields = Record ? Record->GetDataFields() : nullptr;
    const TIntfPtr<IDataField> field = fields ? fields->GetDataField(Symbol) : nullptr;
    return field ? toQ(field->GetValue()) : QStringLiteral("<no field>");
}

TEST(RouterEndToEnd, StoresASubjectInSQLiteAndReadsItBack) {
    const QString bin = QStringLiteral(EWIDAR_BIN_DIR);
    if (!QFileInfo(bin + QStringLiteral("/QuorDataBaseSQL.so")).isFile())
        GTEST_SKIP() << "the SQL backend is not built in " << bin.toStdString();
    TestSupport::ClearSettings();
    TDataBaseModule module(bin);
    ASSERT_TRUE(module.GetDLLLoaded());
    ASSERT_TRUE(module.DBListAssigned());
    EXPECT_EQ(QFileInfo(module.RouterPath()).canonicalFilePath(),
              QFileInfo(bin + QStringLiteral("/QuorDataBase.so")).canonicalFilePath());

    // The router offers the backend's SQLite entry, found beside it.
    bool listed = false;
    for (int32_t i = 0; i < module.FDBListCount(); ++i) {
        std::u16string symbol, caption;
        const bool besideRouter = module.FDBListItem(i, symbol, caption);
        if (toQ(symbol).compare(QStringLiteral("SQLITE"), Qt::CaseInsensitive) == 0)
            listed = besideRouter;
    }
    EXPECT_TRUE(listed);

    const QString file = TestSupport::NewTempDir(QStringLiteral("e2e")) + QStringLiteral("/ewidar.db");
    {
        const TIntfPtr<IEwidarDataBase> db = module.CreateEwidarInterface(QStringLiteral("sqlite"));
        ASSERT_TRUE(db);
        std::u16string param = toU16(QStringLiteral("DIR=%1;").arg(file));
        ASSERT_TRUE(db->Connect(param, true)) << ErrorText(module, db.get(), db->GetLastErrorCode());
        const TIntfPtr<IEwidarRegistries> registries = db->GetRegistries();
        ASSERT_TRUE(registries);
        const TIntfPtr<IPodatnicy> podatnicy = registries->GetPodatnicy(u"");
        ASSERT_TRUE(podatnicy);
        const TIntfPtr<IEwidarRecord> podatnik = podatnicy->New();
        ASSERT_TRUE(podatnik);
        podatnik->GetDataFields()->GetDataField(Nazwisko)->SetValue(u"Wójcik");
        podatnik->GetDataFields()->GetDataField(Imie)->SetValue(u"Łucja");
        ASSERT_TRUE(podatnik->Post()) << ErrorText(module, db.get(), podatnik->GetLastErrorCode());
        db->Disconnect();
    }

    // A second root object on the same file finds what the first one stored.
    const TIntfPtr<IEwidarDataBase> db = module.CreateEwidarInterface(QStringLiteral("SQLite"));
    ASSERT_TRUE(db);
    std::u16string param = toU16(QStringLiteral("DIR=%1;").arg(file));
    ASSERT_TRUE(db->Connect(param, false)) << ErrorText(module, db.get(), db->GetLastErrorCode());
    const TIntfPtr<IPodatnicy> podatnicy = db->GetRegistries()->GetPodatnicy(u"");
    ASSERT_TRUE(podatnicy);
    ASSERT_EQ(podatnicy->GetCount(), 1);
    const TIntfPtr<IEwidarRecord> podatnik = podatnicy->GetItem(0);
    EXPECT_EQ(FieldValue(podatnik, Nazwisko), QStringLiteral("Wójcik"));
    EXPECT_EQ(FieldValue(podatnik, Imie), QStringLiteral("Łucja"));
    db->Disconnect();
}

} // namespace
