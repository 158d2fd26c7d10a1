#include "uSqlConnectionDialog.h"

#include "uSqlDataBase.h"
#include "uSqlDialect.h"
#include "uSqlParams.h"
#include "uSqlServerDataBase.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
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

TSqlServerDialog::TSqlServerDialog(QWidget* Parent, const QString& Param) : QDialog(Parent), m_param(Param) {
    setObjectName(QStringLiteral("TSqlServerDialog"));
    setWindowTitle(QStringLiteral("Parametry bazy danych MySQL / MariaDB"));
    const TSqlParams p = TSqlParams::Parse(Param);
    auto* form = new QFormLayout;
    const auto edit = [&](QLineEdit*& Field, const QString& Key, const QString& Caption) {
        Field = new QLineEdit(p.Value(Key), this);
        Field->setObjectName(QStringLiteral("edt") + Key);
        form->addRow(Caption, Field);
    };
    edit(m_host, QStringLiteral("HOST"), QStringLiteral("&Serwer:"));
    edit(m_port, QStringLiteral("PORT"), QStringLiteral("&Port:"));
    edit(m_socket, QStringLiteral("SOCKET"), QStringLiteral("Gniazdo &lokalne:"));
    edit(m_db, QStringLiteral("DB"), QStringLiteral("&Baza danych:"));
    edit(m_user, QStringLiteral("USER"), QStringLiteral("&Użytkownik:"));
    m_host->setMinimumWidth(300);
    m_port->setPlaceholderText(QStringLiteral("3306"));
    auto* note = new QLabel(QStringLiteral("Hasło nie jest zapisywane: program bierze je z pliku ~/.my.cnf "
                                           "albo pyta o nie przy łączeniu."),
                            this);
    note->setWordWrap(true);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("lblError"));
    m_result->setWordWrap(true);
    auto* test = Button(this, QStringLiteral("btnTest"), QStringLiteral("Test połączenia"),
                        QStringLiteral("Sprawdź, czy serwer przyjmuje połączenie z tymi parametrami"));
    connect(test, &QPushButton::clicked, this, [this] { TestConnection(); });
    auto* create = Button(this, QStringLiteral("btnNew"), QStringLiteral("Nowa baza…"),
                          QStringLiteral("Utwórz bazę danych o podanej nazwie (albo tabele programu w pustej "
                                         "bazie); bazy z danymi pozostają nietknięte"));
    connect(create, &QPushButton::clicked, this, [this] { NewDataBase(); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Anuluj"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* actions = new QHBoxLayout;
    actions->addWidget(test);
    actions->addWidget(create);
    actions->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(actions);
    layout->addWidget(m_result, 1);
    layout->addWidget(buttons);
    // Room for a server's message of a few lines without squeezing the fields.
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_result->setMinimumHeight(m_result->fontMetrics().lineSpacing() * 4);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

QString TSqlServerDialog::Param() const {
    TSqlParams p = TSqlParams::Parse(m_param);
    p.SetValue(QStringLiteral("HOST"), m_host->text().trimmed());
    p.SetValue(QStringLiteral("PORT"), m_port->text().trimmed());
    p.SetValue(QStringLiteral("SOCKET"), m_socket->text().trimmed());
    p.SetValue(QStringLiteral("DB"), m_db->text().trimmed());
    p.SetValue(QStringLiteral("USER"), m_user->text().trimmed());
    p.Remove(QStringLiteral("PASSWORD"));
    return p.ToString();
}

bool TSqlServerDialog::ReadTarget(TSqlTarget& Target) {
    Target.host = m_host->text().trimmed();
    Target.socket = m_socket->text().trimmed();
    Target.database = m_db->text().trimmed();
    Target.user = m_user->text().trimmed();
    Target.password = m_password;
    const QString port = m_port->text().trimmed();
    bool portOk = true;
    if (!port.isEmpty())
        Target.port = port.toInt(&portOk);
    if (port.isEmpty() || (portOk && Target.port >= 1 && Target.port <= 65535))
        return true;
    m_result->setText(QStringLiteral("Port musi być liczbą od 1 do 65535."));
    return false;
}

// Opens a bare connection with the typed parameters: nothing is created or written.
void TSqlServerDialog::TestConnection() {
    TSqlTarget t;
    if (!ReadTarget(t))
        return;
    const QString failure = SqlServerDataBase::Probe(t);
    if (failure.isEmpty())
        m_password = t.password;
    m_result->setText(failure.isEmpty() ? QStringLiteral("Połączenie działa.")
                                        : QStringLiteral("Nie można się połączyć: ") + failure);
}

// The name is checked as typed, blanks included, since the parameter keeps it trimmed.
void TSqlServerDialog::NewDataBase() {
    TSqlTarget t;
    if (!ReadTarget(t))
        return;
    if (const QString problem = SqlServerDataBase::NameProblem(m_db->text()); !problem.isEmpty()) {
        m_result->setText(problem);
        m_db->setFocus();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const SqlServerDataBase::TOutcome outcome = SqlServerDataBase::Create(t);
    QApplication::restoreOverrideCursor();
    m_result->setText(outcome.text);
    if (outcome.ok) {
        m_password = t.password;
        m_ok->setFocus();
    }
}

namespace SqlConnectionDialog {

bool EditServer(QWidget* Parent, QString& Param) {
    TSqlServerDialog dlg(Parent, Param);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    Param = dlg.Param();
    return true;
}

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
