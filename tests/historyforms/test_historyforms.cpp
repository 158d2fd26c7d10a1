// The history windows over the real SQL backend: "Dziennik zmian" with its filters, CSV
// export and "Sprawdź spójność historii"; "Historia zmian" of a deleted record; the
// record window's button reaching the history through its opener.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "uCsv.h"
#include "uEwidarQuorDBSymbole.h"
#include "uHistoryForms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QRegularExpression>
#include <QUuid>

namespace {

QStringList Column(THistoryTable* Grid, int Column) {
    QStringList out;
    for (int r = 0; r < Grid->rowCount(); ++r)
        out << Grid->item(r, Column)->text();
    return out;
}

constexpr int kColOperator = 2, kColRecord = 6, kColField = 7, kColOld = 8, kColNew = 9;

} // namespace

class HistoryFormsTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        auto admins = m_db->GetUsersGroups()->AddGroup();
        admins->SetName(u"Administratorzy");
        admins->SetUprawnienia(31);
        ASSERT_TRUE(admins->Post());
        for (const char16_t* login : {u"anna", u"piotr"}) {
            auto u = admins->GetUsers()->AddUser();
            u->SetLogin(login);
            u->SetPassword(u"haslo");
            ASSERT_TRUE(u->Post());
        }
    }
    FakeMessagePresenter m_messages;
};

// Anna and Piotr each post a subject; the journal filters by operator, by text and by
// record, shortens a long value (whole and escaped in the tooltip), exports what it shows
// and checks the chain, naming the first broken entry after a row is changed outside.
TEST_F(HistoryFormsTest, JournalFiltersExportsAndChecksTheChain) {
    const QString longValue = QStringLiteral("<b>Ulica</b> ") + QString(80, u'x') + QStringLiteral(" =koniec");
    ASSERT_TRUE(m_db->Login(u"anna", u"haslo"));
    auto a = NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Alfa"));
    SetValue(a.get(), cDanePodmiotuNazwisko.Symbol, longValue);
    ASSERT_TRUE(a->Post());
    ASSERT_TRUE(m_db->Login(u"piotr", u"haslo"));
    auto b = NewPodatnik(m_db.get(), QStringLiteral("Piotr"), QStringLiteral("Beta"), QStringLiteral("Gdańsk"));
    const int32_t deleted = b->GetID();
    ASSERT_TRUE(b->Delete());

    TJournalForm form(nullptr, m_db.get());
    EXPECT_GT(form.grid->rowCount(), 8);
    EXPECT_EQ(form.cbOperator->findText(QStringLiteral("anna")), 1);

    form.cbOperator->setCurrentIndex(form.cbOperator->findText(QStringLiteral("anna")));
    form.chkOkres->setChecked(true); // this month, the default period
    QTest::mouseClick(form.btnSzukaj, Qt::LeftButton);
    const QStringList operators = Column(form.grid, kColOperator);
    ASSERT_FALSE(operators.isEmpty());
    EXPECT_EQ(operators.count(QStringLiteral("anna")), operators.size());
    const int shortened = Column(form.grid, kColNew).indexOf(QRegularExpression(QStringLiteral("^<b>.*…$")));
    ASSERT_GE(shortened, 0);
    QTableWidgetItem* cell = form.grid->item(shortened, kColNew);
    EXPECT_EQ(cell->text().size(), THistoryTable::kShownChars);
    EXPECT_TRUE(cell->toolTip().contains(QStringLiteral("&lt;b&gt;Ulica&lt;/b&gt; ") + QString(80, u'x')));

    // The deleted subject and its address, found by identifier and by text alike.
    form.cbOperator->setCurrentIndex(0);
    form.edtRekord->setText(QString::number(deleted));
    QTest::mouseClick(form.btnSzukaj, Qt::LeftButton);
    const QStringList fields = Column(form.grid, kColField);
    EXPECT_EQ(fields.count(QStringLiteral("Miejscowość")), 2) << fields.join(u',').toStdString(); // posted, deleted
    EXPECT_TRUE(Column(form.grid, kColOld).contains(QStringLiteral("Gdańsk")));
    form.edtRekord->clear();
    form.edtTekst->setText(QStringLiteral("GDAŃSK"));
    QTest::keyClick(form.edtTekst, Qt::Key_Return);
    EXPECT_EQ(form.grid->rowCount(), 2); // the address posted, then deleted
    form.edtRekord->setText(QStringLiteral("abc"));
    EXPECT_FALSE(form.Search());
    EXPECT_TRUE(form.lblInfo->text().contains(QStringLiteral("liczbą")));
    form.edtRekord->clear();

    // Exported as shown: guarded against formulas, read back to the same values.
    form.edtTekst->clear();
    ASSERT_TRUE(form.Search());
    const QString csv = m_dir + QStringLiteral("/dziennik.csv");
    ASSERT_TRUE(form.ExportCsv(csv));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll()).remove(QChar(0xFEFF));
    const Csv::TParsed parsed = Csv::Parse(text, u';');
    ASSERT_EQ(parsed.Rows.size(), form.grid->rowCount() + 1);
    bool found = false;
    for (const QStringList& row : parsed.Rows)
        found = found || Csv::Unguard(row.value(kColNew)) == longValue;
    EXPECT_TRUE(found);
    EXPECT_FALSE(form.ExportCsv(m_dir + QStringLiteral("/brak/folderu/plik.csv")));
    EXPECT_EQ(m_messages.Last().Icon, TMsgDlgType::mtError);

    // Looked at by hand: EWIDAR_HISTORY_SHOT=<file.png> saves the window as shown.
    if (const QString shot = qEnvironmentVariable("EWIDAR_HISTORY_SHOT"); !shot.isEmpty()) {
        form.cbOperator->setCurrentIndex(0);
        form.chkOkres->setChecked(false);
        form.Search();
        form.show();
        QTest::qWait(300);
        form.grab().save(shot);
        form.hide();
    }

    EXPECT_EQ(form.VerifyChain(), 0);
    EXPECT_EQ(m_messages.Last().Icon, TMsgDlgType::mtInformation);
    {
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase raw = AddRawConnection(name, m_path);
            ASSERT_TRUE(raw.open());
            ASSERT_TRUE(QSqlQuery(raw).exec(QStringLiteral("UPDATE ew_history SET operator = 'ktoś' WHERE seq = 6")));
        }
        QSqlDatabase::removeDatabase(name);
    }
    QTest::mouseClick(form.btnSpojnosc, Qt::LeftButton);
    EXPECT_EQ(m_messages.Last().Icon, TMsgDlgType::mtWarning);
    EXPECT_TRUE(m_messages.Last().Text.contains(QStringLiteral("nr 6"))) << m_messages.Last().Text.toStdString();
}

