#include "uWhiteListForms.h"

#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uMessagePresenter.h"
#include "uWhiteListAddress.h"
#include "uWhiteListClient.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QInputDialog>
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

} // namespace

QString EditorNip(QWidget* Owner, TBaseFrame* Editor) {
    for (const char* name : {"pnlNIP2", "pnlNIP"})
        if (TPanel* panel = RegonCopy::EditorPanel(Editor, QLatin1String(name)))
            if (!panel->Value().trimmed().isEmpty())
                return panel->Value().trimmed();
    return QInputDialog::getText(Owner, kTitle, QStringLiteral("NIP podmiotu:")).trimmed();
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
        html += QStringLiteral("<table>");
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

void CheckSubject(QWidget* Owner, TBaseFrame* Editor) {
    if (!Editor)
        return;
    const QString nip = EditorNip(Owner, Editor);
    if (nip.isEmpty())
        return;
    TWhiteListClient client;
    TWhiteListSearch search;
    const QDate today = QDate::currentDate();
    if (!client.SearchNip(nip, today, search)) {
        ShowError(Owner, client.LastError());
        return;
    }
    const TIntfPtr<IPodmiot> podmiot = Supports<IPodmiot>(Editor->EwidarRecord());
    TWhiteListResultForm form(Owner, SearchHtml(search, today, SubjectAccounts(podmiot.get())));
    form.exec();
}

void FillSubject(QWidget* Owner, TBaseFrame* Editor) {
    if (!Editor)
        return;
    const QString nip = EditorNip(Owner, Editor);
    if (nip.isEmpty())
        return;
    TWhiteListClient client;
    TWhiteListSearch search;
    if (!client.SearchNip(nip, QDate::currentDate(), search)) {
        ShowError(Owner, client.LastError());
        return;
    }
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
