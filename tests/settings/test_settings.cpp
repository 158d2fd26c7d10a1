// The connection settings store: loading with migration, the working copy, connection
// parameters and histories per backend symbol with migration of the older value names.

#include "RegistryTestSupport.h"
#include "uRegistry.h"
#include "uSettingsModule.h"

#include <gtest/gtest.h>

using namespace RegistryTest;

namespace {

const QString Group = QStringLiteral("Ewidar");
const QString DataBaseSymbol = QStringLiteral("DataBaseSymbol");
const QString DataBaseType = QStringLiteral("DataBaseType");

class SettingsModuleTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override { ResetAll(); }
};

TEST_F(SettingsModuleTest, FreshRegistryYieldsSqliteAndCreatesAnEmptySymbolValue) {
    TSettingsModule settings;
    EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, QStringLiteral("SQLITE"));
    EXPECT_EQ(settings.FTempSettingsRecord.DataBaseSymbol, QStringLiteral("SQLITE"));
    ASSERT_TRUE(UserHas(Group, DataBaseSymbol));
    EXPECT_EQ(UserValue(Group, DataBaseSymbol).toString(), QString());
    EXPECT_FALSE(UserHas(Group, DataBaseType));
}

TEST_F(SettingsModuleTest, OlderTypeIndexIsMigratedToTheSymbol) {
    const struct {
        int type;
        QString symbol;
    } cases[] = {
        {0, QStringLiteral("SQLITE")},
        {1, QStringLiteral("MYSQL")},
        {2, QStringLiteral("MYSQLADO")},
        {3, QStringLiteral("MSSQLADO")},
    };
    for (const auto& c : cases) {
        ResetAll();
        SetUser(Group, DataBaseType, c.type);
        ForceReloadFromDisk();
        TSettingsModule settings;
        EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, c.symbol);
        EXPECT_EQ(settings.FTempSettingsRecord.DataBaseSymbol, c.symbol);
        EXPECT_EQ(UserValue(Group, DataBaseSymbol).toString(), c.symbol) << c.type;
    }
}

TEST_F(SettingsModuleTest, TypeOutsideTheTableIsIgnoredAndNothingIsWritten) {
    for (const int type : {7, 4, -1}) {
        ResetAll();
        SetUser(Group, DataBaseType, type);
        TSettingsModule settings;
        EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, QStringLiteral("SQLITE")) << type;
        EXPECT_EQ(UserValue(Group, DataBaseSymbol).toString(), QString()) << type;
    }
}

TEST_F(SettingsModuleTest, TypeThatIsNotANumberReadsAsIndexZero) {
    SetUser(Group, DataBaseType, QStringLiteral("MYSQL"));
    TSettingsModule settings;
    EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, QStringLiteral("SQLITE"));
}

TEST_F(SettingsModuleTest, StoredSymbolWinsOverTheOlderType) {
    SetUser(Group, DataBaseSymbol, QStringLiteral("ORACLE"));
    SetUser(Group, DataBaseType, 2);
    TSettingsModule settings;
    EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, QStringLiteral("ORACLE"));
}

TEST_F(SettingsModuleTest, SaveAndCancelMoveTheWorkingCopy) {
    TSettingsModule settings;
    settings.FTempSettingsRecord.DataBaseSymbol = QStringLiteral("MYSQL");
    settings.Cancel();
    EXPECT_EQ(settings.FTempSettingsRecord.DataBaseSymbol, QStringLiteral("SQLITE"));
    EXPECT_EQ(UserValue(Group, DataBaseSymbol).toString(), QString());

    settings.FTempSettingsRecord.DataBaseSymbol = QStringLiteral("MSSQLADO");
    settings.Save();
    EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, QStringLiteral("MSSQLADO"));
    EXPECT_EQ(UserValue(Group, DataBaseSymbol).toString(), QStringLiteral("MSSQLADO"));
    EXPECT_EQ(TSettingsModule().FMainSettingsRecord.DataBaseSymbol, QStringLiteral("MSSQLADO"));
}

