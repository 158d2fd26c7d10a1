#include "uExportForm.h"

#include "uSubjectFields.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString Extension(int Format) {
    return Format == SpreadsheetExport::fmXlsx ? QStringLiteral("xlsx") : QStringLiteral("csv");
}

} // namespace

TExportForm::TExportForm(QWidget* OwnerForm, TListContents Contents)
    : TForm(OwnerForm, OwnerForm), m_contents(std::move(Contents)) {
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("Eksport listy"));
    m_subjects = !m_contents.Rows.empty();
    for (size_t i = 0; i < m_contents.Rows.size(); ++i) {
        if (m_contents.Rows[i].Checked)
            m_ticked.push_back(static_cast<int>(i));
        m_subjects = m_subjects && Supports<IPodmiot>(m_contents.Rows[i].Record);
    }
    Build();
}

void TExportForm::Build() {
    auto* layout = new QVBoxLayout(this);
    auto* rows = new QGroupBox(QStringLiteral("Wiersze"), this);
    auto* rowsLayout = new QVBoxLayout(rows);
    rbAll = new QRadioButton(QStringLiteral("Wszystkie wiersze listy (%1)").arg(m_contents.Rows.size()), rows);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    rbTicked = new QRadioButton(QStringLiteral("Tylko zaznaczone wiersze (%1)").arg(m_ticked.size()), rows);
    rbTicked->setObjectName(QStringLiteral("rbTicked"));
    rbTicked->setEnabled(!m_ticked.empty());
    (m_ticked.empty() ? rbAll : rbTicked)->setChecked(true);
    rowsLayout->addWidget(rbAll);
    rowsLayout->addWidget(rbTicked);
    auto* cols = new QGroupBox(QStringLiteral("Kolumny"), this);
    auto* colsLayout = new QVBoxLayout(cols);
    rbListColumns = new QRadioButton(QStringLiteral("Kolumny listy"), cols);
    rbListColumns->setObjectName(QStringLiteral("rbListColumns"));
    rbSubjectFields = new QRadioButton(QStringLiteral("Dane podmiotów (do ponownego importu)"), cols);
    rbSubjectFields->setObjectName(QStringLiteral("rbSubjectFields"));
    rbSubjectFields->setEnabled(m_subjects);
    rbListColumns->setChecked(true);
    colsLayout->addWidget(rbListColumns);
    colsLayout->addWidget(rbSubjectFields);
    auto* file = new QGridLayout;
    cbFormat = new QComboBox(this);
    cbFormat->setObjectName(QStringLiteral("cbFormat"));
    cbFormat->addItems({QStringLiteral("CSV (UTF-8, średnik)"), QStringLiteral("XLSX (skoroszyt)")});
    edtPath = new QLineEdit(QDir::home().filePath(QStringLiteral("lista.csv")), this);
    edtPath->setObjectName(QStringLiteral("edtPath"));
    btnBrowse = new QPushButton(QStringLiteral("…"), this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    file->addWidget(new QLabel(QStringLiteral("Format:"), this), 0, 0);
    file->addWidget(cbFormat, 0, 1, 1, 2);
    file->addWidget(new QLabel(QStringLiteral("Plik:"), this), 1, 0);
    file->addWidget(edtPath, 1, 1);
    file->addWidget(btnBrowse, 1, 2);
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    btnExport = new QPushButton(QStringLiteral("Eksportuj"), this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnExport->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Przerwij"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setEnabled(false);
    btnClose = new QPushButton(QStringLiteral("Zamknij"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addStretch(1);
    for (QPushButton* b : {btnExport, btnCancel, btnClose})
        buttons->addWidget(b);
    for (QPushButton* b : {btnBrowse, btnCancel, btnClose})
        b->setAutoDefault(false);
    layout->addWidget(rows);
    layout->addWidget(cols);
    layout->addLayout(file);
    layout->addWidget(pbProgress);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    setMinimumWidth(480);
    connect(cbFormat, &QComboBox::currentIndexChanged, this, &TExportForm::FormatChanged);
    connect(btnBrowse, &QPushButton::clicked, this, &TExportForm::Browse);
    connect(btnExport, &QPushButton::clicked, this, &TExportForm::RunExport);
    connect(btnCancel, &QPushButton::clicked, this, [this] { m_cancel = true; });
    connect(btnClose, &QPushButton::clicked, this, &TExportForm::reject);
}

void TExportForm::FormatChanged() {
    const QFileInfo info(edtPath->text());
    edtPath->setText(info.dir().filePath(info.completeBaseName() + u'.' + Extension(cbFormat->currentIndex())));
}

void TExportForm::Browse() {
    const bool xlsx = cbFormat->currentIndex() == SpreadsheetExport::fmXlsx;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Eksportuj do pliku"), edtPath->text(),
        xlsx ? QStringLiteral("Skoroszyt (*.xlsx)") : QStringLiteral("Plik CSV (*.csv)"));
    if (!path.isEmpty())
        edtPath->setText(path);
}

SpreadsheetExport::TTable TExportForm::Table() const {
    SpreadsheetExport::TTable table;
    const bool ticked = rbTicked->isChecked();
    const bool fields = rbSubjectFields->isChecked() && m_subjects;
    table.Header = fields ? SubjectFields::Captions() : m_contents.Titles;
    table.RowCount = static_cast<int>(ticked ? m_ticked.size() : m_contents.Rows.size());
    const TListContents* contents = &m_contents;
    const std::vector<int>* index = ticked ? &m_ticked : nullptr;
    table.Row = [contents, index, fields](int Row) {
        const TListRow& row = contents->Rows[static_cast<size_t>(index ? (*index)[static_cast<size_t>(Row)] : Row)];
        return fields ? SubjectFields::ReadSubject(row.Record.get()) : row.Cells;
    };
    return table;
}

bool TExportForm::RunExport() {
    if (m_running)
        return false;
    const QString path = edtPath->text().trimmed();
    if (path.isEmpty()) {
        lblStatus->setText(QStringLiteral("Podaj nazwę pliku."));
        return false;
    }
    m_running = true;
    m_cancel = false;
    for (QWidget* w : std::initializer_list<QWidget*>{btnExport, btnBrowse, cbFormat, edtPath, btnClose})
        w->setEnabled(false);
    btnCancel->setEnabled(true);
    lblStatus->setText(QStringLiteral("Trwa eksport…"));
    const auto result = SpreadsheetExport::Export(
        Table(), static_cast<SpreadsheetExport::TFormat>(cbFormat->currentIndex()), path, [this](int Done, int Total) {
            pbProgress->setValue(Total > 0 ? static_cast<int>(Done * 100LL / Total) : 100);
            QApplication::processEvents();
            return !m_cancel;
        });
    m_running = false;
    for (QWidget* w : std::initializer_list<QWidget*>{btnExport, btnBrowse, cbFormat, edtPath, btnClose})
        w->setEnabled(true);
    btnCancel->setEnabled(false);
    if (result.Ok)
        lblStatus->setText(QStringLiteral("Zapisano %1 wierszy do pliku %2.").arg(Table().RowCount).arg(path));
    else if (result.Cancelled)
        lblStatus->setText(QStringLiteral("Eksport przerwano; plik nie został zapisany."));
    else
        lblStatus->setText(result.Error);
    if (!result.Ok)
        pbProgress->setValue(0);
    return result.Ok;
}

// While the export runs, closing the window cancels it instead.
void TExportForm::reject() {
    if (m_running) {
        m_cancel = true;
        return;
    }
    TForm::reject();
}

void ShowExportForm(QWidget* OwnerForm, const TListContents& Contents) {
    TExportForm form(OwnerForm, Contents);
    form.exec();
}
