#include "uBackupForms.h"

#include "uBackupOpeners.h"
#include "uBackupSchedule.h"
#include "uBackupTask.h"
#include "uCore.h"
#include "uEwidarKinds.h"
#include "uImportSequence.h"
#include "uSettingsModule.h"
#include "uUserMessagesModule.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace BackupForms {

namespace {

// Codes of the backend's backup failures the windows tell apart.
constexpr int32_t kWrongPassword = 1045;
constexpr int32_t kPasswordNeeded = 1046;

const QString kPrivacyNote = QStringLiteral(
    "Kopia zawiera dane osobowe: numery PESEL, adresy, rachunki bankowe. Kopię zapisywaną na pendrive, dysk "
    "zewnętrzny lub w chmurze zaszyfruj hasłem i przechowuj w bezpiecznym miejscu.");

// A line edit with a "Wybierz…" button beside it.
QWidget* WithChooser(QLineEdit* Edit, QPushButton*& Button) {
    auto* row = new QWidget;
    auto* l = new QHBoxLayout(row);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(Edit, 1);
    Button = new QPushButton(QStringLiteral("Wybierz…"), row);
    l->addWidget(Button);
    return row;
}

void Inform(QWidget* Owner, const QString& Text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Kopia zapasowa"), Text, QMessageBox::Ok, Owner);
    box.exec();
}

bool Ask(QWidget* Owner, const QString& Text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kopia zapasowa"), Text,
                    QMessageBox::Yes | QMessageBox::No, Owner);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Tak"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nie"));
    return box.exec() == QMessageBox::Yes;
}

bool Backup(QWidget* Owner, IEwidarDataBase* Db, const QString& Path, const QString& Password) {
    const bool ok = BackupTask::Run(Owner, QStringLiteral("Tworzenie i sprawdzanie kopii zapasowej…"), Db,
                                    BackupTask::TWhere::wThread,
                                    [&] { return Db->Backup(Path.toStdU16String(), Password.toStdU16String()); });
    if (!ok)
        ShowUserMessage(static_cast<uint32_t>(Db->GetLastErrorCode()), Owner);
    return ok;
}

