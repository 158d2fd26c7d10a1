// The TERYT files as the statistics office serves them: a .zip holding the .csv. A good
// archive installs what its .csv would; a damaged or empty one, or one holding the wrong
// file, is refused naming the archive and the dictionary installed before stays.

#include "KwadrelTestFiles.h"
#include "TestSupport.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

QByteArray Published(const QString& Text) {
    QString crlf = Text;
    crlf.replace(u'\n', QLatin1String("\r\n"));
    return "\xEF\xBB\xBF" + crlf.toUtf8();
}

QString WriteZip(const QString& Name, const QList<std::pair<QString, QByteArray>>& Entries) {
    const QString path = QDir(TestSupport::NewTempDir()).filePath(Name);
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        return QString();
    for (const auto& [entry, bytes] : Entries) {
        // libzip reads the buffer when the archive is closed: Entries outlives that.
        zip_source_t* source = zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!source || zip_file_add(zip, entry.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            return QString();
        }
    }
    // An archive of no entries is written by libzip as no file at all; the published form
    // of an empty archive is its closing record alone.
    if (Entries.isEmpty()) {
        zip_discard(zip);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0')) == 22
                   ? path
                   : QString();
    }
    return zip_close(zip) == 0 ? path : QString();
}

QString TercZip() {
    return WriteZip(QStringLiteral("TERC_Urzedowy_2020-09-26.zip"),
                    {{QStringLiteral("TERC_Urzedowy_2020-09-26.csv"), Published(TercLines())}});
}
QString SimcZip() {
    return WriteZip(QStringLiteral("SIMC_Urzedowy_2020-09-26.zip"),
                    {{QStringLiteral("SIMC_Urzedowy_2020-09-26.csv"), Published(SimcLines())}});
}

// A copy of an archive with one byte of its first entry's compressed data changed.
QString DamagedCopy(const QString& Path) {
    QByteArray bytes = ReadBytes(Path);
    const int nameLength = quint8(bytes[26]) | quint8(bytes[27]) << 8;
    const int extraLength = quint8(bytes[28]) | quint8(bytes[29]) << 8;
    bytes[30 + nameLength + extraLength + 6] = char(bytes[30 + nameLength + extraLength + 6] ^ 0x5A);
    return WriteBytes(QStringLiteral("SIMC_uszkodzony.zip"), bytes);
}

TEST(ZipInput, TheServedArchivesInstallWhatTheirCsvFilesWould) {
    const QString fromCsv = TestSupport::NewTempDir(), fromZip = TestSupport::NewTempDir();
    TTerytStats stats;
    QString error;
    ASSERT_TRUE(InstallTeryt(WritePublished(QStringLiteral("TERC.csv"), TercLines()),
                             WritePublished(QStringLiteral("SIMC.csv"), SimcLines()), fromCsv, false, stats, error));
    ASSERT_TRUE(InstallTeryt(TercZip(), SimcZip(), fromZip, false, stats, error)) << error.toStdString();
    EXPECT_EQ(ReadBytes(QDir(fromZip).filePath(cTerytStoreFile)), ReadBytes(QDir(fromCsv).filePath(cTerytStoreFile)));
    // An archive with the .csv beside other files takes the one of its kind.
    const QString mixed = WriteZip(QStringLiteral("teryt.zip"), {{QStringLiteral("opis.txt"), "opis"},
                                                                 {QStringLiteral("TERC_x.csv"), Published(TercLines())},
                                                                 {QStringLiteral("SIMC_x.csv"), Published(SimcLines())}});
    EXPECT_TRUE(InstallTeryt(mixed, mixed, QString(TestSupport::NewTempDir()), false, stats, error))
        << error.toStdString();

    // The command-line tool takes the archives too.
    QProcess tool;
    tool.start(QStringLiteral(KWADREL_IMPORT_TOOL),
               {QStringLiteral("--sprawdz"), QStringLiteral("teryt"), TercZip(), SimcZip()});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

TEST(ZipInput, ADamagedEmptyOrWrongArchiveIsRefusedNamingItAndThePreviousDictionaryStays) {
    const QString folder = TestSupport::NewTempDir();
    TTerytStats stats;
    QString error;
    const QString terc = TercZip(), simc = SimcZip();
    ASSERT_TRUE(InstallTeryt(terc, simc, folder, false, stats, error)) << error.toStdString();
    const QString installed = QDir(folder).filePath(cTerytStoreFile);
    const QByteArray before = ReadBytes(installed);

    const QByteArray whole = ReadBytes(simc);
    const struct {
        const char* Case;
        QString Simc;
        const char* Expected;
    } refused[] = {
        {"cut short", WriteBytes(QStringLiteral("SIMC_ucięty.zip"), whole.left(whole.size() / 2)),
         "Archiwum „SIMC_ucięty.zip” jest uszkodzone"},
        {"damaged data", DamagedCopy(simc), "Archiwum „SIMC_uszkodzony.zip” jest uszkodzone"},
        {"empty", WriteZip(QStringLiteral("SIMC_pusty.zip"), {}), "Archiwum „SIMC_pusty.zip” jest puste"},
        {"no csv", WriteZip(QStringLiteral("SIMC_opis.zip"), {{QStringLiteral("SIMC.xml"), "<xml/>"}}),
         "Archiwum „SIMC_opis.zip” nie zawiera pliku SIMC"},
        {"the other file", WriteZip(QStringLiteral("SIMC_2020.zip"), {{QStringLiteral("TERC_2020.csv"),
                                                                      Published(TercLines())}}),
         "Archiwum „SIMC_2020.zip”: Plik „TERC_2020.csv”, wiersz 1: oczekiwano nagłówka"},
    };
    for (const auto& r : refused) {
        ASSERT_FALSE(r.Simc.isEmpty()) << r.Case;
        EXPECT_FALSE(InstallTeryt(terc, r.Simc, folder, false, stats, error)) << r.Case;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(r.Expected))) << r.Case << ": " << error.toStdString();
        EXPECT_EQ(ReadBytes(installed), before) << r.Case;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{cTerytStoreFile});
}

} // namespace
