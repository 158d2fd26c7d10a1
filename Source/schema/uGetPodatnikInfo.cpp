// The record structure tree: nodes, pruning, and the builder that reads one subject.

#include "uGetPodatnikInfo.h"

#include "uEwidarKinds.h"
#include "uGetPodatnikInfoSymbols.h"
#include "uStrings.h"

#include <QHash>

// ---------------------------------------------------------------------------
// Nodes

TTreeItem::TTreeItem(const QString& pName, int pTyp, const QString& pDescription, const QString& pValue)
    : FTyp(pTyp), FName(pName), FDescription(pDescription), FValue(pValue) {
    if ((pTyp == tiField || pTyp == tiUserField) && !FDescription.endsWith(QLatin1Char(':')))
        FDescription.append(QLatin1Char(':'));
}

TTreeItem::~TTreeItem() = default;

TTreeItem* TTreeItem::Append(std::unique_ptr<TTreeItem> pItem) {
    FList.push_back(std::move(pItem));
    return FList.back().get();
}

TTreeItem* TTreeItem::Add(const QString& pName, int pTyp, const QString& pDescription,
                          const QString& pValue) {
    return Append(std::make_unique<TTreeItem>(pName, pTyp, pDescription, pValue));
}

void TTreeItem::Delete(int pIndex) {
    if (pIndex >= 0 && pIndex < Count())
        FList.erase(FList.begin() + pIndex);
}

TTreeItem* TTreeItem::GetItem(int pIndex) const {
    return pIndex >= 0 && pIndex < Count() ? FList[static_cast<size_t>(pIndex)].get() : nullptr;
}

TTreeItem* TTreeItem::ItemBySymbol(const QString& pSymbol) const {
    for (const auto& item : FList)
        if (item->Name() == pSymbol)
            return item.get();
    return nullptr;
}

void TTreeItem::RemoveEmpty() {
    for (int i = Count() - 1; i >= 0; --i) {
        TTreeItem* child = GetItem(i);
        child->RemoveEmpty();
        if (child->Count() == 0 && child->Value().isEmpty())
            Delete(i);
    }
}

TEwidarTreeItem* TEwidarTreeItem::AddProp(TTreeItem& pNode, const TInternalFieldRecord& pSymbol,
                                          const QString& pValue) {
    const bool blankDate = pSymbol.FieldType == ctDate && pValue.startsWith(QLatin1Char('H'));
    auto item = std::make_unique<TEwidarTreeItem>(pSymbol.Symbol, tiField, pSymbol.Description,
                                                  blankDate ? QString() : pValue);
    return static_cast<TEwidarTreeItem*>(pNode.Append(std::move(item)));
}

// ---------------------------------------------------------------------------
// Builder

namespace {

using TFields = PodatnikInfoSymbols::TSymbolList;
namespace Groups = PodatnikInfoSymbols;

// Record-kind positions of the user-defined fields.
enum : int32_t {
    kpObywatelstwo = 1,
    kpDokument = 2,
    kpAdres = 3,
    kpAdresDzialalnosci = 4,
    kpOddzial = 5,
    kpRodzajDzialalnosci = 6,
    kpDaneZUS = 7,
    kpUrzadStatystyczny = 8,
    kpDaneNFZ = 9,
    kpSadRejonowy = 10,
    kpDaneBanku = 11,
    kpNrIdentyfikacyjny = 12,
    kpWspolnik = 13,
    kpSpolka = 14,
    kpSpolkaPodmiotu = 15,
    kpRachunekBankowy = 16,
    kpBiuroRachunkowe = 20,
    kpPodmiot = 21,
};

QString ReadValue(IDataFields* Fields, const QString& Symbol) {
    if (!Fields)
        return {};
    const TIntfPtr<IDataField> field = Fields->GetDataField(toU16(Symbol));
    return field ? toQ(field->GetValue()) : QString();
}

struct TUserDefinition {
    QString Symbol;
    QString Description;
    QString FieldType;
};

class TTreeBuilder {
public:
    explicit TTreeBuilder(IEwidarDataBase* DataBase)
        : m_provider(DataBase ? DataBase->GetDynamicFieldsProvider(0)
                              : TIntfPtr<IEwidarDynamicFieldsProvider>()) {}

