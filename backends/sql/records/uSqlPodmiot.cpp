#include "uSqlPodmiot.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlCollections.h"
#include "uSqlDescribe.h"
#include "uSqlRecord.h"

using namespace SqlKinds;
using SqlCollections::Make;
using SqlCollections::TListSpec;
using SqlCollections::TScope;

namespace {

class TPodmiotRecord final : public TSqlRecordBase<IPodatnik, IPracownik, IKontrahent> {
public:
    using TSqlRecordBase::TSqlRecordBase;

    int32_t QueryInterface(const TGUID& iid, void** obj) override {
        const TFace face = m_s->face;
        if ((iid == IPodatnik::IID && face != TFace::fPodatnik) ||
            (iid == IPracownik::IID && face != TFace::fPracownik) ||
            (iid == IKontrahent::IID && face != TFace::fKontrahent)) {
            if (obj)
                *obj = nullptr;
            return E_NOINTERFACE;
        }
        return TSqlRecordBase::QueryInterface(iid, obj);
    }

    // Sections and lists owned by the subject.
    TIntfPtr<IAdresy> GetAdresy() override { return Owned<IAdresy>(kAdres); }
    TIntfPtr<IAdresyDzialalnosci> GetAdresyDzialalnosci() override {
        return Owned<IAdresyDzialalnosci>(kAdresDzialalnosci);
    }
    TIntfPtr<IOddzialy> GetOddzialy() override { return Owned<IOddzialy>(kOddzial); }
    TIntfPtr<IRodzajeDzialalnosci> GetRodzajeDzialalnosci() override {
        return Owned<IRodzajeDzialalnosci>(kRodzajDzialalnosci);
    }
    TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() override { return Owned<ISpolkiPodmiotu>(kSpolkaPodmiotu); }
    TIntfPtr<IObywatelstwa> GetObywatelstwa() override { return Owned<IObywatelstwa>(kObywatelstwo); }
    TIntfPtr<IDokumentyTozsamosci> GetDokumentyTozsamosci() override {
        return Owned<IDokumentyTozsamosci>(kDokumentTozsamosci);
    }
    TIntfPtr<INrIdentyfikacyjne> GetNrIdentyfikacyjne() override {
        return Owned<INrIdentyfikacyjne>(kNrIdentyfikacyjny);
    }
    TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() override {
        return Owned<IRachunkiBankowe>(kRachunekBankowy);
    }
    TIntfPtr<IDaneZamawiajacych> GetDaneZamawiajacych() override {
        return Owned<IDaneZamawiajacych>(kDaneZamawiajacego);
    }
    TIntfPtr<IReprezentanci> GetReprezentanci() override { return Owned<IReprezentanci>(kReprezentant); }

    // Single links.
    TIntfPtr<IRodzajDzialalnosci> GetRodzajPrzewazajacejDzialalnosci() override {
        return LinkedAs<IRodzajDzialalnosci>(lrRodzajPrzewazajacejDzialalnosci);
    }
    void SetRodzajPrzewazajacejDzialalnosci(IEwidarRecord* R) override {
        SetLinkFrom(lrRodzajPrzewazajacejDzialalnosci, R);
    }
    TIntfPtr<IDaneZUS> GetDaneZUS() override { return LinkedAs<IDaneZUS>(lrDaneZUS); }
    void SetDaneZUS(IEwidarRecord* R) override { SetLinkFrom(lrDaneZUS, R); }
    TIntfPtr<IUrzadStatystyczny> GetUrzadStatystyczny() override {
        return LinkedAs<IUrzadStatystyczny>(lrUrzadStatystyczny);
    }
    void SetUrzadStatystyczny(IEwidarRecord* R) override { SetLinkFrom(lrUrzadStatystyczny, R); }
    TIntfPtr<IDaneNFZ> GetDaneNFZ() override { return LinkedAs<IDaneNFZ>(lrDaneNFZ); }
    void SetDaneNFZ(IEwidarRecord* R) override { SetLinkFrom(lrDaneNFZ, R); }
    TIntfPtr<ISadRejonowy> GetSadRejonowy() override { return LinkedAs<ISadRejonowy>(lrSadRejonowy); }
    void SetSadRejonowy(IEwidarRecord* R) override { SetLinkFrom(lrSadRejonowy, R); }
    void SetBiuroRachunkowe(IEwidarRecord* R) override { SetLinkFrom(lrBiuroRachunkowe, R); }
    TIntfPtr<IBiuroRachunkowe> GetBiuroRachunkowe() override {
        return LinkedAs<IBiuroRachunkowe>(lrBiuroRachunkowe);
    }

