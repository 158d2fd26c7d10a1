#include "uSqlRegistries.h"

#include "uSqlCollections.h"

using namespace SqlKinds;
using SqlCollections::Make;
using SqlCollections::TListSpec;
using SqlCollections::TScope;

namespace {

QString Text(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// Nothing throws across the boundary: a collection that cannot be made is empty.
template <class F> auto Safe(F&& Body) noexcept -> decltype(Body()) {
    try {
        return Body();
    } catch (...) {
        return {};
    }
}

class TSqlRegistries final : public TInterfacedObject<IEwidarRegistries> {
public:
    explicit TSqlRegistries(TSqlConnectionPtr C) : m_c(std::move(C)) {}

    TIntfPtr<IPodmioty> GetPodmioty(const std::u16string& F) override {
        return Safe([&] { return Make<IPodmioty>(m_c, TListSpec{kPodmiot}, Text(F)); });
    }
    TIntfPtr<IPodatnicy> GetPodatnicy(const std::u16string& F) override {
        return Safe([&] {
            return Make<IPodatnicy>(m_c, Registry(SqlCollections::rgPodatnicy, TFace::fPodatnik), Text(F));
        });
    }
    TIntfPtr<IPracownicy> GetPracownicy(const std::u16string& F) override {
        return Safe([&] {
            return Make<IPracownicy>(m_c, Registry(SqlCollections::rgPracownicy, TFace::fPracownik), Text(F));
        });
    }
    TIntfPtr<IKontrahenci> GetKontrahenci(const std::u16string& F) override {
        return Safe([&] {
            return Make<IKontrahenci>(m_c, Registry(SqlCollections::rgKontrahenci, TFace::fKontrahent),
                                      Text(F));
        });
    }
    TIntfPtr<ISpolki> GetSpolki(const std::u16string& F) override {
        return Safe([&] { return Make<ISpolki>(m_c, TListSpec{kSpolka}, Text(F)); });
    }
    TIntfPtr<IDaneBankow> GetDaneBankow(const std::u16string& F) override {
        return Safe([&] { return Make<IDaneBankow>(m_c, TListSpec{kDaneBanku}, Text(F)); });
    }
    TIntfPtr<IDaneZUSow> GetDaneZUSow(const std::u16string& F) override {
        return Safe([&] { return Make<IDaneZUSow>(m_c, TListSpec{kDaneZUS}, Text(F)); });
    }
    TIntfPtr<IDaneNFZow> GetDaneNFZow(const std::u16string& F) override {
        return Safe([&] { return Make<IDaneNFZow>(m_c, TListSpec{kDaneNFZ}, Text(F)); });
    }
    TIntfPtr<IUrzedyStatystyczne> GetUrzedyStatystyczne(const std::u16string& F) override {
        return Safe([&] { return Make<IUrzedyStatystyczne>(m_c, TListSpec{kUrzadStatystyczny}, Text(F)); });
    }
    TIntfPtr<ISadyRejonowe> GetSadyRejonowe(const std::u16string& F) override {
        return Safe([&] { return Make<ISadyRejonowe>(m_c, TListSpec{kSadRejonowy}, Text(F)); });
    }
    TIntfPtr<IBiuraRachunkowe> GetBiuraRachunkowe(const std::u16string& F) override {
        return Safe([&] { return Make<IBiuraRachunkowe>(m_c, TListSpec{kBiuroRachunkowe}, Text(F)); });
    }

private:
    static TListSpec Registry(int Role, TFace Face) {
        return TListSpec{kPodmiot, TScope::scRegistry, 0, Role, false, Face};
    }

    TSqlConnectionPtr m_c;
};

} // namespace

TIntfPtr<IEwidarRegistries> MakeRegistries(const TSqlConnectionPtr& C) {
    return MakeIntf<IEwidarRegistries, TSqlRegistries>(C);
}
