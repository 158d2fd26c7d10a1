#include "uSubjectImporter.h"

#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <vector>

namespace SubjectImporter {

namespace {

using TPart = SubjectFields::TTarget;

std::u16string U(const QString& Text) {
    return Text.toStdU16String();
}

// Sets a value as a field panel posts it: caption and editor kind from the field table
// where the backend has none.
void SetField(IDataFields* Fields, const QString& Symbol, const QString& Value) {
    const TIntfPtr<IDataField> field = Fields->GetDataField(U(Symbol));
    if (!field)
        return;
    field->SetValue(U(Value));
    if (const TInternalFieldRecord* known = FindField(Symbol)) {
        if (field->GetCaption().empty())
            field->SetCaption(U(known->Description));
        if (field->GetFieldType().empty())
            field->SetFieldType(U(FieldTypeToText(known->FieldType)));
    }
}

bool HasValues(const ImportRows::TRow& Row, TPart Target) {
    const auto& fields = SubjectFields::Fields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].Target == Target && !Row.Values[static_cast<qsizetype>(i)].isEmpty())
            return true;
    return false;
}

void SetValues(IEwidarRecord* Record, const ImportRows::TRow& Row, TPart Target) {
    const TIntfPtr<IDataFields> data = Record->GetDataFields();
    if (!data)
        return;
    const auto& fields = SubjectFields::Fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString& v = Row.Values[static_cast<qsizetype>(i)];
        if (fields[i].Target == Target && !v.isEmpty())
            SetField(data.get(), fields[i].Symbol, v);
    }
    if (Target != SubjectFields::tgSubject)
        return;
    // A row with a surname or a PESEL is a natural person, otherwise a legal one.
    const bool person = !Row.Values[SubjectFields::IndexOfKey(QStringLiteral("nazwisko"))].isEmpty() ||
                        !Row.Values[SubjectFields::IndexOfKey(QStringLiteral("pesel"))].isEmpty();
    SetField(data.get(), cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol, person ? QStringLiteral("0") : QStringLiteral("1"));
}

class TRun {
public:
    explicit TRun(IEwidarDataBase* DataBase) : m_db(DataBase) {}

    TResult Go(int SubjectTarget, const QList<ImportRows::TRow>& Rows, const TProgress& Progress);

private:
    bool Fail(ICustomObject* Object, const QString& What) {
        m_result.ErrorCode = Object ? Object->GetLastErrorCode() : 0;
        m_result.Error = What;
        return false;
    }
    TIntfPtr<IEwidarRecord> NewSubject(int SubjectTarget);
    bool Section(IEwidarRecord* Subject, const TIntfPtr<IEwidarCollection>& List, const ImportRows::TRow& Row,
                 TPart Target);
    bool Row(int SubjectTarget, const ImportRows::TRow& Row);
    void Undo();

    IEwidarDataBase* m_db;
    TIntfPtr<IEwidarRegistries> m_registries;
    TIntfPtr<IEwidarCollection> m_list;
    std::vector<TIntfPtr<IEwidarRecord>> m_posted;
    TResult m_result;
};

TIntfPtr<IEwidarRecord> TRun::NewSubject(int SubjectTarget) {
    if (SubjectTarget == tgPodatnicy)
        return EwidarKinds::CollectionNew(m_list.get());
    const auto people = Supports<IEwidarPeopleCollection>(m_list);
    return people ? people->NewForPodatnik(nullptr) : TIntfPtr<IEwidarRecord>();
}

bool TRun::Section(IEwidarRecord* Subject, const TIntfPtr<IEwidarCollection>& List, const ImportRows::TRow& Row,
                   TPart Target) {
    if (!HasValues(Row, Target))
        return true;
    if (!List)
        return Fail(Subject, QStringLiteral("Nie można odczytać sekcji podmiotu z wiersza %1.").arg(Row.Line));
    const TIntfPtr<IEwidarRecord> section = EwidarKinds::CollectionNew(List.get());
    if (!section)
        return Fail(List.get(), QStringLiteral("Nie można dodać sekcji podmiotu z wiersza %1.").arg(Row.Line));
    SetValues(section.get(), Row, Target);
    if (!section->Post())
        return Fail(section.get(), QStringLiteral("Nie zapisano adresu lub rachunku z wiersza %1.").arg(Row.Line));
    return true;
}

