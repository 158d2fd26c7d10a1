#include "uWyszukiwarkaRegonForm.h"

#include "TEdit.h"
#include "uBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uWyszukiwarkaRegonTables.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace RegonCopy;

namespace {

const QStringList kActivityTitles{QStringLiteral("Kod PKD"), QStringLiteral("Nazwa"),
                                  QStringLiteral("Przeważające PKD")};
const QStringList kUnitTitles{QStringLiteral("Regon"),       QStringLiteral("Nazwa"),
                              QStringLiteral("Województwo"), QStringLiteral("Powiat"),
                              QStringLiteral("Gmina"),       QStringLiteral("Miejscowość"),
                              QStringLiteral("Ulica"),       QStringLiteral("Data skreślenia z REGON")};

constexpr int kResultsWidth = 850;
constexpr int kNarrowWidth = 440;
constexpr QSize kMaxPicture(400, 150);

QWidget* GridContainer(QWidget* Parent, const char* Name, const char* HeaderName, const QString& Header,
                       TDrawGrid*& Grid, const char* GridName, int Columns) {
    auto* box = new QWidget(Parent);
    box->setObjectName(QLatin1String(Name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(0);
    auto* header = new QLabel(Header, box);
    header->setObjectName(QLatin1String(HeaderName));
    header->setAlignment(Qt::AlignCenter);
    header->setStyleSheet(QStringLiteral("background:#4a6fa5;color:white;font-weight:bold;padding:4px;"));
    layout->addWidget(header);
    Grid = new TDrawGrid(box);
    Grid->setObjectName(QLatin1String(GridName));
    Grid->SetEmptyCellsEnabled(true);
    Grid->SetColCount(Columns);
    // Columns as wide as their texts, the spare width shared out as the window is resized.
    Grid->SetSetWidthColumnsInResize(true);
    layout->addWidget(Grid);
    box->hide();
    return box;
}

} // namespace

// Disables the window's controls and shows what is happening for the length of one request.
class TWyszukiwarkaRegonForm::TBusyScope {
public:
    TBusyScope(TWyszukiwarkaRegonForm* Form, const QString& Text) : m_form(Form), m_wasBusy(Form->FBusy) {
        m_form->FBusy = true;
        m_form->SetControlsEnabled(false);
        m_form->ShowStatus(Text, skBlack);
        m_form->lblTextStatus->repaint();
    }
    // A scope inside another one (a handler run from a request's event loop) leaves the
    // window busy for the outer request.
    ~TBusyScope() {
        m_form->FBusy = m_wasBusy;
        m_form->SetControlsEnabled(!m_wasBusy);
    }

private:
    TWyszukiwarkaRegonForm* m_form;
    bool m_wasBusy;
};

TWyszukiwarkaRegonForm::TWyszukiwarkaRegonForm(QWidget* Owner, TBaseFrame* BaseFrame)
    : TForm(Owner), FBaseFrame(BaseFrame) {
    setObjectName(QStringLiteral("WyszukiwarkaRegonForm"));
    setWindowTitle(QStringLiteral("Wyszukiwarka REGON"));
    BuildLayout();
}

TWyszukiwarkaRegonForm::~TWyszukiwarkaRegonForm() = default;

void TWyszukiwarkaRegonForm::Open(QWidget* Owner, TBaseFrame* BaseFrame) {
    TWyszukiwarkaRegonForm form(Owner, BaseFrame);
    form.exec();
}

void TWyszukiwarkaRegonForm::BuildLayout() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_content = new QWidget(this);
    outer->addWidget(m_content);
    auto* main = new QVBoxLayout(m_content);
    main->setContentsMargins(8, 8, 8, 8);

    auto* Panel1 = new QLabel(QStringLiteral("Wyszukiwarka REGON"), m_content);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    QFont big = Panel1->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Panel1->setFont(big);
    Panel1->setAlignment(Qt::AlignCenter);
    main->addWidget(Panel1);

    Panel5 = new QWidget(m_content);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    auto* statusLayout = new QVBoxLayout(Panel5);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    lblTextStatus = new QLabel(Panel5);
    lblTextStatus->setObjectName(QStringLiteral("lblTextStatus"));
    // The service's messages and error texts are shown as written, never as markup.
    lblTextStatus->setTextFormat(Qt::PlainText);
    lblTextStatus->setAlignment(Qt::AlignCenter);
    lblTextStatus->setWordWrap(true);
    statusLayout->addWidget(lblTextStatus);
    btnAbort = new QPushButton(QStringLiteral("Przerwij"), Panel5);
    btnAbort->setObjectName(QStringLiteral("btnAbort"));
    btnAbort->setAutoDefault(false);
    btnAbort->hide();
    statusLayout->addWidget(btnAbort, 0, Qt::AlignHCenter);
    Panel5->hide();
    main->addWidget(Panel5);

    // Code step.
    pnlCaptchInterface = new QWidget(m_content);
    pnlCaptchInterface->setObjectName(QStringLiteral("pnlCaptchInterface"));
    auto* code = new QHBoxLayout(pnlCaptchInterface);
    code->addStretch(1);
    imgCaptcha = new QLabel(pnlCaptchInterface);
    imgCaptcha->setObjectName(QStringLiteral("imgCaptcha"));
    imgCaptcha->setFixedSize(180, 54);
    imgCaptcha->setAlignment(Qt::AlignCenter);
    imgCaptcha->setFrameShape(QFrame::Box);
    code->addWidget(imgCaptcha);
    btnRefreshCaptcha = new QToolButton(pnlCaptchInterface);
    btnRefreshCaptcha->setObjectName(QStringLiteral("btnRefreshCaptcha"));
    btnRefreshCaptcha->setText(QStringLiteral("↻"));
    btnRefreshCaptcha->setToolTip(QStringLiteral("Odśwież obrazek (F5)"));
    code->addWidget(btnRefreshCaptcha);
    edtCaptcha = new QLineEdit(pnlCaptchInterface);
    edtCaptcha->setObjectName(QStringLiteral("edtCaptcha"));
    edtCaptcha->setFixedWidth(100);
    edtCaptcha->installEventFilter(this);
    code->addWidget(edtCaptcha);
    btnCheckCaptcha = new QPushButton(QStringLiteral("Sprawdź"), pnlCaptchInterface);
    btnCheckCaptcha->setObjectName(QStringLiteral("btnCheckCaptcha"));
    btnCheckCaptcha->setAutoDefault(false);
    code->addWidget(btnCheckCaptcha);
    code->addStretch(1);
    main->addWidget(pnlCaptchInterface);

    // Search step.
    pnlSearchInterface = new QWidget(m_content);
    pnlSearchInterface->setObjectName(QStringLiteral("pnlSearchInterface"));
    auto* search = new QHBoxLayout(pnlSearchInterface);
    search->addStretch(1);
    auto searchBox = [&](const char* Name, const char* Caption) {
        auto* panel = new TPanel(pnlSearchInterface);
        panel->setObjectName(QLatin1String(Name));
        panel->SetField(TInternalFieldRecord::Create(QString(), QLatin1String(Caption), ctEdit));
        panel->setFixedWidth(100);
        if (panel->Edit())
            panel->Edit()->installEventFilter(this);
        search->addWidget(panel);
        return panel;
    };
    pnlREGON = searchBox("pnlREGON", "REGON:");
    pnlNIP = searchBox("pnlNIP", "NIP:");
    pnlKRS = searchBox("pnlKRS", "KRS:");
    btnSearch = new QPushButton(QStringLiteral("Szukaj"), pnlSearchInterface);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setAutoDefault(false);
    btnSearch->setFixedWidth(70);
    search->addWidget(btnSearch, 0, Qt::AlignBottom);
    search->addStretch(1);
    pnlSearchInterface->hide();
    main->addWidget(pnlSearchInterface);

    // Results.
    pnlResultDataContainer = new QScrollArea(m_content);
    pnlResultDataContainer->setObjectName(QStringLiteral("pnlResultDataContainer"));
    pnlResultDataContainer->setWidgetResizable(true);
    pnlResultDataContainer->setFrameShape(QFrame::NoFrame);
    m_results = new QWidget;
    auto* results = new QVBoxLayout(m_results);
    results->setContentsMargins(0, 0, 0, 0);
    results->setSpacing(6);
    FTables = RegonTables::Build(m_results);
    for (TRegonResultTable* table : FTables) {
        results->addWidget(table);
        FRows << table->Rows();
    }
    pnlDzialalnosciTableContainer =
        GridContainer(m_results, "pnlDzialalnosciTableContainer", "pnlDzialalnosciTableHeader",
                      QStringLiteral("PROWADZONE DZIAŁALNOŚCI WG PKD"), DrawGrid1, "DrawGrid1", 3);
    pnlJLokalneTableContainer =
        GridContainer(m_results, "pnlJLokalneTableContainer", "pnlJLokalneTableHeader",
                      QStringLiteral("JEDNOSTKI LOKALNE"), DrawGrid2, "DrawGrid2", 8);
    results->addWidget(pnlDzialalnosciTableContainer);
    results->addWidget(pnlJLokalneTableContainer);
    results->addStretch(1);
    pnlResultDataContainer->setWidget(m_results);
    pnlResultDataContainer->hide();
    main->addWidget(pnlResultDataContainer, 1);

    // Bottom bar.
    auto* pnlSave = new QWidget(m_content);
    pnlSave->setObjectName(QStringLiteral("pnlSave"));
    m_saveBar = pnlSave;
    auto* save = new QHBoxLayout(pnlSave);
    save->setContentsMargins(0, 0, 0, 0);
    save->addStretch(1);
    btnPost = new QPushButton(QStringLiteral("Kopiuj dane do ewidary"), pnlSave);
    btnPost->setObjectName(QStringLiteral("btnPost"));
    btnPost->setAutoDefault(false);
    btnPost->hide();
    save->addWidget(btnPost);
    btnClose = new QPushButton(FBaseFrame ? QStringLiteral("Anuluj") : QStringLiteral("Zamknij"), pnlSave);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    if (FBaseFrame)
        btnClose->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    save->addWidget(btnClose);
    main->addWidget(pnlSave);

    connect(btnRefreshCaptcha, &QToolButton::clicked, this, &TWyszukiwarkaRegonForm::btnRefreshCaptchaClick);
    connect(btnCheckCaptcha, &QPushButton::clicked, this, &TWyszukiwarkaRegonForm::btnCheckCaptchaClick);
    connect(btnSearch, &QPushButton::clicked, this, &TWyszukiwarkaRegonForm::btnSearchClick);
    connect(btnPost, &QPushButton::clicked, this, &TWyszukiwarkaRegonForm::btnPostClick);
    connect(btnClose, &QPushButton::clicked, this, &TWyszukiwarkaRegonForm::reject);
    connect(btnAbort, &QPushButton::clicked, this, [this] { FClient.Abort(); });
    // The window stays usable while a request runs (its controls disabled) so that "Przerwij"
    // can end a search.
    FClient.SetAcceptUserInput(true);

    setTabOrder(edtCaptcha, btnCheckCaptcha);
    setTabOrder(btnCheckCaptcha, btnRefreshCaptcha);
    resize(kNarrowWidth, sizeHint().height());
}

// Everything the operator can act on but the status line (which holds "Przerwij").
void TWyszukiwarkaRegonForm::SetControlsEnabled(bool Enabled) {
    for (QWidget* part : {pnlCaptchInterface, pnlSearchInterface, static_cast<QWidget*>(pnlResultDataContainer),
                          m_saveBar})
        part->setEnabled(Enabled);
}

TRegonResultTable* TWyszukiwarkaRegonForm::Table(const char* Name) const {
    for (TRegonResultTable* table : FTables)
        if (table->objectName() == QLatin1String(Name))
            return table;
    return nullptr;
}

QString TWyszukiwarkaRegonForm::Value(const QString& ID) const {
    for (TRegonResultRow* row : FRows)
        if (row->FieldName() == ID)
            return QString(row->Value()).replace(QLatin1String("\r\n"), QLatin1String(" "));
    return {};
}

void TWyszukiwarkaRegonForm::ShowStatus(const QString& Text, TStatusKind Kind) {
    const char* colour = Kind == skRed ? "rgb(255,50,50)" : Kind == skGreen ? "rgb(100,255,50)" : "black";
    lblTextStatus->setStyleSheet(QStringLiteral("color:%1;font-weight:bold;").arg(QLatin1String(colour)));
    lblTextStatus->setText(Text);
    Panel5->show();
}

void TWyszukiwarkaRegonForm::HideStatus() {
    lblTextStatus->clear();
    Panel5->hide();
}

void TWyszukiwarkaRegonForm::showEvent(QShowEvent* Event) {
    TForm::showEvent(Event);
    if (FFirstRun) {
        FFirstRun = false;
        QMetaObject::invokeMethod(this, &TWyszukiwarkaRegonForm::FirstActivation, Qt::QueuedConnection);
    }
}

void TWyszukiwarkaRegonForm::FirstActivation() {
    btnRefreshCaptchaClick();
    edtCaptcha->setFocus();
}

void TWyszukiwarkaRegonForm::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_F5) {
        if (!pnlCaptchInterface->isHidden() && !FBusy)
            btnRefreshCaptcha->click();
        Event->accept();
        return;
    }
    TForm::keyPressEvent(Event);
}

