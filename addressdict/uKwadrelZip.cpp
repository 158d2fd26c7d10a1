#include "uKwadrelZip.h"

#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

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
    int openError = 0;
    zip_t* zip = zip_open(QFile::encodeName(Path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &openError);
    if (!zip) {
        // An archive of no entries is only its closing record.
        QFile file(Path);
        const bool empty = file.open(QIODevice::ReadOnly) && file.size() == 22 && file.read(4) == "PK\x05\x06";
        m_error = ArchiveError(Path, empty ? QStringLiteral("jest puste.")
                                           : QStringLiteral("jest uszkodzone albo nie jest plikiem ZIP."));
        return;
    }
    const std::unique_ptr<zip_t, void (*)(zip_t*)> archive(zip, zip_discard);
    struct TEntry {
        zip_uint64_t Index;
        QString Name;
        zip_uint64_t Size;
    };
    QList<TEntry> csvs;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const QString name = QString::fromUtf8(st.name);
        if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
            csvs.append({zip_uint64_t(i), name, (st.valid & ZIP_STAT_SIZE) ? st.size : 0});
    }
    if (count <= 0) {
        m_error = ArchiveError(Path, QStringLiteral("jest puste."));
        return;
    }
    if (csvs.size() > 1) {
        QList<TEntry> ofKind;
        for (const TEntry& e : csvs)
            if (QFileInfo(e.Name).fileName().contains(Kind, Qt::CaseInsensitive))
                ofKind.append(e);
        csvs = ofKind;
    }
    if (csvs.size() != 1) {
        m_error = ArchiveError(Path, csvs.isEmpty() ? QStringLiteral("nie zawiera pliku %1 w formacie .csv.").arg(Kind)
                                                    : QStringLiteral("zawiera kilka plików .csv %1.").arg(Kind));
        return;
    }
    const TEntry entry = csvs.first();
    if (entry.Size > quint64(cMaxUnpacked)) {
        m_error = ArchiveError(Path, QStringLiteral("zawiera zbyt duży plik „%1”.").arg(entry.Name));
        return;
    }
    QByteArray data;
    if (zip_file_t* file = zip_fopen_index(zip, entry.Index, 0)) {
        // libzip checks the entry's CRC when it has been read whole: a damaged entry fails
        // a read or stops short of its size.
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        bool failed = false;
        while (data.size() <= cMaxUnpacked) {
            const zip_int64_t n = zip_fread(file, chunk.data(), zip_uint64_t(chunk.size()));
            if (n < 0)
                failed = true;
            if (n <= 0)
                break;
            data.append(chunk.constData(), qsizetype(n));
        }
        zip_fclose(file);
        if (failed || quint64(data.size()) != entry.Size)
            data.clear();
    }
    if (data.isEmpty() && entry.Size > 0) {
        m_error = ArchiveError(Path, QStringLiteral("jest uszkodzone: nie można odczytać pliku „%1”.").arg(entry.Name));
        return;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    const QString target = m_dir->isValid() ? QDir(m_dir->path()).filePath(QFileInfo(entry.Name).fileName()) : QString();
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
