// The subject editor's rules: person type (A, B, C), the employee check, the tax-office
// rules, and what each context shows.

#include "TCheckBox.h"
#include "TRadioButton.h"
#include "uCollectionBaseFrame.h"
#include "uEditingPictures.h"
#include "uEwidarComponents_Panel.h"
#include "uPodmiotFrame.h"

#include <QTabWidget>

#include <QToolButton>
#include <algorithm>

namespace {

const TError kErrLegalEmployee{
    etValidate, QStringLiteral("Zaznaczono \"osoba prawna\" dla pracownika - popraw zaznaczenie.")};
const TError kErrLegalWithNatural{
    etValidate,
    QStringLiteral("Zaznaczono \"osoba prawna\" i jednocześnie zaznaczono przełącznik określający "
                   "dane osoby fizycznej.")};
const TError kErrTaxForm{etValidate,
                         QStringLiteral("Zaznaczono nieprawidłową formę opłacania podatku dochodowego.")};
const TError kErrNotSelfEmployed{
    etValidate, QStringLiteral("Zaznaczono \"nieprowadząca samodzielnie działalności gospodarczej\" i "
                               "jednocześnie zaznaczono przełącznik określający dane osoby prowadzącej "
                               "działalność samodzielnie.")};
const TError kErrTaxOffice{
    etValidate,
    QStringLiteral("Podano dane urzędu skarbowego a nie określono dla nich właściwości naczelnika "
                   "urzędu skarbowego - należy zaznaczyć przełącznik(-i) bezpośrednio nad tymi "
                   "danymi.")};

// A checked control stays enabled so that a wrong choice can still be changed.
template <class T> void EnableUnchecked(T* Control, bool Enabled) {
    Control->setEnabled(Control->isChecked() || Enabled);
}

// Visibility of an element per context: -1 leaves it as designed.
struct TContextRow {
    const char* Name;
    int Podatnik, Pracownik, Kontrahent;
};

const TContextRow kContextRows[] = {
    {"pnlDaneOsobyProwadzacejDzialalnoscSamodzielnie", 1, 0, 1},
    {"pnlRegonPanel", 1, 0, -1},
    {"btnSearchRregonGUS", 1, 0, 1},
    {"btnWykazVAT", 1, 0, 1},
    {"btnWypelnijZWykazuVAT", 1, 0, 1},
    {"btnWeryfikacje", 1, 0, 1},
    {"pnlDrugieImie", 1, 1, 0},
    {"pnlNazwiskoRodowe", 1, 1, 0},
    {"pnlImieOjca", 1, 1, 0},
    {"pnlImieMatki", 1, 1, 0},
    {"pnlDataUrodzenia", 1, 1, 0},
    {"pnlMiejsceUrodzenia", 1, 1, 0},
    {"pnlPlec", 1, 1, 0},
    {"ObywatelstwaCollection", 1, 1, 0},
    {"TabSheet3", 1, 0, 1},
    {"pnlNazwaOrganuProwadzacegoEwidencje", 1, -1, 0},
    {"pnlNazwaEwidencji", 1, -1, 0},
    {"pnlNumerEwidencji", 1, -1, 0},
    {"pnlDataRejestracji", 1, -1, 0},
    {"pnlDataRozpoczeciaDzialalnosci", 1, -1, 0},
    {"RodzajeDzialalnosciCollection", 1, -1, 0},
    {"RodzajDzialalnosciFrame1", 1, -1, 0},
    {"pnlStronaWWW", 1, 0, 1},
    {"TabSheet4", 1, 1, 0},
    {"DaneUrzeduStatystycznegoFrame1", 1, 0, -1},
    {"DaneSaduRejonowegoFrame1", 1, 0, -1},
    {"TabSheet5", 1, 0, 0},
    {"TabSheet6", 1, 0, 0},
    {"TabSheet8", 1, 0, 1},
    {"pnlPozostaleDanePersonalne", 1, 1, 0},
    {"pnlCzyLaczyWspolnoscMajatkowa", 1, 0, 0},
    {"pnlWspolnoscMajatkowaUstalaDnia", 1, 0, 0},
    {"pnlStanowisko", 0, 1, 0},
    {"pnlWymiarCzasuPracy", 0, 1, 0},
    {"pnlRodzajZatrudnienia", 0, 1, 0},
    {"pnlDataZwolnieniaZPracy", 0, 1, 0},
    {"pnlPokrewienstwoZPracodawca", 0, 1, 0},
    {"pnlInformacjeOStopniuNiepelnosprawnosci", 1, 1, 0},
    {"pnlInformacjeOEmeryturzeRencie", 1, 1, 0},
    {"ZamawiajacyCollection", 0, 0, 1},
    {"pnlRabatPanel", 0, 0, 1},
};

bool IsRegistryList(const TCollectionBaseFrame* List) {
    const QString name = List->objectName();
    return name == QLatin1String("PracownicyCollection") || name == QLatin1String("KontrahenciCollection") ||
           name == QLatin1String("PodatnicyCollection");
}

} // namespace

