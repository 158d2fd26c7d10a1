#include "uSqlDuplicates.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlAccess.h"
#include "uSqlDescribe.h"
#include "uSqlErrors.h"
#include "uSqlRecord.h"
#include "uSqlRecordStore.h"

#include <QSet>

#include <algorithm>
#include <map>
#include <vector>

namespace SqlDuplicates {

using namespace SqlKinds;

const QString kNameSymbol = QStringLiteral("#NAZWA_KOD");

namespace {

// Longest key: the key column holds 255 characters on a server.
constexpr int kMaxKey = 250;

struct TPair {
    qint64 first;
    qint64 second;
    QString reason;
};

// The symbols compared, in the order their reasons are named.
const QStringList& Symbols() {
    static const QStringList symbols = {cDanePodmiotuNIP.Symbol, cDanePodmiotuPESEL.Symbol,
                                        cDanePodmiotuREGON.Symbol, kNameSymbol};
    return symbols;
}

QString Reasons(int Mask) {
    static const QStringList texts = {QStringLiteral("NIP"), QStringLiteral("PESEL"), QStringLiteral("REGON"),
                                      QStringLiteral("nazwa i kod pocztowy")};
    QStringList found;
    for (int i = 0; i < texts.size(); ++i)
        if (Mask & (1 << i))
            found << texts[i];
    return found.join(QStringLiteral(", "));
}

class TDuplicatePairs final : public TInterfacedObject<IDuplicatePairs> {
public:
    TDuplicatePairs(TSqlConnectionPtr C, std::vector<TPair> Pairs) : m_c(std::move(C)), m_pairs(std::move(Pairs)) {}

    int32_t GetCount() override { return static_cast<int32_t>(m_pairs.size()); }
    TIntfPtr<IEwidarRecord> GetFirst(int32_t Index) override { return Record(Index, true); }
    TIntfPtr<IEwidarRecord> GetSecond(int32_t Index) override { return Record(Index, false); }
    std::u16string GetReason(int32_t Index) override {
        return Valid(Index) ? m_pairs[Index].reason.toStdU16String() : std::u16string();
    }

private:
    bool Valid(int32_t Index) const { return Index >= 0 && Index < static_cast<int32_t>(m_pairs.size()); }
    // Made when asked for, so that a long list costs no record objects until it is shown.
    TIntfPtr<IEwidarRecord> Record(int32_t Index, bool First) {
        if (!Valid(Index))
            return {};
        try {
            const TRecordStatePtr s =
                SqlRecordStore::Load(m_c, First ? m_pairs[Index].first : m_pairs[Index].second, kPodmiot);
            return s ? MakeRecord(s) : TIntfPtr<IEwidarRecord>();
        } catch (...) {
            return {};
        }
    }

    TSqlConnectionPtr m_c;
    std::vector<TPair> m_pairs;
};

// Records the pair (First < Second) unless it is recorded already.
void InsertMark(TSqlConnection& C, qint64 First, qint64 Second) {
    if (C.Scalar(QStringLiteral("SELECT count(*) FROM ew_not_duplicate WHERE first_id = ? AND second_id = ?"),
                 {First, Second}, 0)
            .toInt() == 0)
        C.Exec(QStringLiteral("INSERT INTO ew_not_duplicate (first_id, second_id) VALUES (?, ?)"),
               {First, Second});
}

} // namespace

QString FoldName(const QString& Name) {
    const QString decomposed = Name.toCaseFolded().normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c == u'\u0142') // ł has no decomposition
            key += u'l';
        else if (c.isLetterOrNumber())
            key += c;
    }
    return key;
}

void WriteNameKey(TSqlConnection& C, qint64 ID, const QString& NameLine) {
    C.Exec(QStringLiteral("DELETE FROM ew_ident WHERE record_id = ? AND symbol = ?"), {ID, kNameSymbol});
    StoreNameKey(
        C, ID,
        NameKey(NameLine, SqlRecordStore::FirstSection(C, ID, kAdres, cDaneAdresoweKodPocztowy.Symbol)),
        QVariant());
}

void StoreNameKey(TSqlConnection& C, qint64 ID, const QString& Key, const QVariant& Stored) {
    // A key is stored only when it is not empty: no row and an empty key are the same.
    const QString old = Stored.toString();
    if (old == Key)
        return;
    if (Key.isEmpty())
        C.Exec(QStringLiteral("DELETE FROM ew_ident WHERE record_id = ? AND symbol = ?"), {ID, kNameSymbol});
    else if (old.isEmpty())
        C.Exec(QStringLiteral("INSERT INTO ew_ident (record_id, symbol, digits) VALUES (?, ?, ?)"),
               {ID, kNameSymbol, Key});
    else
        C.Exec(QStringLiteral("UPDATE ew_ident SET digits = ? WHERE record_id = ? AND symbol = ?"),
               {Key, ID, kNameSymbol});
}

