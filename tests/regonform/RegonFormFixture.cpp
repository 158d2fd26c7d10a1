#include "RegonFormFixture.h"

#include "RegonData.h"
#include "TestSupport.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarQuorDBSymbole.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegonSettings.h"
#include "uWyszukiwarkaRegonForm.h"
#include "uWyszukiwarkaRegonTables.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct TStandInPanel {
    const char* Name;
    const char* Symbol;
    TFieldType Kind;
};

const TStandInPanel kPanels[] = {
    {"pnlPierwszeImie", "cDanePodmiotuPierwszeImie", ctEdit},
    {"pnlDrugieImie", "cDanePodmiotuDrugieImie", ctEdit},
    {"pnlNazwisko", "cDanePodmiotuNazwisko", ctEdit},
    {"pnlREGON", "cDanePodmiotuREGON", ctEdit},
    {"pnlNIP", "cDanePodmiotuNIPOF", ctEdit},
    {"pnlNIP2", "cDanePodmiotuNIP", ctEdit},
    {"pnlNazwaFirmy", "cDanePodmiotuNazwaFirmy", ctEdit},
    {"pnlNazwaOrganuProwadzacegoEwidencje", "cDanePodmiotuNazwaOrganuProwadzacegoEwidencje", ctEdit},
    {"pnlNazwaEwidencji", "cDanePodmiotuNazwaEwidencji", ctEdit},
    {"pnlNumerEwidencji", "cDanePodmiotuNumerEwidencji", ctEdit},
    {"pnlDataRozpoczeciaDzialalnosci", "cDanePodmiotuDataRozpoczeciaDzialalnosci", ctDate},
    {"pnlDataRejestracji", "cDanePodmiotuDataRejestracji", ctDate},
    {"pnlNrTelefonu", "cDanePodmiotuNrTelefonu", ctEdit},
    {"pnlNrFaksu", "cDanePodmiotuNrFaksu", ctEdit},
    {"pnlAdresEMail", "cDanePodmiotuAdresEMail", ctEdit},
    {"pnlStronaWWW", "cDanePodmiotuStronaWWW", ctEdit},
};

} // namespace

TEditorStandIn::TEditorStandIn() {
    TPanel* container = CreateContainer(QStringLiteral("Podmiot"));
    QVBoxLayout* layout = container->Layout();
    // A branch viewer ahead of the subject's own panels, with a panel of the same name.
    auto* decoy = new TPanel(container);
    decoy->setObjectName(QStringLiteral("pnlREGON"));
    decoy->SetField(TInternalFieldRecord::Create(QStringLiteral("cDaneOddzialuREGON"),
                                                 QStringLiteral("oddział"), ctEdit));
    layout->addWidget(decoy);
    for (const TStandInPanel& p : kPanels) {
        auto* panel = new TPanel(container);
        panel->setObjectName(QLatin1String(p.Name));
        panel->SetField(TInternalFieldRecord::Create(QLatin1String(p.Symbol), QLatin1String(p.Name), p.Kind));
        layout->addWidget(panel);
    }
    RadioButton5 = new QRadioButton(QStringLiteral("osoba fizyczna"), container);
    RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
    RadioButton6 = new QRadioButton(QStringLiteral("osoba prawna"), container);
    RadioButton6->setObjectName(QStringLiteral("RadioButton6"));
    layout->addWidget(RadioButton5);
    layout->addWidget(RadioButton6);
    RodzajDzialalnosciFrame1 = new TBaseFrame(container);
    RodzajDzialalnosciFrame1->setObjectName(QStringLiteral("RodzajDzialalnosciFrame1"));
    layout->addWidget(RodzajDzialalnosciFrame1);
}

TPanel* TEditorStandIn::Panel(const char* Name) const {
    for (TPanel* panel : findChildren<TPanel*>(QLatin1String(Name)))
        if (!panel->Field().Symbol.startsWith(QLatin1String("cDaneOddzialu")))
            return panel;
    return nullptr;
}

void RegonFormTest::SetUp() {
    TestSupport::ClearSettings();
    BackendTest::SetUp();
    RegonData::Fill(Service);
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::ServiceAddressName,
                          Service.BaseAddress());
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::UserKeyName, Service.UserKey);
    Messages = std::make_unique<FakeMessagePresenter>();
    NewEditor();
}

void RegonFormTest::TearDown() {
    Form.reset();
    Editor.reset();
    Subject = nullptr;
    Messages.reset();
    BackendTest::TearDown();
    TestSupport::ClearSettings();
}

void RegonFormTest::NewEditor() {
    Form.reset();
    Editor = std::make_unique<TEditorStandIn>();
    Editor->SetEwidarDataBase(m_db);
    if (!Subject)
        Subject = Reg()->GetPodatnicy({})->New();
    ASSERT_TRUE(Subject);
    Editor->SetEwidarRecord(Subject);
}

void RegonFormTest::Search(const QString& Regon, const QString& Nip, const QString& Krs) {
    Form = std::make_unique<TWyszukiwarkaRegonForm>(nullptr, Editor.get());
    Form->btnRefreshCaptchaClick();
    Form->edtCaptcha->setText(Service.Code);
    Form->btnCheckCaptchaClick();
    ASSERT_FALSE(Form->pnlSearchInterface->isHidden()) << Form->lblTextStatus->text().toStdString();
    Form->pnlREGON->SetValue(Regon);
    Form->pnlNIP->SetValue(Nip);
    Form->pnlKRS->SetValue(Krs);
    Form->btnSearchClick();
}

QStringList RegonFormTest::VisibleTables() const {
    QStringList names;
    for (const char* name : {RegonTables::OsobaFizyczna, RegonTables::OsobaFizycznaDzialalnosc,
                             RegonTables::JednostkaLokalnaOsobyFizycznej, RegonTables::JednostkaPrawna,
                             RegonTables::JednostkaLokalnaJednostkiPrawnej})
        if (!Form->Table(name)->isHidden())
            names << QLatin1String(name);
    for (QWidget* grid : {Form->pnlDzialalnosciTableContainer, Form->pnlJLokalneTableContainer})
        if (!grid->isHidden())
            names << grid->objectName();
    return names;
}

QString RegonFormTest::StoredValue(IEwidarRecord* Record, const QString& Symbol) {
    const TIntfPtr<IDataField> field = Record->GetDataFields()->GetDataField(U(Symbol));
    return field ? Q(field->GetValue()) : QString();
}

QStringList RegonFormTest::Stored(const char* Collection, const QStringList& Symbols) {
    const TIntfPtr<IPodmiot> podmiot = Supports<IPodmiot>(Subject);
    TIntfPtr<IEwidarSectionCollection> list;
    if (qstrcmp(Collection, "adresy") == 0)
        list = podmiot->GetAdresyDzialalnosci();
    else if (qstrcmp(Collection, "pkd") == 0)
        list = podmiot->GetRodzajeDzialalnosci();
    else
        list = podmiot->GetOddzialy();
    QStringList lines;
    for (int32_t i = 0; list && i < list->GetCount(); ++i) {
        const TIntfPtr<IEwidarRecord> r = list->GetItem(i);
        QStringList values;
        for (const QString& s : Symbols)
            values << StoredValue(r.get(), s);
        lines << values.join(QLatin1Char('|'));
    }
    lines.sort();
    return lines;
}
