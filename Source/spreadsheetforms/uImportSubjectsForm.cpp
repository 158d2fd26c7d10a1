#include "uImportSubjectsForm.h"

#include "uCsv.h"
#include "uTextEncoding.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

namespace {

// Files beyond this are refused rather than read into memory.
constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
// Rows the preview list shows; the summary counts them all.
constexpr int kPreviewRows = 1000;

QColor StatusColor(ImportRows::TStatus Status) {
    switch (Status) {
    case ImportRows::stReady:
        return QColor(0xE3, 0xF4, 0xE1);
    case ImportRows::stInvalid:
        return QColor(0xF8, 0xD7, 0xD7);
    case ImportRows::stDuplicate:
        return QColor(0xFB, 0xF0, 0xC8);
    }
    return {};
}

} // namespace

TImportSubjectsForm::TImportSubjectsForm(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                                         SubjectImporter::TTarget Target)
    : TForm(OwnerForm, OwnerForm), m_db(DataBase) {
    setObjectName(QStringLiteral("ImportSubjectsForm"));
    setWindowTitle(QStringLiteral("Import podmiotów z pliku"));
    Build();
    cbTarget->setCurrentIndex(Target);
    connect(btnBrowse, &QPushButton::clicked, this, &TImportSubjectsForm::Browse);
    connect(edtFile, &QLineEdit::editingFinished, this, &TImportSubjectsForm::LoadFile);
    connect(cbEncoding, &QComboBox::currentIndexChanged, this, &TImportSubjectsForm::LoadFile);
    connect(cbSeparator, &QComboBox::currentIndexChanged, this, &TImportSubjectsForm::LoadFile);
    connect(btnPreview, &QPushButton::clicked, this, &TImportSubjectsForm::MakePreview);
    connect(btnImport, &QPushButton::clicked, this, &TImportSubjectsForm::RunImport);
    connect(btnCancel, &QPushButton::clicked, this, [this] { m_cancel = true; });
    connect(btnClose, &QPushButton::clicked, this, &TImportSubjectsForm::reject);
}

void TImportSubjectsForm::Browse() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Plik z podmiotami"), edtFile->text(),
                                                      QStringLiteral("Pliki CSV (*.csv *.txt);;Wszystkie pliki (*)"));
    if (path.isEmpty())
        return;
    edtFile->setText(path);
    LoadFile();
}

bool TImportSubjectsForm::LoadFile() {
    m_rows.clear();
    m_lines.clear();
    m_previewed = false;
    tblMapping->setRowCount(0);
    tblPreview->setRowCount(0);
    lblSummary->clear();
    btnPreview->setEnabled(false);
    btnImport->setEnabled(false);
    const QString path = edtFile->text().trimmed();
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        lblStatus->setText(QStringLiteral("Nie można otworzyć pliku %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        lblStatus->setText(QStringLiteral("Plik %1 jest zbyt duży (ponad 256 MB).").arg(path));
        return false;
    }
    TWaitCursor wait;
    const QByteArray data = file.readAll();
    const auto encoding = cbEncoding->currentIndex() == 0 ? TextEncoding::Detect(data)
                          : cbEncoding->currentIndex() == 1 ? TextEncoding::enUtf8
                                                            : TextEncoding::enWindows1250;
    const QString text = TextEncoding::Decode(data, encoding);
    const QChar separator = cbSeparator->currentIndex() == 0   ? TextEncoding::GuessSeparator(text)
                            : cbSeparator->currentIndex() == 1 ? QChar(u';')
                                                               : QChar(u',');
    Csv::TParsed parsed = Csv::Parse(text, separator);
    if (parsed.Unterminated) {
        lblStatus->setText(QStringLiteral("Plik kończy się wewnątrz wartości w cudzysłowie (od wiersza %1); "
                                          "sprawdź separator i cudzysłowy.")
                               .arg(parsed.Lines.isEmpty() ? 1 : parsed.Lines.back()));
        return false;
    }
    if (parsed.Rows.size() < 2) {
        lblStatus->setText(QStringLiteral("Plik nie zawiera wierszy danych pod wierszem nagłówka."));
        return false;
    }
    m_rows = std::move(parsed.Rows);
    m_lines = std::move(parsed.Lines);
    FillMapping(ColumnMapping::Guess(m_rows.front()));
    lblStatus->setText(QStringLiteral("Odczytano %1 wierszy danych (kodowanie %2, separator „%3”).")
                           .arg(m_rows.size() - 1)
                           .arg(encoding == TextEncoding::enUtf8 ? QStringLiteral("UTF-8")
                                                                 : QStringLiteral("Windows-1250"))
                           .arg(separator));
    btnPreview->setEnabled(true);
    return true;
}

void TImportSubjectsForm::FillMapping(const ColumnMapping::TMapping& Mapping) {
    const QStringList& header = m_rows.front();
    const QStringList first = m_rows.size() > 1 ? m_rows[1] : QStringList();
    QStringList choices{QStringLiteral("(nie importuj)")};
    choices += SubjectFields::Captions();
    tblMapping->setRowCount(static_cast<int>(header.size()));
    for (int c = 0; c < header.size(); ++c) {
        tblMapping->setItem(c, 0, new QTableWidgetItem(header[c]));
        tblMapping->setItem(c, 1, new QTableWidgetItem(c < first.size() ? first[c] : QString()));
        auto* combo = new QComboBox(tblMapping);
        combo->setObjectName(QStringLiteral("cbMap%1").arg(c));
        combo->addItems(choices);
        combo->setCurrentIndex(c < Mapping.size() ? Mapping[c] + 1 : 0);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { btnImport->setEnabled(false); });
        tblMapping->setCellWidget(c, 2, combo);
    }
}

