#pragma once
// In-memory subjects for the structure tree and report tests: records with values,
// lists of records, links, user-defined field definitions and a taxpayers registry.
// Every collection and link getter answers nothing until a test sets it.

#include "FakeDataBase.h"
#include "FakeSubject.h"

#include <QList>
#include <QMap>
#include <QString>

class TValueField : public TInterfacedObject<IDataField> {
public:
    explicit TValueField(QString Value) : m_value(std::move(Value)) {}
    void SetCaption(const std::u16string&) override {}
    void SetValue(const std::u16string& Text) override { m_value = QString::fromStdU16String(Text); }
    void SetFieldType(const std::u16string&) override {}
    std::u16string GetSymbol() override { return {}; }
    std::u16string GetCaption() override { return {}; }
    std::u16string GetValue() override { return m_value.toStdU16String(); }
    std::u16string GetFieldType() override { return {}; }

private:
    QString m_value;
};

class TValues : public TInterfacedObject<IDataFields> {
public:
    explicit TValues(QMap<QString, QString> Values) : m_values(std::move(Values)) {}
    int32_t GetCount() override { return int32_t(m_values.size()); }
    std::u16string GetSymbol(int32_t Index) override { return m_values.keys().value(Index).toStdU16String(); }
    TIntfPtr<IDataField> GetDataField(const std::u16string& Symbol) override {
        return MakeIntf<IDataField, TValueField>(m_values.value(QString::fromStdU16String(Symbol)));
    }

private:
    QMap<QString, QString> m_values;
};

// The record operations over a map of values; Base is TInterfacedObject<kind>.
template <class Base> class TRecordOps : public Base {
public:
    int32_t ID = 0;
    QMap<QString, QString> Values;

    TRecordOps& Set(const QString& Symbol, const QString& Value) {
        Values.insert(Symbol, Value);
        return *this;
    }
    int32_t GetLastErrorCode() override { return 0; }
    bool IsNew() override { return false; }
    int32_t GetID() override { return ID; }
    TIntfPtr<IDataFields> GetDataFields() override { return MakeIntf<IDataFields, TValues>(Values); }
    TIntfPtr<IEwidarRecordInfo> GetRecordInfo() override { return {}; }
    bool Post() override { return true; }
    bool Delete() override { return true; }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
    bool Refresh() override { return true; }
};

template <class I> using TRecord = TRecordOps<TInterfacedObject<I>>;

// A list of records of any family whose item operations are GetItem and New.
template <class I> class TList : public TInterfacedObject<I> {
public:
    QList<TIntfPtr<IEwidarRecord>> Items;
    int GetItemCalls = 0;

    int32_t GetLastErrorCode() override { return 0; }
    int32_t GetCount() override { return int32_t(Items.size()); }
    void SetFilter(const std::u16string&) override {}
    void SetOnChange(TNotifyEvent) override {}
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        ++GetItemCalls;
        return Items.value(Index);
    }
    TIntfPtr<IEwidarRecord> New() override { return {}; }
};

// Employees and contractors of a taxpayer: only their count matters here.
template <class I> class TPeople : public TInterfacedObject<I> {
public:
    explicit TPeople(int Count = 0) : m_count(Count) {}
    int32_t GetLastErrorCode() override { return 0; }
    int32_t GetCount() override { return m_count; }
    void SetFilter(const std::u16string&) override {}
    void SetOnChange(TNotifyEvent) override {}
    void AddExisting(IEwidarRecord*) override {}
    TIntfPtr<IEwidarRecord> New() override { return {}; }
    TIntfPtr<IEwidarRecord> GetItem(int32_t) override { return {}; }
    void SetActivityFilter(int32_t, const std::u16string&) override {}
    TIntfPtr<IEwidarRecord> NewForPodatnik(IEwidarRecord*) override { return {}; }

private:
    int m_count;
};

template <class T, class... Args> TIntfPtr<T> Make(Args&&... args) {
    return TIntfPtr<T>(new T(std::forward<Args>(args)...));
}