TEST_F(SettingsModuleTest, ParameterAndHistoryAreStoredPerSymbolUnderExactNames) {
    TSettingsModule settings;
    settings.SetConnectorParam(QStringLiteral("SQLITE"), QStringLiteral("/data/ewidar.db"));
    settings.SetConnectorHistory(QStringLiteral("SQLITE"), QStringLiteral("/a.db@/b.db@"));
    settings.SetConnectorParam(QStringLiteral("MYSQL"), QStringLiteral("host=srv"));
    EXPECT_EQ(UserValue(Group, QStringLiteral("ConnectorParams_SQLITE")).toString(),
              QStringLiteral("/data/ewidar.db"));
    EXPECT_EQ(UserValue(Group, QStringLiteral("ConnectorHistory_SQLITE")).toString(),
              QStringLiteral("/a.db@/b.db@"));
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("SQLITE")), QStringLiteral("/data/ewidar.db"));
    EXPECT_EQ(settings.GetConnectorHistory(QStringLiteral("SQLITE")), QStringLiteral("/a.db@/b.db@"));
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("MYSQL")), QStringLiteral("host=srv"));
    EXPECT_EQ(settings.GetConnectorHistory(QStringLiteral("MYSQL")), QString());
    // Setters write at once, independently of Save.
    EXPECT_EQ(UserValue(Group, DataBaseSymbol).toString(), QString());
}

TEST_F(SettingsModuleTest, AskingForAMissingParameterCreatesItEmpty) {
    TSettingsModule settings;
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("ORACLE")), QString());
    EXPECT_TRUE(UserHas(Group, QStringLiteral("ConnectorParams_ORACLE")));
    EXPECT_EQ(settings.GetConnectorHistory(QStringLiteral("MYSQL")), QString());
    EXPECT_TRUE(UserHas(Group, QStringLiteral("ConnectorHistory_MYSQL")));
    EXPECT_FALSE(UserHas(Group, QStringLiteral("ConnectorHistory1"))) << "the older name is only tested";
}

TEST_F(SettingsModuleTest, OlderIndexedValueIsMigratedForAnyLetterCase) {
    for (const QString& asked : {QStringLiteral("MySQL"), QStringLiteral("mysql"), QStringLiteral("MYSQL")}) {
        ResetAll();
        SetUser(Group, QStringLiteral("ConnectorParams1"), QStringLiteral("host=old"));
        SetUser(Group, QStringLiteral("ConnectorHistory1"), QStringLiteral("host=old@host=older@"));
        TSettingsModule settings;
        EXPECT_EQ(settings.GetConnectorParam(asked), QStringLiteral("host=old")) << asked.toStdString();
        EXPECT_EQ(settings.GetConnectorHistory(asked), QStringLiteral("host=old@host=older@"))
            << asked.toStdString();
        // Stored under the new name built with the symbol exactly as asked.
        EXPECT_EQ(UserValue(Group, QStringLiteral("ConnectorParams_") + asked).toString(),
                  QStringLiteral("host=old"));
        EXPECT_EQ(UserValue(Group, QStringLiteral("ConnectorHistory_") + asked).toString(),
                  QStringLiteral("host=old@host=older@"));
        EXPECT_TRUE(UserHas(Group, QStringLiteral("ConnectorParams1"))) << "the older value stays";
    }
}

TEST_F(SettingsModuleTest, MigrationOnlyForTableSymbolsWithAnEmptyNewValue) {
    SetUser(Group, QStringLiteral("ConnectorParams0"), QStringLiteral("/old.db"));
    SetUser(Group, QStringLiteral("ConnectorParams3"), QStringLiteral("old mssql"));
    SetUser(Group, QStringLiteral("ConnectorParams_MSSQLADO"), QStringLiteral("new mssql"));
    TSettingsModule settings;
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("MSSQLADO")), QStringLiteral("new mssql"));
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("SQLITE")), QStringLiteral("/old.db"));
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("SQLITE ")), QString()) << "not a table symbol";
    EXPECT_EQ(settings.GetConnectorParam(QString()), QString());
    EXPECT_TRUE(UserHas(Group, QStringLiteral("ConnectorParams_")));
}

