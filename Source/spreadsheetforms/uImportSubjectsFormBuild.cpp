// The import window's controls.

#include "uImportSubjectsForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class W> W* Named(W* Widget, const char* Name) {
    Widget->setObjectName(QLatin1String(Name));
    return Widget;
}

QComboBox* Combo(QWidget* Parent, const char* Name, const QStringList& Items) {
    auto* combo = Named(new QComboBox(Parent), Name);
    combo->addItems(Items);
    return combo;
}

QTableWidget* Table(QWidget* Parent, const char* Name) {
    auto* table = Named(new QTableWidget(Parent), Name);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

} // namespace

QLayout* TImportSubjectsForm::BuildFileRow() {
    auto* grid = new QGridLayout;
    edtFile = Named(new QLineEdit(this), "edtFile");
    btnBrowse = Named(new QPushButton(QStringLiteral("Wybierz…"), this), "btnBrowse");
    cbEncoding = Combo(this, "cbEncoding",
                       {QStringLiteral("Wykryj"), QStringLiteral("UTF-8"), QStringLiteral("Windows-1250")});
    cbSeparator = Combo(this, "cbSeparator",
                        {QStringLiteral("Wykryj"), QStringLiteral("Średnik ( ; )"), QStringLiteral("Przecinek ( , )")});
    cbTarget = Combo(this, "cbTarget",
                     {QStringLiteral("Podatnicy"), QStringLiteral("Pracownicy"), QStringLiteral("Kontrahenci")});
    grid->addWidget(new QLabel(QStringLiteral("Plik CSV:"), this), 0, 0);
    grid->addWidget(edtFile, 0, 1, 1, 4);
    grid->addWidget(btnBrowse, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("Kodowanie:"), this), 1, 0);
    grid->addWidget(cbEncoding, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Separator:"), this), 1, 2);
    grid->addWidget(cbSeparator, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Dodaj do:"), this), 1, 4);
    grid->addWidget(cbTarget, 1, 5);
    return grid;
}

QLayout* TImportSubjectsForm::BuildButtons() {
    auto* row = new QHBoxLayout;
    btnImport = Named(new QPushButton(QStringLiteral("Importuj gotowe"), this), "btnImport");
    btnCancel = Named(new QPushButton(QStringLiteral("Przerwij"), this), "btnCancel");
    btnClose = Named(new QPushButton(QStringLiteral("Zamknij"), this), "btnClose");
    btnImport->setEnabled(false);
    btnCancel->setEnabled(false);
    row->addStretch(1);
    for (QPushButton* b : {btnImport, btnCancel, btnClose})
        row->addWidget(b);
    return row;
}

void TImportSubjectsForm::Build() {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildFileRow());
    auto* mapping = new QGroupBox(QStringLiteral("Przypisanie kolumn do pól podmiotu"), this);
    auto* mappingLayout = new QVBoxLayout(mapping);
    tblMapping = Table(mapping, "tblMapping");
    tblMapping->setColumnCount(3);
    tblMapping->setHorizontalHeaderLabels(
        {QStringLiteral("Kolumna pliku"), QStringLiteral("Pierwsza wartość"), QStringLiteral("Pole podmiotu")});
    tblMapping->setColumnWidth(0, 200);
    tblMapping->setColumnWidth(1, 220);
    btnPreview = Named(new QPushButton(QStringLiteral("Podgląd"), mapping), "btnPreview");
    btnPreview->setEnabled(false);
    mappingLayout->addWidget(tblMapping);
    mappingLayout->addWidget(btnPreview, 0, Qt::AlignRight);
    auto* preview = new QGroupBox(QStringLiteral("Podgląd"), this);
    auto* previewLayout = new QVBoxLayout(preview);
    tblPreview = Table(preview, "tblPreview");
    lblSummary = Named(new QLabel(preview), "lblSummary");
    previewLayout->addWidget(tblPreview);
    previewLayout->addWidget(lblSummary);
    pbProgress = Named(new QProgressBar(this), "pbProgress");
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    lblStatus = Named(new QLabel(this), "lblStatus");
    lblStatus->setWordWrap(true);
    layout->addWidget(mapping, 2);
    layout->addWidget(preview, 3);
    layout->addWidget(pbProgress);
    layout->addWidget(lblStatus);
    layout->addLayout(BuildButtons());
    // Enter in the file name reads the file; no button takes it over.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);
    resize(900, 700);
}
