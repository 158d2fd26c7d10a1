// The ministry's flat file of the VAT white list: the published hashing, the import into the
// compact sorted file and the checks against it, and bad files refused with the previous
// import kept.

#include "FlatFileMaker.h"
#include "uWhiteListFlatFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace WhiteListFlatFile;

namespace {

const QString kNip = QStringLiteral("5260250995");
const QString kNip2 = QStringLiteral("1234563218");
const QString kAccount = QStringLiteral("12105000997603123456789123");
const QString kExemptAccount = QStringLiteral("61109010140000071219812874");
const QString kVirtual = QStringLiteral("27101000551230000000001234");      // identifier 123 at bank 10100055
const QString kOtherVirtual = QStringLiteral("27101000559990000000001234"); // identifier 999, not listed
const QString kMask = QStringLiteral("XX10100055YYYXXXXXXXXXXXXX");

QByteArray FileHash(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

class FlatFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Maker.Active = {{kNip, kAccount}, {kNip2, MaskedAccount(kMask, kVirtual)}};
        Maker.Exempt = {{kNip2, kExemptAccount}};
        Maker.Masks = {QStringLiteral("XX10200032YYYYXXXXXXXXXXXX"), kMask};
        Maker.Filler = 9000; // over a megabyte: read in more than one piece
    }
    QString Source(const QByteArray& Text) {
        const QString path = Dir.filePath(QStringLiteral("zrodlo-%1.json").arg(++FCount));
        TFlatFileMaker::Write(path, Text);
        return path;
    }
    QString Target() const { return Dir.filePath(QStringLiteral("wykaz-vat/wykaz-vat.bin")); }

    QTemporaryDir Dir;
    TFlatFileMaker Maker;
    int FCount = 0;
};

} // namespace

