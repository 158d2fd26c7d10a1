#include "uSqlChecks.h"

#include "uSqlAccess.h"
#include "uSqlConnection.h"
#include "uSqlDialect.h"
#include "uSqlErrors.h"

#include <QDateTime>

namespace SqlChecks {

namespace {

QString Q(const std::u16string& Text) {
    return QString::fromStdU16String(Text);
}

const char* const kColumns = "id, subject_id, register_name, asked_date, asked_at, operator_login, identifier, account_no, "
                             "outcome, answered_by, request_id, raw";

bool HasTable(TSqlConnection& C) {
    for (const QVariantList& row : C.Rows(C.Dialect().ListTables(), {}, SqlErrors::ecOpen))
        if (row.value(0).toString().compare(QLatin1String("ew_check"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Create(TSqlConnection& C) {
    for (const char* ddl : {
             "CREATE TABLE {IFNEW} ew_check (id {ID}, subject_id INTEGER NOT NULL, register_name {KEYTEXT} NOT NULL, "
             "asked_date {KEYTEXT} NOT NULL, asked_at {KEYTEXT} NOT NULL, operator_login {TEXT} NOT NULL, "
             "identifier {KEYTEXT} NOT NULL, account_no {TEXT} NOT NULL, outcome {TEXT} NOT NULL, "
             "answered_by {TEXT} NOT NULL, request_id {TEXT} NOT NULL, raw {LONGTEXT} NOT NULL)",
             "CREATE INDEX {IFNEW} ew_check_subject ON ew_check (subject_id, id)",
             "CREATE INDEX {IFNEW} ew_check_identifier ON ew_check (identifier, id)",
         })
        C.Exec(C.Dialect().Ddl(QLatin1String(ddl)), {}, SqlErrors::ecCriticalOpen);
}

} // namespace

void Prepare(TSqlConnection& C) {
    // Looked for before any lock, so that opening a prepared database never waits.
    if (HasTable(C))
        return;
    if (!C.Dialect().TransactionalDdl()) {
        // A server: every statement may run again ("IF NOT EXISTS").
        Create(C);
        return;
    }
    // A file: created once under the write lock, another desk may have been first.
    TWriteScope scope(C);
    if (!HasTable(C))
        Create(C);
    scope.Commit();
}

void Add(TSqlConnection& C, TRegisterCheck& Check) {
    SqlAccess::Demand(C, SqlAccess::rtView);
    const QString login =
        C.Operator() ? C.Scalar(QStringLiteral("SELECT login FROM ew_user WHERE id = ?"), {C.Operator()}).toString()
                     : QString();
    const QString at = QDateTime::currentDateTime().toString(Qt::ISODate);
    const qint64 id = C.Insert(
        QStringLiteral("INSERT INTO ew_check (subject_id, register_name, asked_date, asked_at, operator_login, identifier, "
                       "account_no, outcome, answered_by, request_id, raw) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {Check.SubjectID, Q(Check.Register), Q(Check.AskedDate), at, login, Q(Check.Identifier), Q(Check.Account),
         Q(Check.Outcome), Q(Check.Source), Q(Check.RequestId), Q(Check.Raw)});
    Check.ID = static_cast<int32_t>(id);
    Check.AskedAt = at.toStdU16String();
    Check.Operator = login.toStdU16String();
}

std::vector<TRegisterCheck> Find(TSqlConnection& C, int32_t SubjectID, const QString& Identifier) {
    SqlAccess::Demand(C, SqlAccess::rtView);
    const QString sql = SubjectID ? QStringLiteral("SELECT %1 FROM ew_check WHERE subject_id = ? ORDER BY id DESC")
                                  : QStringLiteral("SELECT %1 FROM ew_check WHERE identifier = ? ORDER BY id DESC");
    std::vector<TRegisterCheck> checks;
    for (const QVariantList& r : C.Rows(sql.arg(QLatin1String(kColumns)),
                                        {SubjectID ? QVariant(SubjectID) : QVariant(Identifier)})) {
        TRegisterCheck c;
        c.ID = r[0].toInt();
        c.SubjectID = r[1].toInt();
        std::u16string* texts[] = {&c.Register,   &c.AskedDate, &c.AskedAt, &c.Operator, &c.Identifier,
                                   &c.Account,    &c.Outcome,   &c.Source,  &c.RequestId, &c.Raw};
        for (int i = 0; i < 10; ++i)
            *texts[i] = r[i + 2].toString().toStdU16String();
        checks.push_back(std::move(c));
    }
    return checks;
}

} // namespace SqlChecks
