// Subjects in from a CSV file over the real SQL backend: the round trip through export
// and import, bad rows and their report, a cancelled import, and the windows reached
// through the openers.

#include "BackendFixture.h"
#include "SubjectRows.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uCsv.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarKinds.h"
#include "uExportForm.h"
#include "uImportRows.h"
#include "uImportSubjectsForm.h"
#include "uInstallWindows.h"
#include "uListExport.h"
#include "uSpreadsheetExport.h"
#include "uSubjectImporter.h"
#include "uTextEncoding.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

using namespace SubjectFields;

QByteArray ReadAll(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Csv::TParsed ParseFile(const QString& Path) {
    const QByteArray data = ReadAll(Path);
    return Csv::Parse(TextEncoding::Decode(data, TextEncoding::Detect(data)), u';');
}

QList<QStringList> Unguarded(QList<QStringList> Rows) {
    for (QStringList& r : Rows)
        for (QString& c : r)
            c = Csv::Unguard(c);
    return Rows;
}

QList<QStringList> Sorted(QList<QStringList> Rows) {
    std::sort(Rows.begin(), Rows.end(), [](const QStringList& a, const QStringList& b) {
        return a.join(u'\x1f') < b.join(u'\x1f');
    });
    return Rows;
}

class SpreadsheetImportTest : public BackendTest {
protected:
    ImportRows::TPreview PreviewOf(const QList<QStringList>& Rows) {
        const QString path = m_dir + QStringLiteral("/wejscie.csv");
        EXPECT_TRUE(WriteFile(path, SubjectRows::Csv(Rows, Captions())));
        const Csv::TParsed parsed = ParseFile(path);
        SubjectImporter::TDuplicateProbe probe(m_db.get());
        EXPECT_TRUE(probe.Valid());
        return ImportRows::Build(parsed.Rows, parsed.Lines, ColumnMapping::Guess(parsed.Rows.front()),
                                 [&probe](const QString& P, const QString& N, const QString& R) { return probe(P, N, R); });
    }
    QList<QStringList> StoredSubjects() {
        QList<QStringList> out;
        const TIntfPtr<IPodatnicy> list = Reg()->GetPodatnicy({});
        for (int i = 0, n = list->GetCount(); i < n; ++i)
            out.append(ReadSubject(list->GetItem(i).get()));
        return out;
    }
    int Scalar(const char* Sql) { return RawScalar(m_path, QString::fromLatin1(Sql)).toInt(); }
};

} // namespace

TEST_F(SpreadsheetImportTest, ThousandSubjectsGoOutAndComeBackWithTheSameFields) {
    QList<QStringList> rows;
    for (int i = 0; i < 1000; ++i)
        rows.append(SubjectRows::Row(i));
    const QString first = m_dir + QStringLiteral("/generated.csv");
    const SpreadsheetExport::TTable generated{Captions(), 1000, [&rows](int R) { return rows[R]; }};
    ASSERT_TRUE(SpreadsheetExport::Export(generated, SpreadsheetExport::fmCsv, first).Ok);

    const Csv::TParsed parsed = ParseFile(first);
    const ColumnMapping::TMapping mapping = ColumnMapping::Guess(parsed.Rows.front());
    for (int c = 0; c < mapping.size(); ++c)
        EXPECT_EQ(mapping[c], c) << "column " << c << " maps by its caption";
    SubjectImporter::TDuplicateProbe probe(m_db.get());
    const ImportRows::TPreview preview = ImportRows::Build(
        parsed.Rows, parsed.Lines, mapping, [&probe](const QString& P, const QString& N, const QString& R) {
            return probe(P, N, R);
        });
    ASSERT_EQ(preview.Ready, 1000) << preview.Rows.front().Reason.toStdString();
    const auto result = SubjectImporter::Import(m_db.get(), SubjectImporter::tgPodatnicy, preview.Rows);
    ASSERT_TRUE(result.Ok) << result.Error.toStdString() << " code " << result.ErrorCode;
    EXPECT_EQ(result.Imported, 1000);

    const QList<QStringList> stored = StoredSubjects();
    EXPECT_EQ(Sorted(stored), Sorted(rows));
    // The stored subjects exported again give the generated values.
    const QString second = m_dir + QStringLiteral("/stored.csv");
    const SpreadsheetExport::TTable again{Captions(), static_cast<int>(stored.size()),
                                          [&stored](int R) { return stored[R]; }};
    ASSERT_TRUE(SpreadsheetExport::Export(again, SpreadsheetExport::fmCsv, second).Ok);
    QList<QStringList> back = Unguarded(ParseFile(second).Rows);
    ASSERT_EQ(back.takeFirst(), Captions());
    EXPECT_EQ(Sorted(back), Sorted(rows));
}

