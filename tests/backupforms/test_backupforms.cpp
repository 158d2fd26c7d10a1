// The backup windows driven as the operator does, over the real SQL backend: a backup
// made in "Utwórz kopię zapasową…" is shown by "Przywróć z kopii…" with its counts and
// restored over the current database; a wrong password is refused there. The schedule:
// the day's backup is due once a day, old copies beyond the count go, oldest first. The
// command-line backup for cron: arguments, password files and the operator's login.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "TestSupport.h"
#include "uBackupForms.h"
#include "uBackupSchedule.h"
#include "uSettingsModule.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TIntfPtr<IEwidarDataBase> Connected(const QString& File) {
    auto db = NewRoot(QStringLiteral("SQLITE"));
    std::u16string param = U(QStringLiteral("DIR=%1;").arg(File));
    EXPECT_TRUE(db && db->Connect(param, true));
    return db;
}

int Subjects(IEwidarDataBase* Db) {
    return Db->GetRegistries()->GetPodmioty({})->GetCount();
}

void AddSubject(IEwidarDataBase* Db, const QString& Name) {
    auto p = Db->GetRegistries()->GetPodatnicy({})->New();
    p->GetDataFields()->GetDataField(u"cDanePodmiotuNazwisko")->SetValue(U(Name));
    ASSERT_TRUE(p->Post());
}

// Presses a button of the next message box and remembers its text.
void AnswerBox(QString& Text, QMessageBox::StandardButton Button = QMessageBox::Ok, int TimeoutMs = 60000) {
    TestSupport::WhenModal(
        TestSupport::WindowOf<QMessageBox>(),
        [&Text, Button](QWidget* W) {
            auto* box = qobject_cast<QMessageBox*>(W);
            ASSERT_TRUE(box) << W->metaObject()->className();
            Text = box->text();
            box->button(Button)->click();
        },
        TimeoutMs);
}

} // namespace