// Known answers of an independent SHA-512 (Python's hashlib) for "20191017" + NIP + account.
TEST(WhiteListFlatHash, RepeatedSha512OverTheHexText) {
    const struct {
        int Rounds;
        const char* Hex;
    } cases[] = {
        {1, "7c897ca02d4e81d3bb6cfeb34c92f3280936d7fd036f4113d45d204d243d6236c7a3707271d15611315207f1ee2c236eb9650d8a659876"
            "6260ce750e7d2c2d40"},
        {5000, "9618cf5fdd491ea1a75964bd277659b5397300ac0ff419b27990dcd78024d2bf6021493970f331b80e23cb4c4e0ca19d834fd41baaa"
               "79a5d160bfbf170e522b7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HashHex(QStringLiteral("20191017"), kNip, kAccount, c.Rounds), QByteArray(c.Hex)) << c.Rounds;
}

TEST(WhiteListFlatHash, MasksKeepTheIdentifierAndRequireTheirDigits) {
    const struct {
        const char* Mask;
        const char* Account;
        const char* Masked; // "" when the account does not fit
    } cases[] = {
        {"XX10100055YYYXXXXXXXXXXXXX", "27101000551230000000001234", "XX10100055123XXXXXXXXXXXXX"},
        {"XX10100055YYYXXXXXXXXXXXXX", "27101000561230000000001234", ""}, // another bank
        {"XX1020003200YYYYYYXXXXXXXX", "11102000320012345600000000", "XX1020003200123456XXXXXXXX"},
        {"XX1020003200YYYYYYXXXXXXXX", "11102000329912345600000000", ""},
        {"XX10100055YYYXXXXXXXXXXXXX", "2710100055123000000000123", ""}, // 25 digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaskedAccount(QString::fromLatin1(c.Mask), QString::fromLatin1(c.Account)), QString::fromLatin1(c.Masked))
            << c.Mask << " " << c.Account;
}

TEST_F(FlatFileTest, TheImportedFileAnswersForItsDayOnly) {
    TSummary s;
    QString error;
    ASSERT_TRUE(Import(Source(Maker.Json()), Target(), s, error)) << error.toStdString();
    EXPECT_EQ(s.Date, QDate(2026, 1, 5));
    EXPECT_EQ(s.Rounds, 7u);
    EXPECT_EQ(s.Active, 9002u);
    EXPECT_EQ(s.Exempt, 1u);
    EXPECT_EQ(s.Masks, 2u);
    EXPECT_EQ(s.Bytes, 64 + 9003 * EntryBytes + 2 * MaskBytes);
    EXPECT_EQ(QFileInfo(Target()).size(), s.Bytes);
    EXPECT_EQ(QDir(QFileInfo(Target()).absolutePath()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("wykaz-vat.bin")}); // no temporary file left

    TWhiteListFlatStore store;
    ASSERT_TRUE(store.Open(Target(), error)) << error.toStdString();
    EXPECT_EQ(store.Summary().Active, 9002u);
    const QDate day(2026, 1, 5);
    const struct {
        const char* What;
        QString Nip;
        QString Account;
        QDate Date;
        TStatus Status;
        bool ByMask;
    } cases[] = {
        {"active", kNip, kAccount, day, TStatus::sActive, false},
        {"exempt", kNip2, kExemptAccount, day, TStatus::sExempt, false},
        {"another NIP's account", kNip2, kAccount, day, TStatus::sNotFound, false},
        {"absent account", kNip, QStringLiteral("12105000997603123456789124"), day, TStatus::sNotFound, false},
        {"virtual account by its mask", kNip2, kVirtual, day, TStatus::sActive, true},
        {"virtual account of another identifier", kNip2, kOtherVirtual, day, TStatus::sNotFound, false},
        {"virtual account for another NIP", kNip, kVirtual, day, TStatus::sNotFound, false},
        {"the day before", kNip, kAccount, day.addDays(-1), TStatus::sOtherDate, false},
        {"the day after", kNip, kAccount, day.addDays(1), TStatus::sOtherDate, false},
    };
    for (const auto& c : cases) {
        const TAnswer a = store.Check(c.Nip, c.Account, c.Date);
        EXPECT_EQ(a.Status, c.Status) << c.What;
        EXPECT_EQ(a.ByMask, c.ByMask) << c.What;
        EXPECT_EQ(a.FileDate, day) << c.What;
        EXPECT_EQ(a.Mask, c.ByMask ? kMask : QString()) << c.What;
    }
    // Every filler hash is found by a search in place: the sort kept all of them.
    int found = 0;
    for (int i = 0; i < 9000; ++i)
        found += store.Find(QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha512).toHex()) ==
                 TStatus::sActive;
    EXPECT_EQ(found, 9000);
}

// The JSON may be written otherwise than the ministry writes it now: other key order, numbers,
// unknown members, capital hex digits, escapes, no blanks, a byte order mark.
TEST_F(FlatFileTest, OtherWritingsOfTheSameFileAreAccepted) {
    const QByteArray hash = TFlatFileMaker::Hash(Maker.Date, kNip, kAccount, 3);
    const QByteArray header = R"("naglowek": {"dataGenerowaniaDanych": "20260105", "liczbaTransformacji": 3})";
    const QByteArray texts[] = {
        R"({"skrotyPodatnikowCzynnych": [")" + hash + R"("], "maski": [], )" + header + "}",
        "{" + header + R"(, "inne": {"a": [1, {"b": null}], "c": "x\"y"}, "skrotyPodatnikowCzynnych": [")" +
            hash.toUpper() + R"("], "skrotyPodatnikowZwolnionych": []})",
        "{" + header + R"(,"skrotyPodatnikowCzynnych":[")" + hash + R"("],"skrotyPodatnikowZwolnionych":[],"maski":[]})",
        "\xEF\xBB\xBF{" + header + R"(, "skrotyPodatnikowCzynnych": [")" + hash + R"("]})",
    };
    for (const QByteArray& text : texts) {
        TSummary s;
        QString error;
        ASSERT_TRUE(Import(Source(text), Target(), s, error)) << error.toStdString() << "\n" << text.toStdString();
        TWhiteListFlatStore store;
        ASSERT_TRUE(store.Open(Target(), error));
        EXPECT_EQ(store.Check(kNip, kAccount, QDate(2026, 1, 5)).Status, TStatus::sActive) << text.toStdString();
    }
}

// The ministry's 7z archive is imported as it is, without unpacking it first; a damaged one is
// refused like any bad file.
TEST_F(FlatFileTest, TheMinistrysArchiveIsReadAsItIs) {
    const QString packed = Dir.filePath(QStringLiteral("20260105.7z"));
    TFlatFileMaker::Write7z(packed, QStringLiteral("20260105.json"), Maker.Json());
    TSummary s;
    QString error;
    ASSERT_TRUE(Import(packed, Target(), s, error)) << error.toStdString();
    EXPECT_EQ(s.Active, 9002u);
    EXPECT_EQ(s.Masks, 2u);
    TWhiteListFlatStore store;
    ASSERT_TRUE(store.Open(Target(), error));
    EXPECT_EQ(store.Check(kNip2, kVirtual, QDate(2026, 1, 5)).Status, TStatus::sActive);
    const QByteArray before = FileHash(Target());

    QFile cut(packed);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    cut.close();
    EXPECT_FALSE(Import(packed, Target(), s, error));
    EXPECT_TRUE(error.contains(QStringLiteral("archiwum 7z"))) << error.toStdString();
    EXPECT_EQ(FileHash(Target()), before);
}

