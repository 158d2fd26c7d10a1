#include "uDictionaryForm.h"

#include "TEdit.h"
#include "uDictionaryButtons.h"
#include "uDictionaryModule.h"
#include "uDictionaryTables.h"
#include "uEwidarDrawGrid.h"
#include "uMessagePresenter.h"
#include "uWaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kFilterInterval = 350;
const QSize kDesignedSize(720, 520);
constexpr int kKrajeWidth = 500;

QLabel* Caption(QWidget* Parent, const QString& Text, QWidget* Buddy) {
    auto* label = new QLabel(Text, Parent);
    label->setBuddy(Buddy);
    return label;
}

} // namespace

TDictionaryForm::TDictionaryForm(QWidget* Owner, TDictionaryType DictionaryType)
    : TForm(Owner, Owner), FDictionaryType(DictionaryType) {
    setObjectName(QStringLiteral("DictionaryForm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(kDesignedSize);

    BuildFilterPanels();

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    m_loadingLabel = new QLabel(QStringLiteral("Trwa ładowanie danych ..."), Panel1);
    m_loadingLabel->setAlignment(Qt::AlignCenter);
    panelLayout->addWidget(m_loadingLabel);
    DrawGrid1 = DictionaryButtons::ListGrid(Panel1, [this] { btnPostClick(); });
    panelLayout->addWidget(DrawGrid1);
    SetGridVisible(false);

    QHBoxLayout* strip = nullptr;
    pnlButtons = DictionaryButtons::ButtonStrip(this, QStringLiteral("Wybierz"), btnPost, btnClose, &strip);
    Label6 = new QLabel(QStringLiteral("Liczba rekordów:"), pnlButtons);
    Label6->setObjectName(QStringLiteral("Label6"));
    strip->insertWidget(0, Label6);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlKraj);
    layout->addWidget(pnlInterface);
    layout->addWidget(Panel1, 1);
    layout->addWidget(pnlButtons);

    tmrFilter = DictionaryButtons::FilterTimer(this, "tmrFilter", kFilterInterval);
    connect(tmrFilter, &QTimer::timeout, this, &TDictionaryForm::tmrFilterTimer);
    // "Anuluj", Escape and the close box reject the window: the close type stays ctCancel.
    connect(btnPost, &QPushButton::clicked, this, &TDictionaryForm::btnPostClick);
    ShowFilterControls();
}

void TDictionaryForm::BuildFilterPanels() {
    pnlKraj = new QWidget(this);
    pnlKraj->setObjectName(QStringLiteral("pnlKraj"));
    edtFiltr = DictionaryButtons::FilterBox(pnlKraj, "edtFiltr");
    Label5 = Caption(pnlKraj, QStringLiteral("Filtr:"), edtFiltr);
    Label5->setObjectName(QStringLiteral("Label5"));
    auto* krajLayout = new QHBoxLayout(pnlKraj);
    krajLayout->setContentsMargins(8, 8, 8, 8);
    krajLayout->addWidget(Label5);
    krajLayout->addWidget(edtFiltr, 1);

    pnlInterface = new QWidget(this);
    pnlInterface->setObjectName(QStringLiteral("pnlInterface"));
    for (QWidget* panel : {pnlKraj, pnlInterface})
        panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    cbbWojewodztwo = new QComboBox(pnlInterface);
    cbbWojewodztwo->setObjectName(QStringLiteral("cbbWojewodztwo"));
    cbbWojewodztwo->setEditable(true);
    cbbWojewodztwo->setInsertPolicy(QComboBox::NoInsert);
    edtPowiat = DictionaryButtons::FilterBox(pnlInterface, "edtPowiat");
    edtGmina = DictionaryButtons::FilterBox(pnlInterface, "edtGmina");
    edtMiejscowosc = DictionaryButtons::FilterBox(pnlInterface, "edtMiejscowosc");
    QLabel* gmina = Caption(pnlInterface, QStringLiteral("Gmina:"), edtGmina);
    QLabel* miejscowosc = Caption(pnlInterface, QStringLiteral("Miejscowość:"), edtMiejscowosc);
    m_gminaControls = {gmina, edtGmina};
    m_miejscowoscControls = {miejscowosc, edtMiejscowosc};
    auto* grid = new QGridLayout(pnlInterface);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(2);
    grid->addWidget(Caption(pnlInterface, QStringLiteral("Województwo:"), cbbWojewodztwo), 0, 0);
    grid->addWidget(Caption(pnlInterface, QStringLiteral("Powiat:"), edtPowiat), 0, 1);
    grid->addWidget(gmina, 0, 2);
    grid->addWidget(miejscowosc, 0, 3);
    grid->addWidget(cbbWojewodztwo, 1, 0);
    grid->addWidget(edtPowiat, 1, 1);
    grid->addWidget(edtGmina, 1, 2);
    grid->addWidget(edtMiejscowosc, 1, 3);
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);

    for (TEdit* box : {edtFiltr, edtPowiat, edtGmina, edtMiejscowosc})
        box->installEventFilter(this);
}

