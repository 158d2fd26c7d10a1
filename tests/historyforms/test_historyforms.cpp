// The history windows over the real SQL backend: "Dziennik zmian" with its filters, CSV
// export and "Sprawdź spójność historii"; "Historia zmian" of a deleted record; the
// record window's button reaching the history through its opener.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "TDateTimePicker.h"
#include "uCsv.h"
#include "uEwidarQuorDBSymbole.h"
#include "uHistoryForms.h"
#include "uShownFieldValue.h"

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

// Values are kept in the history as the records store them and shown as the record
// windows show them, table fields and user-defined fields alike, in both windows and in
// the journal's CSV export. Each case: a field's value before and after the last change,
// then the two as shown; a value not in its kind's stored form is shown as stored.
TEST_F(HistoryFormsTest, ValuesAreShownAsTheRecordWindowsShowThem) {
    struct TCase {
        QString symbol, before, after, shownBefore, shownAfter;
    };
    const TCase cases[] = {
        {cDanePodmiotuPlec.Symbol, "-1", "1", "", "mężczyzna"},
        {cDanePodmiotuRezydent.Symbol, "0", "1", "rezydent", "nierezydent"},
        {cDanePodmiotuFormaWplatyZaliczki.Symbol, "1", "7", "kwartalna", "7"},
        {cDanePodmiotuDataUrodzenia.Symbol, "H2026-12-10", "1980-05-17", "", "17.05.1980"},
        {cDanePodmiotuDataRozpoczeciaDzialalnosci.Symbol, "2001-02-03", "31.12.1999", "03.02.2001", "31.12.1999"},
        {cDanePodmiotuNiePosiadaNrRegon.Symbol, "1", "", "Tak", "Nie"},
        {cDanePodmiotuFormaOplacaniaPodatku.Symbol, "0,0,0,0,0", "1,1,0,0,0", "",
         "Podatek wg skali podatkowej, Podatek liniowy"},
        {cDanePodmiotuNIP.Symbol, "526-025-02-74", "<b>1</b>", "526-025-02-74", "<b>1</b>"},
        {"cTermin", "2020-01-02", "H2020-01-02", "02.01.2020", ""}, // user-defined, a date
        {cDaneDokumentuTozsamosciRodzaj.Symbol, "Dowod", "PaszportPolski", "dowód osobisty", "paszport polski"},
    };
    ASSERT_TRUE(m_db->Login(u"anna", u"haslo"));
    auto termin = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(21)->AddField();
    termin->SetSymbol(u"cTermin");
    termin->SetDescription(u"Termin");
    termin->SetFieldType(u"ctDate");
    ASSERT_TRUE(termin->PostDefinition()) << termin->GetLastErrorCode();
    auto subject = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    auto document = Supports<IPodmiot>(subject)->GetDokumentyTozsamosci()->New(); // a section
    for (bool after : {false, true}) {
        for (const TCase& c : cases)
            SetValue(c.symbol == cDaneDokumentuTozsamosciRodzaj.Symbol ? document.get() : subject.get(), c.symbol,
                     after ? c.after : c.before);
        ASSERT_TRUE(subject->Post()) << subject->GetLastErrorCode();
        ASSERT_TRUE(document->Post()) << document->GetLastErrorCode();
    }
    // The newest row of each field holds the last change.
    const auto check = [&](THistoryTable* Grid, const char* Window) {
        for (const TCase& c : cases) {
            const TInternalFieldRecord* f = FindField(c.symbol);
            QString caption = f ? f->Description : QStringLiteral("Termin");
            if (caption.endsWith(u':'))
                caption.chop(1);
            const int row = Column(Grid, kColField).indexOf(caption);
            ASSERT_GE(row, 0) << Window << ": " << caption.toStdString() << " in " << Column(Grid, kColField).join(u'|').toStdString();
            EXPECT_EQ(Grid->item(row, kColOld)->text(), c.shownBefore) << Window << ": " << c.symbol.toStdString();
            EXPECT_EQ(Grid->item(row, kColNew)->text(), c.shownAfter) << Window << ": " << c.symbol.toStdString();
        }
    };
    EXPECT_EQ(TDateTimePicker::DateFormat(), ShownDateFormat); // as the pickers show dates
    TRecordHistoryForm history(nullptr, m_db.get(), subject->GetID(), QStringLiteral("Jan Kowalski"));
    check(history.grid, "Historia zmian");
    TJournalForm journal(nullptr, m_db.get());
    journal.edtRekord->setText(QString::number(subject->GetID()));
    ASSERT_TRUE(journal.Search());
    check(journal.grid, "Dziennik zmian");
    // The stored history keeps the stored form: the journal's text search finds it.
    journal.edtTekst->setText(QStringLiteral("1980-05-17"));
    ASSERT_TRUE(journal.Search());
    EXPECT_EQ(Column(journal.grid, kColNew).count(QStringLiteral("17.05.1980")), 1);

    // The export writes what the window shows.
    journal.edtTekst->clear();
    ASSERT_TRUE(journal.Search());
    const QString csv = m_dir + QStringLiteral("/wartosci.csv");
    ASSERT_TRUE(journal.ExportCsv(csv));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const Csv::TParsed parsed = Csv::Parse(QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF)), u';');
    QStringList sexes;
    for (const QStringList& row : parsed.Rows)
        if (row.value(kColField) == QStringLiteral("Płeć"))
            sexes << Csv::Unguard(row.value(kColNew));
    EXPECT_EQ(sexes.value(0), QStringLiteral("mężczyzna"));

    // A new record had no value before, a deleted one has none after: no "Nie" there.
    auto fresh = Reg()->GetPodatnicy({})->New();
    SetValue(fresh.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowa"));
    SetValue(fresh.get(), cDanePodmiotuNiePosiadaNrRegon.Symbol, QStringLiteral("1"));
    ASSERT_TRUE(fresh->Post()) << fresh->GetLastErrorCode();
    const int64_t freshID = fresh->GetID();
    ASSERT_TRUE(fresh->Delete()) << fresh->GetLastErrorCode();
    TRecordHistoryForm deleted(nullptr, m_db.get(), freshID, QStringLiteral("Nowa"));
    QStringList sides;
    for (int r = 0; r < deleted.grid->rowCount(); ++r)
        if (deleted.grid->item(r, kColField)->text() == QStringLiteral("Nie posiada numeru REGON"))
            sides << deleted.grid->item(r, kColOld)->text() + u'>' + deleted.grid->item(r, kColNew)->text();
    EXPECT_EQ(sides, (QStringList{QStringLiteral("Tak>"), QStringLiteral(">Tak")})); // deleted, then new
}