bool TRun::Row(int SubjectTarget, const ImportRows::TRow& Row) {
    const TIntfPtr<IEwidarRecord> subject = NewSubject(SubjectTarget);
    if (!subject)
        return Fail(m_list.get(), QStringLiteral("Nie można utworzyć podmiotu z wiersza %1.").arg(Row.Line));
    SetValues(subject.get(), Row, SubjectFields::tgSubject);
    if (!subject->Post())
        return Fail(subject.get(), QStringLiteral("Nie zapisano podmiotu z wiersza %1.").arg(Row.Line));
    m_posted.push_back(subject);
    const auto podmiot = Supports<IPodmiot>(subject);
    if (!podmiot)
        return Fail(subject.get(), QStringLiteral("Rekord z wiersza %1 nie jest podmiotem.").arg(Row.Line));
    return Section(subject.get(), podmiot->GetAdresy(), Row, SubjectFields::tgAddress) &&
           Section(subject.get(), podmiot->GetRachunkiBankowe(), Row, SubjectFields::tgAccount);
}

// The contract has no rollback: what this run posted is deleted again inside the transaction.
void TRun::Undo() {
    for (auto it = m_posted.rbegin(); it != m_posted.rend(); ++it)
        if (!(*it)->Delete()) {
            Fail(it->get(), QStringLiteral("Nie można wycofać importu."));
            return; // the refused write rolled the whole transaction back
        }
    if (!m_db->Commit())
        Fail(m_db, QStringLiteral("Nie można wycofać importu."));
}

TResult TRun::Go(int SubjectTarget, const QList<ImportRows::TRow>& Rows, const TProgress& Progress) {
    m_registries = m_db->GetRegistries();
    if (!m_registries) {
        Fail(m_db, QStringLiteral("Nie można odczytać rejestrów bazy."));
        return m_result;
    }
    if (SubjectTarget == tgPodatnicy)
        m_list = m_registries->GetPodatnicy({});
    else if (SubjectTarget == tgPracownicy)
        m_list = m_registries->GetPracownicy({});
    else
        m_list = m_registries->GetKontrahenci({});
    if (!m_list) {
        Fail(m_db, QStringLiteral("Nie można odczytać rejestru."));
        return m_result;
    }
    if (!m_db->StartTransaction()) {
        Fail(m_db, QStringLiteral("Nie można rozpocząć transakcji."));
        return m_result;
    }
    const int total = static_cast<int>(Rows.size());
    int done = 0;
    for (const ImportRows::TRow& row : Rows) {
        if (row.Status != ImportRows::stReady)
            continue;
        if (!Row(SubjectTarget, row))
            return m_result; // the backend rolled the transaction back at the refused write
        ++done;
        if (Progress && !Progress(done, total)) {
            m_result.Cancelled = true;
            Undo();
            return m_result;
        }
    }
    if (!m_db->Commit()) {
        Fail(m_db, QStringLiteral("Nie można zatwierdzić importu."));
        return m_result;
    }
    m_result.Ok = true;
    m_result.Imported = done;
    return m_result;
}

} // namespace

TResult Import(IEwidarDataBase* DataBase, TTarget Target, const QList<ImportRows::TRow>& Rows,
               const TProgress& Progress) {
    if (!DataBase) {
        TResult r;
        r.Error = QStringLiteral("Brak połączenia z bazą danych.");
        return r;
    }
    return TRun(DataBase).Go(Target, Rows, Progress);
}

TDuplicateProbe::TDuplicateProbe(IEwidarDataBase* DataBase) {
    const TIntfPtr<IEwidarRegistries> registries = DataBase ? DataBase->GetRegistries() : nullptr;
    const TIntfPtr<IEwidarCollection> podatnicy = registries ? registries->GetPodatnicy({}) : nullptr;
    m_record = podatnicy ? EwidarKinds::CollectionNew(podatnicy.get()) : nullptr;
    m_podmiot = Supports<IPodmiot>(m_record);
}

TDuplicateProbe::~TDuplicateProbe() {
    if (m_record && m_record->IsNew() && m_record->GetID() != 0)
        m_record->Delete();
}

bool TDuplicateProbe::operator()(const QString& Pesel, const QString& Nip, const QString& Regon) {
    return m_podmiot && m_podmiot->HasDuplicate(U(Pesel), U(Nip), U(Regon));
}

} // namespace SubjectImporter