    // The record's fields of the table, converted to display texts.
    void Fields(TTreeItem& Node, IEwidarRecord* Record, const TFields& List) {
        const TIntfPtr<IDataFields> fields = Record ? Record->GetDataFields() : TIntfPtr<IDataFields>();
        for (const TInternalFieldRecord* f : List)
            TEwidarTreeItem::AddProp(Node, *f,
                                     PodatnikInfoValues::DisplayText(*f, ReadValue(fields.get(), f->Symbol)));
    }

    // The record's user-defined fields of the kind at Position.
    void UserFields(TTreeItem& Node, IEwidarRecord* Record, int32_t Position) {
        const QList<TUserDefinition>& defs = Definitions(Position);
        if (defs.isEmpty())
            return;
        const TIntfPtr<IDataFields> fields = Record ? Record->GetDataFields() : TIntfPtr<IDataFields>();
        for (const TUserDefinition& d : defs) {
            QString value = ReadValue(fields.get(), d.Symbol);
            if (d.FieldType == QLatin1String("ctCheckBox"))
                value = PodatnikInfoValues::YesText(value);
            else if (d.FieldType == QLatin1String("ctDate") && value.startsWith(QLatin1Char('H')))
                value.clear(); // a blank date, as for the fields of the table
            Node.Add(d.Symbol, tiUserField, d.Description, value);
        }
    }

    // A collection node with one "Item" per element, each filled by Fill.
    template <class TFill>
    void Collection(TTreeItem& Parent, const QString& Name, IEwidarCollection* List, TFill Fill) {
        TTreeItem* node = Parent.Add(Name, tiCollection, QString(), QString());
        const int32_t count = List ? List->GetCount() : 0;
        for (int32_t i = 0; i < count; ++i) {
            const TIntfPtr<IEwidarRecord> record = EwidarKinds::CollectionGetItem(List, i);
            if (record)
                Fill(*node->Add(QStringLiteral("Item"), tiRecord, QString(), QString()), record.get());
        }
    }

    // A linked-record node, only when the link is set.
    void Linked(TTreeItem& Parent, const QString& Name, IEwidarRecord* Record, const TFields& List,
                int32_t Position) {
        if (!Record)
            return;
        TTreeItem* node = Parent.Add(Name, tiRecord, QString(), QString());
        Fields(*node, Record, List);
        UserFields(*node, Record, Position);
    }

private:
    const QList<TUserDefinition>& Definitions(int32_t Position) {
        auto it = m_definitions.find(Position);
        if (it != m_definitions.end())
            return it.value();
        QList<TUserDefinition> defs;
        if (const TIntfPtr<IDynamicFields> list =
                m_provider ? m_provider->GetDynamicFields(Position) : TIntfPtr<IDynamicFields>()) {
            for (int32_t i = 0; i < list->GetCount(); ++i)
                if (const TIntfPtr<IDynamicField> d = list->GetItem(i))
                    defs.append({toQ(d->GetSymbol()), toQ(d->GetDescription()), toQ(d->GetFieldType())});
        }
        return m_definitions.insert(Position, defs).value();
    }