TEST_F(SpreadsheetImportTest, EachKindOfBadRowIsMarkedAndReportedWithItsReason) {
    const auto with = [](int Index, const char* Key, const QString& Value) {
        QStringList row = SubjectRows::Row(Index);
        row[IndexOfKey(QLatin1String(Key))] = Value;
        return row;
    };
    const auto wrongLast = [](QString Text) {
        Text.back() = QChar(u'0' + (Text.back().unicode() - u'0' + 1) % 10);
        return Text;
    };
    // A subject already stored carries the NIP of generated row 500.
    {
        const TIntfPtr<IEwidarRecord> stored = EwidarKinds::CollectionNew(Reg()->GetPodatnicy({}).get());
        SetValue(stored.get(), Fields()[IndexOfKey("nip")].Symbol, SubjectRows::Nip(500));
        SetValue(stored.get(), Fields()[IndexOfKey("nazwa")].Symbol, QStringLiteral("Istniejący"));
        ASSERT_TRUE(stored->Post());
    }
    struct TCase {
        QStringList Row;
        ImportRows::TStatus Status;
        const char* Field;
        const char* Reason;
    };
    const QList<TCase> cases = {
        {SubjectRows::Row(0), ImportRows::stReady, "", ""},
        {with(1, "nip", wrongLast(SubjectRows::Nip(1))), ImportRows::stInvalid, "NIP", "cyfra kontrolna numeru NIP"},
        {with(3, "nip", "123-45"), ImportRows::stInvalid, "NIP", "10 cyfr"},
        {with(5, "regon", wrongLast(SubjectRows::Regon(5))), ImportRows::stInvalid, "REGON", "numeru REGON"},
        {with(2, "pesel", wrongLast(SubjectRows::Pesel(2))), ImportRows::stInvalid, "PESEL", "numeru PESEL"},
        {with(7, "kod_pocztowy", "416-00"), ImportRows::stInvalid, "Kod pocztowy", "kodu pocztowego"},
        {with(9, "email", "biuro@@example"), ImportRows::stInvalid, "E-mail", "e-mail"},
        {with(11, "rachunek", wrongLast(SubjectRows::Account(11))), ImportRows::stInvalid,
         "Numer rachunku bankowego", "suma kontrolna"},
        {with(4, "data_urodzenia", "31.02.1980"), ImportRows::stInvalid, "Data urodzenia", "Nieprawidłowa data"},
        {with(6, "nazwisko", ""), ImportRows::stInvalid, "Nazwisko", "ani nazwy"},
        {with(13, "nip", SubjectRows::Nip(0)), ImportRows::stDuplicate, "NIP", "wiersz 2"},
        {with(15, "nip", SubjectRows::Nip(500)), ImportRows::stDuplicate, "NIP", "już w bazie"},
        {with(8, "data_urodzenia", "17.05.1980"), ImportRows::stReady, "", ""},
    };
    QList<QStringList> rows;
    for (const TCase& c : cases)
        rows.append(c.Row);
    const ImportRows::TPreview preview = PreviewOf(rows);
    ASSERT_EQ(preview.Rows.size(), cases.size());
    for (int i = 0; i < cases.size(); ++i) {
        const ImportRows::TRow& row = preview.Rows[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(row.Status, cases[i].Status) << row.Reason.toStdString();
        EXPECT_TRUE(row.Field.contains(QString::fromUtf8(cases[i].Field))) << row.Field.toStdString();
        EXPECT_TRUE(row.Reason.contains(QString::fromUtf8(cases[i].Reason))) << row.Reason.toStdString();
    }
    EXPECT_EQ(preview.Rows.back().Values[IndexOfKey("data_urodzenia")], QStringLiteral("1980-05-17"));

    const auto result = SubjectImporter::Import(m_db.get(), SubjectImporter::tgPodatnicy, preview.Rows);
    ASSERT_TRUE(result.Ok) << result.Error.toStdString();
    EXPECT_EQ(result.Imported, 2);
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 3);

    const QString report = ImportRows::ReportPath(m_dir + QStringLiteral("/wejscie.csv"));
    EXPECT_EQ(report, m_dir + QStringLiteral("/wejscie.raport.csv"));
    QString error;
    ASSERT_TRUE(ImportRows::WriteReport(report, preview, error)) << error.toStdString();
    const QList<QStringList> lines = ParseFile(report).Rows;
    ASSERT_EQ(lines.size(), 1 + preview.Invalid + preview.Duplicate);
    const int reasonColumn = static_cast<int>(Captions().size()) + 3;
    int next = 1;
    for (const ImportRows::TRow& row : preview.Rows) {
        if (row.Status == ImportRows::stReady)
            continue;
        EXPECT_EQ(lines[next][reasonColumn - 3], QString::number(row.Line));
        EXPECT_EQ(lines[next][reasonColumn], row.Reason);
        EXPECT_EQ(Unguarded(QList<QStringList>{lines[next].mid(0, Captions().size())}).front(), row.Source);
        ++next;
    }
}

