#include "uWhiteListForms.h"

#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uHTMLViewerModule.h"
#include "uMessagePresenter.h"
#include "uWhiteListAddress.h"
#include "uViesClient.h"
#include "uWhiteListClient.h"
#include "uWhiteListFlatFile.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QInputDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace WhiteListForms {

namespace {

const QString kTitle = QStringLiteral("Wykaz podatników VAT");

QString Esc(const QString& Text) {
    return Text.toHtmlEscaped();
}

void Row(QString& Html, const QString& Caption, const QString& Value) {
    if (!Value.isEmpty())
        Html += QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>").arg(Esc(Caption), Esc(Value));
}

QString FieldText(IEwidarRecord* Record, const std::u16string& Symbol) {
    const TIntfPtr<IDataFields> fields = Record ? Record->GetDataFields() : nullptr;
    const TIntfPtr<IDataField> field = fields ? fields->GetDataField(Symbol) : nullptr;
    return field ? QString::fromStdU16String(field->GetValue()) : QString();
}

void ShowError(QWidget* Owner, const QString& Text) {
    ShowMessageBox(Owner, kTitle, Text, TMsgDlgType::mtError);
}

std::u16string U(const QString& Text) {
    return Text.toStdU16String();
}

QString Q(const std::u16string& Text) {
    return QString::fromStdU16String(Text);
}

QString RegisterName(const std::u16string& Register) {
    if (Register == u"WL")
        return QStringLiteral("Wykaz podatników VAT – podmiot");
    if (Register == u"WL-RACHUNEK")
        return QStringLiteral("Wykaz podatników VAT – rachunek");
    if (Register == u"VIES")
        return QStringLiteral("VIES – numer VAT UE");
    return Q(Register);
}

TRegisterCheck NewCheck(const char16_t* Register, const QString& Identifier, const QDate& Date,
                        const QString& Outcome, const QString& RequestId, const QByteArray& Raw) {
    TRegisterCheck c;
    c.Register = Register;
    c.Identifier = U(Identifier);
    c.AskedDate = U(Date.toString(Qt::ISODate));
    c.Outcome = U(Outcome);
    c.Source = u"usługa";
    c.RequestId = U(RequestId);
    c.Raw = U(QString::fromUtf8(Raw));
    return c;
}

IEwidarDataBase* DataBaseOf(TBaseFrame* Frame) {
    return Frame ? Frame->EwidarDataBase().get() : nullptr;
}

} // namespace

namespace {
QString NipOfEditor(TBaseFrame* Editor) {
    for (const char* name : {"pnlNIP2", "pnlNIP"})
        if (TPanel* panel = Editor ? RegonCopy::EditorPanel(Editor, QLatin1String(name)) : nullptr)
            if (!panel->Value().trimmed().isEmpty())
                return panel->Value().trimmed();
    return {};
}
} // namespace

QString EditorNip(QWidget* Owner, TBaseFrame* Editor) {
    const QString nip = NipOfEditor(Editor);
    if (!nip.isEmpty())
        return nip;
    QInputDialog ask(Owner);
    ask.setWindowTitle(kTitle);
    ask.setLabelText(QStringLiteral("NIP podmiotu:"));
    ask.setOkButtonText(QStringLiteral("Sprawdź"));
    ask.setCancelButtonText(QStringLiteral("Anuluj"));
    return ask.exec() == QDialog::Accepted ? ask.textValue().trimmed() : QString();
}

bool KeepProof(QWidget* Owner, TBaseFrame* Editor, IEwidarDataBase* DataBase, TRegisterCheck& Check) {
    const TIntfPtr<IEwidarRecord> subject = Editor ? Editor->EwidarRecord() : nullptr;
    Check.SubjectID = subject ? subject->GetID() : 0;
    const TIntfPtr<IEwidarRegisterChecks> checks = Supports<IEwidarRegisterChecks>(DataBase);
    if (checks && checks->AddRegisterCheck(Check))
        return true;
    ShowError(Owner, checks ? QStringLiteral("Nie zapisano potwierdzenia sprawdzenia w bazie danych (kod %1); "
                                             "odpowiedź jest pokazana, ale nie zostanie zachowana.")
                                  .arg(DataBase->GetLastErrorCode())
                            : QStringLiteral("Ta baza danych nie przechowuje potwierdzeń sprawdzeń w rejestrach; "
                                             "odpowiedź jest pokazana, ale nie zostanie zachowana."));
    return false;
}