    TIntfPtr<IEwidarDynamicFieldsProvider> m_provider;
    // Definitions read once per tree (each request reads them afresh).
    QHash<int32_t, QList<TUserDefinition>> m_definitions;
};

template <class T> IEwidarCollection* AsCollection(const TIntfPtr<T>& List) {
    return List.get();
}

// The taxpayer with the subject's identifier, from the given list or from all taxpayers.
TIntfPtr<IPodatnik> FindTaxpayer(IEwidarDataBase* DataBase, IPodatnicy* Taxpayers, IPodmiot* Subject) {
    const int32_t id = Subject->GetID();
    if (id == 0)
        return {};
    TIntfPtr<IPodatnicy> list(Taxpayers);
    if (!list) {
        const TIntfPtr<IEwidarRegistries> registries =
            DataBase ? DataBase->GetRegistries() : TIntfPtr<IEwidarRegistries>();
        if (registries)
            list = registries->GetPodatnicy(std::u16string());
    }
    const int32_t count = list ? list->GetCount() : 0;
    for (int32_t i = 0; i < count; ++i) {
        const TIntfPtr<IEwidarRecord> record = list->GetItem(i);
        if (record && record->GetID() == id)
            return Supports<IPodatnik>(record);
    }
    return {};
}

void AddCount(TTreeItem& Root, const TInternalFieldRecord& Field, IEwidarCollection* List) {
    const int32_t count = List ? List->GetCount() : 0;
    if (count > 0)
        TEwidarTreeItem::AddProp(Root, Field, QString::number(count));
}

const TFields kAddressFields = {
    &cDaneAdresoweKraj,      &cDaneAdresoweWojewodztwo, &cDaneAdresowePowiat, &cDaneAdresoweGmina,
    &cDaneAdresoweDzielnica, &cDaneAdresoweMiejscowosc, &cDaneAdresoweUlica,  &cDaneAdresoweNrDomu,
    &cDaneAdresoweNrLokalu,  &cDaneAdresoweKodPocztowy, &cDaneAdresowePoczta, &cDaneAdresoweSkrytkaPocztowa};

void BuildSections(TTreeBuilder& B, TTreeItem& Root, IPodmiot* S) {
    B.Collection(Root, QStringLiteral("ColObywatelstwa"), AsCollection(S->GetObywatelstwa()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r, {&cObywatelstwo});
                     B.UserFields(item, r, kpObywatelstwo);
                 });
    B.Collection(Root, QStringLiteral("ColDokumentyTozsamosci"), AsCollection(S->GetDokumentyTozsamosci()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r,
                              {&cDaneDokumentuTozsamosciRodzaj, &cDaneDokumentuTozsamosciRodzajInny,
                               &cDaneDokumentuTozsamosciKraj, &cDaneDokumentuTozsamosciSeria,
                               &cDaneDokumentuTozsamosciNumer});
                     B.UserFields(item, r, kpDokument);
                 });
    B.Collection(Root, QStringLiteral("ColAdresy"), AsCollection(S->GetAdresy()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r, {&cDaneAdresoweTypAdresu, &cDaneAdresoweBrakAdresuZameldowania});
                     B.Fields(item, r, kAddressFields);
                     B.UserFields(item, r, kpAdres);
                 });
}

