#include "uHistoryForms.h"

#include "uMessagePresenter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kJournalTitle = QStringLiteral("Dziennik zmian");

QTableWidgetItem* Cell(const QString& Text) {
    auto* item = new QTableWidgetItem(HistoryRows::Shortened(Text, THistoryTable::kShownChars));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    // A tooltip is shown as rich text when it looks like markup: the value is escaped.
    if (item->text() != Text)
        item->setToolTip(QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(Text.toHtmlEscaped()));
    return item;
}

QString HistoryError(IEwidarHistory* H) {
    const int32_t code = H ? H->GetLastErrorCode() : 0;
    if (code == 1015)
        return QStringLiteral("Dziennik zmian może przeglądać tylko administrator.");
    if (code == 1011 || code == 1012)
        return QStringLiteral("Brak uprawnień do przeglądania danych.");
    return QStringLiteral("Nie udało się odczytać historii zmian (kod %1).").arg(code);
}

} // namespace

THistoryTable::THistoryTable(QWidget* Parent) : QTableWidget(Parent) {
    setObjectName(QStringLiteral("grid"));
    setColumnCount(HistoryRows::Titles().size());
    setHorizontalHeaderLabels(HistoryRows::Titles());
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
}

void THistoryTable::SetRows(std::vector<HistoryRows::TRow> Rows) {
    m_rows = std::move(Rows);
    setUpdatesEnabled(false);
    setRowCount(0);
    setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const QStringList fields = HistoryRows::Fields(m_rows[r]);
        for (int c = 0; c < fields.size(); ++c)
            setItem(r, c, Cell(fields[c]));
    }
    resizeColumnsToContents();
    setUpdatesEnabled(true);
}

TRecordHistoryForm::TRecordHistoryForm(QWidget* Owner, IEwidarDataBase* DataBase, int64_t RecordID,
                                       const QString& Title)
    : TForm(Owner) {
    setObjectName(QStringLiteral("RecordHistoryForm"));
    setWindowTitle(Title.isEmpty() ? QStringLiteral("Historia zmian") : QStringLiteral("Historia zmian: %1").arg(Title));
    auto* layout = new QVBoxLayout(this);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setTextFormat(Qt::PlainText);
    grid = new THistoryTable(this);
    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(lblInfo);
    layout->addWidget(grid);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(1000, 500);

    TIntfPtr<IEwidarHistory> history = DataBase ? DataBase->GetHistory() : TIntfPtr<IEwidarHistory>();
    std::vector<THistoryEntry> entries;
    if (!history)
        lblInfo->setText(QStringLiteral("Ta baza danych nie prowadzi historii zmian."));
    else if (!history->RecordHistory(RecordID, entries))
        lblInfo->setText(HistoryError(history.get()));
    else {
        HistoryRows::TFieldKinds fields(DataBase);
        grid->SetRows(HistoryRows::Rows(entries, fields));
        lblInfo->setText(entries.empty() ? QStringLiteral("Rekord #%1 nie ma historii zmian.").arg(RecordID)
                                         : QStringLiteral("Rekord #%1, wpisów: %2, od najnowszego.")
                                               .arg(RecordID)
                                               .arg(entries.size()));
    }
}

TJournalForm::TJournalForm(QWidget* Owner, IEwidarDataBase* DataBase)
    : TForm(Owner), m_db(DataBase), m_fields(DataBase) {
    setObjectName(QStringLiteral("JournalForm"));
    setWindowTitle(kJournalTitle);
    m_history = DataBase ? DataBase->GetHistory() : TIntfPtr<IEwidarHistory>();
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    auto add = [this, filters](const QString& Caption, QWidget* W) {
        auto* label = new QLabel(Caption, this);
        label->setBuddy(W);
        filters->addWidget(label);
        filters->addWidget(W);
    };
    cbOperator = new QComboBox(this);
    cbOperator->setObjectName(QStringLiteral("cbOperator"));
    cbOperator->addItem(QStringLiteral("(wszyscy)"));
    std::vector<std::u16string> logins;
    if (m_history && m_history->Operators(logins))
        for (const std::u16string& l : logins)
            cbOperator->addItem(QString::fromStdU16String(l));
    add(QStringLiteral("&Operator:"), cbOperator);
    chkOkres = new QCheckBox(QStringLiteral("O&kres od"), this);
    chkOkres->setObjectName(QStringLiteral("chkOkres"));
    filters->addWidget(chkOkres);
    const QDate today = QDate::currentDate();
    dtOd = new QDateEdit(QDate(today.year(), today.month(), 1), this);
    dtOd->setObjectName(QStringLiteral("dtOd"));
    dtOd->setCalendarPopup(true);
    dtOd->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    filters->addWidget(dtOd);
    dtDo = new QDateEdit(today, this);
    dtDo->setObjectName(QStringLiteral("dtDo"));
    dtDo->setCalendarPopup(true);
    dtDo->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    add(QStringLiteral("do"), dtDo);
    cbRejestr = new QComboBox(this);
    cbRejestr->setObjectName(QStringLiteral("cbRejestr"));
    cbRejestr->addItem(QStringLiteral("(wszystkie)"), 0);
    for (const auto& [kind, name] : HistoryRows::Registries())
        cbRejestr->addItem(name, kind);
    add(QStringLiteral("&Rejestr:"), cbRejestr);
    edtRekord = new QLineEdit(this);
    edtRekord->setObjectName(QStringLiteral("edtRekord"));
    edtRekord->setPlaceholderText(QStringLiteral("identyfikator"));
    edtRekord->setMaximumWidth(110);
    add(QStringLiteral("Re&kord:"), edtRekord);
    edtTekst = new QLineEdit(this);
    edtTekst->setObjectName(QStringLiteral("edtTekst"));
    add(QStringLiteral("&Tekst:"), edtTekst);
    btnSzukaj = new QPushButton(QStringLiteral("&Pokaż"), this);
    btnSzukaj->setObjectName(QStringLiteral("btnSzukaj"));
    btnSzukaj->setDefault(true);
    filters->addWidget(btnSzukaj);
    layout->addLayout(filters);
    grid = new THistoryTable(this);
    layout->addWidget(grid);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setTextFormat(Qt::PlainText);
    layout->addWidget(lblInfo);
    auto* buttons = new QHBoxLayout;
    btnSpojnosc = new QPushButton(QStringLiteral("&Sprawdź spójność historii"), this);
    btnSpojnosc->setObjectName(QStringLiteral("btnSpojnosc"));
    btnEksport = new QPushButton(QStringLiteral("&Eksport CSV…"), this);
    btnEksport->setObjectName(QStringLiteral("btnEksport"));
    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    buttons->addWidget(btnSpojnosc);
    buttons->addStretch();
    buttons->addWidget(btnEksport);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(1200, 600);

    connect(btnSzukaj, &QPushButton::clicked, this, [this] { Search(); });
    connect(edtTekst, &QLineEdit::returnPressed, this, [this] { Search(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnSpojnosc, &QPushButton::clicked, this, [this] { VerifyChain(); });
    connect(btnEksport, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Eksport dziennika zmian"),
                                                          QStringLiteral("dziennik_zmian.csv"),
                                                          QStringLiteral("Pliki CSV (*.csv)"));
        if (!path.isEmpty())
            ExportCsv(path);
    });
    // A row of a record opens that record's history, a deleted record's included.
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this](int Row, int) {
        const HistoryRows::TRow& r = grid->Rows().at(Row);
        const qint64 id = r.record.startsWith(u'#') ? r.record.mid(1).section(u' ', 0, 0).toLongLong() : 0;
        if (id != 0)
            ShowRecordHistory(this, m_db, id, r.record);
    });
    Search();
}

