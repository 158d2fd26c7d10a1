#include "uWyszukiwarkaRegonCopy.h"

#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uMessagePresenter.h"
#include "uUserMessagesModule.h"

#include <QAbstractButton>

namespace RegonCopy {

namespace {

constexpr uint32_t kMsgOverwrite = 316;

const char* Prefix(TRegonCase Case) {
    switch (Case) {
    case rcOsobaFizyczna:
        return "fiz_";
    case rcJednostkaLokalnaOsobyFizycznej:
        return "lokfiz_";
    case rcJednostkaPrawna:
        return "praw_";
    case rcJednostkaLokalnaJednostkiPrawnej:
        return "lokpraw_";
    case rcNone:
        break;
    }
    return "";
}

// Whether a panel holds a value; a date panel only when it shows a date (its value is then
// "yyyy-mm-dd"; a hidden date reads as "H" followed by the date the picker keeps).
bool Filled(TPanel* Panel) {
    const QString value = Panel->Value();
    if (Panel->ComponentType() == ctDate)
        return !value.isEmpty() && !value.startsWith(QLatin1Char('H'));
    return !value.isEmpty();
}

// The editor's panel of that name that edits the subject's own field. Only panels of the
// editor's own list count: those are bound to the subject and posted with it. Embedded frames
// (a branch, a company, the representative viewer showing a subject's name) hold panels of the
// same name, some even of the same field, that are never posted with the subject; a value
// copied there would be shown and then lost.
TPanel* OwnPanel(TBaseFrame* Editor, const QString& Name) {
    const QString symbol = Name == QLatin1String("pnlNIP")    ? QStringLiteral("cDanePodmiotuNIPOF")
                           : Name == QLatin1String("pnlNIP2") ? QStringLiteral("cDanePodmiotuNIP")
                                                              : QStringLiteral("cDanePodmiotu") + Name.mid(3);
    TPanel* named = nullptr;
    for (TPanel* panel : Editor->findChildren<TPanel*>(Name)) {
        if (!Editor->ContainsPanel(panel))
            continue;
        if (panel->Field().Symbol == symbol)
            return panel;
        if (!named)
            named = panel;
    }
    return named;
}

std::u16string U(const QString& Text) {
    return Text.toStdU16String();
}

QString FieldValue(IDataFields* Fields, const std::u16string& Symbol) {
    const TIntfPtr<IDataField> field = Fields ? Fields->GetDataField(Symbol) : nullptr;
    return field ? QString::fromStdU16String(field->GetValue()) : QString();
}

void SetField(IEwidarRecord* Record, const QString& Symbol, const QString& Value) {
    const TIntfPtr<IDataFields> fields = Record->GetDataFields();
    // The register gives provinces in capitals; addresses spell them in lower case ("mazowieckie").
    const bool province = Symbol.endsWith(QLatin1String("Wojewodztwo"));
    if (const TIntfPtr<IDataField> field = fields ? fields->GetDataField(U(Symbol)) : nullptr)
        field->SetValue(U(province ? Value.toLower() : Value));
}

// Stores the records of one copy; the first refused record stops everything and its code is
// shown. Inside the editor's transaction a refused record rolls the whole transaction back
// in the backend, so nothing stored before it survives either.
class TStore {
public:
    TStore(QWidget* Owner) : m_owner(Owner) {}
    bool Failed() const { return m_failed; }