QString ConfirmationHtml(const TRegisterCheck& C) {
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>"
                                  "<h2>Potwierdzenie sprawdzenia: %1</h2><table>")
                       .arg(Esc(RegisterName(C.Register)));
    Row(html, QStringLiteral("Numer:"), Q(C.Identifier));
    Row(html, QStringLiteral("Rachunek:"), Q(C.Account));
    Row(html, QStringLiteral("Na dzień:"), Q(C.AskedDate));
    Row(html, QStringLiteral("Wynik:"), Q(C.Outcome));
    Row(html, QStringLiteral("Źródło odpowiedzi:"), Q(C.Source));
    Row(html, QStringLiteral("Identyfikator zapytania:"), Q(C.RequestId));
    Row(html, QStringLiteral("Zapytano:"), Q(C.AskedAt).replace(u'T', u' '));
    Row(html, QStringLiteral("Operator:"), Q(C.Operator));
    Row(html, QStringLiteral("Numer potwierdzenia w programie:"), QString::number(C.ID));
    html += QStringLiteral("</table><h4>Odpowiedź rejestru</h4><pre style=\"white-space: pre-wrap\">%1</pre></body></html>").arg(Esc(Q(C.Raw)));
    return html;
}

void ShowChecks(QWidget* Owner, TBaseFrame* Editor) {
    IEwidarDataBase* db = DataBaseOf(Editor);
    const TIntfPtr<IEwidarRegisterChecks> stored = Supports<IEwidarRegisterChecks>(db);
    if (!stored) {
        ShowError(Owner, QStringLiteral("Ta baza danych nie przechowuje potwierdzeń sprawdzeń w rejestrach."));
        return;
    }
    const TIntfPtr<IEwidarRecord> subject = Editor->EwidarRecord();
    const int32_t id = subject ? subject->GetID() : 0;
    const QString nip = id ? QString() : TWhiteListClient::NipDigits(NipOfEditor(Editor));
    std::vector<TRegisterCheck> checks;
    if ((id || !nip.isEmpty()) && !stored->GetRegisterChecks(id, U(nip), checks)) {
        ShowError(Owner, QStringLiteral("Nie można odczytać weryfikacji podmiotu (kod %1).").arg(db->GetLastErrorCode()));
        return;
    }
    TRegisterChecksForm form(Owner, std::move(checks));
    form.exec();
}

