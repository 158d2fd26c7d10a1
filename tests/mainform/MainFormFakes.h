#pragma once
// A scripted backend for the main window's tests: root objects whose connect,
// parameter dialog, login and import answers a test sets, and a registries
// object over eleven in-test collections that records the filters asked for.

#include "FakeDataBase.h"
#include "GridFakes.h"

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The NFZ list: counts FillDefaults and, when told to, fills itself.
class FakeNfzCollection : public FakeCollection<IDaneNFZow> {
public:
    bool FillDefaults() override {
        ++FillCalls;
        if (FillAdds)
            Add(100 + FillCalls, {QStringLiteral("Oddział NFZ")});
        return true;
    }
    int FillCalls = 0;
    bool FillAdds = true;
};

// The eleven collections shared by every registries object of one backend.
struct FakeCollections {
    FakeCollections()
        : Podmioty(MakeCollection<IPodmioty>()), Podatnicy(MakeCollection<IPodatnicy>()),
          Pracownicy(MakeCollection<IPracownicy>()), Kontrahenci(MakeCollection<IKontrahenci>()),
          Spolki(MakeCollection<ISpolki>()), Banki(MakeCollection<IDaneBankow>()),
          ZUS(MakeCollection<IDaneZUSow>()), NFZ(MakeIntf<FakeNfzCollection, FakeNfzCollection>()),
          Urzedy(MakeCollection<IUrzedyStatystyczne>()), Sady(MakeCollection<ISadyRejonowe>()),
          Biura(MakeCollection<IBiuraRachunkowe>()) {}

    TIntfPtr<FakeCollection<IPodmioty>> Podmioty;
    TIntfPtr<FakeCollection<IPodatnicy>> Podatnicy;
    TIntfPtr<FakeCollection<IPracownicy>> Pracownicy;
    TIntfPtr<FakeCollection<IKontrahenci>> Kontrahenci;
    TIntfPtr<FakeCollection<ISpolki>> Spolki;
    TIntfPtr<FakeCollection<IDaneBankow>> Banki;
    TIntfPtr<FakeCollection<IDaneZUSow>> ZUS;
    TIntfPtr<FakeNfzCollection> NFZ;
    TIntfPtr<FakeCollection<IUrzedyStatystyczne>> Urzedy;
    TIntfPtr<FakeCollection<ISadyRejonowe>> Sady;
    TIntfPtr<FakeCollection<IBiuraRachunkowe>> Biura;

    // Getter name and filter of every registry opened, in order.
    std::vector<std::pair<QString, QString>> Opened;
};

class FakeRegistriesOf : public TInterfacedObject<IEwidarRegistries> {
public:
    explicit FakeRegistriesOf(FakeCollections& C) : m_c(C) {}

    TIntfPtr<IPodmioty> GetPodmioty(const std::u16string& F) override {
        return Open<IPodmioty>("GetPodmioty", F, m_c.Podmioty);
    }
    TIntfPtr<IPodatnicy> GetPodatnicy(const std::u16string& F) override {
        return Open<IPodatnicy>("GetPodatnicy", F, m_c.Podatnicy);
    }
    TIntfPtr<IPracownicy> GetPracownicy(const std::u16string& F) override {
        return Open<IPracownicy>("GetPracownicy", F, m_c.Pracownicy);
    }
    TIntfPtr<IKontrahenci> GetKontrahenci(const std::u16string& F) override {
        return Open<IKontrahenci>("GetKontrahenci", F, m_c.Kontrahenci);
    }
    TIntfPtr<ISpolki> GetSpolki(const std::u16string& F) override {
        return Open<ISpolki>("GetSpolki", F, m_c.Spolki);
    }
    TIntfPtr<IDaneBankow> GetDaneBankow(const std::u16string& F) override {
        return Open<IDaneBankow>("GetDaneBankow", F, m_c.Banki);
    }
    TIntfPtr<IDaneZUSow> GetDaneZUSow(const std::u16string& F) override {
        return Open<IDaneZUSow>("GetDaneZUSow", F, m_c.ZUS);
    }
    TIntfPtr<IDaneNFZow> GetDaneNFZow(const std::u16string& F) override {
        return Open<IDaneNFZow>("GetDaneNFZow", F, m_c.NFZ);
    }
    TIntfPtr<IUrzedyStatystyczne> GetUrzedyStatystyczne(const std::u16string& F) override {
        return Open<IUrzedyStatystyczne>("GetUrzedyStatystyczne", F, m_c.Urzedy);
    }
    TIntfPtr<ISadyRejonowe> GetSadyRejonowe(const std::u16string& F) override {
        return Open<ISadyRejonowe>("GetSadyRejonowe", F, m_c.Sady);
    }
    TIntfPtr<IBiuraRachunkowe> GetBiuraRachunkowe(const std::u16string& F) override {
        return Open<IBiuraRachunkowe>("GetBiuraRachunkowe", F, m_c.Biura);
    }

private:
    // Like a backend: the collection comes back filtered by the text.
    template <class I, class C>
    TIntfPtr<I> Open(const char* Name, const std::u16string& Filter, const C& Coll) {
        m_c.Opened.emplace_back(QLatin1String(Name), toQ(Filter));
        Coll->Filter = toQ(Filter);
        return TIntfPtr<I>(Coll.get());
    }
    FakeCollections& m_c;
};