THistoryFilter TJournalForm::Filter() const {
    THistoryFilter f;
    if (cbOperator->currentIndex() > 0)
        f.Operator = cbOperator->currentText().toStdU16String();
    if (chkOkres->isChecked()) {
        f.FromMs = dtOd->date().startOfDay().toMSecsSinceEpoch();
        f.ToMs = dtDo->date().addDays(1).startOfDay().toMSecsSinceEpoch();
    }
    f.Kind = cbRejestr->currentData().toInt();
    f.RecordID = edtRekord->text().trimmed().toLongLong();
    f.Text = edtTekst->text().trimmed().toStdU16String();
    return f;
}

bool TJournalForm::Search() {
    if (!m_history) {
        lblInfo->setText(QStringLiteral("Ta baza danych nie prowadzi historii zmian."));
        return false;
    }
    if (!edtRekord->text().trimmed().isEmpty() && edtRekord->text().trimmed().toLongLong() <= 0) {
        lblInfo->setText(QStringLiteral("Identyfikator rekordu musi być liczbą większą od zera."));
        return false;
    }
    const THistoryFilter f = Filter();
    std::vector<THistoryEntry> entries;
    if (!m_history->Query(f, entries)) {
        grid->SetRows({});
        lblInfo->setText(HistoryError(m_history.get()));
        return false;
    }
    grid->SetRows(HistoryRows::Rows(entries, m_fields));
    QString info = QStringLiteral("Wpisów: %1, od najnowszego.").arg(entries.size());
    if (static_cast<int>(entries.size()) >= f.Limit)
        info += QStringLiteral(" Pokazano tylko %1 najnowszych: zawęź filtr.").arg(f.Limit);
    lblInfo->setText(info);
    return true;
}

bool TJournalForm::ExportCsv(const QString& Path) {
    QString error;
    if (HistoryRows::WriteCsv(Path, grid->Rows(), error))
        return true;
    ShowMessageBox(this, kJournalTitle, QStringLiteral("Nie udało się zapisać pliku %1: %2").arg(Path, error),
                   TMsgDlgType::mtError);
    return false;
}

int64_t TJournalForm::VerifyChain() {
    int64_t broken = 0;
    std::u16string reason;
    if (!m_history || !m_history->Verify(broken, reason)) {
        ShowMessageBox(this, kJournalTitle, HistoryError(m_history.get()), TMsgDlgType::mtError);
        return -1;
    }
    if (broken == 0)
        ShowMessageBox(this, kJournalTitle, QStringLiteral("Historia zmian jest spójna: żaden wpis nie został zmieniony, usunięty ani dopisany poza programem."),
                       TMsgDlgType::mtInformation);
    else
        ShowMessageBox(this, kJournalTitle,
                       QStringLiteral("Historia zmian nie jest spójna. Pierwszy uszkodzony wpis: nr %1 (%2).")
                           .arg(broken)
                           .arg(QString::fromStdU16String(reason)),
                       TMsgDlgType::mtWarning);
    return broken;
}

void ShowRecordHistory(QWidget* Owner, IEwidarDataBase* DataBase, int64_t RecordID, const QString& Title) {
    TRecordHistoryForm form(Owner, DataBase, RecordID, Title);
    form.exec();
}

void ShowJournal(QWidget* Owner, IEwidarDataBase* DataBase) {
    if (!DataBase || !DataBase->IsLoggedIn() || !DataBase->IsAdministrator()) {
        ShowMessageBox(Owner, kJournalTitle, QStringLiteral("Dziennik zmian może przeglądać tylko administrator."),
                       TMsgDlgType::mtWarning);
        return;
    }
    TJournalForm form(Owner, DataBase);
    form.exec();
}