TEST_F(SpreadsheetImportTest, CancelledImportLeavesTheDatabaseAsItWas) {
    QList<QStringList> rows;
    for (int i = 0; i < 60; ++i)
        rows.append(SubjectRows::Row(i));
    const ImportRows::TPreview preview = PreviewOf(rows);
    ASSERT_EQ(preview.Ready, 60);
    const int records = Scalar("SELECT count(*) FROM ew_record");
    const int values = Scalar("SELECT count(*) FROM ew_value");
    const int idents = Scalar("SELECT count(*) FROM ew_ident");
    int calls = 0;
    const auto cancelled = SubjectImporter::Import(m_db.get(), SubjectImporter::tgKontrahenci, preview.Rows,
                                                   [&calls](int Done, int) {
                                                       ++calls;
                                                       return Done < 30;
                                                   });
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_FALSE(cancelled.Ok);
    EXPECT_EQ(calls, 30);
    EXPECT_EQ(Scalar("SELECT count(*) FROM ew_record"), records);
    EXPECT_EQ(Scalar("SELECT count(*) FROM ew_value"), values);
    EXPECT_EQ(Scalar("SELECT count(*) FROM ew_ident"), idents);
    EXPECT_EQ(Reg()->GetKontrahenci({})->GetCount(), 0);
    // The transaction has ended: the next import runs and stores everything.
    const auto done = SubjectImporter::Import(m_db.get(), SubjectImporter::tgKontrahenci, preview.Rows);
    ASSERT_TRUE(done.Ok) << done.Error.toStdString();
    EXPECT_EQ(Reg()->GetKontrahenci({})->GetCount(), 60);
}

TEST_F(SpreadsheetImportTest, WindowsImportAFileAndExportTheListThroughTheOpeners) {
    InstallWindows();
    QList<QStringList> rows;
    for (int i = 0; i < 5; ++i)
        rows.append(SubjectRows::Row(i));
    rows.append(SubjectRows::Row(0)); // a duplicate of the first row
    const QString source = m_dir + QStringLiteral("/okno.csv");
    ASSERT_TRUE(WriteFile(source, SubjectRows::Csv(rows, Captions())));
    {
        TImportSubjectsForm form(nullptr, m_db.get(), SubjectImporter::tgPodatnicy);
        form.edtFile->setText(source);
        ASSERT_TRUE(form.LoadFile());
        form.btnPreview->click();
        EXPECT_EQ(form.Preview().Ready, 5);
        EXPECT_EQ(form.Preview().Duplicate, 1);
        form.btnImport->click();
        EXPECT_EQ(form.ImportedCount(), 5);
        EXPECT_FALSE(form.btnImport->isEnabled());
    }
    EXPECT_EQ(ParseFile(ImportRows::ReportPath(source)).Rows.size(), 2);

    TCollectionBaseFrame frame;
    frame.SetEwidarDataBase(m_db.get());
    frame.SetEwidarCollection(Reg()->GetPodatnicy({}).get());
    frame.DrawGrid1->SetChecked(frame.DrawGrid1->FixedRows() + 1, true);
    const QString target = m_dir + QStringLiteral("/lista.csv");
    TestSupport::WhenModal<TExportForm>([&target](TExportForm* Form) {
        EXPECT_TRUE(Form->rbTicked->isChecked());
        EXPECT_TRUE(Form->rbSubjectFields->isEnabled());
        Form->edtPath->setText(target);
        EXPECT_TRUE(Form->RunExport());
        Form->btnClose->click();
    });
    frame.PopupMenu1->findChild<QAction*>(QStringLiteral("Eksportuj1"))->trigger();
    const QList<QStringList> written = ParseFile(target).Rows;
    ASSERT_EQ(written.size(), 2);
    EXPECT_EQ(written.front(), ListContents(&frame).Titles);
    ResetWindows();
}
