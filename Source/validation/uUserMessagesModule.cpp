#include "uUserMessagesModule.h"

#include "uDataBaseModule.h"

#include <QWidget>

#include <memory>
#include <string>

namespace {

TUserMessagesModule* g_module = nullptr;

TMsgButtons OkButton() {
    return {{TMsgDlgBtn::mbOK, QStringLiteral("Ok")}};
}

TMsgButtons YesNoButtons() {
    return {{TMsgDlgBtn::mbYes, QStringLiteral("Tak")}, {TMsgDlgBtn::mbNo, QStringLiteral("Nie")}};
}

TUserMessageRecord M(uint32_t Code, TMsgDlgType Icon, const TMsgButtons& Buttons, const QString& Text) {
    return {Code, Text, Icon, Buttons};
}

TUserMessages BuildCatalogue() {
    return {
        M(1, TMsgDlgType::mtError, OkButton(), QStringLiteral("Puste zapytanie do bazy danych.")),
        M(2, TMsgDlgType::mtError, OkButton(), QStringLiteral("Brak połączenia z bazą danych.")),
        M(3, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Błąd podczas wykonywania zapytania w bazie danych.")),
        M(4, TMsgDlgType::mtError, OkButton(),
          QStringLiteral(
              "Błąd podczas tworzenia katalogu, błędna ścieżka lub wymagane są prawa administratora.")),
        M(5, TMsgDlgType::mtError, OkButton(), QStringLiteral("Błąd podczas otwierania bazy danych.")),
        M(6, TMsgDlgType::mtError, OkButton(), QStringLiteral("Błąd podczas zamykania bazy danych.")),
        M(7, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Błąd podczas otwierania transakcji w bazie danych.")),
        M(8, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Błąd podczas zamykania transakcji w bazie danych.")),
        M(9, TMsgDlgType::mtError, OkButton(), QStringLiteral("Błąd podczas zapisu danych do bloba.")),
        M(10, TMsgDlgType::mtError, OkButton(), QStringLiteral("Błąd podczas odczytu danych z bloba.")),
        M(11, TMsgDlgType::mtError, OkButton(), QStringLiteral("Błędny typ pola w bazie danych.")),
        M(12, TMsgDlgType::mtError, OkButton(), QStringLiteral("Brak klucza głównego.")),
        M(13, TMsgDlgType::mtError, OkButton(), QStringLiteral("Wzkazany PORT nie jest liczbą.")),
        M(14, TMsgDlgType::mtError, OkButton(), QStringLiteral("Nie znaleziono bazy danych.")),
        M(20, TMsgDlgType::mtError, OkButton(), QStringLiteral("Brak połączenia z serwerem MySQL.")),
        M(21, TMsgDlgType::mtError, OkButton(), QStringLiteral("Błędna nazwa użytkownika lub hasło.")),
        M(22, TMsgDlgType::mtError, OkButton(), QStringLiteral("Utracono połączenie z serwerem MySQL.")),
        M(23, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Plik bazy danych jest aktualnie zablokowany.")),
        M(24, TMsgDlgType::mtError, OkButton(), QStringLiteral("Nie odnaleziono kolumny.")),
        M(101, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Krytyczny błąd podczas otwierania bazy danych.")),
        M(102, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Krytyczny błąd podczas zamykania bazy danych.")),
        M(103, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Brak połączenia.")),
        M(104, TMsgDlgType::mtError, OkButton(), QStringLiteral("Brak klucza głównego.")),
        M(105, TMsgDlgType::mtWarning, OkButton(),
          QStringLiteral("Dane aktualnie są zablokowane, inny użytkownik jest w trakcie edycji.")),
        M(106, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Dane zostały usunięte.")),
        M(200, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Dane są tylko do odczytu.")),
        M(201, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Katastrofalny błąd podczas usuwania danych")),
        M(202, TMsgDlgType::mtWarning,
          {{TMsgDlgBtn::mbOK, QStringLiteral("Powiązania")},
           {TMsgDlgBtn::mbClose, QStringLiteral("Zamknij")}},
          QStringLiteral("Nie można usunąć danych powiązanych z innymi danymi.\r\n\r\nAby sprawdzić z czym "
                         "jest powiązany dany rekord, kliknij na niego prawym przyciskiem myszki i wybierz "
                         "\"powiązania\"\r\nlub naciśnij przycisk \"powiązania\" poniżej.")),
        M(203, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Katastrofalny błąd podczas importu danych.")),
        M(204, TMsgDlgType::mtWarning, OkButton(),
          QStringLiteral("Import danych przerwany przez użytkownika.")),
        M(205, TMsgDlgType::mtError, OkButton(),
          QStringLiteral("Katastrofalny błąd podczas scalania danych.")),
        M(300, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Pola zostały zmodyfikowane.\r\nCzy na pewno zamknąć?")),
        M(301, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Czy na pewno usunąć wybrane dane?\r\n\r\n%s")),
        M(302, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Czy usunąć powiązanie?\r\n\r\n%s")),
        M(303, TMsgDlgType::mtWarning, OkButton(),
          QStringLiteral("Te dane są aktualnie edytowane w innym oknie.")),
        M(304, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Nie można podpiąć samego siebie.")),
        M(305, TMsgDlgType::mtInformation, OkButton(), QStringLiteral("Dane nie mają powiązań.")),
        M(306, TMsgDlgType::mtInformation, OkButton(),
          QStringLiteral("Dane nie posiadają powiązań globalnych.")),
        M(307, TMsgDlgType::mtInformation, OkButton(),
          QStringLiteral("Należy wpisać tylko cyfry środkowe z 26-znakowego numeru rachunku bankowego, tj. "
                         "pominąć dwie cyfry kontrolne i siedem ostatnich cyfr:\r\nXX_ _ _ _ _ _ _ _ _ _ _ _ "
                         "_ _ _ _ _ XXXXXXX.\r\nPozostałe cyfry program uzupełni z automatu w zależności od "
                         "potrzeb: CIT, VAT, PIT, itd.")),
        M(308, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Czy na pewno usunąć zaznaczone (%s) rekordy?")),
        M(309, TMsgDlgType::mtWarning, {{TMsgDlgBtn::mbYes, QStringLiteral("Ok")}},
          QStringLiteral("Proszę wypełnić wszystkie pola.")),
        M(310, TMsgDlgType::mtError, {{TMsgDlgBtn::mbYes, QStringLiteral("Ok")}},
          QStringLiteral("Wystąpił błąd podczas usuwania pola.")),
        M(311, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral(
              "Czy na pewno usunąć wybrane pole?\r\n\r\nDane zapisane pod symbolem \"%s\" zostaną w bazie.")),
        M(312, TMsgDlgType::mtInformation, {{TMsgDlgBtn::mbYes, QStringLiteral("Ok")}},
          QStringLiteral("W opracowaniu.")),
        M(313, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Pole o takim symbolu już istnieje.")),
        M(314, TMsgDlgType::mtInformation, OkButton(), QStringLiteral("Nie znaleziono pól.")),
        M(315, TMsgDlgType::mtWarning, YesNoButtons(),
          QStringLiteral("Podmiot o takim identyfikatorze podatkowym już istnieje.\r\nCzy dodać mimo to?")),
        M(316, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Istniejące dane zostaną nadpisane.\r\nCzy skopiować mimo to?")),
        M(317, TMsgDlgType::mtWarning, {{TMsgDlgBtn::mbYes, QStringLiteral("Zamknij")}},
          QStringLiteral("Źródłowa baza danych nie może być taka sama jak docelowa.")),
        M(318, TMsgDlgType::mtInformation, {{TMsgDlgBtn::mbYes, QStringLiteral("Ok")}},
          QStringLiteral("Przenoszenie danych zakończone.")),
        M(319, TMsgDlgType::mtError, {{TMsgDlgBtn::mbYes, QStringLiteral("Ok")}},
          QStringLiteral(
              "Nie odnaleziono Biblioteki QuorDataBase.dll\r\nlub wystąpił błąd podczas jej uruchamiania.")),
        M(320, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Usunać grupę \"%s\" wraz z jej wszystkimi operatorami?")),
        M(321, TMsgDlgType::mtConfirmation, YesNoButtons(), QStringLiteral("Usunać operatora \"%s\" ?")),
        M(322, TMsgDlgType::mtWarning, OkButton(),
          QStringLiteral("Aby wykonać czynność najpierw zaznacz element.")),
        M(323, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Nazwa grupy nie może być pusta.")),
        M(324, TMsgDlgType::mtWarning, OkButton(), QStringLiteral("Login operatora nie może być pusta.")),
        M(325, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Czy na pewno usunąć powiązanie z danymi?\r\n\r\n%s")),
        M(326, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Czy na pewno usunąć powiązania z wybranymi (%s) danymi?")),
        M(327, TMsgDlgType::mtConfirmation, YesNoButtons(),
          QStringLiteral("Czy scalić dane?\r\n\r\nPozostanie: %s\r\nZostanie usunięty: %s\r\n\r\nWybrane "
                         "wartości zostaną zapisane w pozostającym rekordzie, a wszystkie dane i powiązania "
                         "usuwanego rekordu zostaną do niego przeniesione.")),
        M(328, TMsgDlgType::mtInformation, OkButton(), QStringLiteral("Nie znaleziono duplikatów.")),
        M(329, TMsgDlgType::mtWarning, OkButton(),
          QStringLiteral("Aby scalić dane, zaznacz na liście dokładnie dwa rekordy.")),
    };
}

} // namespace

TUserMessagesModule::TUserMessagesModule(TDataBaseModule* DataBaseModule)
    : FDataBaseModule(DataBaseModule), FUserMessages(BuildCatalogue()) {}

TUserMessageRecord TUserMessagesModule::FindUserMessage(uint32_t ErrorCode) const {
    for (const TUserMessageRecord& entry : FUserMessages)
        if (entry.errCode == ErrorCode)
            return entry;
    return {};
}

QString TUserMessagesModule::BackendMessage(uint32_t ErrorCode) const {
    if (!FDataBaseModule || !FDataBaseModule->FEwidarDataBase || !FDataBaseModule->FGetLastError)
        return QString();
    const std::u16string id = FDataBaseModule->FEwidarDataBase->GetDataBaseID();
    std::u16string text;
    std::u16string link;
    // A function that does not know the code may still leave text behind.
    if (!FDataBaseModule->FGetLastError(static_cast<int32_t>(ErrorCode), id, text, link))
        return QString();
    QString result = QString::fromStdU16String(text);
    if (!text.empty() && !link.empty())
        result += QStringLiteral("\r\n\r\nWięcej informacji:\r\n") + QString::fromStdU16String(link);
    return result;
}

QString TUserMessagesModule::FormatMessage(const QString& Text, const QVariantList& Args) {
    QString result;
    result.reserve(Text.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text.at(i);
        if (c == QLatin1Char('%') && i + 1 < Text.size()) {
            const QChar spec = Text.at(i + 1);
            if (spec == QLatin1Char('%')) {
                result += c;
                ++i;
                continue;
            }
            if (spec == QLatin1Char('s') && next < Args.size()) {
                result += Args.at(next++).toString();
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

TMsgButtons TUserMessagesModule::DialogButtons(const TMsgButtons& Buttons) {
    TMsgButtons result;
    constexpr int kinds = static_cast<int>(TMsgDlgBtn::mbClose) + 1;
    for (int k = 0; k < kinds; ++k) {
        const auto kind = static_cast<TMsgDlgBtn>(k);
        for (const TMsgButton& b : Buttons) {
            if (b.ButtonType == kind) {
                result.append({kind, QString()});
                break;
            }
        }
    }
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i].ButtonCaption = Buttons.at(i).ButtonCaption;
    return result;
}

int TUserMessagesModule::ShowUserMessage(QWidget* OwnerForm, uint32_t ErrorCode) {
    if (!FEnabled || ErrorCode == 0)
        return ModalResult::mrNotShown;
    const QString backendText = BackendMessage(ErrorCode);
    const TUserMessageRecord entry = FindUserMessage(ErrorCode);
    if (entry.errCode != 0)
        return ShowEntry(OwnerForm, entry, entry.errMsg);
    if (backendText.isEmpty())
        return ModalResult::mrNotShown;
    const TUserMessageRecord backendEntry{ErrorCode, backendText, TMsgDlgType::mtError, OkButton()};
    return ShowEntry(OwnerForm, backendEntry, backendText);
}

int TUserMessagesModule::ShowUserMessage(QWidget* OwnerForm, uint32_t ErrorCode, const QVariantList& Args) {
    if (Args.isEmpty())
        return ShowUserMessage(OwnerForm, ErrorCode);
    if (!FEnabled || ErrorCode == 0)
        return ModalResult::mrNotShown;
    const TUserMessageRecord entry = FindUserMessage(ErrorCode);
    if (entry.errCode == 0)
        return ModalResult::mrNotShown;
    return ShowEntry(OwnerForm, entry, FormatMessage(entry.errMsg, Args));
}

int TUserMessagesModule::ShowEntry(QWidget* OwnerForm, const TUserMessageRecord& Entry,
                                   const QString& Text) const {
    TMessageRequest request;
    request.Title = QString::fromUtf8(DialogTitle);
    request.Text = Text;
    request.Icon = Entry.errIcon;
    request.Buttons = DialogButtons(Entry.Buttons);
    request.Owner = OwnerForm;
    return MessagePresenter()->Present(request);
}

void SetUserMessagesModule(TUserMessagesModule* Module) {
    g_module = Module;
}

TUserMessagesModule* UserMessagesModule() {
    if (g_module)
        return g_module;
    static TUserMessagesModule standalone(nullptr);
    return &standalone;
}

int ShowUserMessage(uint32_t ErrorCode, QWidget* OwnerForm) {
    return UserMessagesModule()->ShowUserMessage(OwnerForm, ErrorCode);
}

int ShowUserMessage(uint32_t ErrorCode, const QVariantList& Args, QWidget* OwnerForm) {
    return UserMessagesModule()->ShowUserMessage(OwnerForm, ErrorCode, Args);
}