void CheckVies(QWidget* Owner, QWidget* Frame) {
    auto value = [Frame](const char* Name) {
        auto* panel = Frame ? Frame->findChild<TPanel*>(QLatin1String(Name)) : nullptr;
        return panel ? panel->Value().trimmed() : QString();
    };
    // The kind switch: "0" is "podatkowy".
    if (value("pnlTyp") != u"0" || value("pnlKodKraju").isEmpty() || value("pnlNumer").isEmpty()) {
        ShowMessageBox(Owner, QStringLiteral("VIES"),
                       QStringLiteral("W systemie VIES sprawdza się numer podatkowy: wybierz rodzaj \"podatkowy\", "
                                      "podaj kod kraju UE i numer."),
                       TMsgDlgType::mtWarning);
        return;
    }
    TViesClient client;
    TViesCheck check;
    if (!client.Check(value("pnlKodKraju"), value("pnlNumer"), check)) {
        ShowMessageBox(Owner, QStringLiteral("VIES"), client.LastError(), TMsgDlgType::mtError);
        return;
    }
    const QString number = check.CountryCode + check.VatNumber;
    TRegisterCheck proof = NewCheck(u"VIES", number, QDate::currentDate(),
                                    check.Valid ? QStringLiteral("ważny") : QStringLiteral("nieważny"),
                                    check.RequestIdentifier, check.Raw);
    TBaseFrame* editor = OwningSubjectEditor(Frame);
    KeepProof(Owner, editor, editor ? DataBaseOf(editor) : DataBaseOf(qobject_cast<TBaseFrame*>(Frame)), proof);
    QString text = QStringLiteral("Numer VAT %1 %2 w systemie VIES.").arg(number, check.Valid ? QStringLiteral("jest ważny")
                                                                                           : QStringLiteral("NIE JEST ważny"));
    if (!check.Name.isEmpty())
        text += QStringLiteral("\nNazwa: ") + check.Name;
    if (!check.Address.isEmpty())
        text += QStringLiteral("\nAdres: ") + QString(check.Address).replace(u'\n', QStringLiteral(", "));
    text += check.RequestIdentifier.isEmpty()
                ? QStringLiteral("\nBez numeru konsultacji: w ustawieniach nie podano numeru VAT UE biura (%1).")
                      .arg(ViesSettings::RequesterName)
                : QStringLiteral("\nNumer konsultacji: ") + check.RequestIdentifier;
    ShowMessageBox(Owner, QStringLiteral("VIES"), text,
                   check.Valid ? TMsgDlgType::mtInformation : TMsgDlgType::mtWarning);
}

TBaseFrame* OwningSubjectEditor(QWidget* Widget) {
    for (QWidget* w = Widget; w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<TBaseFrame*>(w); frame && Supports<IPodmiot>(frame->EwidarRecord()))
            return frame;
        // A window opened over another: look into its owner's frames.
        if (w->isWindow() && w->parentWidget())
            for (auto* frame : w->parentWidget()->window()->findChildren<TBaseFrame*>())
                if (Supports<IPodmiot>(frame->EwidarRecord()) && RegonCopy::EditorPanel(frame, QStringLiteral("pnlNIP")))
                    return frame;
    }
    return nullptr;
}

void CheckAccount(QWidget* Owner, QWidget* Frame, const QString& Account) {
    TBaseFrame* editor = OwningSubjectEditor(Frame);
    TWhiteListAccountForm form(Owner, Account, NipOfEditor(editor));
    if (form.exec() != QDialog::Accepted)
        return;
    const QString nip = form.edtNIP->text().trimmed();
    const QDate date = form.edtData->date();
    TWhiteListClient client;
    TWhiteListCheck check;
    IEwidarDataBase* db = editor ? DataBaseOf(editor) : DataBaseOf(qobject_cast<TBaseFrame*>(Frame));
    if (!client.CheckAccount(nip, Account, date, check)) {
        if (client.ServiceUnavailable())
            CheckAccountInFlatFile(Owner, editor, db, nip, Account, date, client.LastError());
        else
            ShowError(Owner, client.LastError());
        return;
    }
    TRegisterCheck proof = NewCheck(u"WL-RACHUNEK", TWhiteListClient::NipDigits(nip), date,
                                    check.Assigned ? QStringLiteral("przypisany") : QStringLiteral("nieprzypisany"),
                                    check.RequestId, check.Raw);
    proof.Account = U(WhiteListAnswer::AccountDigits(Account));
    KeepProof(Owner, editor, db, proof);
    ShowMessageBox(Owner, kTitle,
                   QStringLiteral("Rachunek %1 %2 przypisany do podmiotu o numerze NIP %3 w wykazie podatników "
                                  "VAT na dzień %4.\nOdpowiedź usługi wykazu podatników VAT; identyfikator "
                                  "zapytania: %5")
                       .arg(Account.trimmed(), check.Assigned ? QStringLiteral("JEST") : QStringLiteral("NIE JEST"),
                            nip, date.toString(Qt::ISODate), check.RequestId),
                   check.Assigned ? TMsgDlgType::mtInformation : TMsgDlgType::mtWarning);
}