TEST(BackupSchedule, TheDaysBackupIsDueOnceAndOldCopiesGoOldestFirst) {
    BackupSchedule::TSettings s;
    const QDate today(2026, 12, 10);
    EXPECT_TRUE(BackupSchedule::Due(s, today));
    s.lastDay = today.addDays(-1);
    EXPECT_TRUE(BackupSchedule::Due(s, today));
    s.lastDay = today;
    EXPECT_FALSE(BackupSchedule::Due(s, today));
    s.lastDay = {};
    s.automatic = false;
    EXPECT_FALSE(BackupSchedule::Due(s, today));

    const QString dir = TestSupport::NewTempDir(QStringLiteral("prune"));
    QStringList names;
    for (int day = 1; day <= 9; ++day) {
        names << QFileInfo(BackupSchedule::NewFileName(dir, QDateTime(QDate(2026, 11, day), QTime(8, 0)))).fileName();
        QFile f(QDir(dir).filePath(names.last()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (const char* other : {"moja.ewkopia", "przed-przywroceniem-2026-11-01-080000.ewkopia"}) {
        QFile f(QDir(dir).filePath(QLatin1String(other)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(BackupSchedule::Prune(dir, 7), names.mid(0, 2));
    QStringList left = QDir(dir).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left.size(), 9); // seven copies and the operator's own two files
    EXPECT_TRUE(left.contains(QStringLiteral("moja.ewkopia")));
    EXPECT_TRUE(left.contains(names.last()));
}

TEST(BackupWindows, ABackupMadeInTheWindowIsShownAndRestoredOverTheCurrentDatabase) {
    ASSERT_TRUE(Backend().error.isEmpty()) << Backend().error.toStdString();
    const QString dir = TestSupport::NewTempDir(QStringLiteral("okna"));
    BackupSchedule::TSettings settings = BackupSchedule::Load();
    settings.folder = dir + QStringLiteral("/auto");
    BackupSchedule::Save(settings);
    auto db = Connected(dir + QStringLiteral("/baza.db"));
    for (const char* name : {"Nowak", "Kowalska", "Wiśniewski"})
        AddSubject(db.get(), QString::fromUtf8(name));
    const QString path = dir + QStringLiteral("/reczna.ewkopia");

    QString done;
    TestSupport::WhenModal(TestSupport::WindowNamed(QStringLiteral("BackupForm")), [&](QWidget* W) {
        W->findChild<QLineEdit*>(QStringLiteral("edtPath"))->setText(path);
        W->findChild<QCheckBox*>(QStringLiteral("chkEncrypt"))->setChecked(true);
        W->findChild<QLineEdit*>(QStringLiteral("edtPassword"))->setText(QStringLiteral("hasło1"));
        W->findChild<QLineEdit*>(QStringLiteral("edtRepeat"))->setText(QStringLiteral("hasło1"));
        EXPECT_TRUE(W->findChild<QLabel*>(QStringLiteral("lblPrivacy"))->text().contains(QStringLiteral("PESEL")));
        AnswerBox(done);
        W->findChild<QPushButton*>(QStringLiteral("btnCreate"))->click();
    });
    BackupForms::ShowBackupForm(nullptr, db.get());
    EXPECT_TRUE(done.contains(QStringLiteral("zapisana i sprawdzona"))) << done.toStdString();
    ASSERT_TRUE(QFile::exists(path));

    AddSubject(db.get(), QStringLiteral("Dopisany po kopii"));
    ASSERT_EQ(Subjects(db.get()), 4);
    QString manifest, refused, question, restored;
    FakeMessagePresenter messages;
    TestSupport::WhenModal(TestSupport::WindowNamed(QStringLiteral("RestoreForm")), [&](QWidget* W) {
        W->findChild<QLineEdit*>(QStringLiteral("edtPath"))->setText(path);
        auto* password = W->findChild<QLineEdit*>(QStringLiteral("edtPassword"));
        auto* restore = W->findChild<QPushButton*>(QStringLiteral("btnRestore"));
        // A wrong password: refused with its message, nothing to restore.
        QTest::keyClicks(password, QStringLiteral("zgadywane"));
        W->findChild<QPushButton*>(QStringLiteral("btnCheck"))->click();
        refused = W->findChild<QLabel*>(QStringLiteral("lblManifest"))->text();
        EXPECT_FALSE(restore->isEnabled());
        password->setText(QStringLiteral("hasło1"));
        W->findChild<QPushButton*>(QStringLiteral("btnCheck"))->click();
        manifest = W->findChild<QLabel*>(QStringLiteral("lblManifest"))->text();
        ASSERT_TRUE(restore->isEnabled());
        W->findChild<QRadioButton*>(QStringLiteral("rbCurrent"))->setChecked(true);
        TestSupport::WhenModal(
            TestSupport::WindowOf<QMessageBox>(),
            [&](QWidget* Q) {
                auto* box = qobject_cast<QMessageBox*>(Q);
                ASSERT_TRUE(box);
                question = box->text();
                AnswerBox(restored);
                box->button(QMessageBox::Yes)->click();
            },
            60000);
        restore->click();
    });
    EXPECT_TRUE(BackupForms::ShowRestoreForm(nullptr, db.get())) << "the program connects again";
    EXPECT_TRUE(refused.contains(QStringLiteral("hasło"))) << refused.toStdString();
    EXPECT_TRUE(manifest.contains(QStringLiteral("Podmiot: 3"))) << manifest.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("zastąpione"))) << question.toStdString();
    EXPECT_TRUE(restored.contains(QStringLiteral("przywrócone"))) << restored.toStdString();
    EXPECT_EQ(Subjects(db.get()), 3);
    // The state before the restore was saved as a backup of its own.
    EXPECT_EQ(QDir(settings.folder).entryList({QStringLiteral("przed-przywroceniem-*.ewkopia")}, QDir::Files).size(), 1);
    db->Disconnect();
}

namespace {

// A file holding Text, with the given permissions.
QString SecretFile(const QString& Dir, const QString& Name, const QString& Text, QFileDevice::Permissions Mode) {
    const QString path = QDir(Dir).filePath(Name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Text.toUtf8() + "\n");
    f.close();
    EXPECT_TRUE(f.setPermissions(Mode));
    return path;
}

} // namespace

// Each row runs "Ewidar --kopia" over the configured database: one without operators, or
// one whose only operator is "anna". A row's folder is new; {OK}, {BAD} and {OPEN} stand
// for the files of anna's password (owner only), a wrong one, and hers readable by all.
TEST(BackupSchedule, TheCommandLineBackupLogsInWhereTheDatabaseHasOperators) {
    ASSERT_TRUE(Backend().error.isEmpty()) << Backend().error.toStdString();
    const QString dir = TestSupport::NewTempDir(QStringLiteral("cron"));
    const QString plain = dir + QStringLiteral("/bez-operatorow.db");
    const QString guarded = dir + QStringLiteral("/z-operatorami.db");
    Connected(plain)->Disconnect();
    {
        auto db = Connected(guarded);
        AddSubject(db.get(), QStringLiteral("Nowak"));
        ASSERT_TRUE(AddAdministrator(db.get(), u"anna", u"tajne-hasło"));
        db->Disconnect();
    }
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QHash<QString, QString> files = {
        {QStringLiteral("{OK}"), SecretFile(dir, QStringLiteral("ok"), QStringLiteral("tajne-hasło"), owner)},
        {QStringLiteral("{BAD}"), SecretFile(dir, QStringLiteral("zle"), QStringLiteral("zgadywane"), owner)},
        {QStringLiteral("{OPEN}"), SecretFile(dir, QStringLiteral("jawne"), QStringLiteral("tajne-hasło"),
                                               owner | QFileDevice::ReadGroup | QFileDevice::ReadOther)},
        {QStringLiteral("{NONE}"), dir + QStringLiteral("/nie-ma")}};
    TSettingsModule settings;
    settings.FTempSettingsRecord.DataBaseSymbol = QStringLiteral("SQLITE");
    settings.Save();

    struct TRow {
        bool operators;
        const char* arguments;
        int code;
        const char* says;
    };
    const TRow rows[] = {
        {false, "", 0, "zapisana i sprawdzona"},
        {false, "--login anna --haslo-operatora-z-pliku {OK}", 0, "zapisana i sprawdzona"},
        {true, "", 1, "ma operatorów, a nie podano, kto robi kopię; dodaj --login LOGIN --haslo-operatora-z-pliku"},
        {true, "--login anna --haslo-operatora-z-pliku {OK}", 0, "zapisana i sprawdzona"},
        {true, "--haslo-operatora-z-pliku {OK} --login anna", 0, "zapisana i sprawdzona"},
        {true, "--login anna --haslo-operatora-z-pliku {BAD}", 1, "operator anna nie został zalogowany (kod"},
        {true, "--login anna --haslo-operatora-z-pliku {OPEN}", 1, "pozwól na dostęp tylko właścicielowi"},
        {true, "--login anna --haslo-operatora-z-pliku {NONE}", 1, "nie można odczytać pliku hasła operatora"},
        {true, "--login anna", 2, "Użycie: Ewidar --kopia FOLDER"},
        {true, "--haslo-operatora-z-pliku {OK}", 2, "Użycie: Ewidar --kopia FOLDER"},
        {true, "--login --haslo-operatora-z-pliku {OK}", 2, "Użycie: Ewidar --kopia FOLDER"},
    };
    int n = 0;
    for (const TRow& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.operators ? "with operators: " : "without: ") << row.arguments);
        settings.SetConnectorParam(QStringLiteral("SQLITE"),
                                   QStringLiteral("DIR=%1;").arg(row.operators ? guarded : plain));
        const QString folder = dir + QStringLiteral("/kopie-%1").arg(++n);
        QStringList arguments = {QStringLiteral("--kopia"), folder};
        for (const QString& a : QString::fromUtf8(row.arguments).split(u' ', Qt::SkipEmptyParts))
            arguments << files.value(a, a);
        // The program itself, as cron starts it (this process's home and settings).
        QProcess program;
        program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/Ewidar"), arguments);
        ASSERT_TRUE(program.waitForFinished(240000)) << program.errorString().toStdString();
        const QString said = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), row.code);
        EXPECT_TRUE(said.contains(QString::fromUtf8(row.says))) << said.toStdString();
        EXPECT_EQ(said.count(u'\n'), 1) << said.toStdString();
        const QStringList written = QDir(folder).entryList({QStringLiteral("*.ewkopia*")}, QDir::Files);
        EXPECT_EQ(written.size(), row.code == 0 ? 1 : 0) << written.join(u' ').toStdString();
    }
}
