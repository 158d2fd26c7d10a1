#pragma once
// A taxpayer record, a registries object and a root object that counts its
// transactions, for the list frame's tests.

#include "FakeDataBase.h"
#include "FakeSubject.h"
#include "GridFakes.h"

// A taxpayer: every subject operation answers "nothing".
class FakePodatnik : public FakeSubjectOps<FakeRecordOf<IPodatnik>> {
public:
    using FakeSubjectOps<FakeRecordOf<IPodatnik>>::FakeSubjectOps;
    TIntfPtr<IPracownicy> GetPracownicy(int32_t, int32_t) override { return {}; }
    TIntfPtr<IKontrahenci> GetKontrahenci(int32_t, int32_t) override { return {}; }
};

// Hands out the employees and contractors registries a test set; the others are empty.
class FakeRegistries : public TInterfacedObject<IEwidarRegistries> {
public:
    TIntfPtr<IPodmioty> GetPodmioty(const std::u16string&) override { return {}; }
    TIntfPtr<IPodatnicy> GetPodatnicy(const std::u16string&) override { return {}; }
    TIntfPtr<IPracownicy> GetPracownicy(const std::u16string& Filter) override {
        PracownicyFilter = toQ(Filter);
        return Pracownicy;
    }
    TIntfPtr<IKontrahenci> GetKontrahenci(const std::u16string&) override { return Kontrahenci; }
    TIntfPtr<ISpolki> GetSpolki(const std::u16string&) override { return {}; }
    TIntfPtr<IDaneBankow> GetDaneBankow(const std::u16string&) override { return {}; }
    TIntfPtr<IDaneZUSow> GetDaneZUSow(const std::u16string&) override { return {}; }
    TIntfPtr<IDaneNFZow> GetDaneNFZow(const std::u16string&) override { return {}; }
    TIntfPtr<IUrzedyStatystyczne> GetUrzedyStatystyczne(const std::u16string&) override { return {}; }
    TIntfPtr<ISadyRejonowe> GetSadyRejonowe(const std::u16string&) override { return {}; }
    TIntfPtr<IBiuraRachunkowe> GetBiuraRachunkowe(const std::u16string&) override { return {}; }

    TIntfPtr<IPracownicy> Pracownicy;
    TIntfPtr<IKontrahenci> Kontrahenci;
    QString PracownicyFilter = QStringLiteral("<none>");
};

class ListDataBase : public TFakeDataBase {
public:
    bool StartTransaction() override {
        ++Starts;
        return StartOk;
    }
    bool Commit() override {
        ++Commits;
        return CommitOk;
    }
    TIntfPtr<IEwidarRegistries> GetRegistries() override { return Registries; }

    int Starts = 0;
    int Commits = 0;
    bool StartOk = true;
    bool CommitOk = true;
    TIntfPtr<IEwidarRegistries> Registries;
};
