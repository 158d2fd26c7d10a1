// The exported functions as the router uses them.

#include "BackendLoader.h"

#include <QRegularExpression>
#include <QSqlDatabase>

#include <gtest/gtest.h>

TEST(BackendExports, ListsSqliteAndMysqlAndRejectsOtherIndexes) {
    const auto& b = Backend();
    ASSERT_TRUE(b.error.isEmpty()) << b.error.toStdString();
    ASSERT_EQ(b.DBListCount(), 2);
    std::u16string symbol, caption;
    EXPECT_TRUE(b.DBListItem(0, symbol, caption));
    EXPECT_EQ(symbol, u"SQLITE");
    EXPECT_EQ(caption, u"SQL Lite");
    // Enabled exactly when Qt's MySQL driver is installed.
    EXPECT_EQ(b.DBListItem(1, symbol, caption), QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL")));
    EXPECT_EQ(symbol, u"MYSQL");
    EXPECT_FALSE(b.DBListItem(2, symbol, caption));
    EXPECT_FALSE(b.DBListItem(-1, symbol, caption));
}

TEST(BackendExports, GivesANewUnconnectedRootPerCall) {
    auto a = NewRoot(QStringLiteral("SQLITE"));
    auto b = NewRoot(QStringLiteral("sqlite"));
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->GetDataBaseSymbol(), u"SQLITE");
    // Unconnected: operations fail with "no connection" instead of crashing.
    EXPECT_FALSE(a->StartTransaction());
    EXPECT_EQ(a->GetLastErrorCode(), 2);
    auto list = a->GetRegistries()->GetPodatnicy({});
    ASSERT_TRUE(list);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetLastErrorCode(), 2);
    EXPECT_FALSE(NewRoot(QStringLiteral("MSSQLADO")));
    EXPECT_FALSE(NewRoot(QString()));
    IEwidarDataBase* raw = reinterpret_cast<IEwidarDataBase*>(0x1);
    Backend().GetEwidarIntf(u"'; DROP TABLE x; --", &raw);
    EXPECT_EQ(raw, nullptr);
    Backend().GetEwidarIntf(u"SQLITE", nullptr); // no crash
}

TEST(BackendExports, LastErrorHasPolishTextAndLinkForEveryCodeItSets) {
    for (int code : {2,   3,   4,   5,   6,   7,   8,   11,   14,   21,   23,   101,  103,  104,
                     105, 106, 200, 201, 202, 203, 204, 1001, 1002, 1003, 1004, 1005, 1006, 1007}) {
        std::u16string text, link;
        EXPECT_TRUE(Backend().GetLastError(code, u"SQLITE:/nowhere", text, link)) << code;
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_TRUE(Q(link).startsWith(QStringLiteral("https://"))) << code;
    }
    std::u16string text, link;
    EXPECT_FALSE(Backend().GetLastError(0, u"", text, link));
    EXPECT_FALSE(Backend().GetLastError(999999, u"", text, link));
    Backend().GetLastError(105, u"", text, link);
    EXPECT_TRUE(Q(text).contains(QStringLiteral("zablokowane"))) << Q(text).toStdString();
}

TEST(BackendExports, ReportsItsVersion) {
    std::u16string version;
    Backend().GetFileVersion(version);
    EXPECT_TRUE(Q(version).contains(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))))
        << Q(version).toStdString();
}