void BuildCompanyData(TTreeBuilder& B, TTreeItem& Root, IPodmiot* S) {
    B.Fields(Root, S, Groups::Registry());
    const TFields pkd = {&cRodzajDzialalnosciKodPKD, &cRodzajDzialalnosciOpisPKD};
    B.Linked(Root, QStringLiteral("SetRodzajPrzewazajacejDzialalnosci"),
             S->GetRodzajPrzewazajacejDzialalnosci().get(), pkd, kpRodzajDzialalnosci);
    B.Collection(Root, QStringLiteral("ColRodzajeDzialalnosci"), AsCollection(S->GetRodzajeDzialalnosci()),
                 [&B, &pkd](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r, pkd);
                     B.UserFields(item, r, kpRodzajDzialalnosci);
                 });
    B.Collection(Root, QStringLiteral("ColAdresyDzialalnosci"), AsCollection(S->GetAdresyDzialalnosci()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r,
                              {&cDaneAdresoweDzialanosciTypAdresu,
                               &cDaneAdresoweDzialanosciAdresDzialalnosciTakiSamJakZamieszkania,
                               &cDaneAdresoweDzialanosciAdresDoreczeiTakiSamJakZamieszkania,
                               &cDaneAdresoweDzialanosciKraj, &cDaneAdresoweDzialanosciWojewodztwo,
                               &cDaneAdresoweDzialanosciPowiat, &cDaneAdresoweDzialanosciGmina,
                               &cDaneAdresoweDzialanosciDzielnica, &cDaneAdresoweDzialanosciMiejscowosc,
                               &cDaneAdresoweDzialanosciUlica, &cDaneAdresoweDzialanosciNrDomu,
                               &cDaneAdresoweDzialanosciNrLokalu, &cDaneAdresoweDzialanosciKodPocztowy,
                               &cDaneAdresoweDzialanosciPoczta, &cDaneAdresoweDzialanosciAdresOpisowy});
                     B.UserFields(item, r, kpAdresDzialalnosci);
                 });
    B.Collection(Root, QStringLiteral("ColOddzialy"), AsCollection(S->GetOddzialy()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r,
                              {&cDaneOddzialuNazwa, &cDaneOddzialuREGON, &cDaneOddzialuKraj,
                               &cDaneOddzialuWojewodztwo, &cDaneOddzialuPowiat, &cDaneOddzialuGmina,
                               &cDaneOddzialuDzielnica, &cDaneOddzialuMiejscowosc, &cDaneOddzialuUlica,
                               &cDaneOddzialuNrDomu, &cDaneOddzialuNrLokalu, &cDaneOddzialuKodPocztowy,
                               &cDaneOddzialuPoczta, &cDaneOddzialuSkrytkaPocztowa});
                     B.UserFields(item, r, kpOddzial);
                 });
}

void BuildContactAndOffices(TTreeBuilder& B, TTreeItem& Root, IPodmiot* S) {
    B.Fields(Root, S, Groups::Contact());
    B.Fields(Root, S, Groups::TaxOffice(1));
    B.Fields(Root, S, Groups::TaxOffice(2));
    B.Linked(Root, QStringLiteral("SetDaneZUS"), S->GetDaneZUS().get(),
             {&cDaneZUSNazwa, &cDaneZUSAdres, &cDaneZUSNazwaRachunku1, &cDaneZUSNazwaRachunku2,
              &cDaneZUSNazwaRachunku3, &cDaneZUSNazwaRachunku4, &cDaneZUSNumerRachunku1,
              &cDaneZUSNumerRachunku2, &cDaneZUSNumerRachunku3, &cDaneZUSNumerRachunku4},
             kpDaneZUS);
    B.Linked(Root, QStringLiteral("SetUrzadStatystyczny"), S->GetUrzadStatystyczny().get(),
             {&cDaneUrzeduStatystycznegoNazwa, &cDaneUrzeduStatystycznegoAdres}, kpUrzadStatystyczny);
    B.Linked(Root, QStringLiteral("SetDaneNFZ"), S->GetDaneNFZ().get(), {&cDaneNFZNazwa, &cDaneNFZKod},
             kpDaneNFZ);
    B.Linked(Root, QStringLiteral("SetSadRejonowy"), S->GetSadRejonowy().get(),
             {&cDaneSaduRejonowegoNazwa, &cDaneSaduRejonowegoAdres}, kpSadRejonowy);
}

void BuildTaxAndAccounting(TTreeBuilder& B, TTreeItem& Root, IPodmiot* S) {
    B.Fields(Root, S, Groups::TaxForms());
    B.Fields(Root, S, Groups::AccountingAddress());
    B.Linked(Root, QStringLiteral("SetBiuroRachunkowe"), S->GetBiuroRachunkowe().get(),
             {&cBiuroRachunkoweKodKrajuNadaniaNumeru, &cBiuroRachunkoweNIP, &cBiuroRachunkoweNazwa,
              &cBiuroRachunkoweNazwisko, &cBiuroRachunkoweImie},
             kpBiuroRachunkowe);
    B.Collection(Root, QStringLiteral("ColNrIdentyfikacyjne"), AsCollection(S->GetNrIdentyfikacyjne()),
                 [&B](TTreeItem& item, IEwidarRecord* r) { B.UserFields(item, r, kpNrIdentyfikacyjny); });
    B.Fields(Root, S, Groups::OtherTax());
}