void CheckAccountInFlatFile(QWidget* Owner, TBaseFrame* Editor, IEwidarDataBase* DataBase, const QString& Nip,
                            const QString& Account, const QDate& Date, const QString& ServiceError) {
    using WhiteListFlatFile::TStatus;
    const QString why = ServiceError + QStringLiteral("\n\n");
    TWhiteListFlatStore store;
    QString error;
    if (!store.Open(WhiteListFlatFile::StorePath(), error)) {
        ShowError(Owner, why + QStringLiteral("Nie można też sprawdzić rachunku w pliku płaskim: ") + error);
        return;
    }
    const QString nip = TWhiteListClient::NipDigits(Nip);
    const QString account = WhiteListAnswer::AccountDigits(Account);
    const WhiteListFlatFile::TAnswer a = store.Check(nip, account, Date);
    const QString fileDay = a.FileDate.toString(Qt::ISODate);
    if (a.Status == TStatus::sOtherDate) {
        ShowError(Owner, why + QStringLiteral("Zaimportowany plik płaski wykazu podatników VAT jest z dnia %1 i "
                                              "odpowiada tylko na ten dzień, a pytanie dotyczy dnia %2. Zaimportuj "
                                              "plik z dnia %2 albo sprawdź rachunek na dzień %1.")
                                   .arg(fileDay, Date.toString(Qt::ISODate)));
        return;
    }
    const bool assigned = a.Status != TStatus::sNotFound;
    const QString status = a.Status == TStatus::sActive   ? QStringLiteral("czynny")
                           : a.Status == TStatus::sExempt ? QStringLiteral("zwolniony")
                                                          : QStringLiteral("brak");
    QJsonObject raw{{QStringLiteral("zrodlo"), QStringLiteral("plik płaski")},
                    {QStringLiteral("dataGenerowaniaDanych"), a.FileDate.toString(QStringLiteral("yyyyMMdd"))},
                    {QStringLiteral("liczbaTransformacji"), int(store.Summary().Rounds)},
                    {QStringLiteral("skrot"), QString::fromLatin1(a.Hash)},
                    {QStringLiteral("wynik"), status}};
    if (a.ByMask)
        raw.insert(QStringLiteral("maska"), a.Mask);
    const QString source = QStringLiteral("plik płaski %1").arg(fileDay);
    TRegisterCheck proof = NewCheck(u"WL-RACHUNEK", nip, Date,
                                    assigned ? QStringLiteral("przypisany") : QStringLiteral("nieprzypisany"), source,
                                    QJsonDocument(raw).toJson(QJsonDocument::Compact));
    proof.Source = u"plik płaski";
    proof.Account = U(account);
    KeepProof(Owner, Editor, DataBase, proof);
    QString text = QStringLiteral("Odpowiedź z pliku płaskiego z dnia %1 (usługa wykazu podatników VAT nie "
                                  "odpowiedziała: %2)\nRachunek %3 %4 przypisany do podmiotu o numerze NIP %5 w "
                                  "wykazie podatników VAT na dzień %1.")
                       .arg(fileDay, ServiceError, Account.trimmed(),
                            assigned ? QStringLiteral("JEST") : QStringLiteral("NIE JEST"), nip);
    if (assigned)
        text += QStringLiteral("\nPodatnik VAT %1%2.")
                    .arg(status, a.ByMask ? QStringLiteral("; rachunek wirtualny według maski ") + a.Mask : QString());
    else
        text += QStringLiteral("\nPlik płaski zawiera tylko rachunki podatników czynnych i zwolnionych.");
    ShowMessageBox(Owner, kTitle, text, assigned ? TMsgDlgType::mtInformation : TMsgDlgType::mtWarning);
}

QStringList SubjectAccounts(IPodmiot* Podmiot) {
    QStringList numbers;
    const TIntfPtr<IRachunkiBankowe> accounts = Podmiot ? Podmiot->GetRachunkiBankowe() : nullptr;
    for (int32_t i = 0; accounts && i < accounts->GetCount(); ++i) {
        const QString number = FieldText(accounts->GetItem(i).get(), u"cDaneRachunkuNrRachunku").trimmed();
        if (!number.isEmpty())
            numbers << number;
    }
    return numbers;
}