QString NameKey(const QString& NameLine, const QString& PostalCode) {
    const QString name = FoldName(NameLine);
    const QString postal = SqlDescribe::Digits(PostalCode);
    if (name.isEmpty() || postal.isEmpty())
        return {};
    return (postal + u' ' + name).left(kMaxKey);
}

void WriteAllNameKeys(TSqlConnection& C) {
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT id, line1 FROM ew_record WHERE kind = ?"), {int(kPodmiot)}))
        WriteNameKey(C, r[0].toLongLong(), r[1].toString());
}

TIntfPtr<IDuplicatePairs> Find(const TSqlConnectionPtr& C) {
    C->Require();
    SqlAccess::Demand(*C, SqlAccess::rtView);
    // One pass over the key index in its order, grouping as it goes: no temporary table of
    // all keys (on a server that table spills to disk and costs seconds over 100,000
    // subjects), and only the keys held more than once come back, each with its subjects.
    const auto groups = C->Rows(
        QStringLiteral("SELECT symbol, group_concat(record_id) FROM ew_ident WHERE symbol IN (?, ?, ?, ?) "
                       "GROUP BY symbol, digits HAVING count(*) > 1"),
        {Symbols()[0], Symbols()[1], Symbols()[2], Symbols()[3]});
    // Placeholders are no subjects yet; pairs marked as no duplicates are not offered.
    QSet<qint64> placeholders;
    for (const QVariantList& r :
         C->Rows(QStringLiteral("SELECT id FROM ew_record WHERE kind = ? AND state <> 0"), {int(kPodmiot)}))
        placeholders.insert(r[0].toLongLong());
    QSet<QPair<qint64, qint64>> marked;
    for (const QVariantList& r : C->Rows(QStringLiteral("SELECT first_id, second_id FROM ew_not_duplicate")))
        marked.insert({r[0].toLongLong(), r[1].toLongLong()});

    std::map<QPair<qint64, qint64>, int> masks; // the smaller identifier first, in order
    for (const QVariantList& g : groups) {
        const int bit = 1 << std::max(0, static_cast<int>(Symbols().indexOf(g[0].toString())));
        std::vector<qint64> ids;
        for (const QString& id : g[1].toString().split(u','))
            if (const qint64 n = id.trimmed().toLongLong(); n > 0 && !placeholders.contains(n))
                ids.push_back(n);
        std::sort(ids.begin(), ids.end());
        for (size_t a = 0; a < ids.size(); ++a)
            for (size_t b = a + 1; b < ids.size(); ++b)
                if (ids[a] != ids[b] && !marked.contains({ids[a], ids[b]}))
                    masks[{ids[a], ids[b]}] |= bit;
    }
    std::vector<TPair> pairs;
    pairs.reserve(masks.size());
    for (const auto& [key, mask] : masks)
        pairs.push_back({key.first, key.second, Reasons(mask)});
    return MakeIntf<IDuplicatePairs, TDuplicatePairs>(C, std::move(pairs));
}

void MarkNotDuplicate(TSqlConnection& C, qint64 First, qint64 Second) {
    C.Require();
    SqlAccess::Demand(C, SqlAccess::rtModify);
    if (First == Second)
        Fail(SqlErrors::ecMergeSelf);
    TWriteScope scope(C);
    const qint64 a = std::min(First, Second);
    const qint64 b = std::max(First, Second);
    if (C.Scalar(QStringLiteral("SELECT count(*) FROM ew_record WHERE id IN (?, ?) AND kind = ?"),
                 {a, b, int(kPodmiot)}, 0)
            .toInt() != 2)
        Fail(SqlErrors::ecRecordDeleted);
    InsertMark(C, a, b);
    scope.Commit();
}

void CarryMarks(TSqlConnection& C, qint64 From, qint64 To) {
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT first_id, second_id FROM ew_not_duplicate WHERE first_id = ? OR second_id = ?"),
                {From, From})) {
        const qint64 other = r[0].toLongLong() == From ? r[1].toLongLong() : r[0].toLongLong();
        if (other != To)
            InsertMark(C, std::min(other, To), std::max(other, To));
    }
}

} // namespace SqlDuplicates