void TPodmiotFrame::SetKontekst(TKontekst Value) {
    TBaseFrame::SetKontekst(Value);
    m_kontekstSet = true;
    for (TCollectionBaseFrame* list : m_lists)
        ApplyKontekstTo(list);
    ShowActiveStrip(false);
    // Not built yet, it takes the context when it is.
    if (TBaseFrame* viewer = m_viewers.value("DaneReprezentantaFrame1"); viewer && Value != kPracownik)
        viewer->SetKontekst(Value);
    ApplyKontekst(Value);
}

void TPodmiotFrame::ApplyKontekstTo(TCollectionBaseFrame* List) {
    if (!IsRegistryList(List))
        List->SetKontekst(Kontekst());
}

void TPodmiotFrame::ApplyKontekst(TKontekst Value) {
    if (Value == kBrak)
        return;
    for (const TContextRow& row : kContextRows) {
        const int shown = Value == kPodatnik    ? row.Podatnik
                          : Value == kPracownik ? row.Pracownik
                                                : row.Kontrahent;
        if (shown < 0)
            continue;
        if (QWidget* tab = Tab(row.Name)) {
            PageControl1->setTabVisible(PageControl1->indexOf(tab), shown == 1);
        } else if (QWidget* slot = m_slots.value(QByteArray(row.Name))) {
            slot->setVisible(shown == 1); // lists, linked sections and viewers sit in slots of their own
        } else if (TPanel* panel = Panel(row.Name)) {
            panel->setVisible(shown == 1);
        } else if (auto* w = findChild<QWidget*>(QLatin1String(row.Name))) {
            w->setVisible(shown == 1);
        }
    }
}

void TPodmiotFrame::ShowActiveStrip(bool Show) {
    Panel4->setVisible(Show);
    pnlContainer->adjustSize();
}

// --- person type

void TPodmiotFrame::EmployeeCheck() {
    TPanel* kind = Panel("pnlDaneOsoby");
    if (Kontekst() == kPracownik && chkAktywny->isChecked() && kind->Value() == QLatin1String("1"))
        kind->SetError(kErrLegalEmployee);
    else if (kind->Error().ErrMsg == kErrLegalEmployee.ErrMsg)
        kind->ClearError();
}

void TPodmiotFrame::NaturalPersonError() {
    TPanel* panel = Panel("pnlDaneOsobyFizycznej");
    if (!RadioButton[5]->isChecked() && (RadioButton[7]->isChecked() || RadioButton[8]->isChecked()))
        panel->SetError(kErrLegalWithNatural);
    else
        panel->ClearError();
}

void TPodmiotFrame::PersonRulesA() {
    EmployeeCheck();
    const bool natural = RadioButton[5]->isChecked();
    const bool legal = RadioButton[6]->isChecked();
    for (int i : {9, 10})
        EnableUnchecked(RadioButton[size_t(i)], natural && RadioButton[8]->isChecked());
    for (int i : {7, 8})
        EnableUnchecked(RadioButton[size_t(i)], natural);
    NaturalPersonError();
    EnableUnchecked(CheckBox[9], legal);
    bool wrong = CheckBox[9]->isChecked() && !legal;
    for (int i = 5; i <= 8; ++i) {
        EnableUnchecked(CheckBox[size_t(i)], natural);
        wrong = wrong || (CheckBox[size_t(i)]->isChecked() && !natural);
    }
    TPanel* form = Panel("pnlFormaOplacaniaPodatku");
    if (wrong)
        form->SetError(kErrTaxForm);
    else
        form->ClearError();
}

void TPodmiotFrame::PersonRulesB() {
    const bool selfEmployed = RadioButton[8]->isChecked();
    for (int i : {9, 10})
        EnableUnchecked(RadioButton[size_t(i)], selfEmployed);
    PersonRulesC();
    for (int i : {7, 8})
        EnableUnchecked(RadioButton[size_t(i)], RadioButton[5]->isChecked());
    NaturalPersonError();
}