void TDictionaryForm::ShowFilterControls() {
    const bool kraj = FDictionaryType == dtKraje || FDictionaryType == dtUS;
    pnlKraj->setVisible(kraj);
    pnlInterface->setVisible(!kraj);
    for (QWidget* w : m_gminaControls)
        w->setVisible(FDictionaryType == dtGminy || FDictionaryType == dtMiejscowosci);
    for (QWidget* w : m_miejscowoscControls)
        w->setVisible(FDictionaryType == dtMiejscowosci);
}

void TDictionaryForm::SetInput(const TDictionaryRecord& Input) {
    cbbWojewodztwo->clear();
    for (const TWojewodztwoRecord& w : DictionaryTables().Wojewodztwa)
        cbbWojewodztwo->addItem(w.NazwaWojewodztwa);
    edtFiltr->setText(Input.KrajNazwa);
    cbbWojewodztwo->setCurrentText(Input.Wojewodztwo);
    edtPowiat->setText(Input.Powiat);
    edtGmina->setText(Input.Gmina);
    edtMiejscowosc->setText(Input.Miejscowosc);
}

void TDictionaryForm::showEvent(QShowEvent* Event) {
    TForm::showEvent(Event);
    // After the window is on the screen, so "Trwa ładowanie danych ..." shows meanwhile.
    if (!m_activated)
        QTimer::singleShot(0, this, &TDictionaryForm::FormActivate);
}

void TDictionaryForm::FormActivate() {
    if (m_activated)
        return;
    m_activated = true;
    if (FDictionaryType == dtKraje)
        resize(kKrajeWidth, height());
    FillList();
    // Attached only now, so the texts of the input do not start the timer.
    for (TEdit* box : {edtFiltr, edtPowiat, edtGmina, edtMiejscowosc})
        connect(box, &QLineEdit::textChanged, this, &TDictionaryForm::RestartFilterTimer);
    connect(cbbWojewodztwo, &QComboBox::currentTextChanged, this, &TDictionaryForm::RestartFilterTimer);
    edtFiltr->isVisible() ? edtFiltr->setFocus() : edtPowiat->setFocus();
}

void TDictionaryForm::RestartFilterTimer() {
    tmrFilter->stop();
    tmrFilter->start();
}

void TDictionaryForm::tmrFilterTimer() {
    tmrFilter->stop();
    FillList();
}

void TDictionaryForm::btnPostClick() {
    FCloseType = ctAccept;
    accept();
}

void TDictionaryForm::SetGridVisible(bool Visible) {
    DrawGrid1->setVisible(Visible);
    m_loadingLabel->setVisible(!Visible);
}

bool TDictionaryForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (auto* box = qobject_cast<TEdit*>(Watched))
        return DictionaryButtons::FilterBoxKey(box, Event, DrawGrid1, m_caret);
    return TForm::eventFilter(Watched, Event);
}

void ShowDictionaryForm(QWidget* Owner, const TDictionaryRecord& Input, TDictionaryType Type,
                        TDictionaryRecord& Result) {
    if (TableRowCount(Type) == 0) {
        ShowMessageBox(Owner, QStringLiteral("Ewidar"), EmptyDictionaryHint(Type),
                       TMsgDlgType::mtInformation);
        return;
    }
    TDictionaryForm form(Owner, Type);
    {
        TWaitCursor wait;
        form.setWindowTitle(QString());
        form.SetInput(Input);
    }
    form.exec();
    // The empty row of an empty list is no choice: the result stays cleared.
    TDictionaryRecord chosen;
    if (form.CloseType() == TDictionaryForm::ctAccept && form.GetCurrentRecord(chosen))
        Result = chosen;
}