bool TWyszukiwarkaRegonForm::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(Event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (Watched == edtCaptcha)
                btnCheckCaptcha->click();
            else
                btnSearch->click();
            return true;
        }
    }
    return TForm::eventFilter(Watched, Event);
}

void TWyszukiwarkaRegonForm::closeEvent(QCloseEvent* Event) {
    if (FBusy) {
        Event->ignore();
        return;
    }
    TForm::closeEvent(Event);
}

void TWyszukiwarkaRegonForm::reject() {
    if (!FBusy)
        TForm::reject();
}

void TWyszukiwarkaRegonForm::ShowPicture(const QImage& Picture) {
    if (Picture.isNull()) {
        imgCaptcha->setPixmap(QPixmap());
        return;
    }
    // The picture whole, at its own size (a large one scaled down to fit, never cut or stretched).
    QPixmap pixmap = QPixmap::fromImage(Picture);
    if (pixmap.width() > kMaxPicture.width() || pixmap.height() > kMaxPicture.height())
        pixmap = pixmap.scaled(kMaxPicture, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    imgCaptcha->setFixedSize(pixmap.size() + QSize(2, 2) * imgCaptcha->frameWidth());
    imgCaptcha->setPixmap(pixmap);
}

void TWyszukiwarkaRegonForm::btnRefreshCaptchaClick() {
    QImage picture;
    bool ok;
    {
        TBusyScope busy(this, QStringLiteral("Łączenie z rejestrem REGON…"));
        ok = FClient.Login();
        if (ok) {
            ShowStatus(
                QStringLiteral("W celu skorzystania z funkcjonalności wyszukiwarki prosimy w pierwszym kroku "
                               "wpisać kod z obrazka."),
                skRed);
            ok = FClient.Captcha(picture) && !picture.isNull();
        }
    }
    ShowPicture(ok ? picture : QImage());
    edtCaptcha->clear();
    if (!ok && !FClient.LastError().isEmpty())
        ShowStatus(FClient.LastError(), skRed);
    else if (!ok)
        ShowStatus(QStringLiteral("Rejestr REGON nie wydał obrazka. Odśwież obrazek (F5)."), skRed);
}

void TWyszukiwarkaRegonForm::btnCheckCaptchaClick() {
    bool accepted;
    {
        TBusyScope busy(this, QStringLiteral("Sprawdzanie kodu…"));
        accepted = FClient.CheckCaptcha(edtCaptcha->text());
    }
    if (!accepted) {
        ShowStatus(FClient.LastError().isEmpty() ? TRegonClient::CodeRejectedText : FClient.LastError(),
                   skRed);
        return;
    }
    pnlCaptchInterface->hide();
    pnlSearchInterface->show();
    ShowStatus(QStringLiteral("Kod zabezpieczający przepisany prawidłowo."), skGreen);
    for (TPanel* box : {pnlREGON, pnlNIP, pnlKRS})
        box->SetValue(QString());
    if (pnlREGON->Edit())
        pnlREGON->Edit()->setFocus();
}

void TWyszukiwarkaRegonForm::ClearResults() {
    HideStatus();
    for (TRegonResultTable* table : FTables) {
        table->hide();
        table->ClearTable();
        if (table->objectName() == QLatin1String(RegonTables::OsobaFizycznaDzialalnosc))
            table->TableHeader(QStringLiteral("DZIAŁALNOŚĆ"));
    }
    for (QWidget* box : {pnlDzialalnosciTableContainer, pnlJLokalneTableContainer})
        box->hide();
    pnlResultDataContainer->hide();
    btnPost->hide();
    for (TDrawGrid* grid : {DrawGrid1, DrawGrid2}) {
        grid->SetFixedRows(0);
        grid->SetRowCount(0);
    }
}

void TWyszukiwarkaRegonForm::AddGridRow(TDrawGrid* Grid, QWidget* Container, const QStringList& Titles,
                                        const QStringList& Cells) {
    int row = Grid->RowCount();
    if (row == 0) {
        Grid->SetRowCount(1);
        for (int c = 0; c < Titles.size(); ++c)
            Grid->SetCells(c, 0, Titles[c]);
        row = 1;
    }
    Grid->SetRowCount(row + 1);
    for (int c = 0; c < Titles.size(); ++c)
        Grid->SetCells(c, row, Cells.value(c));
    Container->show();
    if (Grid->RowCount() > 1)
        Grid->SetFixedRows(1);
    Grid->SetWidthColumns();
    // The grid is as tall as its rows, up to a dozen; beyond that it scrolls.
    int height = 2 * Grid->frameWidth() + 2;
    for (int r = 0; r < qMin(Grid->RowCount(), 12); ++r)
        height += Grid->RowHeights(r);
    if (Grid->horizontalScrollBar()->isVisible())
        height += Grid->horizontalScrollBar()->sizeHint().height();
    Grid->setFixedHeight(height);
}

QList<QStringList> TWyszukiwarkaRegonForm::GridRows(TDrawGrid* Grid, QWidget* Container) const {
    QList<QStringList> rows;
    if (Container->isHidden())
        return rows;
    for (int r = 1; r < Grid->RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < Grid->ColCount(); ++c)
            cells << Grid->Cells(c, r);
        rows << cells;
    }
    return rows;
}