void TPodmiotFrame::PersonRulesC() {
    const bool selfEmployed = RadioButton[8]->isChecked();
    for (int i : {9, 10})
        EnableUnchecked(RadioButton[size_t(i)], selfEmployed);
    TPanel* panel = Panel("pnlDaneOsobyProwadzacejDzialalnoscSamodzielnie");
    if (!selfEmployed && (RadioButton[9]->isChecked() || RadioButton[10]->isChecked()))
        panel->SetError(kErrNotSelfEmployed);
    else
        panel->ClearError();
}

// --- tax offices

void TPodmiotFrame::TaxOfficeRules(int Office, TCheckBox* Changed) {
    // Each role belongs to at most one office: the same box of the other office is
    // disabled while this one is checked (a checked box itself always stays usable).
    if (Changed) {
        const size_t index = size_t(std::find(CheckBox.begin(), CheckBox.end(), Changed) - CheckBox.begin());
        if (index >= 1 && index <= 4) {
            TCheckBox* other = CheckBox[index <= 2 ? index + 2 : index - 2];
            EnableUnchecked(other, !Changed->isChecked());
        }
    }
    const char* const names[2][4] = {{"pnlNazwaUS1", "pnlNaczelnikUS1", "pnlAdresUS1", "pnlKontoUS1"},
                                     {"pnlNazwaUS2", "pnlNaczelnikUS2", "pnlAdresUS2", "pnlKontoUS2"}};
    const size_t first = Office == 1 ? 1 : 3;
    const bool chosen = CheckBox[first]->isChecked() || CheckBox[first + 1]->isChecked();
    TPanel* name = Panel(names[Office - 1][0]);
    name->SetIcon(chosen ? EditingPictures::TableIcon() : QPixmap());
    name->SetIconHint(chosen ? QStringLiteral("Tablica urzędów skarbowych") : QString());
    for (const char* n : names[Office - 1]) {
        TPanel* panel = Panel(n);
        const bool filled = panel->DataField() && !panel->Value().isEmpty();
        panel->setEnabled(chosen || filled);
        if (!chosen && filled)
            panel->SetError(kErrTaxOffice);
        else
            panel->ClearError();
    }
}

void TPodmiotFrame::WireRules() {
    for (int i = 7; i <= 10; ++i)
        RadioButton[size_t(i)]->setEnabled(false);
    auto onChange = [this](const char* Name, std::function<void()> Rule) {
        Panel(Name)->SetOnChange([Rule](TPanel*) { Rule(); });
    };
    onChange("pnlDaneOsoby", [this] { PersonRulesA(); });
    onChange("pnlFormaOplacaniaPodatku", [this] { PersonRulesA(); });
    onChange("pnlDaneOsobyFizycznej", [this] { PersonRulesB(); });
    onChange("pnlDaneOsobyProwadzacejDzialalnoscSamodzielnie", [this] { PersonRulesC(); });
    chkAktywny->SetOnChange([this](TCheckBox*) { EmployeeCheck(); });
    for (int office = 1; office <= 2; ++office) {
        const char* prefix[] = {"pnlNazwaUS", "pnlNaczelnikUS", "pnlAdresUS"};
        for (const char* p : prefix) {
            const QByteArray name = QByteArray(p) + QByteArray::number(office);
            Panel(name.constData())->SetOnChange([this, office](TPanel*) {
                TaxOfficeRules(office, nullptr);
            });
        }
        Panel(office == 1 ? "pnlTypNaczelnika1" : "pnlTypNaczelnika2")->SetOnChange([this, office](TPanel*) {
            TaxOfficeRules(office, nullptr);
        });
        TPanel* name = Panel(office == 1 ? "pnlNazwaUS1" : "pnlNazwaUS2");
        name->SetOnIconClick([this, office](TPanel*) { NazwaUSIconClick(office); });
        for (TPanel* p : {Panel(office == 1 ? "pnlNazwaUS1" : "pnlNazwaUS2"),
                          Panel(office == 1 ? "pnlNaczelnikUS1" : "pnlNaczelnikUS2"),
                          Panel(office == 1 ? "pnlAdresUS1" : "pnlAdresUS2"),
                          Panel(office == 1 ? "pnlKontoUS1" : "pnlKontoUS2")})
            p->setEnabled(false);
    }
    for (size_t i = 1; i <= 4; ++i) {
        TCheckBox* box = CheckBox[i];
        const int office = i <= 2 ? 1 : 2;
        connect(box, &QCheckBox::toggled, this, [this, office, box] { TaxOfficeRules(office, box); });
    }
}