void BuildCompaniesAndAccounts(TTreeBuilder& B, TTreeItem& Root, IPodmiot* S) {
    B.Collection(Root, QStringLiteral("ColSpolki"), AsCollection(S->GetSpolkiPodmiotu()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r, {&cSpolkaPodmiotuUdzial});
                     B.UserFields(item, r, kpSpolkaPodmiotu);
                     const auto share = Supports<ISpolkaPodmiotu>(r);
                     const TIntfPtr<ISpolka> spolka = share ? share->GetSpolka() : TIntfPtr<ISpolka>();
                     if (!spolka)
                         return;
                     TTreeItem* set = item.Add(QStringLiteral("SetSpolka"), tiRecord, QString(), QString());
                     B.Fields(*set, spolka.get(),
                              {&cDaneSpolkiNazwa, &cDaneSpolkiNIP, &cDaneSpolkiREGON,
                               &cDaneSpolkiMiejsceProwadzenia, &cDaneSpolkiRodzaj, &cDaneSpolkiKodKraju});
                     B.UserFields(*set, spolka.get(), kpSpolka);
                     B.Collection(*set, QStringLiteral("ColWspolnicy"), AsCollection(spolka->GetWspolnicy()),
                                  [&B](TTreeItem& partner, IEwidarRecord* w) {
                                      B.Fields(partner, w, {&cDaneWspolnikaImie, &cDaneWspolnikaNazwisko});
                                      B.UserFields(partner, w, kpWspolnik);
                                  });
                 });
    B.Collection(Root, QStringLiteral("ColRachunkiBankowe"), AsCollection(S->GetRachunkiBankowe()),
                 [&B](TTreeItem& item, IEwidarRecord* r) {
                     B.Fields(item, r,
                              {&cDaneRachunkuCharakterRachunku, &cDaneRachunkuPosiadaczRachunku,
                               &cDaneRachunkuNrRachunku, &cDaneRachunkuSWIFT});
                     const auto account = Supports<IRachunekBankowy>(r);
                     B.Linked(item, QStringLiteral("SetDaneBanku"),
                              account ? account->GetDaneBanku().get() : nullptr,
                              {&cDaneBankuKraj, &cDaneBankuNazwa, &cDaneBankuAdres}, kpDaneBanku);
                     B.UserFields(item, r, kpRachunekBankowy);
                 });
}

} // namespace

void BuildTree(TTreeItem& Root, IEwidarDataBase* DataBase, IPodatnicy* Taxpayers, IPodmiot* Subject) {
    if (!Subject)
        return;
    TTreeBuilder b(DataBase);
    b.Fields(Root, Subject, Groups::Personal());
    BuildSections(b, Root, Subject);
    BuildCompanyData(b, Root, Subject);
    BuildContactAndOffices(b, Root, Subject);
    BuildTaxAndAccounting(b, Root, Subject);
    BuildCompaniesAndAccounts(b, Root, Subject);

    AddCount(Root, cReprezentanciCount, AsCollection(Subject->GetReprezentanci()));
    if (const TIntfPtr<IPodatnik> podatnik = FindTaxpayer(DataBase, Taxpayers, Subject)) {
        AddCount(Root, cKontrahenciCount, AsCollection(podatnik->GetKontrahenci(0, 0)));
        AddCount(Root, cPracownicyCount, AsCollection(podatnik->GetPracownicy(0, 0)));
    }
    b.Fields(Root, Subject, Groups::PersonalOther());
    b.Fields(Root, Subject, Groups::Disability());
    b.Fields(Root, Subject, Groups::Pension());
    b.Fields(Root, Subject, {&cUwagi});
    TTreeItem* extra = Root.Add(QStringLiteral("SetDodatkowePolaPodmiotu"), tiRecord, QString(), QString());
    b.UserFields(*extra, Subject, kpPodmiot);
}