// Somebody who may not manage operators gets no journal but sees a record's history.
TEST_F(HistoryFormsTest, JournalIsForAdministratorsARecordsHistoryForReaders) {
    auto readers = m_db->GetUsersGroups()->AddGroup();
    readers->SetName(u"Podgląd");
    readers->SetUprawnienia(16 + 8 + 4);
    ASSERT_TRUE(readers->Post());
    auto u = readers->GetUsers()->AddUser();
    u->SetLogin(u"ola");
    u->SetPassword(u"haslo");
    ASSERT_TRUE(u->Post());
    ASSERT_TRUE(m_db->Login(u"ola", u"haslo"));
    auto bank = NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Bank Ludowy"));

    ShowJournal(nullptr, m_db.get());
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Dziennik zmian może przeglądać tylko administrator."));

    TRecordHistoryForm history(nullptr, m_db.get(), bank->GetID(), QStringLiteral("Bank Ludowy"));
    ASSERT_EQ(history.grid->rowCount(), 1);
    EXPECT_EQ(history.grid->item(0, kColNew)->text(), QStringLiteral("Bank Ludowy"));
    EXPECT_EQ(history.grid->item(0, kColOperator)->text(), QStringLiteral("ola"));
    EXPECT_EQ(history.grid->item(0, kColRecord)->text(), QStringLiteral("#%1 Bank Ludowy").arg(bank->GetID()));
}