void TWyszukiwarkaRegonForm::ReadAnswer(const TRegonAnswer& Answer) {
    for (const QStringList& row : Answer.Activities())
        AddGridRow(DrawGrid1, pnlDzialalnosciTableContainer, kActivityTitles, row);
    for (const QStringList& row : Answer.LocalUnits())
        AddGridRow(DrawGrid2, pnlJLokalneTableContainer, kUnitTitles, row);
    for (TRegonResultRow* row : FRows) {
        const QString value = Answer.ValueOf(row->FieldName());
        if (value.isEmpty() || value == row->Value())
            continue;
        row->SetValue(value);
        row->OwnerTable()->show();
    }
}

void TWyszukiwarkaRegonForm::btnSearchClick() {
    ClearResults();
    TRegonClient::TSearchResult result;
    bool reportsRead = true;
    FClient.ClearAbort();
    {
        TBusyScope busy(this, QStringLiteral("Wyszukiwanie w rejestrze REGON…"));
        btnAbort->show();
        result = FClient.RunSearch(pnlREGON->Value(), pnlNIP->Value(), pnlKRS->Value(), edtCaptcha->text());
        if (result.Outcome == TRegonClient::TSearchOutcome::soFound) {
            TRegonResultTable* activity = Table(RegonTables::OsobaFizycznaDzialalnosc);
            reportsRead = FClient.ReadResults(
                result.Answer, [this](const TRegonAnswer& Answer) { ReadAnswer(Answer); },
                [activity](const TRegonReportLink& Link) {
                    const QString heading = SiloHeading(Link.Silo);
                    if (!heading.isEmpty())
                        activity->TableHeader(heading);
                });
        }
        btnAbort->hide();
        HideStatus();
    }
    const bool aborted = FClient.Aborted();
    FClient.ClearAbort();
    switch (result.Outcome) {
    case TRegonClient::TSearchOutcome::soFailed:
        ShowStatus(FClient.LastError(), skRed);
        break;
    case TRegonClient::TSearchOutcome::soMessage:
        ShowStatus(result.Message, skBlack);
        break;
    case TRegonClient::TSearchOutcome::soCodeRejected:
        pnlSearchInterface->hide();
        pnlCaptchInterface->show();
        edtCaptcha->clear();
        ShowPicture(result.Picture);
        ShowStatus(TRegonClient::CodeRejectedText, skRed);
        edtCaptcha->setFocus();
        break;
    case TRegonClient::TSearchOutcome::soFound:
    case TRegonClient::TSearchOutcome::soNothing:
        break;
    }
    ShowResults();
    // What was read before a report failed (or the search was ended) stays shown, with the reason.
    if (aborted)
        ShowStatus(TRegonClient::AbortedText, skRed);
    else if (!reportsRead)
        ShowStatus(FClient.LastError(), skRed);
    else if (const int ended = EndedUnits(); ended > 0)
        ShowStatus(QStringLiteral("Jednostki lokalne skreślone z rejestru REGON lub o zakończonej działalności "
                                  "(%1) nie zostaną skopiowane jako oddziały.")
                       .arg(ended),
                   skBlack);
}