QString SearchHtml(const TWhiteListSearch& Search, const QDate& Date, const QStringList& OwnAccounts) {
    const TWhiteListSubject& s = Search.Subject;
    QString html = QStringLiteral("<h3>Wykaz podatników VAT na dzień %1</h3><table>").arg(Date.toString(Qt::ISODate));
    Row(html, QStringLiteral("Status:"), Search.Status());
    Row(html, QStringLiteral("Nazwa:"), s.Name);
    Row(html, QStringLiteral("NIP:"), s.Nip);
    Row(html, QStringLiteral("REGON:"), s.Regon);
    Row(html, QStringLiteral("KRS:"), s.Krs);
    Row(html, QStringLiteral("Adres siedziby:"), s.ResidenceAddress);
    Row(html, QStringLiteral("Adres miejsca prowadzenia działalności:"), s.WorkingAddress);
    Row(html, QStringLiteral("Data rejestracji jako podatnika VAT:"), s.RegistrationLegalDate);
    Row(html, QStringLiteral("Data odmowy rejestracji:"), s.RegistrationDenialDate);
    Row(html, QStringLiteral("Podstawa odmowy:"), s.RegistrationDenialBasis);
    Row(html, QStringLiteral("Data przywrócenia:"), s.RestorationDate);
    Row(html, QStringLiteral("Podstawa przywrócenia:"), s.RestorationBasis);
    Row(html, QStringLiteral("Data wykreślenia:"), s.RemovalDate);
    Row(html, QStringLiteral("Podstawa wykreślenia:"), s.RemovalBasis);
    Row(html, QStringLiteral("Identyfikator zapytania:"), Search.RequestId);
    Row(html, QStringLiteral("Czas odpowiedzi:"), Search.RequestDateTime);
    html += QStringLiteral("</table>");
    if (!Search.Found)
        html += QStringLiteral("<p>Podmiotu o tym numerze NIP nie ma w wykazie na ten dzień.</p>");
    html += QStringLiteral("<h4>Rachunki w wykazie</h4>");
    if (s.AccountNumbers.isEmpty())
        html += QStringLiteral("<p>Brak rachunków w wykazie.</p>");
    else {
        html += QStringLiteral("<ul>");
        for (const QString& a : s.AccountNumbers)
            html += QStringLiteral("<li>%1</li>").arg(Esc(WhiteListAnswer::GroupedAccount(a)));
        html += QStringLiteral("</ul>");
    }
    if (s.HasVirtualAccounts)
        html += QStringLiteral("<p>Podmiot posiada rachunki wirtualne (nie są wymienione w wykazie).</p>");
    html += QStringLiteral("<h4>Rachunki podmiotu</h4>");
    if (OwnAccounts.isEmpty())
        html += QStringLiteral("<p>Podmiot nie ma wpisanych rachunków.</p>");
    else {
        html += QStringLiteral("<table cellspacing=\"4\">");
        for (const QString& own : OwnAccounts) {
            const QString digits = WhiteListAnswer::AccountDigits(own);
            const bool listed = !digits.isEmpty() && s.AccountNumbers.contains(digits);
            html += QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>")
                        .arg(Esc(own), listed ? QStringLiteral("jest w wykazie")
                                              : QStringLiteral("<font color=\"#c00000\">brak w wykazie</font>"));
        }
        html += QStringLiteral("</table>");
    }
    return html;
}