class TSpolka : public TRecord<ISpolka> {
public:
    TIntfPtr<IWspolnicy> Wspolnicy;
    TIntfPtr<IWspolnicy> GetWspolnicy() override { return Wspolnicy; }
    TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() override { return {}; }
};

class TUdzial : public TRecord<ISpolkaPodmiotu> {
public:
    TIntfPtr<ISpolka> Spolka;
    void SetSpolka(IEwidarRecord*) override {}
    TIntfPtr<ISpolka> GetSpolka() override { return Spolka; }
};

class TRachunek : public TRecord<IRachunekBankowy> {
public:
    TIntfPtr<IDaneBanku> Bank;
    void SetDaneBanku(IEwidarRecord*) override {}
    TIntfPtr<IDaneBanku> GetDaneBanku() override { return Bank; }
};

class TBank : public TRecord<IDaneBanku> {
public:
    TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() override { return {}; }
};

class TReprezentant : public TRecord<IReprezentant> {
public:
    void SetPodmiot(IEwidarRecord*) override {}
    TIntfPtr<IPodmiot> GetPodmiot() override { return {}; }
};

template <class I> class TReferenced : public TRecord<I> {
public:
    TIntfPtr<IPodmioty> GetPodmioty() override { return {}; }
};

// A subject (also a taxpayer) whose getters answer what the test set.
class TSubject : public FakeSubjectOps<TRecord<IPodatnik>> {
public:
    TIntfPtr<IAdresy> Adresy;
    TIntfPtr<IAdresyDzialalnosci> AdresyDzialalnosci;
    TIntfPtr<IOddzialy> Oddzialy;
    TIntfPtr<IRodzajeDzialalnosci> RodzajeDzialalnosci;
    TIntfPtr<ISpolkiPodmiotu> Spolki;
    TIntfPtr<IObywatelstwa> Obywatelstwa;
    TIntfPtr<IDokumentyTozsamosci> Dokumenty;
    TIntfPtr<INrIdentyfikacyjne> NrIdentyfikacyjne;
    TIntfPtr<IRachunkiBankowe> Rachunki;
    TIntfPtr<IRodzajDzialalnosci> Przewazajaca;
    TIntfPtr<IDaneZUS> Zus;
    TIntfPtr<IUrzadStatystyczny> Urzad;
    TIntfPtr<IDaneNFZ> Nfz;
    TIntfPtr<ISadRejonowy> Sad;
    TIntfPtr<IBiuroRachunkowe> Biuro;
    TIntfPtr<IReprezentanci> Reprezentanci;
    TIntfPtr<IPracownicy> Pracownicy;
    TIntfPtr<IKontrahenci> Kontrahenci;

    TIntfPtr<IAdresy> GetAdresy() override { return Adresy; }
    TIntfPtr<IAdresyDzialalnosci> GetAdresyDzialalnosci() override { return AdresyDzialalnosci; }
    TIntfPtr<IOddzialy> GetOddzialy() override { return Oddzialy; }
    TIntfPtr<IRodzajeDzialalnosci> GetRodzajeDzialalnosci() override { return RodzajeDzialalnosci; }
    TIntfPtr<ISpolkiPodmiotu> GetSpolkiPodmiotu() override { return Spolki; }
    TIntfPtr<IObywatelstwa> GetObywatelstwa() override { return Obywatelstwa; }
    TIntfPtr<IDokumentyTozsamosci> GetDokumentyTozsamosci() override { return Dokumenty; }
    TIntfPtr<INrIdentyfikacyjne> GetNrIdentyfikacyjne() override { return NrIdentyfikacyjne; }
    TIntfPtr<IRachunkiBankowe> GetRachunkiBankowe() override { return Rachunki; }
    TIntfPtr<IRodzajDzialalnosci> GetRodzajPrzewazajacejDzialalnosci() override { return Przewazajaca; }
    TIntfPtr<IDaneZUS> GetDaneZUS() override { return Zus; }
    TIntfPtr<IUrzadStatystyczny> GetUrzadStatystyczny() override { return Urzad; }
    TIntfPtr<IDaneNFZ> GetDaneNFZ() override { return Nfz; }
    TIntfPtr<ISadRejonowy> GetSadRejonowy() override { return Sad; }
    TIntfPtr<IBiuroRachunkowe> GetBiuroRachunkowe() override { return Biuro; }
    TIntfPtr<IReprezentanci> GetReprezentanci() override { return Reprezentanci; }
    TIntfPtr<IPracownicy> GetPracownicy(int32_t, int32_t) override { return Pracownicy; }
    TIntfPtr<IKontrahenci> GetKontrahenci(int32_t, int32_t) override { return Kontrahenci; }
};

