#include "uSubjectFields.h"

#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

namespace SubjectFields {

namespace {

std::vector<TField> BuildFields() {
    auto subject = [](const char* Key, const char* Caption, const TInternalFieldRecord& F, TCheck Check = ckNone) {
        return TField{QString::fromUtf8(Key), QString::fromUtf8(Caption), tgSubject, F.Symbol, Check};
    };
    auto address = [](const char* Key, const char* Caption, const TInternalFieldRecord& F, TCheck Check = ckNone) {
        return TField{QString::fromUtf8(Key), QString::fromUtf8(Caption), tgAddress, F.Symbol, Check};
    };
    return {
        subject("nazwa", "Nazwa pełna (firma)", cDanePodmiotuNazwaFirmy),
        subject("nazwa_skrocona", "Nazwa skrócona", cDanePodmiotuSkroconaNazwaFirmy),
        subject("nazwisko", "Nazwisko", cDanePodmiotuNazwisko),
        subject("imie", "Imię", cDanePodmiotuPierwszeImie),
        subject("nip", "NIP", cDanePodmiotuNIP, ckNip),
        subject("regon", "REGON", cDanePodmiotuREGON, ckRegon),
        subject("pesel", "PESEL", cDanePodmiotuPESEL, ckPesel),
        subject("data_urodzenia", "Data urodzenia", cDanePodmiotuDataUrodzenia, ckDate),
        subject("telefon", "Telefon", cDanePodmiotuNrTelefonu),
        subject("email", "E-mail", cDanePodmiotuAdresEMail, ckEmail),
        subject("www", "Strona WWW", cDanePodmiotuStronaWWW),
        subject("opis", "Opis", cDanePodmiotuOpis),
        address("kraj", "Kraj", cDaneAdresoweKraj),
        address("wojewodztwo", "Województwo", cDaneAdresoweWojewodztwo),
        address("powiat", "Powiat", cDaneAdresowePowiat),
        address("gmina", "Gmina", cDaneAdresoweGmina),
        address("miejscowosc", "Miejscowość", cDaneAdresoweMiejscowosc),
        address("ulica", "Ulica", cDaneAdresoweUlica),
        address("nr_domu", "Nr domu", cDaneAdresoweNrDomu),
        address("nr_lokalu", "Nr lokalu", cDaneAdresoweNrLokalu),
        address("kod_pocztowy", "Kod pocztowy", cDaneAdresoweKodPocztowy, ckPostalCode),
        address("poczta", "Poczta", cDaneAdresowePoczta),
        TField{QStringLiteral("rachunek"), QStringLiteral("Numer rachunku bankowego"), tgAccount,
               cDaneRachunkuNrRachunku.Symbol, ckAccount},
    };
}

TIntfPtr<IDataFields> DataFields(IEwidarRecord* Record) {
    return Record ? Record->GetDataFields() : TIntfPtr<IDataFields>();
}

QString FieldValue(IDataFields* Fields, const QString& Symbol) {
    const TIntfPtr<IDataField> field = Fields ? Fields->GetDataField(Symbol.toStdU16String()) : nullptr;
    return field ? QString::fromStdU16String(field->GetValue()) : QString();
}

TIntfPtr<IEwidarRecord> First(const TIntfPtr<IEwidarCollection>& List) {
    if (!List || List->GetCount() <= 0)
        return {};
    return EwidarKinds::CollectionGetItem(List.get(), 0);
}

} // namespace

const std::vector<TField>& Fields() {
    static const std::vector<TField> fields = BuildFields();
    return fields;
}

int IndexOfKey(const QString& Key) {
    const auto& f = Fields();
    for (size_t i = 0; i < f.size(); ++i)
        if (f[i].Key == Key)
            return static_cast<int>(i);
    return -1;
}

QStringList Captions() {
    QStringList out;
    for (const TField& f : Fields())
        out.append(f.Caption);
    return out;
}

QStringList ReadSubject(IEwidarRecord* Subject) {
    const auto podmiot = Supports<IPodmiot>(Subject);
    TIntfPtr<IEwidarRecord> address;
    TIntfPtr<IEwidarRecord> account;
    if (podmiot) {
        address = First(podmiot->GetAdresy());
        account = First(podmiot->GetRachunkiBankowe());
    }
    const TIntfPtr<IDataFields> fields[] = {DataFields(Subject), DataFields(address.get()),
                                            DataFields(account.get())};
    QStringList out;
    for (const TField& f : Fields())
        out.append(FieldValue(fields[f.Target].get(), f.Symbol));
    return out;
}

} // namespace SubjectFields