    // False when the record was a duplicate or the store has failed already.
    bool PostUnlessDuplicate(IEwidarSectionCollection* Collection, IEwidarRecord* Record) {
        if (m_failed || HasEqual(Collection, Record))
            return false;
        if (!Record->Post())
            Fail(Record->GetLastErrorCode());
        return !m_failed;
    }
    void Fail(int32_t Code) {
        m_failed = true;
        // A refusal without a code still must not look like success.
        ShowUserMessage(static_cast<uint32_t>(Code), m_owner);
    }

private:
    QWidget* m_owner;
    bool m_failed = false;
};

void CopyAddress(IPodmiot* Podmiot, const TInput& In, TStore& Store) {
    static const QList<std::pair<const char*, const char*>> map{
        {"cDaneAdresoweDzialanosciKraj", "adSiedzNazwaKraju"},
        {"cDaneAdresoweDzialanosciWojewodztwo", "adSiedzNazwaWojewodztwa"},
        {"cDaneAdresoweDzialanosciPowiat", "adSiedzNazwaPowiatu"},
        {"cDaneAdresoweDzialanosciGmina", "adSiedzNazwaGminy"},
        {"cDaneAdresoweDzialanosciMiejscowosc", "adSiedzNazwaMiejscowosci"},
        {"cDaneAdresoweDzialanosciKodPocztowy", "adSiedzKodPocztowy"},
        {"cDaneAdresoweDzialanosciPoczta", "adSiedzNazwaMiejscowosciPoczty"},
        {"cDaneAdresoweDzialanosciUlica", "adSiedzNazwaUlicy"},
        {"cDaneAdresoweDzialanosciNrDomu", "adSiedzNumerNieruchomosci"},
        {"cDaneAdresoweDzialanosciNrLokalu", "adSiedzNumerLokalu"},
        {"cDaneAdresoweDzialanosciAdresOpisowy", "adSiedzNietypoweMiejsceLokalizacji"},
    };
    const TIntfPtr<IAdresyDzialalnosci> addresses = Podmiot->GetAdresyDzialalnosci();
    const TIntfPtr<IEwidarRecord> record = addresses ? addresses->New() : nullptr;
    if (!record)
        return;
    const QString prefix = QLatin1String(Prefix(In.Case));
    for (const auto& [symbol, id] : map)
        SetField(record.get(), QLatin1String(symbol), In.Value(prefix + QLatin1String(id)));
    const bool descriptive =
        !FieldValue(record->GetDataFields().get(), u"cDaneAdresoweDzialanosciAdresOpisowy").isEmpty();
    SetField(record.get(), QStringLiteral("cDaneAdresoweDzialanosciTypAdresu"),
             descriptive ? QStringLiteral("1,0,1") : QStringLiteral("1,0,0"));
    Store.PostUnlessDuplicate(addresses.get(), record.get());
}

void CopyAccounts(IPodmiot* Podmiot, const TInput& In, TStore& Store) {
    const TIntfPtr<IRachunkiBankowe> accounts = In.Accounts.isEmpty() ? nullptr : Podmiot->GetRachunkiBankowe();
    if (!accounts)
        return;
    QStringList held;
    for (int32_t i = 0; i < accounts->GetCount(); ++i) {
        const TIntfPtr<IEwidarRecord> record = accounts->GetItem(i);
        if (record)
            held << AccountKey(FieldValue(record->GetDataFields().get(), u"cDaneRachunkuNrRachunku"));
    }
    for (const QString& number : In.Accounts) {
        if (held.contains(AccountKey(number)))
            continue;
        const TIntfPtr<IEwidarRecord> record = accounts->New();
        if (!record)
            continue;
        SetField(record.get(), QStringLiteral("cDaneRachunkuNrRachunku"), number);
        // A business account: the register lists the accounts of the business.
        SetField(record.get(), QStringLiteral("cDaneRachunkuCharakterRachunku"), QStringLiteral("0"));
        if (!record->Post()) {
            Store.Fail(record->GetLastErrorCode());
            return;
        }
        held << AccountKey(number);
    }
}

void CopyActivities(TBaseFrame* Editor, IPodmiot* Podmiot, const TInput& In, TStore& Store) {
    const TIntfPtr<IRodzajeDzialalnosci> activities = Podmiot->GetRodzajeDzialalnosci();
    if (!activities)
        return;
    bool predominantSet = false;
    for (const QStringList& row : In.Activities) {
        const TIntfPtr<IEwidarRecord> record = activities->New();
        if (!record)
            continue;
        SetField(record.get(), QStringLiteral("cRodzajDzialalnosciKodPKD"), row.value(0));
        SetField(record.get(), QStringLiteral("cRodzajDzialalnosciOpisPKD"), row.value(1));
        if (!Store.PostUnlessDuplicate(activities.get(), record.get())) {
            if (Store.Failed())
                return;
            continue;
        }
        // The register marks the predominant activity "1" (others "0" or nothing); only the
        // first such row becomes the subject's main activity.
        if (row.value(2).trimmed() != QLatin1String("1") || predominantSet)
            continue;
        predominantSet = true;
        if (auto* section = Editor->findChild<TBaseFrame*>(QStringLiteral("RodzajDzialalnosciFrame1")))
            section->SetEwidarRecord(record);
        Podmiot->SetRodzajPrzewazajacejDzialalnosci(record.get());
    }
}

void CopyBranches(IPodmiot* Podmiot, const TInput& In, TStore& Store) {
    static const char* const symbols[] = {
        "cDaneOddzialuREGON", "cDaneOddzialuNazwa",       "cDaneOddzialuWojewodztwo", "cDaneOddzialuPowiat",
        "cDaneOddzialuGmina", "cDaneOddzialuMiejscowosc", "cDaneOddzialuUlica"};
    const TIntfPtr<IOddzialy> branches = Podmiot->GetOddzialy();
    if (!branches)
        return;
    for (const QStringList& row : In.LocalUnits) {
        if (UnitEnded(row))
            continue;
        const TIntfPtr<IEwidarRecord> record = branches->New();
        if (!record)
            continue;
        for (int c = 0; c < 7; ++c)
            SetField(record.get(), QLatin1String(symbols[c]), row.value(c));
        Store.PostUnlessDuplicate(branches.get(), record.get());
        if (Store.Failed())
            return;
    }
}

bool StoreRecords(TBaseFrame* Editor, IPodmiot* Podmiot, const TInput& In, QWidget* Owner) {
    IEwidarDataBase* db = Editor->EwidarDataBase().get();
    if (db && !db->StartTransaction()) {
        ShowUserMessage(static_cast<uint32_t>(db->GetLastErrorCode()), Owner);
        return false;
    }
    TStore store(Owner);
    CopyAddress(Podmiot, In, store);
    CopyActivities(Editor, Podmiot, In, store);
    const bool branches = In.Case == rcOsobaFizyczna || In.Case == rcJednostkaPrawna;
    if (branches && !store.Failed())
        CopyBranches(Podmiot, In, store);
    if (!store.Failed())
        CopyAccounts(Podmiot, In, store);
    // After a refusal the backend has rolled the transaction back; committing now would
    // store whatever a backend kept of it.
    if (store.Failed())
        return false;
    if (db && !db->Commit()) {
        ShowUserMessage(static_cast<uint32_t>(db->GetLastErrorCode()), Owner);
        return false;
    }
    return true;
}

} // namespace

TPanel* EditorPanel(TBaseFrame* Editor, const QString& Name) {
    return OwnPanel(Editor, Name);
}

QString AccountKey(const QString& Number) {
    QString digits;
    for (const QChar c : Number)
        if (c.isDigit())
            digits += c;
    return digits;
}

QList<std::pair<QString, QString>> PanelMap(TRegonCase Case) {
    QList<std::pair<QString, QString>> map;
    const QString p = QLatin1String(Prefix(Case));
    auto add = [&](const char* Panel, const QString& Id) {
        map.append({QLatin1String(Panel), Id});
    };
    if (Case == rcOsobaFizyczna) {
        add("pnlPierwszeImie", "fiz_imie1");
        add("pnlDrugieImie", "fiz_imie2");
        add("pnlNazwisko", "fiz_nazwisko");
        add("pnlREGON", "fiz_regon9");
        add("pnlNIP", "fiz_nip");
    } else if (Case == rcJednostkaPrawna) {
        add("pnlREGON", "praw_regon9");
        // A legal person's NIP is the company's NIP, not the natural person's one.
        add("pnlNIP2", "praw_nip");
    } else if (Case != rcNone) {
        add("pnlREGON", p + QStringLiteral("regon14"));
    }
    if (Case == rcNone)
        return map;
    add("pnlNazwaFirmy", p + QStringLiteral("nazwa"));
    add("pnlNazwaOrganuProwadzacegoEwidencje", p + QStringLiteral("nazwaOrganuRejestrowego"));
    add("pnlNazwaEwidencji", p + QStringLiteral("nazwaRodzajuRejestru"));
    add("pnlNumerEwidencji", Case == rcOsobaFizyczna || Case == rcJednostkaLokalnaOsobyFizycznej
                                 ? p + QStringLiteral("numerwRejestrzeEwidencji")
                                 : p + QStringLiteral("numerWrejestrzelubEwidencji"));
    add("pnlDataRozpoczeciaDzialalnosci", p + QStringLiteral("dataRozpoczeciaDzialalnosci"));
    add("pnlDataRejestracji", p + QStringLiteral("dataWpisuDoRejestruEwidencji"));
    if (Case == rcJednostkaPrawna) {
        add("pnlNrTelefonu", "praw_numerTelefonu");
        add("pnlNrFaksu", "praw_numerFaksu");
        add("pnlAdresEMail", "praw_adresEmail");
        add("pnlStronaWWW", "praw_adresStronyinternetowej");
    }
    return map;
}

QString KindButton(TRegonCase Case) {
    // A legal person's local unit belongs to a legal person as well.
    return Case == rcJednostkaPrawna || Case == rcJednostkaLokalnaJednostkiPrawnej
               ? QStringLiteral("RadioButton6")
               : QStringLiteral("RadioButton5");
}

bool UnitEnded(const QStringList& Row) {
    return !Row.value(7).trimmed().isEmpty();
}

bool HasEqual(IEwidarSectionCollection* Collection, IEwidarRecord* Record) {
    const TIntfPtr<IDataFields> fields = Record->GetDataFields();
    if (!Collection || !fields)
        return false;
    const int32_t count = fields->GetCount();
    for (int32_t i = 0; i < Collection->GetCount(); ++i) {
        const TIntfPtr<IEwidarRecord> other = Collection->GetItem(i);
        const TIntfPtr<IDataFields> otherFields = other ? other->GetDataFields() : nullptr;
        if (!otherFields || otherFields->GetCount() != count)
            continue;
        bool equal = true;
        for (int32_t f = 0; f < count && equal; ++f) {
            const std::u16string symbol = fields->GetSymbol(f);
            equal = FieldValue(fields.get(), symbol) == FieldValue(otherFields.get(), symbol);
        }
        if (equal)
            return true;
    }
    return false;
}

TResult Copy(TBaseFrame* Editor, const TInput& In, QWidget* Owner) {
    if (!Editor || In.Case == rcNone)
        return crCopied;
    const TIntfPtr<IPodmiot> podmiot = Supports<IPodmiot>(Editor->EwidarRecord());
    const bool localUnit =
        In.Case == rcJednostkaLokalnaOsobyFizycznej || In.Case == rcJednostkaLokalnaJednostkiPrawnej;
    if (localUnit && !podmiot)
        return crCopied;

    const auto map = PanelMap(In.Case);
    QList<std::pair<TPanel*, QString>> targets;
    bool filled = false;
    for (const auto& [name, id] : map) {
        TPanel* panel = OwnPanel(Editor, name);
        const QString value = In.Value(id);
        if (!panel || (In.KeepWhereEmpty && value.isEmpty()))
            continue;
        targets.append({panel, value});
        // A partial source does not ask about a panel that already holds what it brings (the
        // NIP typed to ask by).
        filled = filled || (Filled(panel) && !(In.KeepWhereEmpty && panel->Value() == value));
    }
    if (filled && ShowUserMessage(kMsgOverwrite, Owner) != ModalResult::mrYes)
        return crDeclined;

    if (auto* kind = Editor->findChild<QAbstractButton*>(KindButton(In.Case)))
        kind->setChecked(true);
    for (const auto& [panel, value] : targets)
        panel->SetValue(value);

    if (!podmiot)
        return crCopied;
    return StoreRecords(Editor, podmiot.get(), In, Owner) ? crCopied : crFailed;
}

} // namespace RegonCopy
