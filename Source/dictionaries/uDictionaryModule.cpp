#include "uDictionaryModule.h"

#include "uDictionaryTables.h"

namespace {

TDictionaryFormOpener& Opener() {
    static TDictionaryFormOpener opener;
    return opener;
}

} // namespace

void TDictionaryModule::SetDictionaryFormOpener(TDictionaryFormOpener NewOpener) {
    Opener() = std::move(NewOpener);
}

void TDictionaryModule::Select(QWidget* Owner, TDictionaryType Type, TDictionaryRecord& Result) {
    if (Opener())
        Opener()(Owner, FInputDictionaryRecord, Type, Result);
}

void TDictionaryModule::Kraj(QWidget* Owner, const QString& KrajNazwa, TDictionaryRecord& Result) {
    Result.Clear();
    WaitForTable(dtKraje);
    FInputDictionaryRecord.Clear();
    FInputDictionaryRecord.KrajNazwa = KrajNazwa;
    Select(Owner, dtKraje, Result);
}

void TDictionaryModule::Powiat(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                               TDictionaryRecord& Result) {
    SelectAddress(Owner, dtPowiaty, {Wojewodztwo, Powiat}, Result);
}

void TDictionaryModule::Gmina(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                              const QString& Gmina, TDictionaryRecord& Result) {
    SelectAddress(Owner, dtGminy, {Wojewodztwo, Powiat, Gmina}, Result);
}

void TDictionaryModule::Miejscowosc(QWidget* Owner, const QString& Wojewodztwo, const QString& Powiat,
                                    const QString& Gmina, const QString& Miejscowosc,
                                    TDictionaryRecord& Result) {
    SelectAddress(Owner, dtMiejscowosci, {Wojewodztwo, Powiat, Gmina, Miejscowosc}, Result);
}

void TDictionaryModule::SelectAddress(QWidget* Owner, TDictionaryType Type, const TAddress& Input,
                                      TDictionaryRecord& Result) {
    Result.Clear();
    WaitForTable(Type);
    FInputDictionaryRecord.Clear();
    FInputDictionaryRecord.Wojewodztwo = Input.Wojewodztwo;
    FInputDictionaryRecord.Powiat = Input.Powiat;
    FInputDictionaryRecord.Gmina = Input.Gmina;
    FInputDictionaryRecord.Miejscowosc = Input.Miejscowosc;
    Select(Owner, Type, Result);
}

void TDictionaryModule::UrzadSkarbowy(QWidget* Owner, TDictionaryRecord& Result) {
    Result.Clear();
    WaitForTable(dtUS);
    FInputDictionaryRecord.Clear();
    Select(Owner, dtUS, Result);
}

void TDictionaryModule::Ulica(TDictionaryRecord& Result) {
    Result.Clear();
}

QString TDictionaryModule::WojewodztwaCommaText() {
    WaitForTable(dtWojewodztwa);
    QString text;
    for (const TWojewodztwoRecord& w : DictionaryTables().Wojewodztwa) {
        // A quote inside a name is doubled, as the comma-text reader expects.
        QString name = w.NazwaWojewodztwa;
        name.replace(u'"', QLatin1String("\"\""));
        text += u'"' + name + QLatin1String("\",");
    }
    text.chop(1);
    return text;
}

QString EmptyDictionaryHint(TDictionaryType Type) {
    switch (Type) {
    case dtKraje:
        return QStringLiteral("Słownik krajów jest pusty: zainstaluj pakiet iso-codes.");
    case dtUS:
        return QStringLiteral("Słownik urzędów skarbowych jest pusty. Zainstaluj listę urzędów programem "
                              "Kwadrel2015Import leżącym obok programu: Kwadrel2015Import urzedy LISTA.csv");
    default:
        return QStringLiteral(
            "Słownik adresów jest pusty. Zainstaluj pliki TERYT (TERC i SIMC) Głównego Urzędu "
            "Statystycznego programem Kwadrel2015Import leżącym obok programu: "
            "Kwadrel2015Import teryt TERC.csv SIMC.csv");
    }
}
