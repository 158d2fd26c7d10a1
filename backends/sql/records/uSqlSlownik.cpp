#include "uSqlSlownik.h"
#include "uSqlAccess.h"

#include "uSqlErrors.h"

#include <map>
#include <memory>
#include <vector>

namespace SqlSlownik {

namespace {

bool Blank(const QString& Word) {
    return Word.trimmed().isEmpty();
}

bool Stored(TSqlConnection& C, int Kind, const QString& Symbol, const QString& Word) {
    return C.Scalar(QStringLiteral("SELECT count(*) FROM ew_word WHERE kind = ? AND symbol = ? AND word = ?"),
                    {Kind, Symbol, Word}, 0)
               .toInt() > 0;
}

void Insert(TSqlConnection& C, int Kind, const QString& Symbol, const QString& Word) {
    if (!Blank(Word) && !Stored(C, Kind, Symbol, Word))
        C.Exec(QStringLiteral("INSERT INTO ew_word (kind, symbol, word) VALUES (?, ?, ?)"),
               {Kind, Symbol, Word});
}

void Remove(TSqlConnection& C, int Kind, const QString& Symbol, const QString& Word) {
    C.Exec(QStringLiteral("DELETE FROM ew_word WHERE kind = ? AND symbol = ? AND word = ?"),
           {Kind, Symbol, Word});
}

// A changed word keeps its place unless the new word is stored already.
void Change(TSqlConnection& C, int Kind, const QString& Symbol, const QString& Old, const QString& New) {
    if (Stored(C, Kind, Symbol, New))
        Remove(C, Kind, Symbol, Old);
    else if (Stored(C, Kind, Symbol, Old))
        C.Exec(QStringLiteral("UPDATE ew_word SET word = ? WHERE kind = ? AND symbol = ? AND word = ?"),
               {New, Kind, Symbol, Old});
    else
        Insert(C, Kind, Symbol, New);
}

} // namespace

QStringList Words(TSqlConnection& C, int Kind, const QString& Symbol) {
    QStringList out;
    for (const QVariantList& r :
         C.Rows(QStringLiteral("SELECT word FROM ew_word WHERE kind = ? AND symbol = ? ORDER BY id"),
                {Kind, Symbol}))
        out.append(r[0].toString());
    return out;
}

void AddWords(TSqlConnection& C, int Kind, const QString& Symbol, const QStringList& Words) {
    for (const QString& w : Words)
        Insert(C, Kind, Symbol, w);
}

} // namespace SqlSlownik