TEST_F(SettingsModuleTest, ParametersKeepTheirTextThroughTheSettingsFile) {
    const QString params[] = {
        QStringLiteral("Server=łódź-srv;Database=ewidar;User=żółw;Password=p@ss;w0rd"),
        QStringLiteral("@leading at"),
        QStringLiteral("C:\\Dane\\Ewidar, kopia\\ewidar.db"),
        QString(100000, QLatin1Char('x')) + QStringLiteral("ąę@;"),
    };
    {
        TSettingsModule settings;
        int i = 0;
        for (const QString& p : params)
            settings.SetConnectorParam(QStringLiteral("S%1").arg(i++), p);
        settings.SetConnectorHistory(QStringLiteral("SQLITE"),
                                     params[0] + QLatin1Char('@') + params[1] + QLatin1Char('@'));
    }
    ForceReloadFromDisk();
    TSettingsModule settings;
    int i = 0;
    for (const QString& p : params)
        EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("S%1").arg(i++)), p) << i;
    EXPECT_EQ(settings.GetConnectorHistory(QStringLiteral("SQLITE")),
              params[0] + QLatin1Char('@') + params[1] + QLatin1Char('@'));
}

TEST_F(SettingsModuleTest, MachineWideChoiceWinsAndIsNotCopiedToTheUser) {
    SetMachine(Group, QStringLiteral("DataBaseSymbol/UseHKLM"), 2);
    SetMachine(Group, DataBaseSymbol, QStringLiteral("MYSQL"));
    TSettingsModule settings;
    EXPECT_EQ(settings.FMainSettingsRecord.DataBaseSymbol, QStringLiteral("MYSQL"));
    settings.Save();
    EXPECT_FALSE(UserHas(Group, DataBaseSymbol));
    // Other values of the key are still the user's own.
    settings.SetConnectorParam(QStringLiteral("MYSQL"), QStringLiteral("host=mine"));
    EXPECT_EQ(UserValue(Group, QStringLiteral("ConnectorParams_MYSQL")).toString(),
              QStringLiteral("host=mine"));
}

TEST_F(SettingsModuleTest, MachineWideParameterSuppliesAMissingUserValue) {
    SetMachine(Group, QStringLiteral("UseHKLM"), 1);
    SetMachine(Group, QStringLiteral("ConnectorParams_MYSQL"), QStringLiteral("host=company"));
    TSettingsModule settings;
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("MYSQL")), QStringLiteral("host=company"));
    settings.SetConnectorParam(QStringLiteral("MYSQL"), QStringLiteral("host=mine"));
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("MYSQL")), QStringLiteral("host=mine"));
}

TEST_F(SettingsModuleTest, UnwritableSettingsRaiseTheRegistryError) {
    SetUser(Group, DataBaseSymbol, QStringLiteral("SQLITE"));
    SetUser(Group, QStringLiteral("ConnectorParams_SQLITE"), QStringLiteral("/a.db"));
    TSettingsModule settings;
    {
        TUnreadableUserStore unreadable;
        try {
            settings.SetConnectorParam(QStringLiteral("SQLITE"), QStringLiteral("/b.db"));
            ADD_FAILURE() << "no error";
        } catch (const Registry::ERegistryException& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Failed to set data for 'ConnectorParams_SQLITE'"));
        }
        EXPECT_THROW(TSettingsModule(), Registry::ERegistryException);
    }
    EXPECT_EQ(settings.GetConnectorParam(QStringLiteral("SQLITE")), QStringLiteral("/a.db"));
}

} // namespace