int TWyszukiwarkaRegonForm::EndedUnits() const {
    int ended = 0;
    for (const QStringList& row : GridRows(DrawGrid2, pnlJLokalneTableContainer))
        ended += RegonCopy::UnitEnded(row) ? 1 : 0;
    return ended;
}

void TWyszukiwarkaRegonForm::ShowResults() {
    bool anyTable = false;
    for (TRegonResultTable* table : FTables)
        anyTable = anyTable || !table->isHidden();
    if (!anyTable) {
        pnlResultDataContainer->hide();
        layout()->activate();
        resize(kNarrowWidth, sizeHint().height());
        PlaceWindow();
        return;
    }
    auto visible = [this](const char* Name) {
        return !Table(Name)->isHidden();
    };
    if (visible(RegonTables::OsobaFizyczna))
        Table(RegonTables::JednostkaLokalnaOsobyFizycznej)->hide();
    else if (visible(RegonTables::JednostkaLokalnaOsobyFizycznej))
        pnlJLokalneTableContainer->hide();
    if (visible(RegonTables::JednostkaPrawna))
        Table(RegonTables::JednostkaLokalnaJednostkiPrawnej)->hide();
    else if (visible(RegonTables::JednostkaLokalnaJednostkiPrawnej))
        pnlJLokalneTableContainer->hide();
    pnlResultDataContainer->show();
    pnlResultDataContainer->verticalScrollBar()->setValue(0);
    btnPost->setVisible(FBaseFrame != nullptr);
    resize(kResultsWidth, 640);
    PlaceWindow();
}