namespace {

struct TWordChange {
    enum TWhat { wcAdd, wcDelete, wcChange } what;
    QString word;
    QString newWord;
};

// The words of one field as the program sees them, with the changes not yet stored.
struct TWordList {
    QString symbol;
    QStringList words;
    std::vector<TWordChange> changes;
};
using TWordListPtr = std::shared_ptr<TWordList>;

QString Text(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

class TSqlSlownikField final : public TInterfacedObject<ISlownikField> {
public:
    explicit TSqlSlownikField(TWordListPtr L) : m_l(std::move(L)) {}

    int32_t GetCount() override { return static_cast<int32_t>(m_l->words.size()); }
    std::u16string GetWord(int32_t Index) override { return m_l->words.value(Index).toStdU16String(); }
    void AddWord(const std::u16string& Word) override {
        const QString w = Text(Word);
        if (SqlSlownik::Blank(w) || m_l->words.contains(w))
            return;
        m_l->words.append(w);
        m_l->changes.push_back({TWordChange::wcAdd, w, {}});
    }
    void DeleteWord(const std::u16string& Word) override {
        const QString w = Text(Word);
        if (m_l->words.removeAll(w) > 0)
            m_l->changes.push_back({TWordChange::wcDelete, w, {}});
    }
    void ChangeWord(const std::u16string& OldWord, const std::u16string& NewWord) override {
        const QString o = Text(OldWord);
        const QString n = Text(NewWord);
        const qsizetype at = m_l->words.indexOf(o);
        if (at < 0 || o == n || SqlSlownik::Blank(n))
            return;
        if (m_l->words.contains(n))
            m_l->words.removeAt(at);
        else
            m_l->words[at] = n;
        m_l->changes.push_back({TWordChange::wcChange, o, n});
    }

private:
    TWordListPtr m_l;
};

class TSqlSlownik final : public TInterfacedObject<ISlownik> {
public:
    TSqlSlownik(TSqlConnectionPtr C, int Kind) : m_c(std::move(C)), m_kind(Kind) {}

    int32_t GetLastErrorCode() override { return m_error; }
    // The same list object for every request of a symbol; none for an empty symbol.
    TIntfPtr<ISlownikField> GetWordList(const std::u16string& Symbol) override {
        return Guarded(m_error, TIntfPtr<ISlownikField>(), [&]() -> TIntfPtr<ISlownikField> {
            const QString symbol = Text(Symbol);
            if (symbol.isEmpty())
                return {};
            auto it = m_lists.find(symbol);
            if (it == m_lists.end()) {
                m_c->Require();
                auto l = std::make_shared<TWordList>(
                    TWordList{symbol, SqlSlownik::Words(*m_c, m_kind, symbol), {}});
                it = m_lists.emplace(symbol, l).first;
            }
            return MakeIntf<ISlownikField, TSqlSlownikField>(it->second);
        });
    }
    bool Post() override;
    // Deletes every word list of the kind, stored at once.
    bool Delete() override;

private:
    void Apply(const TWordList& L);

    TSqlConnectionPtr m_c;
    int m_kind;
    std::map<QString, TWordListPtr> m_lists;
    int32_t m_error = 0;
};

void TSqlSlownik::Apply(const TWordList& L) {
    for (const TWordChange& ch : L.changes) {
        switch (ch.what) {
        case TWordChange::wcAdd:
            SqlSlownik::Insert(*m_c, m_kind, L.symbol, ch.word);
            break;
        case TWordChange::wcDelete:
            SqlSlownik::Remove(*m_c, m_kind, L.symbol, ch.word);
            break;
        case TWordChange::wcChange:
            SqlSlownik::Change(*m_c, m_kind, L.symbol, ch.word, ch.newWord);
            break;
        }
    }
}

bool TSqlSlownik::Post() {
    return GuardedBool(m_error, [&] {
        SqlAccess::Demand(*m_c, SqlAccess::rtModify);
        TWriteScope scope(*m_c);
        std::map<QString, QStringList> stored;
        for (const auto& [symbol, list] : m_lists) {
            Apply(*list);
            stored[symbol] = SqlSlownik::Words(*m_c, m_kind, symbol);
        }
        scope.Commit();
        // The lists now show what is stored, words of other desks included.
        for (const auto& [symbol, list] : m_lists) {
            list->words = stored[symbol];
            list->changes.clear();
        }
    });
}

bool TSqlSlownik::Delete() {
    return GuardedBool(m_error, [&] {
        SqlAccess::Demand(*m_c, SqlAccess::rtModify);
        TWriteScope scope(*m_c);
        m_c->Exec(QStringLiteral("DELETE FROM ew_word WHERE kind = ?"), {m_kind}, SqlErrors::ecDeleteFailed);
        scope.Commit();
        for (const auto& entry : m_lists) {
            entry.second->words.clear();
            entry.second->changes.clear();
        }
    });
}

class TSqlSlownikProvider final : public TInterfacedObject<IEwidarSlownikProvider> {
public:
    explicit TSqlSlownikProvider(TSqlConnectionPtr C) : m_c(std::move(C)) {}

    // Empty for a position outside 1-21.
    TIntfPtr<ISlownik> GetSlownik(int32_t Position) override {
        try {
            if (Position < 1 || Position > 21)
                return {};
            return MakeIntf<ISlownik, TSqlSlownik>(m_c, Position);
        } catch (...) {
            return {};
        }
    }

private:
    TSqlConnectionPtr m_c;
};

} // namespace

TIntfPtr<IEwidarSlownikProvider> MakeSlownikProvider(const TSqlConnectionPtr& C) {
    return MakeIntf<IEwidarSlownikProvider, TSqlSlownikProvider>(C);
}
