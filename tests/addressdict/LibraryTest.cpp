// The library Kwadrel2015 as the program loads it: its export, the cursors of every
// dictionary, the filters, and what it serves without installed data.

#include "KwadrelTestFiles.h"
#include "Kwadrel_Intf.h"
#include "TestSupport.h"
#include "uIsoCountries.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"
#include "uUrzedyImport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLibrary>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

class KwadrelLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(KwadrelDataFolder()).removeRecursively();
        m_lib.setFileName(QStringLiteral(KWADREL_LIBRARY));
        ASSERT_TRUE(m_lib.load()) << m_lib.errorString().toStdString();
        m_get = reinterpret_cast<TGetDictionaryIntf>(m_lib.resolve(cGetDictionaryIntfExport));
        ASSERT_NE(m_get, nullptr);
    }
    void TearDown() override { QDir(KwadrelDataFolder()).removeRecursively(); }

    static void InstallFixtures() {
        TTerytStats stats;
        QString error;
        int count = 0;
        ASSERT_TRUE(InstallTeryt(WritePublished(QStringLiteral("TERC.csv"), TercLines()),
                                 WritePublished(QStringLiteral("SIMC.csv"), SimcLines()), QString(), false,
                                 stats, error));
        ASSERT_TRUE(InstallUrzedy(QStringLiteral(KWADREL_TEST_DATA "/urzedy_przyklad.csv"), QString(), false,
                                  count, error));
    }

    TIntfPtr<IAdrDictIntf> Intf() {
        TIntfPtr<IAdrDictIntf> intf;
        m_get(intf.put());
        return intf;
    }

    // Every row of a cursor, columns joined by tabs; also checks that the count agrees.
    static QStringList Rows(const TIntfPtr<IAdrDictCursor>& Cursor, int Columns) {
        QStringList rows;
        if (!Cursor)
            return {QStringLiteral("<no cursor>")};
        Cursor->First();
        for (; !Cursor->Eof(); Cursor->Next()) {
            QStringList cells;
            for (int c = 0; c < Columns; ++c)
                cells << QString::fromStdU16String(Cursor->FieldValue(c));
            rows << cells.join(u'\t');
        }
        EXPECT_EQ(Cursor->RecordCount(), rows.size());
        return rows;
    }

    QLibrary m_lib;
    TGetDictionaryIntf m_get = nullptr;
};

QString Tabbed(const char* Text) {
    return QString::fromUtf8(Text).replace(u'|', u'\t');
}

} // namespace

TEST_F(KwadrelLibrary, ServesEveryDictionaryInTheColumnsTheProgramReads) {
    InstallFixtures();
    const TIntfPtr<IAdrDictIntf> intf = Intf();
    ASSERT_TRUE(intf);
    TIntfPtr<IAdrDictCursor> c;
    intf->GetWojewodztwa(true, c.put());
    EXPECT_EQ(Rows(c, 2), QStringList{Tabbed("30|testowe")});
    intf->GetPowiaty(true, {}, {}, c.put());
    EXPECT_EQ(Rows(c, 3),
              (QStringList{Tabbed("testowe|3001|lipowski"), Tabbed("testowe|3061|Grodno Wielkie")}));
    intf->GetGminy(true, {}, {}, {}, c.put());
    EXPECT_EQ(Rows(c, 4).value(2), Tabbed("testowe|lipowski|3001033|Dębnik"));
    intf->GetMiejscowosci(true, {}, {}, {}, {}, 0, c.put());
    EXPECT_EQ(Rows(c, 4).size(), 6);
    intf->GetUrzedySkarbowe(true, {}, {}, {}, c.put());
    // The built-in offices, then the installed ones that match none of them.
    const QStringList offices = Rows(c, 13);
    ASSERT_EQ(offices.size(), 403);
    EXPECT_EQ(offices[401],
              Tabbed("Drugi Urząd Skarbowy w Próbowie|Jan Wzorcowy|ul. Wzorowa 2, 00-002 Próbowo|||||||||"
                     "10101010005678902|"));
    // Past the end and outside the columns a cursor gives empty texts.
    EXPECT_TRUE(c->Eof());
    EXPECT_EQ(c->FieldValue(0), u"");
    c->First();
    EXPECT_EQ(c->FieldValue(13), u"");
    EXPECT_EQ(c->FieldValue(-1), u"");
    std::u16string name;
    EXPECT_TRUE(intf->GetNazwaWojewodztwa(u"30", name));
    EXPECT_EQ(name, u"testowe");
    EXPECT_FALSE(intf->GetNazwaWojewodztwa(u"99", name));
    EXPECT_EQ(name, u"");
}

