#include "uSqlNfzDefaults.h"
#include "uSqlAccess.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlKinds.h"
#include "uSqlRecordStore.h"

#include <QSet>

namespace SqlNfzDefaults {

const std::vector<std::pair<QString, QString>>& Branches() {
    static const std::vector<std::pair<QString, QString>> branches = {
        {QStringLiteral("01"), QStringLiteral("Dolnośląski Oddział Wojewódzki NFZ")},
        {QStringLiteral("02"), QStringLiteral("Kujawsko-Pomorski Oddział Wojewódzki NFZ")},
        {QStringLiteral("03"), QStringLiteral("Lubelski Oddział Wojewódzki NFZ")},
        {QStringLiteral("04"), QStringLiteral("Lubuski Oddział Wojewódzki NFZ")},
        {QStringLiteral("05"), QStringLiteral("Łódzki Oddział Wojewódzki NFZ")},
        {QStringLiteral("06"), QStringLiteral("Małopolski Oddział Wojewódzki NFZ")},
        {QStringLiteral("07"), QStringLiteral("Mazowiecki Oddział Wojewódzki NFZ")},
        {QStringLiteral("08"), QStringLiteral("Opolski Oddział Wojewódzki NFZ")},
        {QStringLiteral("09"), QStringLiteral("Podkarpacki Oddział Wojewódzki NFZ")},
        {QStringLiteral("10"), QStringLiteral("Podlaski Oddział Wojewódzki NFZ")},
        {QStringLiteral("11"), QStringLiteral("Pomorski Oddział Wojewódzki NFZ")},
        {QStringLiteral("12"), QStringLiteral("Śląski Oddział Wojewódzki NFZ")},
        {QStringLiteral("13"), QStringLiteral("Świętokrzyski Oddział Wojewódzki NFZ")},
        {QStringLiteral("14"), QStringLiteral("Warmińsko-Mazurski Oddział Wojewódzki NFZ")},
        {QStringLiteral("15"), QStringLiteral("Wielkopolski Oddział Wojewódzki NFZ")},
        {QStringLiteral("16"), QStringLiteral("Zachodniopomorski Oddział Wojewódzki NFZ")},
    };
    return branches;
}

namespace {

QSet<QString> StoredCodes(TSqlConnection& C) {
    QSet<QString> codes;
    const auto rows =
        C.Rows(QStringLiteral("SELECT v.value FROM ew_value v JOIN ew_record r ON r.id = v.record_id "
                              "WHERE r.kind = ? AND r.state = 0 AND v.symbol = ?"),
               {int(SqlKinds::kDaneNFZ), cDaneNFZKod.Symbol});
    for (const QVariantList& r : rows)
        codes.insert(r[0].toString().trimmed());
    return codes;
}

void Set(TRecordState& R, const QString& Symbol, const QString& Value) {
    TFieldValue* f = R.Field(Symbol, true);
    f->value = Value;
    f->dirty = true;
}

} // namespace

int Fill(const TSqlConnectionPtr& C) {
    SqlAccess::Demand(*C, SqlAccess::rtCreate);
    TWriteScope scope(*C);
    const QSet<QString> stored = StoredCodes(*C);
    int added = 0;
    for (const auto& [code, name] : Branches()) {
        if (stored.contains(code))
            continue;
        TRecordStatePtr r = SqlRecordStore::Create(C, SqlKinds::kDaneNFZ, 0);
        Set(*r, cDaneNFZKod.Symbol, code);
        Set(*r, cDaneNFZNazwa.Symbol, name);
        SqlRecordStore::Post(*r); // a savepoint inside this scope
        ++added;
    }
    scope.Changed(SqlKinds::kDaneNFZ);
    scope.Commit();
    return added;
}

} // namespace SqlNfzDefaults