class TBackupForm : public QDialog {
public:
    TBackupForm(QWidget* Owner, IEwidarDataBase* Db) : QDialog(Owner), m_db(Db), m_settings(BackupSchedule::Load()) {
        setWindowTitle(QStringLiteral("Utwórz kopię zapasową"));
        setObjectName(QStringLiteral("BackupForm"));
        auto* form = new QFormLayout;
        edtPath = new QLineEdit(BackupSchedule::NewFileName(m_settings.folder, QDateTime::currentDateTime()));
        edtPath->setObjectName(QStringLiteral("edtPath"));
        QPushButton* choose = nullptr;
        form->addRow(QStringLiteral("Plik kopii:"), WithChooser(edtPath, choose));
        chkEncrypt = new QCheckBox(QStringLiteral("Zaszyfruj kopię hasłem"));
        chkEncrypt->setObjectName(QStringLiteral("chkEncrypt"));
        form->addRow(QString(), chkEncrypt);
        edtPassword = new QLineEdit;
        edtPassword->setObjectName(QStringLiteral("edtPassword"));
        edtRepeat = new QLineEdit;
        edtRepeat->setObjectName(QStringLiteral("edtRepeat"));
        for (QLineEdit* e : {edtPassword, edtRepeat}) {
            e->setEchoMode(QLineEdit::Password);
            e->setEnabled(false);
        }
        form->addRow(QStringLiteral("Hasło:"), edtPassword);
        form->addRow(QStringLiteral("Powtórz hasło:"), edtRepeat);
        auto* note = new QLabel(kPrivacyNote);
        note->setWordWrap(true);
        note->setObjectName(QStringLiteral("lblPrivacy"));
        note->setStyleSheet(QStringLiteral("color: #8a4b00;"));

        auto* automatic = new QGroupBox(QStringLiteral("Kopie automatyczne (przy pierwszym uruchomieniu dnia)"));
        automatic->setCheckable(true);
        automatic->setChecked(m_settings.automatic);
        automatic->setObjectName(QStringLiteral("grpAutomatic"));
        auto* af = new QFormLayout(automatic);
        edtFolder = new QLineEdit(m_settings.folder);
        edtFolder->setObjectName(QStringLiteral("edtFolder"));
        QPushButton* chooseFolder = nullptr;
        af->addRow(QStringLiteral("Folder:"), WithChooser(edtFolder, chooseFolder));
        spnCopies = new QSpinBox;
        spnCopies->setObjectName(QStringLiteral("spnCopies"));
        spnCopies->setRange(1, 365);
        spnCopies->setValue(m_settings.copies);
        af->addRow(QStringLiteral("Liczba przechowywanych kopii:"), spnCopies);
        m_automatic = automatic;

        auto* buttons = new QDialogButtonBox;
        btnCreate = buttons->addButton(QStringLiteral("Utwórz kopię"), QDialogButtonBox::AcceptRole);
        btnCreate->setObjectName(QStringLiteral("btnCreate"));
        buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(note);
        layout->addWidget(automatic);
        layout->addWidget(buttons);
        resize(620, sizeHint().height());

        connect(chkEncrypt, &QCheckBox::toggled, this, [this](bool On) {
            edtPassword->setEnabled(On);
            edtRepeat->setEnabled(On);
        });
        connect(choose, &QPushButton::clicked, this, [this] {
            const QString p = QFileDialog::getSaveFileName(this, QStringLiteral("Plik kopii zapasowej"), edtPath->text(),
                                                           BackupSchedule::FileFilter());
            if (!p.isEmpty())
                edtPath->setText(p);
        });
        connect(chooseFolder, &QPushButton::clicked, this, [this] {
            const QString d = QFileDialog::getExistingDirectory(this, QStringLiteral("Folder kopii automatycznych"),
                                                                edtFolder->text());
            if (!d.isEmpty())
                edtFolder->setText(d);
        });
        connect(buttons, &QDialogButtonBox::accepted, this, &TBackupForm::Create);
        connect(buttons, &QDialogButtonBox::rejected, this, [this] {
            SaveSettings();
            reject();
        });
    }

    QLineEdit* edtPath;
    QCheckBox* chkEncrypt;
    QLineEdit* edtPassword;
    QLineEdit* edtRepeat;
    QLineEdit* edtFolder;
    QSpinBox* spnCopies;
    QPushButton* btnCreate;

private:
    void SaveSettings() {
        m_settings.folder = edtFolder->text().trimmed();
        m_settings.copies = spnCopies->value();
        m_settings.automatic = m_automatic->isChecked();
        BackupSchedule::Save(m_settings);
    }

    void Create() {
        const QString path = edtPath->text().trimmed();
        const QString password = chkEncrypt->isChecked() ? edtPassword->text() : QString();
        if (path.isEmpty())
            return Inform(this, QStringLiteral("Podaj plik kopii zapasowej."));
        if (chkEncrypt->isChecked() && password.isEmpty())
            return Inform(this, QStringLiteral("Podaj hasło kopii albo wyłącz szyfrowanie."));
        if (chkEncrypt->isChecked() && password != edtRepeat->text())
            return Inform(this, QStringLiteral("Hasło i jego powtórzenie się różnią."));
        if (QFileInfo::exists(path) &&
            !Ask(this, QStringLiteral("Plik %1 już istnieje.\nCzy zastąpić go nową kopią?").arg(path)))
            return;
        QDir().mkpath(QFileInfo(path).absolutePath());
        SaveSettings();
        if (!Backup(this, m_db, path, password))
            return;
        Inform(this, QStringLiteral("Kopia zapasowa została zapisana i sprawdzona:\n%1").arg(path));
        accept();
    }

