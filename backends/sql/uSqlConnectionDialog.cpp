#include "uSqlConnectionDialog.h"

#include "uSqlDataBase.h"
#include "uSqlParams.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kNameFilter = "Bazy danych Ewidar (*.db *.sqlite *.sqlite3);;Wszystkie pliki (*)";

QPushButton* Button(QWidget* Parent, const QString& Name, const QString& Text, const QString& Hint) {
    auto* b = new QPushButton(Text, Parent);
    b->setObjectName(Name);
    b->setToolTip(Hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TSqlConnectionDialog::TSqlConnectionDialog(QWidget* Parent, const QString& Path, bool AllowNew)
    : QDialog(Parent), m_allowNew(AllowNew) {
    setObjectName(QStringLiteral("TSqlConnectionDialog"));
    setWindowTitle(QStringLiteral("Parametry bazy danych SQLite"));
    auto* label = new QLabel(QStringLiteral("Plik bazy danych:"), this);
    m_path = new QLineEdit(Path, this);
    m_path->setObjectName(QStringLiteral("edtDIR"));
    m_path->setMinimumWidth(420);
    label->setBuddy(m_path);
    auto* browse = Button(this, QStringLiteral("btnBrowse"), QStringLiteral("Przeglądaj…"),
                          QStringLiteral("Wybierz istniejący plik bazy danych"));
    auto* create = Button(this, QStringLiteral("btnNew"), QStringLiteral("Nowa baza…"),
                          QStringLiteral("Wskaż folder i nazwę nowego pliku bazy danych"));
    if (!AllowNew)
        create->hide();
    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("lblError"));
    m_error->setStyleSheet(QStringLiteral("color: #c00000"));
    m_error->setWordWrap(true);
    m_error->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));

    auto* row = new QHBoxLayout;
    row->addWidget(m_path, 1);
    row->addWidget(browse);
    row->addWidget(create);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(m_error);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &TSqlConnectionDialog::BrowseExisting);
    connect(create, &QPushButton::clicked, this, &TSqlConnectionDialog::BrowseNew);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSqlConnectionDialog::TryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_path, &QLineEdit::textChanged, m_error, &QWidget::hide);
}

QString TSqlConnectionDialog::Path() const {
    return QFileInfo(QDir::fromNativeSeparators(m_path->text().trimmed())).absoluteFilePath();
}

QString TSqlConnectionDialog::StartFolder() const {
    const QString text = m_path->text().trimmed();
    return text.isEmpty() ? QDir::homePath() : QFileInfo(QDir::fromNativeSeparators(text)).absolutePath();
}

void TSqlConnectionDialog::BrowseExisting() {
    QFileDialog dlg(this, QStringLiteral("Wybierz plik bazy danych"), StartFolder(),
                    QString::fromUtf8(kNameFilter));
    dlg.setObjectName(QStringLiteral("dlgOpenDataBase"));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
        m_path->setText(QDir::toNativeSeparators(dlg.selectedFiles().constFirst()));
}

// Naming a file that exists already is allowed: it is then opened, never overwritten.
void TSqlConnectionDialog::BrowseNew() {
    QFileDialog dlg(this, QStringLiteral("Nowy plik bazy danych"), StartFolder(),
                    QString::fromUtf8(kNameFilter));
    dlg.setObjectName(QStringLiteral("dlgNewDataBase"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(QStringLiteral("db"));
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
        m_path->setText(QDir::toNativeSeparators(dlg.selectedFiles().constFirst()));
}

void TSqlConnectionDialog::TryAccept() {
    const QString text = m_path->text().trimmed();
    const QFileInfo fi(QDir::fromNativeSeparators(text));
    QString problem;
    if (text.isEmpty())
        problem = QStringLiteral("Wskaż plik bazy danych.");
    else if (fi.isDir())
        problem = QStringLiteral("Wskazana ścieżka jest folderem, a nie plikiem bazy danych.");
    else if (!m_allowNew && !fi.exists())
        problem = QStringLiteral("Plik bazy danych nie istnieje.");
    if (problem.isEmpty()) {
        accept();
        return;
    }
    m_error->setText(problem);
    m_error->show();
    m_path->setFocus();
}

namespace SqlConnectionDialog {

bool Edit(QWidget* Parent, QString& Param, bool AllowNew) {
    TSqlParams params = TSqlParams::Parse(Param);
    QString path = params.Value(QStringLiteral("DIR")).trimmed();
    if (path.isEmpty())
        path = DefaultDataBasePath();
    TSqlConnectionDialog dlg(Parent, QDir::toNativeSeparators(path), AllowNew);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    params.SetValue(QStringLiteral("DIR"), dlg.Path());
    Param = params.ToString();
    return true;
}

} // namespace SqlConnectionDialog
