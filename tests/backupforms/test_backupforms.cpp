// The backup windows driven as the operator does, over the real SQL backend: a backup
// made in "Utwórz kopię zapasową…" is shown by "Przywróć z kopii…" with its counts and
// restored over the current database; a wrong password is refused there. The schedule:
// the day's backup is due once a day, old copies beyond the count go, oldest first.

#include "BackendLoader.h"
#include "FakeMessagePresenter.h"
#include "TestSupport.h"
#include "uBackupForms.h"
#include "uBackupSchedule.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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