RegonCopy::TInput FillInput(const TWhiteListSubject& S) {
    RegonCopy::TInput in;
    // A subject in the court register is a legal person; the others are natural persons
    // running a business under their firm's name.
    const bool legal = !S.Krs.isEmpty();
    in.Case = legal ? RegonCopy::rcJednostkaPrawna : RegonCopy::rcOsobaFizyczna;
    in.KeepWhereEmpty = true;
    in.Accounts = S.AccountNumbers;
    const QString p = legal ? QStringLiteral("praw_") : QStringLiteral("fiz_");
    const TWhiteListAddress a =
        SplitWhiteListAddress(S.WorkingAddress.isEmpty() ? S.ResidenceAddress : S.WorkingAddress);
    const bool anyAddress = !a.Street.isEmpty() || !a.Locality.isEmpty();
    const QHash<QString, QString> values{
        {p + QStringLiteral("nazwa"), S.Name},
        {p + QStringLiteral("regon9"), S.Regon},
        {p + QStringLiteral("nip"), S.Nip},
        {QStringLiteral("praw_numerWrejestrzelubEwidencji"), S.Krs},
        {QStringLiteral("praw_nazwaRodzajuRejestru"),
         legal ? QStringLiteral("Krajowy Rejestr Sądowy") : QString()},
        {p + QStringLiteral("adSiedzNazwaKraju"), anyAddress ? QStringLiteral("POLSKA") : QString()},
        {p + QStringLiteral("adSiedzNazwaMiejscowosci"), a.Locality},
        {p + QStringLiteral("adSiedzKodPocztowy"), a.PostalCode},
        {p + QStringLiteral("adSiedzNazwaMiejscowosciPoczty"), a.Locality},
        {p + QStringLiteral("adSiedzNazwaUlicy"), a.Street},
        {p + QStringLiteral("adSiedzNumerNieruchomosci"), a.House},
        {p + QStringLiteral("adSiedzNumerLokalu"), a.Flat},
    };
    in.Value = [values](const QString& Id) { return values.value(Id); };
    return in;
}

namespace {
// The editor's subject in the list today: false after a message (or when no NIP was given).
// An answer is kept as proof.
bool AskList(QWidget* Owner, TBaseFrame* Editor, QString& Nip, TWhiteListSearch& Search) {
    if (!Editor)
        return false;
    Nip = EditorNip(Owner, Editor);
    if (Nip.isEmpty())
        return false;
    TWhiteListClient client;
    const QDate today = QDate::currentDate();
    if (!client.SearchNip(Nip, today, Search)) {
        ShowError(Owner, client.LastError());
        return false;
    }
    TRegisterCheck proof = NewCheck(u"WL", TWhiteListClient::NipDigits(Nip), today, Search.Status(),
                                    Search.RequestId, Search.Raw);
    KeepProof(Owner, Editor, DataBaseOf(Editor), proof);
    return true;
}
} // namespace

void CheckSubject(QWidget* Owner, TBaseFrame* Editor) {
    QString nip;
    TWhiteListSearch search;
    if (!AskList(Owner, Editor, nip, search))
        return;
    const TIntfPtr<IPodmiot> podmiot = Supports<IPodmiot>(Editor->EwidarRecord());
    TWhiteListResultForm form(Owner, SearchHtml(search, QDate::currentDate(), SubjectAccounts(podmiot.get())));
    form.exec();
}

void FillSubject(QWidget* Owner, TBaseFrame* Editor) {
    QString nip;
    TWhiteListSearch search;
    if (!AskList(Owner, Editor, nip, search))
        return;
    if (!search.Found) {
        ShowMessageBox(Owner, kTitle,
                       QStringLiteral("Podmiotu o numerze NIP %1 nie ma w wykazie podatników VAT; nic nie "
                                      "skopiowano.")
                           .arg(nip),
                       TMsgDlgType::mtInformation);
        return;
    }
    RegonCopy::Copy(Editor, FillInput(search.Subject), Owner);
}

} // namespace WhiteListForms

