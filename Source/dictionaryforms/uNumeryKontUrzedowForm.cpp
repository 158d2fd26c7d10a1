#include "uNumeryKontUrzedowForm.h"

#include "uDictionaryButtons.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarQuorDBSymbole.h"
#include "uMessagePresenter.h"
#include "uMikrorachunek.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 359;
constexpr int kPanelHeight = 40;
constexpr int kMargin = 8;

} // namespace

TNumeryKontUrzedowForm::TNumeryKontUrzedowForm(QWidget* Owner) : TForm(Owner, Owner) {
    setObjectName(QStringLiteral("NumeryKontUrzedowForm"));
    setWindowTitle(QStringLiteral("Rachunki bankowe"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kMargin, 0, 0);
    layout->setSpacing(0);
    // Both offices' windows show the first office's captions.
    const auto panel = [&](const char* Name, const TInternalFieldRecord& Field) {
        auto* p = new TPanel(this);
        p->setObjectName(QString::fromLatin1(Name));
        p->SetField(Field);
        p->setFixedSize(kClientWidth - 2 * kMargin, kPanelHeight);
        layout->addWidget(p, 0, Qt::AlignHCenter);
        return p;
    };
    pnlRachunekCIT = panel("pnlRachunekCIT", cDanePodmiotuUS1RachunekCIT);
    pnlRachunekVAT = panel("pnlRachunekVAT", cDanePodmiotuUS1RachunekVAT);
    pnlRachunekVATUE1 = panel("pnlRachunekVATUE1", cDanePodmiotuUS1RachunekVATUE1);
    pnlRachunekVIUDVINDMOSS = panel("pnlRachunekVIUDVINDMOSS", cDanePodmiotuUS1RachunekVIUDVINDMOSS);
    pnlRachunekPIT = panel("pnlRachunekPIT", cDanePodmiotuUS1RachunekPIT);
    pnlRachunekPITSTD = panel("pnlRachunekPITSTD", cDanePodmiotuUS1RachunekPITSTD);
    pnlRachunekIND = panel("pnlRachunekIND", cDanePodmiotuUS1RachunekIND);
    pnlRachunekDoch = panel("pnlRachunekDoch", cDanePodmiotuUS1RachunekDoch);

    btnMikrorachunek = new QPushButton(QStringLiteral("Mikrorachunek podatkowy"), this);
    btnMikrorachunek->setObjectName(QStringLiteral("btnMikrorachunek"));
    btnMikrorachunek->setToolTip(QStringLiteral(
        "Wpisuje indywidualny rachunek podatkowy podmiotu (z jego NIP, a bez NIP z numeru PESEL) "
        "jako rachunek PIT, CIT i VAT"));
    btnMikrorachunek->setAutoDefault(false);
    layout->addSpacing(4);
    layout->addWidget(btnMikrorachunek, 0, Qt::AlignHCenter);
    connect(btnMikrorachunek, &QPushButton::clicked, this, &TNumeryKontUrzedowForm::btnMikrorachunekClick);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addSpacing(6);
    layout->addWidget(line);

    pnlButtons = DictionaryButtons::ButtonStrip(this, QStringLiteral("Ok"), btnPost, btnClose);
    pnlButtons->setFixedWidth(kClientWidth);
    layout->addWidget(pnlButtons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnPost, &QPushButton::clicked, this, [this] {
        FCloseStatus = csAccept;
        accept();
    });
    // "Anuluj", Escape and the close box reject the window: the status stays csCancel.
}

void TNumeryKontUrzedowForm::SetTaxpayer(const QString& Nip, const QString& Pesel) {
    m_nip = Nip;
    m_pesel = Pesel;
}

void TNumeryKontUrzedowForm::btnMikrorachunekClick() {
    const QString account = SubjectMikrorachunek(m_nip, m_pesel);
    if (account.isEmpty()) {
        ShowMessageBox(
            this, QStringLiteral("Mikrorachunek podatkowy"),
            QStringLiteral("Podmiot nie ma poprawnego numeru NIP ani PESEL, więc nie można ustalić jego "
                           "mikrorachunku podatkowego. Rachunki pozostają bez zmian."),
            TMsgDlgType::mtWarning);
        return;
    }
    for (TPanel* panel : {pnlRachunekPIT, pnlRachunekCIT, pnlRachunekVAT})
        panel->SetValue(account);
}

TNumeryKontUrzedowForm::TCloseStatus ShowTaxOfficeAccounts(QWidget* Owner, QString& PIT, QString& PITSTD,
                                                           QString& CIT, QString& VAT, QString& VATUE1,
                                                           QString& VIUDVINDMOSS, QString& Doch, QString& IND,
                                                           const QString& Nip, const QString& Pesel) {
    TNumeryKontUrzedowForm form(Owner);
    form.SetTaxpayer(Nip, Pesel);
    const std::pair<TPanel*, QString*> fields[] = {
        {form.pnlRachunekPIT, &PIT},       {form.pnlRachunekPITSTD, &PITSTD},
        {form.pnlRachunekCIT, &CIT},       {form.pnlRachunekVAT, &VAT},
        {form.pnlRachunekVATUE1, &VATUE1}, {form.pnlRachunekVIUDVINDMOSS, &VIUDVINDMOSS},
        {form.pnlRachunekDoch, &Doch},     {form.pnlRachunekIND, &IND},
    };
    for (const auto& [panel, value] : fields)
        panel->SetValue(*value);
    form.exec();
    for (const auto& [panel, value] : fields)
        *value = panel->Value();
    return form.CloseStatus();
}