    // Relations.
    TIntfPtr<IReprezentanci> GetPowiazaniReprezentanci() override {
        return List<IReprezentanci>(
            TListSpec{kReprezentant, TScope::scReferencing, m_s->id, lrPodmiot, true});
    }
    TIntfPtr<IPodmioty> GetPowiazanePodmioty() override {
        return List<IPodmioty>(TListSpec{kPodmiot, TScope::scRelated, m_s->id, 0, true});
    }
    bool HasDuplicate(const std::u16string& PESEL, const std::u16string& NIP,
                      const std::u16string& REGON) override;

    // Taxpayer.
    TIntfPtr<IPracownicy> GetPracownicy(int32_t, int32_t) override {
        return List<IPracownicy>(
            TListSpec{kPodmiot, TScope::scPeopleOf, m_s->id, prPracownik, false, TFace::fPracownik});
    }
    TIntfPtr<IKontrahenci> GetKontrahenci(int32_t, int32_t) override {
        return List<IKontrahenci>(
            TListSpec{kPodmiot, TScope::scPeopleOf, m_s->id, prKontrahent, false, TFace::fKontrahent});
    }

    // Employee and contractor.
    void SetAktywny(bool Value) override {
        GuardedBool(m_s->error, [&] { m_s->SetAktywny(Value); });
    }
    bool GetAktywny() override {
        return Guarded(m_s->error, true, [&] { return m_s->Aktywny(); });
    }
    TIntfPtr<IPodatnicy> GetPodatnicy() override {
        const int role = m_s->personRole ? m_s->personRole : int(prPracownik);
        return List<IPodatnicy>(
            TListSpec{kPodmiot, TScope::scTaxpayersOf, m_s->id, role, true, TFace::fPodatnik});
    }
    bool HasPodatnikKontekst() override { return m_s->podatnik != 0; }

private:
    template <class I> TIntfPtr<I> List(const TListSpec& Spec) {
        return Guarded(m_s->error, TIntfPtr<I>(), [&] { return Make<I>(m_s->conn, Spec); });
    }
    template <class I> TIntfPtr<I> Owned(int Kind) {
        return List<I>(TListSpec{Kind, TScope::scOwner, m_s->id});
    }
};

// Identifiers compare by their digits alone, whatever separators were stored or typed, so
// "123-456-32-18" finds "1234563218" and "PL 1234563218". CROSS JOIN makes SQLite start
// from the identifier's index: by the list index on (kind, state) it walked every subject
// for each question, which made checking a file of subjects take minutes.
bool TPodmiotRecord::HasDuplicate(const std::u16string& PESEL, const std::u16string& NIP,
                                  const std::u16string& REGON) {
    return Guarded(m_s->error, false, [&] {
        m_s->conn->Require();
        const QList<QPair<QStringList, std::u16string>> checks = {
            {{cDanePodmiotuPESEL.Symbol}, PESEL},
            {{cDanePodmiotuNIP.Symbol, cDanePodmiotuNIPOF.Symbol}, NIP},
            {{cDanePodmiotuREGON.Symbol}, REGON},
        };
        for (const auto& [symbols, value] : checks) {
            const QString digits = SqlDescribe::Digits(QString::fromStdU16String(value));
            if (digits.isEmpty())
                continue;
            for (const QString& symbol : symbols) {
                const int n =
                    m_s->conn
                        ->Scalar(QStringLiteral("SELECT count(*) FROM ew_ident i CROSS JOIN ew_record r ON "
                                                "r.id = i.record_id WHERE i.symbol = ? AND i.digits = ? "
                                                "AND r.kind = ? AND r.state = 0 AND r.id <> ?"),
                                 {symbol, digits, int(kPodmiot), m_s->id}, 0)
                        .toInt();
                if (n > 0)
                    return true;
            }
        }
        return false;
    });
}

} // namespace

TIntfPtr<IEwidarRecord> MakePodmiotRecord(const TRecordStatePtr& State) {
    auto* p = new TPodmiotRecord(State);
    return TIntfPtr<IEwidarRecord>(static_cast<IEwidarRecord*>(static_cast<IPodatnik*>(p)));
}