    IEwidarDataBase* m_db;
    BackupSchedule::TSettings m_settings;
    QGroupBox* m_automatic;
};

QString KindCaption(int Position) {
    return QString::fromLatin1(EwidarKinds::KindName(Position)).mid(1); // "IAdres" -> "Adres"
}

// The manifest as the operator reads it.
QString ManifestText(const QJsonObject& M) {
    const QDateTime created = QDateTime::fromString(M.value(QStringLiteral("created")).toString(), Qt::ISODate);
    QStringList lines;
    lines << QStringLiteral("Utworzona: %1").arg(created.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    lines << QStringLiteral("Program: %1, wersja bazy: %2, rodzaj bazy: %3")
                 .arg(M.value(QStringLiteral("program")).toString())
                 .arg(M.value(QStringLiteral("schema")).toInt())
                 .arg(M.value(QStringLiteral("engine")).toString());
    qint64 total = 0;
    QStringList kinds;
    const QJsonObject records = M.value(QStringLiteral("records")).toObject();
    for (int position = 1; position <= EwidarKinds::KindCount; ++position) {
        const qint64 n = records.value(QString::number(position)).toInteger();
        total += n;
        if (n > 0)
            kinds << QStringLiteral("%1: %2").arg(KindCaption(position)).arg(n);
    }
    lines << QStringLiteral("Rekordów razem: %1").arg(total);
    lines << kinds.join(QStringLiteral(", "));
    const QJsonObject tables = M.value(QStringLiteral("tables")).toObject();
    lines << QStringLiteral("Operatorów: %1, grup: %2, pól użytkownika: %3")
                 .arg(tables.value(QStringLiteral("ew_user")).toInteger())
                 .arg(tables.value(QStringLiteral("ew_group")).toInteger())
                 .arg(tables.value(QStringLiteral("ew_field")).toInteger());
    return lines.join(u'\n');
}

class TRestoreForm : public QDialog {
public:
    TRestoreForm(QWidget* Owner, IEwidarDataBase* Db) : QDialog(Owner), m_db(Db) {
        setWindowTitle(QStringLiteral("Przywróć z kopii zapasowej"));
        setObjectName(QStringLiteral("RestoreForm"));
        auto* form = new QFormLayout;
        edtPath = new QLineEdit;
        edtPath->setObjectName(QStringLiteral("edtPath"));
        QPushButton* choose = nullptr;
        form->addRow(QStringLiteral("Plik kopii:"), WithChooser(edtPath, choose));
        edtPassword = new QLineEdit;
        edtPassword->setObjectName(QStringLiteral("edtPassword"));
        edtPassword->setEchoMode(QLineEdit::Password);
        edtPassword->setPlaceholderText(QStringLiteral("tylko dla kopii zaszyfrowanej"));
        form->addRow(QStringLiteral("Hasło:"), edtPassword);
        btnCheck = new QPushButton(QStringLiteral("Sprawdź kopię"));
        btnCheck->setObjectName(QStringLiteral("btnCheck"));
        form->addRow(QString(), btnCheck);
        lblManifest = new QLabel(QStringLiteral("Wskaż plik kopii i sprawdź go przed przywróceniem."));
        lblManifest->setObjectName(QStringLiteral("lblManifest"));
        lblManifest->setWordWrap(true);
        lblManifest->setFrameShape(QFrame::StyledPanel);
        lblManifest->setMinimumHeight(110);
        lblManifest->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        rbNew = new QRadioButton(QStringLiteral("Do nowej bazy danych (nowy plik SQLite lub pusta baza na serwerze)"));
        rbNew->setObjectName(QStringLiteral("rbNew"));
        rbCurrent = new QRadioButton(QStringLiteral("Zastąp bieżącą bazę danych (jej obecny stan zostanie najpierw "
                                                    "zapisany jako osobna kopia)"));
        rbCurrent->setObjectName(QStringLiteral("rbCurrent"));
        rbNew->setChecked(true);
        auto* buttons = new QDialogButtonBox;
        btnRestore = buttons->addButton(QStringLiteral("Przywróć"), QDialogButtonBox::AcceptRole);
        btnRestore->setObjectName(QStringLiteral("btnRestore"));
        btnRestore->setEnabled(false);
        buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(lblManifest);
        layout->addWidget(rbNew);
        layout->addWidget(rbCurrent);
        layout->addWidget(buttons);
        resize(640, sizeHint().height());

        connect(choose, &QPushButton::clicked, this, [this] {
            const QString p = QFileDialog::getOpenFileName(this, QStringLiteral("Plik kopii zapasowej"),
                                                           BackupSchedule::Load().folder, BackupSchedule::FileFilter());
            if (!p.isEmpty())
                edtPath->setText(p);
        });
        connect(edtPath, &QLineEdit::textChanged, this, [this] { btnRestore->setEnabled(false); });
        connect(edtPassword, &QLineEdit::textChanged, this, [this] { btnRestore->setEnabled(false); });
        connect(btnCheck, &QPushButton::clicked, this, &TRestoreForm::Check);
        connect(buttons, &QDialogButtonBox::accepted, this, &TRestoreForm::RestoreChosen);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    bool Reconnect() const { return m_reconnect; }

    QLineEdit* edtPath;
    QLineEdit* edtPassword;
    QPushButton* btnCheck;
    QLabel* lblManifest;
    QRadioButton* rbNew;
    QRadioButton* rbCurrent;
    QPushButton* btnRestore;

private:
    void Check() {
        std::u16string manifest;
        const QString path = edtPath->text().trimmed();
        const bool ok = BackupTask::Run(this, QStringLiteral("Sprawdzanie kopii zapasowej…"), m_db,
                                        BackupTask::TWhere::wThread, [&] {
                                            return m_db->ReadBackup(path.toStdU16String(),
                                                                    edtPassword->text().toStdU16String(), manifest);
                                        });
        if (!ok) {
            const int32_t code = m_db->GetLastErrorCode();
            lblManifest->setText(code == kPasswordNeeded || code == kWrongPassword
                                     ? QStringLiteral("Kopia jest zaszyfrowana: podaj właściwe hasło.")
                                     : QStringLiteral("Kopii nie można przywrócić."));
            ShowUserMessage(static_cast<uint32_t>(code), this);
            return;
        }
        lblManifest->setText(ManifestText(QJsonDocument::fromJson(QString::fromStdU16String(manifest).toUtf8()).object()));
        btnRestore->setEnabled(true);
    }

    bool Restore(IEwidarDataBase* Target) {
        const QString path = edtPath->text().trimmed();
        const bool ok = BackupTask::Run(this, QStringLiteral("Przywracanie danych z kopii…"), Target,
                                        BackupTask::TWhere::wHere, [&] {
                                            return Target->Restore(path.toStdU16String(),
                                                                   edtPassword->text().toStdU16String());
                                        });
        if (!ok)
            ShowUserMessage(static_cast<uint32_t>(Target->GetLastErrorCode()), this);
        return ok;
    }

    void RestoreChosen() {
        if (rbCurrent->isChecked())
            return RestoreOverCurrent();
        RestoreIntoNew();
    }

    void RestoreOverCurrent() {
        if (!Ask(this, QStringLiteral("Wszystkie dane bieżącej bazy zostaną zastąpione zawartością kopii.\n"
                                      "Najpierw zostanie zapisana kopia obecnego stanu bazy.\nCzy kontynuować?")))
            return;
        const QString folder = BackupSchedule::Load().folder;
        QDir().mkpath(folder);
        const QString before = QDir(folder).filePath(
            QDateTime::currentDateTime().toString(QStringLiteral("'przed-przywroceniem-'yyyy-MM-dd-HHmmss'.ewkopia'")));
        if (!Backup(this, m_db, before, QString()))
            return;
        if (!Restore(m_db))
            return;
        Inform(this, QStringLiteral("Dane zostały przywrócone z kopii.\nStan sprzed przywrócenia zapisano w:\n%1")
                         .arg(before));
        m_reconnect = true;
        accept();
    }

    void RestoreIntoNew() {
        const QString symbol = QString::fromStdU16String(m_db->GetDataBaseSymbol());
        TRootHold target = CreateRoot(symbol);
        if (!target)
            return ShowUserMessage(319, this), void();
        std::u16string param;
        if (!target->EditConnectionParams(this, param, true))
            return;
        if (!target->Connect(param, true))
            return ShowUserMessage(static_cast<uint32_t>(target->GetLastErrorCode()), this), void();
        if (target->GetDataBaseID() == m_db->GetDataBaseID())
            return Inform(this, QStringLiteral("Wskazana baza jest bazą bieżącą: wybierz „Zastąp bieżącą bazę danych”."));
        const auto subjects = target->GetRegistries() ? target->GetRegistries()->GetPodmioty({}) : nullptr;
        if (subjects && subjects->GetCount() > 0 &&
            !Ask(this, QStringLiteral("Wskazana baza nie jest pusta: jej dane zostaną zastąpione.\nCzy kontynuować?")))
            return;
        if (!Restore(target.get()))
            return;
        TSettingsModule& settings = *Core()->FSettingsModule;
        settings.SetConnectorParam(symbol, QString::fromStdU16String(param));
        const QString history = settings.GetConnectorHistory(symbol);
        if (!history.contains(QString::fromStdU16String(param)))
            settings.SetConnectorHistory(symbol, history + QString::fromStdU16String(param) + u'@');
        Inform(this, QStringLiteral("Dane zostały przywrócone do nowej bazy.\nProgram połączy się teraz z tą bazą."));
        m_reconnect = true;
        accept();
    }

    IEwidarDataBase* m_db;
    bool m_reconnect = false;
};

} // namespace

void ShowBackupForm(QWidget* Owner, IEwidarDataBase* DataBase) {
    TBackupForm form(Owner, DataBase);
    form.exec();
}

bool ShowRestoreForm(QWidget* Owner, IEwidarDataBase* DataBase) {
    TRestoreForm form(Owner, DataBase);
    form.exec();
    return form.Reconnect();
}

void StartAutomaticBackup(QWidget* Owner, IEwidarDataBase* DataBase) {
    BackupSchedule::TSettings settings = BackupSchedule::Load();
    const QDate today = QDate::currentDate();
    if (!DataBase || !BackupSchedule::Due(settings, today) || !DataBase->IsLoggedIn() || !QDir().mkpath(settings.folder))
        return;
    const QString path = BackupSchedule::NewFileName(settings.folder, QDateTime::currentDateTime());
    TIntfPtr<IEwidarDataBase> db(DataBase);
    QPointer<QWidget> owner(Owner);
    BackupTask::RunInBackground(
        DataBase, [db, path] { return db->Backup(path.toStdU16String(), {}); },
        [db, settings, today, owner](bool Ok) mutable {
            if (!Ok) {
                ShowUserMessage(static_cast<uint32_t>(db->GetLastErrorCode()), owner.data());
                return;
            }
            settings.lastDay = today;
            BackupSchedule::Save(settings);
            BackupSchedule::Prune(settings.folder, settings.copies);
        });
}

void InstallBackupWindows() {
    BackupOpeners::SetBackupOpener(&ShowBackupForm);
    BackupOpeners::SetRestoreOpener(&ShowRestoreForm);
    BackupOpeners::SetStartHook(&StartAutomaticBackup);
    BackupOpeners::SetStopHook(&BackupTask::StopBackground);
}

} // namespace BackupForms