struct TDefinition {
    QString Symbol;
    QString Description;
    QString FieldType;
};

class TDefinitionItem : public TInterfacedObject<IDynamicField> {
public:
    explicit TDefinitionItem(TDefinition D) : m_d(std::move(D)) {}
    int32_t GetLastErrorCode() override { return 0; }
    void SetSymbol(const std::u16string&) override {}
    void SetDescription(const std::u16string&) override {}
    void SetFieldType(const std::u16string&) override {}
    std::u16string GetSymbol() override { return m_d.Symbol.toStdU16String(); }
    std::u16string GetDescription() override { return m_d.Description.toStdU16String(); }
    std::u16string GetFieldType() override { return m_d.FieldType.toStdU16String(); }
    bool PostDefinition() override { return true; }
    bool DeleteDefinition() override { return true; }

private:
    TDefinition m_d;
};

class TDefinitions : public TInterfacedObject<IDynamicFields> {
public:
    explicit TDefinitions(QList<TDefinition> D) : m_d(std::move(D)) {}
    int32_t GetLastErrorCode() override { return 0; }
    int32_t GetCount() override { return int32_t(m_d.size()); }
    TIntfPtr<IDynamicField> GetItem(int32_t Index) override {
        return MakeIntf<IDynamicField, TDefinitionItem>(m_d.value(Index));
    }
    TIntfPtr<IDynamicField> AddField() override { return {}; }

private:
    QList<TDefinition> m_d;
};

class TProvider : public TInterfacedObject<IEwidarDynamicFieldsProvider> {
public:
    QMap<int, QList<TDefinition>> Kinds;
    TIntfPtr<IDynamicFields> GetDynamicFields(int32_t Position) override {
        return Kinds.contains(Position) ? MakeIntf<IDynamicFields, TDefinitions>(Kinds.value(Position))
                                        : TIntfPtr<IDynamicFields>();
    }
};

class TRegistries : public TInterfacedObject<IEwidarRegistries> {
public:
    TIntfPtr<IPodatnicy> Podatnicy;
    TIntfPtr<IPodmioty> GetPodmioty(const std::u16string&) override { return {}; }
    TIntfPtr<IPodatnicy> GetPodatnicy(const std::u16string&) override { return Podatnicy; }
    TIntfPtr<IPracownicy> GetPracownicy(const std::u16string&) override { return {}; }
    TIntfPtr<IKontrahenci> GetKontrahenci(const std::u16string&) override { return {}; }
    TIntfPtr<ISpolki> GetSpolki(const std::u16string&) override { return {}; }
    TIntfPtr<IDaneBankow> GetDaneBankow(const std::u16string&) override { return {}; }
    TIntfPtr<IDaneZUSow> GetDaneZUSow(const std::u16string&) override { return {}; }
    TIntfPtr<IDaneNFZow> GetDaneNFZow(const std::u16string&) override { return {}; }
    TIntfPtr<IUrzedyStatystyczne> GetUrzedyStatystyczne(const std::u16string&) override { return {}; }
    TIntfPtr<ISadyRejonowe> GetSadyRejonowe(const std::u16string&) override { return {}; }
    TIntfPtr<IBiuraRachunkowe> GetBiuraRachunkowe(const std::u16string&) override { return {}; }
};

class TInfoDataBase : public TFakeDataBase {
public:
    TIntfPtr<TProvider> Provider = Make<TProvider>();
    TIntfPtr<TRegistries> Registries = Make<TRegistries>();
    TIntfPtr<IEwidarRegistries> GetRegistries() override { return Registries; }
    TIntfPtr<IEwidarDynamicFieldsProvider> GetDynamicFieldsProvider(int32_t) override { return Provider; }
};