TWhiteListResultForm::TWhiteListResultForm(QWidget* Owner, const QString& Html) : QDialog(Owner) {
    setObjectName(QStringLiteral("WhiteListResultForm"));
    setWindowTitle(QStringLiteral("Wykaz podatników VAT"));
    auto* layout = new QVBoxLayout(this);
    Text = new QTextBrowser(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setHtml(Html);
    layout->addWidget(Text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Zamknij"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 520);
}

TWhiteListAccountForm::TWhiteListAccountForm(QWidget* Owner, const QString& Account, const QString& Nip)
    : QDialog(Owner) {
    setObjectName(QStringLiteral("WhiteListAccountForm"));
    setWindowTitle(QStringLiteral("Sprawdź rachunek w wykazie VAT"));
    auto* layout = new QFormLayout(this);
    auto* account = new QLabel(Account, this);
    account->setTextFormat(Qt::PlainText);
    layout->addRow(QStringLiteral("Rachunek:"), account);
    edtNIP = new QLineEdit(Nip, this);
    edtNIP->setObjectName(QStringLiteral("edtNIP"));
    edtNIP->setMaxLength(13);
    layout->addRow(QStringLiteral("NIP podmiotu:"), edtNIP);
    edtData = new QDateEdit(QDate::currentDate(), this);
    edtData->setObjectName(QStringLiteral("edtData"));
    edtData->setCalendarPopup(true);
    edtData->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    // The list answers for past days and today, never for the future.
    edtData->setMaximumDate(QDate::currentDate());
    layout->addRow(QStringLiteral("Na dzień:"), edtData);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Sprawdź"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

TRegisterChecksForm::TRegisterChecksForm(QWidget* Owner, std::vector<TRegisterCheck> Checks)
    : QDialog(Owner), m_checks(std::move(Checks)) {
    using namespace WhiteListForms;
    setObjectName(QStringLiteral("RegisterChecksForm"));
    setWindowTitle(QStringLiteral("Weryfikacje podmiotu"));
    ShowPage = [](QWidget* Owner, const QString& Html) { HTMLViewerModule().Show(Owner, Html); };
    auto* layout = new QVBoxLayout(this);
    grdChecks = new QTableWidget(int(m_checks.size()), 8, this);
    grdChecks->setObjectName(QStringLiteral("grdChecks"));
    grdChecks->setHorizontalHeaderLabels({QStringLiteral("Zapytano"), QStringLiteral("Rejestr"),
                                          QStringLiteral("Na dzień"), QStringLiteral("Numer"),
                                          QStringLiteral("Rachunek"), QStringLiteral("Wynik"),
                                          QStringLiteral("Źródło"), QStringLiteral("Operator")});
    grdChecks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdChecks->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdChecks->setSelectionMode(QAbstractItemView::SingleSelection);
    grdChecks->verticalHeader()->hide();
    for (int r = 0; r < int(m_checks.size()); ++r) {
        const TRegisterCheck& c = m_checks[size_t(r)];
        const QString cells[] = {Q(c.AskedAt).replace(u'T', u' '), RegisterName(c.Register), Q(c.AskedDate),
                                 Q(c.Identifier), Q(c.Account), Q(c.Outcome), Q(c.Source), Q(c.Operator)};
        for (int col = 0; col < 8; ++col)
            grdChecks->setItem(r, col, new QTableWidgetItem(cells[col]));
    }
    grdChecks->resizeColumnsToContents();
    if (!m_checks.empty())
        grdChecks->selectRow(0);
    layout->addWidget(grdChecks);
    if (m_checks.empty())
        layout->addWidget(new QLabel(QStringLiteral("Podmiot nie był jeszcze sprawdzany w rejestrach."), this));
    auto* buttons = new QDialogButtonBox(this);
    btnPrint = buttons->addButton(QStringLiteral("Drukuj potwierdzenie"), QDialogButtonBox::ActionRole);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPrint->setEnabled(!m_checks.empty());
    buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnPrint, &QPushButton::clicked, this, [this] {
        const int row = grdChecks->currentRow();
        if (row >= 0 && row < int(m_checks.size()) && ShowPage)
            ShowPage(this, WhiteListForms::ConfirmationHtml(m_checks[size_t(row)]));
    });
    layout->addWidget(buttons);
    resize(900, 420);
}