TEST_F(KwadrelLibrary, FiltersOnlyWhenNotAskedForEverything) {
    InstallFixtures();
    const TIntfPtr<IAdrDictIntf> intf = Intf();
    TIntfPtr<IAdrDictCursor> c;
    intf->GetMiejscowosci(false, {}, {}, u"dębnik", {}, 0, c.put());
    EXPECT_EQ(Rows(c, 4).size(), 3);
    intf->GetMiejscowosci(false, {}, {}, u"dębnik", {}, 2, c.put());
    EXPECT_EQ(Rows(c, 4).size(), 2);
    intf->GetMiejscowosci(true, {}, {}, u"dębnik", {}, 2, c.put());
    EXPECT_EQ(Rows(c, 4).size(), 6);
    intf->GetPowiaty(false, {}, u"GRODNO", c.put());
    EXPECT_EQ(Rows(c, 3), QStringList{Tabbed("testowe|3061|Grodno Wielkie")});
    intf->GetUrzedySkarbowe(false, u"lipow", {}, {}, c.put());
    EXPECT_EQ(Rows(c, 13).size(), 1);
}

TEST_F(KwadrelLibrary, WithoutDataOrWithDamagedDataServesEmptyDictionaries) {
    TIntfPtr<IAdrDictCursor> c;
    Intf()->GetMiejscowosci(true, {}, {}, {}, {}, 0, c.put());
    EXPECT_TRUE(Rows(c, 4).isEmpty());
    Intf()->GetUrzedySkarbowe(true, {}, {}, {}, c.put());
    EXPECT_EQ(Rows(c, 13).size(), 400) << "the built-in offices need no installed list";

    InstallFixtures();
    const QString path = QDir(KwadrelDataFolder()).filePath(cTerytStoreFile);
    const QByteArray whole = ReadBytes(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(whole.left(whole.size() - 10));
    file.close();
    const TIntfPtr<IAdrDictIntf> intf = Intf();
    for (int i = 0; i < 2; ++i) {
        intf->GetWojewodztwa(true, c.put());
        EXPECT_TRUE(Rows(c, 2).isEmpty()) << "a cut dictionary is not served in part";
    }
}

TEST_F(KwadrelLibrary, AnInstalledListReplacesBuiltInOfficesByCodeOrNameAndKeepsTheRest) {
    const QString list = cUrzedyCodedHeader + QStringLiteral(
                             "\n0404;Pierwszy Urząd Skarbowy w Bydgoszczy;Jan Nowak;ul. Poniatowskiego 1;"
                             ";;;88101000712222123456321800;;;;;\n"
                             ";Urząd Skarbowy w Nakle nad Notecią;;ul. Mickiewicza 2;;;;;;;;;\n"
                             ";Urząd Skarbowy w Przykładowie;Anna Wzorcowa;ul. Próbna 3;;;;;;;;;\n");
    int count = 0;
    QString error;
    ASSERT_TRUE(InstallUrzedy(WritePublished(QStringLiteral("urzedy.csv"), list), QString(), false, count, error))
        << error.toStdString();
    TIntfPtr<IAdrDictCursor> c;
    Intf()->GetUrzedySkarbowe(true, {}, {}, {}, c.put());
    QHash<QString, QStringList> byCode;
    const QStringList rows = Rows(c, 13);
    ASSERT_EQ(rows.size(), 401);
    for (const QString& row : rows)
        byCode.insert(row.split(u'\t')[12], row.split(u'\t'));
    // By code: the imported office whole, its head included.
    EXPECT_EQ(byCode[QStringLiteral("0404")].mid(0, 4),
              (QStringList{"Pierwszy Urząd Skarbowy w Bydgoszczy", "Jan Nowak", "ul. Poniatowskiego 1", ""}));
    EXPECT_EQ(byCode[QStringLiteral("0404")][6], QStringLiteral("88101000712222123456321800"));
    // By exact name: the imported address; the built-in head and code where it gives none.
    EXPECT_EQ(byCode[QStringLiteral("0412")].mid(0, 3),
              (QStringList{"Urząd Skarbowy w Nakle nad Notecią", "Naczelnik Urzędu Skarbowego w Nakle nad Notecią",
                           "ul. Mickiewicza 2"}));
    // Offices the list lacks keep their built-in row; one the built-in list lacks comes last.
    EXPECT_EQ(byCode[QStringLiteral("0202")].mid(0, 3),
              (QStringList{"Urząd Skarbowy w Bolesławcu", "Naczelnik Urzędu Skarbowego w Bolesławcu", ""}));
    EXPECT_EQ(rows.last().split(u'\t').mid(0, 3),
              (QStringList{"Urząd Skarbowy w Przykładowie", "Anna Wzorcowa", "ul. Próbna 3"}));
}

TEST_F(KwadrelLibrary, AListInstalledBeforeOfficesHadCodesStillReplacesByName) {
    TKwadrelTable older(12);
    older.AddRow({QStringLiteral("Urząd Skarbowy w Nakle nad Notecią"), QStringLiteral("Ewa Próbna"),
                  QStringLiteral("ul. Mickiewicza 2"), {}, {}, {}, {}, {}, {}, {}, {}, {}});
    QString error;
    ASSERT_TRUE(WriteStore(QDir(KwadrelDataFolder()).filePath(cUrzedyStoreFile), cUrzedyStoreKind,
                           {{QStringLiteral("U"), &older}}, error));
    TIntfPtr<IAdrDictCursor> c;
    Intf()->GetUrzedySkarbowe(false, u"Nakle", {}, {}, c.put());
    EXPECT_EQ(Rows(c, 13),
              QStringList{Tabbed("Urząd Skarbowy w Nakle nad Notecią|Ewa Próbna|ul. Mickiewicza 2||||||||||0412")});
}

TEST_F(KwadrelLibrary, CountriesCarryTheirPolishNames) {
    if (IsoCountriesJsonPath().isEmpty() || IsoCountriesCatalogPath().isEmpty())
        GTEST_SKIP() << "iso-codes (its JSON and Polish catalogue) is not installed; skipped.";
    const TIntfPtr<IAdrDictIntf> intf = Intf();
    std::u16string name;
    EXPECT_TRUE(intf->GetNazwaKraju(u"PL", name));
    EXPECT_EQ(name, u"Polska");
    EXPECT_TRUE(intf->GetNazwaKraju(u"de", name));
    EXPECT_EQ(name, u"Niemcy");
    EXPECT_TRUE(intf->GetNazwaKraju(u"KR", name));
    EXPECT_EQ(name, u"Korea Południowa");
    TIntfPtr<IAdrDictCursor> c;
    intf->GetKraje(true, {}, {}, c.put());
    const QStringList rows = Rows(c, 2);
    EXPECT_GE(rows.size(), 240);
    // Polish order: "Łotwa" after "Luksemburg", before "Macedonia..."/"Madagaskar".
    const auto at = [&](const char* n) {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].section(u'\t', 1) == QString::fromUtf8(n))
                return i;
        return -1;
    };
    EXPECT_LT(at("Luksemburg"), at("Łotwa"));
    EXPECT_LT(at("Łotwa"), at("Madagaskar"));
    intf->GetKraje(false, u"PL", {}, c.put());
    EXPECT_EQ(Rows(c, 2), QStringList{Tabbed("PL|Polska")});
}