ColumnMapping::TMapping TImportSubjectsForm::Mapping() const {
    ColumnMapping::TMapping mapping;
    for (int r = 0; r < tblMapping->rowCount(); ++r) {
        const auto* combo = qobject_cast<const QComboBox*>(tblMapping->cellWidget(r, 2));
        mapping.append(combo ? combo->currentIndex() - 1 : -1);
    }
    return mapping;
}

void TImportSubjectsForm::MakePreview() {
    if (m_rows.isEmpty())
        return;
    TWaitCursor wait;
    const ColumnMapping::TMapping mapping = Mapping();
    SubjectImporter::TDuplicateProbe probe(m_db.get());
    ImportRows::TDuplicateProbe check;
    if (probe.Valid())
        check = [&probe](const QString& P, const QString& N, const QString& R) { return probe(P, N, R); };
    m_preview = ImportRows::Build(m_rows, m_lines, mapping, check);
    ColumnMapping::Remember(m_rows.front(), mapping);
    m_previewed = true;
    FillPreview();
    btnImport->setEnabled(m_preview.Ready > 0);
    lblStatus->setText(probe.Valid() ? QString()
                                     : QStringLiteral("Nie można sprawdzić duplikatów w bazie; sprawdzono tylko plik."));
}

void TImportSubjectsForm::FillPreview() {
    const auto& fields = SubjectFields::Fields();
    QList<int> shown;
    const ColumnMapping::TMapping mapping = Mapping();
    for (const int f : mapping)
        if (f >= 0)
            shown.append(f);
    QStringList titles{QStringLiteral("Wiersz"), QStringLiteral("Stan"), QStringLiteral("Pole"),
                       QStringLiteral("Powód")};
    for (const int f : shown)
        titles.append(fields[static_cast<size_t>(f)].Caption);
    tblPreview->clear();
    tblPreview->setColumnCount(static_cast<int>(titles.size()));
    tblPreview->setHorizontalHeaderLabels(titles);
    const int rows = std::min(static_cast<int>(m_preview.Rows.size()), kPreviewRows);
    tblPreview->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const ImportRows::TRow& row = m_preview.Rows[r];
        QStringList cells{QString::number(row.Line), ImportRows::StatusText(row.Status), row.Field, row.Reason};
        for (const int f : shown)
            cells.append(row.Values[f]);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setBackground(StatusColor(row.Status));
            tblPreview->setItem(r, c, item);
        }
    }
    lblSummary->setText(QStringLiteral("Gotowe: %1, błędne: %2, duplikaty: %3%4")
                            .arg(m_preview.Ready)
                            .arg(m_preview.Invalid)
                            .arg(m_preview.Duplicate)
                            .arg(m_preview.Rows.size() > kPreviewRows
                                     ? QStringLiteral(" (pokazano pierwsze %1 wierszy)").arg(kPreviewRows)
                                     : QString()));
}

void TImportSubjectsForm::SetRunning(bool Running) {
    m_running = Running;
    for (QWidget* w : std::initializer_list<QWidget*>{edtFile, btnBrowse, cbEncoding, cbSeparator, cbTarget,
                                                      tblMapping, btnPreview, btnImport, btnClose})
        w->setEnabled(!Running);
    btnCancel->setEnabled(Running);
}

bool TImportSubjectsForm::RunImport() {
    if (!m_previewed || m_running || m_preview.Ready == 0)
        return false;
    m_cancel = false;
    SetRunning(true);
    lblStatus->setText(QStringLiteral("Trwa import…"));
    const auto result = SubjectImporter::Import(
        m_db.get(), static_cast<SubjectImporter::TTarget>(cbTarget->currentIndex()), m_preview.Rows,
        [this](int Done, int) {
            pbProgress->setValue(static_cast<int>(Done * 100LL / std::max(m_preview.Ready, 1)));
            QApplication::processEvents();
            return !m_cancel;
        });
    SetRunning(false);
    btnImport->setEnabled(false); // the same rows again would all be duplicates
    m_previewed = false;
    if (result.Cancelled) {
        pbProgress->setValue(0);
        lblStatus->setText(result.Error.isEmpty() ? QStringLiteral("Import przerwano; baza pozostała bez zmian.")
                                                  : result.Error);
        ShowUserMessage(static_cast<uint32_t>(result.ErrorCode), this);
        return false;
    }
    if (!result.Ok) {
        pbProgress->setValue(0);
        lblStatus->setText(result.Error + QStringLiteral(" Nic nie zaimportowano."));
        ShowUserMessage(static_cast<uint32_t>(result.ErrorCode), this);
        return false;
    }
    m_imported += result.Imported;
    QString status = QStringLiteral("Zaimportowano podmiotów: %1.").arg(result.Imported);
    if (m_preview.Invalid + m_preview.Duplicate > 0) {
        const QString report = ImportRows::ReportPath(edtFile->text().trimmed());
        QString error;
        status += ImportRows::WriteReport(report, m_preview, error)
                      ? QStringLiteral(" Pominięte wiersze (%1) opisano w pliku %2.")
                            .arg(m_preview.Invalid + m_preview.Duplicate)
                            .arg(report)
                      : u' ' + error;
    }
    lblStatus->setText(status);
    return true;
}

// While the import runs, closing the window cancels it instead.
void TImportSubjectsForm::reject() {
    if (m_running) {
        m_cancel = true;
        return;
    }
    TForm::reject();
}

bool ShowImportSubjectsForm(QWidget* OwnerForm, IEwidarDataBase* DataBase, SubjectImporter::TTarget Target) {
    TImportSubjectsForm form(OwnerForm, DataBase, Target);
    form.exec();
    return form.ImportedCount() > 0;
}
