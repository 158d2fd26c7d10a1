#include "uSqlHistoryReader.h"

#include "uSqlAccess.h"
#include "uSqlErrors.h"
#include "uSqlHistory.h"

namespace {

class TSqlHistory final : public TInterfacedObject<IEwidarHistory> {
public:
    explicit TSqlHistory(TSqlConnectionPtr C) : m_c(std::move(C)) {}

    int32_t GetLastErrorCode() override { return m_error; }

    bool RecordHistory(int64_t RecordID, std::vector<THistoryEntry>& Out) override {
        Out.clear();
        return GuardedBool(m_error, [&] {
            SqlAccess::Demand(*m_c, SqlAccess::rtView);
            THistoryFilter f;
            f.RecordID = RecordID;
            f.Limit = 100000;
            SqlHistory::Query(*m_c, f, [&Out](THistoryEntry&& e) { Out.push_back(std::move(e)); });
        });
    }
    bool Query(const THistoryFilter& Filter, std::vector<THistoryEntry>& Out) override {
        Out.clear();
        return GuardedBool(m_error, [&] {
            SqlAccess::Demand(*m_c, SqlAccess::rtOperators);
            SqlHistory::Query(*m_c, Filter, [&Out](THistoryEntry&& e) { Out.push_back(std::move(e)); });
        });
    }
    bool Operators(std::vector<std::u16string>& Out) override {
        Out.clear();
        return GuardedBool(m_error, [&] {
            SqlAccess::Demand(*m_c, SqlAccess::rtOperators);
            for (const QString& login : SqlHistory::Operators(*m_c))
                Out.push_back(login.toStdU16String());
        });
    }
    bool Verify(int64_t& FirstBroken, std::u16string& Reason) override {
        FirstBroken = 0;
        Reason.clear();
        return GuardedBool(m_error, [&] {
            SqlAccess::Demand(*m_c, SqlAccess::rtOperators);
            const SqlHistory::TVerdict v = SqlHistory::Verify(*m_c);
            FirstBroken = v.firstBroken;
            Reason = v.reason.toStdU16String();
        });
    }

private:
    TSqlConnectionPtr m_c;
    int32_t m_error = 0;
};

} // namespace

TIntfPtr<IEwidarHistory> MakeHistory(const TSqlConnectionPtr& C) {
    C->Require();
    return MakeIntf<IEwidarHistory, TSqlHistory>(C);
}