TEST(IsoCatalog, AMalformedCatalogGivesNoTranslationsInsteadOfReadingOutside) {
    const QString real = IsoCountriesCatalogPath();
    if (real.isEmpty())
        GTEST_SKIP() << "The Polish iso-codes catalogue is not installed; skipped.";
    const QByteArray whole = ReadBytes(real);
    EXPECT_EQ(ReadMoCatalog(real).value(QStringLiteral("Poland")), QStringLiteral("Polska"));
    QByteArray hugeCount = whole;
    hugeCount[8] = char(0xFF);
    hugeCount[9] = char(0xFF);
    for (const QByteArray& bad :
         {whole.left(whole.size() / 2), whole.left(12), hugeCount, QByteArray(40, 'x')})
        EXPECT_TRUE(ReadMoCatalog(WriteBytes(QStringLiteral("iso.mo"), bad)).isEmpty());
}

namespace {

// A little-endian catalogue: the entries' (original, translation) pairs, each naming its
// bytes in Strings by offset and length; Padding bytes appended.
QByteArray MoFile(const QList<std::pair<QByteArray, QByteArray>>& Entries, qsizetype Padding = 0) {
    QByteArray strings, originals, translations;
    const quint32 tables = 28, stringsAt = tables + 16 * quint32(Entries.size());
    const auto put = [](QByteArray& To, quint32 Value) {
        To.append(reinterpret_cast<const char*>(&Value), 4); // the test machine is little-endian
    };
    for (const auto& [from, to] : Entries)
        for (auto [text, table] : {std::pair(from, &originals), std::pair(to, &translations)}) {
            qsizetype at = strings.indexOf(text + '\0'); // identical texts share their bytes
            if (at < 0) {
                at = strings.size();
                strings += text + '\0';
            }
            put(*table, quint32(text.size()));
            put(*table, stringsAt + quint32(at));
        }
    QByteArray file;
    for (quint32 v : {0x950412deU, 0U, quint32(Entries.size()), tables, tables + 8 * quint32(Entries.size()), 0U, 0U})
        put(file, v);
    return file + originals + translations + strings + QByteArray(Padding, '\0');
}

} // namespace

// Entries naming the same bytes over and over (which made reading quadratic) and files far
// beyond any real catalogue are refused; a catalogue of its own size is read whole.
TEST(IsoCatalog, ACatalogIsReadInLinearTimeOrRefused) {
    const QByteArray poland = MoFile({{"Poland", "Polska"}, {"Germany", "Niemcy"}});
    const QHash<QString, QString> read = ReadMoCatalog(WriteBytes(QStringLiteral("iso.mo"), poland));
    EXPECT_EQ(read, (QHash<QString, QString>{{"Poland", "Polska"}, {"Germany", "Niemcy"}}));

    QList<std::pair<QByteArray, QByteArray>> repeated;
    for (int i = 0; i < 2000; ++i)
        repeated.append({QByteArray(100, 'a'), QByteArray(100, 'b')});
    EXPECT_TRUE(ReadMoCatalog(WriteBytes(QStringLiteral("iso.mo"), MoFile(repeated))).isEmpty());
    EXPECT_TRUE(
        ReadMoCatalog(WriteBytes(QStringLiteral("iso.mo"), MoFile({{"Poland", "Polska"}}, 5 * 1024 * 1024)))
            .isEmpty());
}
