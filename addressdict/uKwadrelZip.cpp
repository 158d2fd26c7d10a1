#include "uKwadrelZip.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Larger than any published TERYT file unpacked (SIMC is about 10 MB); a bigger entry
// is not what it claims to be.
constexpr qint64 cMaxUnpacked = qint64(512) * 1024 * 1024;

QString ArchiveError(const QString& Path, const QString& What) {
    return QStringLiteral("Archiwum „%1” %2").arg(QFileInfo(Path).fileName(), What);
}

} // namespace

bool LooksLikeZip(const QString& Path) {
    if (Path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        return true;
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "PK";
}

TUnpackedInput::TUnpackedInput(const QString& Path, const QString& Kind) : m_path(Path), m_csv(Path) {
    if (!LooksLikeZip(Path))
        return;
    m_archive = true;
    m_csv.clear();
    if (!QFileInfo(Path).isFile()) {
        m_error = QStringLiteral("Nie można otworzyć pliku „%1”: brak pliku.").arg(Path);
        return;
    }
    QuaZip zip(Path);
    if (!zip.open(QuaZip::mdUnzip)) {
        // An archive of no entries is only its closing record, which the unpacker refuses.
        QFile file(Path);
        const bool empty = file.open(QIODevice::ReadOnly) && file.size() == 22 && file.read(4) == "PK\x05\x06";
        m_error = ArchiveError(Path, empty ? QStringLiteral("jest puste.")
                                           : QStringLiteral("jest uszkodzone albo nie jest plikiem ZIP."));
        return;
    }
    const QList<QuaZipFileInfo64> entries = zip.getFileInfoList64();
    if (entries.isEmpty()) {
        m_error = ArchiveError(Path, QStringLiteral("jest puste."));
        return;
    }
    QList<QuaZipFileInfo64> csvs;
    for (const QuaZipFileInfo64& e : entries)
        if (e.name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
            csvs.append(e);
    if (csvs.size() > 1) {
        QList<QuaZipFileInfo64> ofKind;
        for (const QuaZipFileInfo64& e : csvs)
            if (QFileInfo(e.name).fileName().contains(Kind, Qt::CaseInsensitive))
                ofKind.append(e);
        csvs = ofKind;
    }
    if (csvs.size() != 1) {
        m_error = ArchiveError(Path, csvs.isEmpty() ? QStringLiteral("nie zawiera pliku %1 w formacie .csv.").arg(Kind)
                                                    : QStringLiteral("zawiera kilka plików .csv %1.").arg(Kind));
        return;
    }
    const QuaZipFileInfo64 entry = csvs.first();
    if (entry.uncompressedSize > quint64(cMaxUnpacked)) {
        m_error = ArchiveError(Path, QStringLiteral("zawiera zbyt duży plik „%1”.").arg(entry.name));
        return;
    }
    QByteArray data;
    if (zip.setCurrentFile(entry.name)) {
        QuaZipFile file(&zip);
        if (file.open(QIODevice::ReadOnly)) {
            while (data.size() <= cMaxUnpacked) {
                const QByteArray chunk = file.read(1 << 20);
                if (chunk.isEmpty())
                    break;
                data += chunk;
            }
            file.close();
            // Closing a wholly read entry checks its CRC; a damaged one stops short or fails here.
            if (file.getZipError() != UNZ_OK || quint64(data.size()) != entry.uncompressedSize)
                data.clear();
        }
    }
    if (data.isEmpty() && entry.uncompressedSize > 0) {
        m_error = ArchiveError(Path, QStringLiteral("jest uszkodzone: nie można odczytać pliku „%1”.").arg(entry.name));
        return;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    const QString target = m_dir->isValid() ? QDir(m_dir->path()).filePath(QFileInfo(entry.name).fileName()) : QString();
    QFile out(target);
    if (target.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(data) != data.size()) {
        m_error = ArchiveError(Path, QStringLiteral("nie daje się rozpakować do folderu tymczasowego."));
        return;
    }
    m_csv = target;
}

QString TUnpackedInput::Explain(const QString& ReaderError) const {
    return m_archive ? QStringLiteral("Archiwum „%1”: %2").arg(QFileInfo(m_path).fileName(), ReaderError)
                     : ReaderError;
}