RegonCopy::TRegonCase TWyszukiwarkaRegonForm::VisibleCase() const {
    if (!Table(RegonTables::OsobaFizyczna)->isHidden())
        return rcOsobaFizyczna;
    if (!Table(RegonTables::JednostkaLokalnaOsobyFizycznej)->isHidden())
        return rcJednostkaLokalnaOsobyFizycznej;
    if (!Table(RegonTables::JednostkaPrawna)->isHidden())
        return rcJednostkaPrawna;
    if (!Table(RegonTables::JednostkaLokalnaJednostkiPrawnej)->isHidden())
        return rcJednostkaLokalnaJednostkiPrawnej;
    return rcNone;
}

void TWyszukiwarkaRegonForm::btnPostClick() {
    if (!FBaseFrame || VisibleCase() == rcNone) {
        accept();
        return;
    }
    TInput input;
    input.Case = VisibleCase();
    input.Value = [this](const QString& ID) {
        return Value(ID);
    };
    input.Activities = GridRows(DrawGrid1, pnlDzialalnosciTableContainer);
    input.LocalUnits = GridRows(DrawGrid2, pnlJLokalneTableContainer);
    if (RegonCopy::Copy(FBaseFrame, input, this) == crCopied)
        accept();
}

namespace RegonForms {
void ShowWyszukiwarkaRegon(QWidget* Owner, TBaseFrame* Frame) {
    TWyszukiwarkaRegonForm::Open(Owner, Frame);
}
} // namespace RegonForms