// What a scripted backend answers.
struct BackendScript {
    std::u16string Symbol = u"SQLITE";
    // Connect answers in turn; true once they run out.
    std::deque<bool> ConnectResults;
    int32_t ConnectError = 14;
    // What Connect writes back into an empty parameter.
    std::u16string FilledParam = u"DIR=/data/ewidar.db";
    // Parameter dialog answers in turn (accepted, new parameter); declined once they run out.
    std::deque<std::pair<bool, std::u16string>> DialogAnswers;
    bool NeedsLogin = false;
    std::u16string ValidLogin = u"jan";
    std::u16string ValidPassword = u"tajne";
    bool Administrator = true;
    bool ImportResult = true;
    int32_t ImportError = 203;
    // Percentages reported through the progress event during ImportFrom.
    std::vector<int32_t> ImportProgress;
};

class FakeRoot : public TFakeDataBase {
public:
    FakeRoot(BackendScript& Script, FakeCollections& Collections) : m_s(Script), m_c(Collections) {
        m_symbol = Script.Symbol;
        LoggedIn = !Script.NeedsLogin;
    }

    bool Connect(std::u16string& Param, bool Flag) override {
        ConnectCalls.emplace_back(Param, Flag);
        bool ok = true;
        if (!m_s.ConnectResults.empty()) {
            ok = m_s.ConnectResults.front();
            m_s.ConnectResults.pop_front();
        }
        if (!ok) {
            m_errorCode = m_s.ConnectError;
            return false;
        }
        if (Param.empty())
            Param = m_s.FilledParam;
        m_errorCode = 0;
        Connected = true;
        return true;
    }
    void Disconnect() override {
        ++m_disconnects;
        Connected = false;
    }
    bool EditConnectionParams(void* Parent, std::u16string& Param, bool) override {
        DialogCalls.push_back(Param);
        DialogParent = Parent;
        if (m_s.DialogAnswers.empty())
            return false;
        auto [accepted, param] = m_s.DialogAnswers.front();
        m_s.DialogAnswers.pop_front();
        if (accepted)
            Param = param;
        return accepted;
    }
    TIntfPtr<IEwidarRegistries> GetRegistries() override {
        ++RegistriesCalls;
        if (!Connected) {
            m_errorCode = 1;
            return {};
        }
        return MakeIntf<IEwidarRegistries, FakeRegistriesOf>(m_c);
    }
    bool ImportFrom(IEwidarDataBase* Source) override {
        ImportSources.push_back(Source);
        for (int32_t p : m_s.ImportProgress) {
            bool cancel = false;
            if (m_onProgress)
                m_onProgress(p, cancel);
            if (cancel) {
                Cancelled = true;
                m_errorCode = 204;
                return false;
            }
        }
        if (!m_s.ImportResult)
            m_errorCode = m_s.ImportError;
        return m_s.ImportResult;
    }
    bool Login(const std::u16string& L, const std::u16string& P) override {
        LoginCalls.emplace_back(L, P);
        LoggedIn = L == m_s.ValidLogin && P == m_s.ValidPassword;
        m_errorCode = LoggedIn ? 0 : 21;
        return LoggedIn;
    }
    bool IsLoggedIn() override { return LoggedIn; }
    void Logout() override {
        ++LogoutCalls;
        LoggedIn = false;
    }
    bool IsAdministrator() override { return LoggedIn && m_s.Administrator; }

    std::vector<std::pair<std::u16string, bool>> ConnectCalls;
    std::vector<std::u16string> DialogCalls;
    void* DialogParent = nullptr;
    std::vector<IEwidarDataBase*> ImportSources;
    std::vector<std::pair<std::u16string, std::u16string>> LoginCalls;
    int RegistriesCalls = 0;
    int LogoutCalls = 0;
    bool Connected = false;
    bool LoggedIn = true;
    bool Cancelled = false;

private:
    BackendScript& m_s;
    FakeCollections& m_c;
};