TEST_F(FlatFileTest, ABadFileIsRefusedAndThePreviousImportStays) {
    TSummary s;
    QString error;
    ASSERT_TRUE(Import(Source(Maker.Json()), Target(), s, error)) << error.toStdString();
    const QByteArray before = FileHash(Target());
    const QByteArray good = Maker.Json();
    const qsizetype listAt = good.indexOf("skrotyPodatnikowCzynnych");
    const struct {
        const char* What;
        QByteArray Text;
        const char* Said;
    } cases[] = {
        {"empty", "", "urywa się"},
        {"cut inside the header", good.left(40), "urywa się"},
        {"cut inside a hash", good.left(listAt + 100), "urywa się"},
        {"cut after a hash", good.left(listAt + 200), "urywa się"},
        {"cut before the last brace", good.left(good.lastIndexOf('}')), "urywa się"},
        {"a short hash", QByteArray(good).replace(listAt + 34, 2, ""), "Nieprawidłowy skrót"},
        {"not hex", QByteArray(good).replace(listAt + 40, 1, "g"), "Nieprawidłowy skrót"},
        {"a bad mask", QByteArray(good).replace("XX10100055YYY", "XX10100055ZZZ"), "maska"},
        {"a number among hashes", QByteArray(good).replace(listAt + 33, 130, "12"), "skrótu"},
        {"a missing comma", QByteArray(good).replace("\",\n    \"", "\"\n    \""), "Oczekiwano \",\""},
        {"data after the end", good + "{}", "po końcu"},
        {"HTML", "<html><body>Błąd</body></html>", "Nieoczekiwany znak"},
        {"no header", R"({"skrotyPodatnikowCzynnych": []})", "brak nagłówka"},
        {"a bad date", QByteArray(good).replace("20260105", "20261305"), "data generowania"},
        {"no rounds", QByteArray(good).replace("liczbaTransformacji", "liczba"), "liczba transformacji"},
        {"7z archive of nonsense", QByteArray("7z\xBC\xAF\x27\x1C\x00\x04", 8) + good, "archiwum 7z"},
    };
    for (const auto& c : cases) {
        error.clear();
        EXPECT_FALSE(Import(Source(c.Text), Target(), s, error)) << c.What;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.Said))) << c.What << ": " << error.toStdString();
        EXPECT_EQ(FileHash(Target()), before) << c.What;
    }
    // Interrupted while reading, or while sorting (the whole file read): the same.
    // Reading reports the whole file read at most twice (its last piece, the end); sorting once
    // per part after that.
    for (const bool whileSorting : {false, true}) {
        int wholeRead = 0;
        EXPECT_FALSE(Import(Source(good), Target(), s, error, [&](qint64 Done, qint64 Total) {
            wholeRead += Done == Total;
            return whileSorting && wholeRead <= 3;
        })) << whileSorting;
        EXPECT_TRUE(error.contains(QStringLiteral("przerwano"))) << error.toStdString();
        EXPECT_EQ(FileHash(Target()), before) << whileSorting;
    }
    EXPECT_EQ(QDir(QFileInfo(Target()).absolutePath()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);

    // A damaged imported file is refused when opened, never searched.
    TWhiteListFlatStore store;
    ASSERT_TRUE(store.Open(Target(), error));
    QFile damaged(Target());
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    damaged.resize(damaged.size() - 1);
    damaged.close();
    TWhiteListFlatStore again;
    EXPECT_FALSE(again.Open(Target(), error));
    EXPECT_TRUE(error.contains(QStringLiteral("uszkodzony"))) << error.toStdString();
    EXPECT_FALSE(again.Open(Dir.filePath(QStringLiteral("brak.bin")), error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nie zaimportowano"))) << error.toStdString();

    // A good file imported again replaces the damaged one, whatever text the error held before.
    ASSERT_TRUE(Import(Source(good), Target(), s, error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(again.Open(Target(), error)) << error.toStdString();
}
