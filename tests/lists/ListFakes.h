#pragma once
// A taxpayer record, a registries object and a root object that counts its
// transactions, for the list frame's tests.

#include "FakeDataBase.h"
#include "GridFakes.h"

// A taxpayer: every subject operation answers "nothing".
class FakePodatnik : public FakeRecordOf<IPodatnik> {
public:
    using FakeRecordOf<IPodatnik>::FakeRecordOf;
    TIntfPtr<IAdresy> GetAdresy() override { return {}; }
    TIntfPtr<IAdresyDzialalnosci> GetAdresyDzialalnosci() override { return {}; }
    TIntfPtr<IOddzialy> GetOddzialy() override { return {}; }
    TIntfPtr<IRodzajeDzialalnosci> GetRodzajeDzialalnosci() override { return {}; }
    TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() override { return {}; }
    TIntfPtr<IObywatelstwa> GetObywatelstwa() override { return {}; }
    TIntfPtr<IDokumentyTozsamosci> GetDokumentyTozsamosci() override { return {}; }
    TIntfPtr<INrIdentyfikacyjne> GetNrIdentyfikacyjne() override { return {}; }
    TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() override { return {}; }
    TIntfPtr<IDaneZamawiajacych> GetDaneZamawiajacych() override { return {}; }
    TIntfPtr<IRodzajDzialalnosci> GetRodzajPrzewazajacejDzialalnosci() override { return {}; }
    void SetRodzajPrzewazajacejDzialalnosci(IEwidarRecord*) override {}
    TIntfPtr<IDaneZUS> GetDaneZUS() override { return {}; }
    void SetDaneZUS(IEwidarRecord*) override {}
    TIntfPtr<IUrzadStatystyczny> GetUrzadStatystyczny() override { return {}; }
    void SetUrzadStatystyczny(IEwidarRecord*) override {}
    TIntfPtr<IDaneNFZ> GetDaneNFZ() override { return {}; }
    void SetDaneNFZ(IEwidarRecord*) override {}
    TIntfPtr<ISadRejonowy> GetSadRejonowy() override { return {}; }
    void SetSadRejonowy(IEwidarRecord*) override {}
    TIntfPtr<IReprezentanci> GetReprezentanci() override { return {}; }
    void SetBiuroRachunkowe(IEwidarRecord*) override {}
    TIntfPtr<IBiuroRachunkowe> GetBiuroRachunkowe() override { return {}; }
    TIntfPtr<IReprezentanci> GetPowiazaniReprezentanci() override { return {}; }
    TIntfPtr<IPodmioty> GetPowiazanePodmioty() override { return {}; }
    bool HasDuplicate(const std::u16string&, const std::u16string&, const std::u16string&) override {
        return false;
    }
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
