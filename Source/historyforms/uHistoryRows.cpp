#include "uHistoryRows.h"

#include "uCsv.h"
#include "uShownFieldValue.h"

#include <QDateTime>
#include <QSaveFile>

namespace HistoryRows {

QString EventName(THistoryEvent Event) {
    switch (Event) {
    case THistoryEvent::heNew:
        return QStringLiteral("Nowy rekord");
    case THistoryEvent::hePost:
        return QStringLiteral("Zmiana");
    case THistoryEvent::heDelete:
        return QStringLiteral("Usunięcie");
    case THistoryEvent::heLink:
        return QStringLiteral("Powiązanie");
    case THistoryEvent::heFieldDef:
        return QStringLiteral("Pole użytkownika");
    case THistoryEvent::heGroup:
        return QStringLiteral("Grupa operatorów");
    case THistoryEvent::heOperator:
        return QStringLiteral("Operator");
    case THistoryEvent::heLogin:
        return QStringLiteral("Logowanie");
    case THistoryEvent::heLoginFailed:
        return QStringLiteral("Nieudane logowanie");
    case THistoryEvent::heLogout:
        return QStringLiteral("Wylogowanie");
    case THistoryEvent::heImport:
        return QStringLiteral("Import z innej bazy");
    case THistoryEvent::heBackup:
        return QStringLiteral("Kopia zapasowa");
    case THistoryEvent::heRestore:
        return QStringLiteral("Odtworzenie kopii");
    case THistoryEvent::heMerge:
        return QStringLiteral("Scalenie rekordów");
    }
    return QStringLiteral("Zdarzenie %1").arg(int(Event));
}

std::vector<std::pair<int32_t, QString>> Registries() {
    static const char* const names[] = {
        "Obywatelstwa", "Dokumenty tożsamości", "Adresy", "Adresy działalności", "Oddziały",
        "Rodzaje działalności", "Oddziały ZUS", "Urzędy statystyczne", "Oddziały NFZ", "Sądy rejonowe",
        "Banki", "Numery identyfikacyjne", "Wspólnicy", "Firmy", "Udziały w spółkach", "Rachunki bankowe",
        "Zamawiający", "Rekordy dodatkowe", "Reprezentanci", "Biura rachunkowe", "Podmioty"};
    std::vector<std::pair<int32_t, QString>> out;
    for (int32_t i = 0; i < 21; ++i)
        out.emplace_back(i + 1, QString::fromUtf8(names[i]));
    return out;
}

QString RegistryName(int32_t Kind) {
    for (const auto& [kind, name] : Registries())
        if (kind == Kind)
            return name;
    return {};
}

namespace {

// Events whose changes are values of a record's fields (others name definitions, operators).
bool ValuesOfRecord(THistoryEvent Event) {
    switch (Event) {
    case THistoryEvent::heNew:
    case THistoryEvent::hePost:
    case THistoryEvent::heDelete:
    case THistoryEvent::heMerge:
    case THistoryEvent::heImport:
        return true;
    default:
        return false;
    }
}

} // namespace

const TInternalFieldRecord* TFieldKinds::Find(int32_t Kind, const QString& Symbol) {
    for (const TInternalFieldRecord& f : FieldsOfKind(Kind))
        if (f.Symbol == Symbol)
            return &f;
    if (!m_db || Kind < 1 || Kind > 21)
        return nullptr;
    auto user = m_userFields.find(Kind);
    if (user == m_userFields.end()) {
        user = m_userFields.insert(Kind, {});
        const auto provider = m_db->GetDynamicFieldsProvider(0);
        const auto fields = provider ? provider->GetDynamicFields(Kind) : TIntfPtr<IDynamicFields>();
        for (int32_t i = 0; fields && i < fields->GetCount(); ++i)
            if (const auto f = fields->GetItem(i)) {
                const QString symbol = QString::fromStdU16String(f->GetSymbol());
                user->insert(symbol, TInternalFieldRecord::Create(
                                         symbol, QString::fromStdU16String(f->GetDescription()),
                                         TextToFieldType(QString::fromStdU16String(f->GetFieldType()))));
            }
    }
    const auto found = user->constFind(Symbol);
    return found == user->cend() ? nullptr : &*found;
}

std::vector<TRow> Rows(const std::vector<THistoryEntry>& Entries, TFieldKinds& Fields) {
    std::vector<TRow> out;
    for (const THistoryEntry& e : Entries) {
        TRow base;
        base.seq = e.Seq;
        base.time = QDateTime::fromMSecsSinceEpoch(e.TimeMs).toLocalTime().toString(
            QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        base.operatorLogin = QString::fromStdU16String(e.Operator);
        base.host = QString::fromStdU16String(e.Host);
        base.event = EventName(e.Event);
        base.registry = RegistryName(e.Kind);
        const QString description = QString::fromStdU16String(e.Description);
        if (e.RecordID != 0)
            base.record = QStringLiteral("#%1 %2").arg(e.RecordID).arg(description).trimmed();
        else
            base.record = description;
        if (e.Changes.empty()) {
            out.push_back(base);
            continue;
        }
        for (const THistoryChange& c : e.Changes) {
            TRow r = base;
            const QString symbol = QString::fromStdU16String(c.Symbol);
            const TInternalFieldRecord* f = ValuesOfRecord(e.Event) ? Fields.Find(e.Kind, symbol) : nullptr;
            // Field captions are stored as the editor shows them, with a closing colon; a
            // value stored without one (its symbol stands instead) is named by its field's
            // description.
            r.field = QString::fromStdU16String(c.Caption).trimmed();
            if (r.field.isEmpty() || r.field == symbol)
                r.field = f && !f->Description.trimmed().isEmpty() ? f->Description.trimmed() : symbol.trimmed();
            if (r.field.endsWith(u':'))
                r.field.chop(1);
            r.oldValue = QString::fromStdU16String(c.OldValue);
            r.newValue = QString::fromStdU16String(c.NewValue);
            // A new record had no value before and a deleted one has none after: those
            // sides stay empty (an empty check box would read "Nie").
            if (f && e.Event != THistoryEvent::heNew)
                r.oldValue = ShownFieldValue(*f, r.oldValue);
            if (f && e.Event != THistoryEvent::heDelete)
                r.newValue = ShownFieldValue(*f, r.newValue);
            out.push_back(std::move(r));
        }
    }
    return out;
}

QString Shortened(const QString& Text, int Max) {
    QString flat = Text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" ⏎ ")).replace(u'\n', QStringLiteral(" ⏎ "));
    if (flat.size() <= Max)
        return flat;
    return flat.left(std::max(0, Max - 1)) + QStringLiteral("…");
}

QStringList Titles() {
    return {QStringLiteral("Nr"),     QStringLiteral("Czas"),    QStringLiteral("Operator"),
            QStringLiteral("Stanowisko"), QStringLiteral("Zdarzenie"), QStringLiteral("Rejestr"),
            QStringLiteral("Rekord"), QStringLiteral("Pole"),    QStringLiteral("Było"),
            QStringLiteral("Jest")};
}

QStringList Fields(const TRow& Row) {
    return {QString::number(Row.seq), Row.time,  Row.operatorLogin, Row.host,     Row.event,
            Row.registry,             Row.record, Row.field,        Row.oldValue, Row.newValue};
}

bool WriteCsv(const QString& Path, const std::vector<TRow>& Rows, QString& Error) {
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly)) {
        Error = file.errorString();
        return false;
    }
    {
        Csv::TWriter writer(&file, u';');
        writer.WriteRow(Titles());
        for (const TRow& r : Rows)
            writer.WriteRow(Fields(r));
        if (!writer.Flush()) {
            Error = file.errorString();
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        Error = file.errorString();
        return false;
    }
    return true;
}

} // namespace HistoryRows
