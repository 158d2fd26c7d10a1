#include "uSqlListCache.h"

#include <QMutex>
#include <QMutexLocker>

#include <list>

namespace SqlListCache {

namespace {

struct TEntry {
    TKey key;
    qint64 version = 0;
    SqlCollections::TRows rows;
    size_t bytes = 0;
};

size_t BytesOf(const SqlCollections::TRows& R) {
    return R.ids.size() * sizeof(qint64) + R.owners.size() * sizeof(qint64) +
           R.faces.size() * sizeof(SqlKinds::TFace) + R.text.size() * sizeof(char16_t) +
           R.ends.size() * sizeof(int32_t);
}

bool Same(const TKey& A, const TKey& B) {
    return A.connection == B.connection && A.face == B.face && A.lineCount == B.lineCount && A.sql == B.sql &&
           A.binds == B.binds;
}

// Most recently used first.
class TStore {
public:
    bool Find(const TKey& Key, qint64 Version, SqlCollections::TRows& Rows) {
        QMutexLocker lock(&m_mutex);
        const auto it = Locate(Key);
        if (it == m_entries.end())
            return false;
        if (it->version != Version) { // changed since: read again, and kept again then
            m_bytes -= it->bytes;
            m_entries.erase(it);
            return false;
        }
        m_entries.splice(m_entries.begin(), m_entries, it);
        Rows = m_entries.front().rows;
        return true;
    }

    void Keep(const TKey& Key, qint64 Version, const SqlCollections::TRows& Rows) {
        const size_t bytes = BytesOf(Rows);
        if (bytes > kBudgetBytes)
            return;
        TEntry entry{Key, Version, Rows, bytes};
        entry.rows.lent = false;
        QMutexLocker lock(&m_mutex);
        const auto it = Locate(Key);
        if (it != m_entries.end()) {
            m_bytes -= it->bytes;
            m_entries.erase(it);
        }
        while (!m_entries.empty() && m_bytes + bytes > kBudgetBytes) {
            m_bytes -= m_entries.back().bytes;
            m_entries.pop_back();
        }
        m_entries.push_front(std::move(entry));
        m_bytes += bytes;
    }

    void Clear() {
        QMutexLocker lock(&m_mutex);
        m_entries.clear();
        m_bytes = 0;
    }

private:
    std::list<TEntry>::iterator Locate(const TKey& Key) {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (Same(it->key, Key))
                return it;
        return m_entries.end();
    }

    QMutex m_mutex;
    std::list<TEntry> m_entries;
    size_t m_bytes = 0;
};

TStore& Store() {
    static TStore store;
    return store;
}

} // namespace

bool Find(const TKey& Key, qint64 Version, SqlCollections::TRows& Rows) {
    return Store().Find(Key, Version, Rows);
}

void Keep(const TKey& Key, qint64 Version, const SqlCollections::TRows& Rows) {
    Store().Keep(Key, Version, Rows);
}

void Clear() {
    Store().Clear();
}

} // namespace SqlListCache
