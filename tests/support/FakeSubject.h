#pragma once
// Every own operation of a subject answering "nothing": derive a test subject of
// any kind (IPodmiot, IPodatnik ...) from FakeSubjectOps<Base>, where Base
// already implements the record operations.

#include "uEwidarQuorDBIntf.h"

template <class Base> class FakeSubjectOps : public Base {
public:
    using Base::Base;
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
};
