#include "uSpreadsheetExport.h"

#include "uCsv.h"
#include "uXlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SpreadsheetExport {

namespace {

constexpr int kProgressEvery = 500;

bool Continue(const TProgress& Progress, int Done, int Total) {
    return !Progress || Done % kProgressEvery != 0 || Progress(Done, Total);
}

TResult Cancelled() {
    TResult r;
    r.Cancelled = true;
    return r;
}

TResult Failed(const QString& Error) {
    TResult r;
    r.Error = Error;
    return r;
}

TResult ExportCsv(const TTable& Table, const QString& Path, const TProgress& Progress) {
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly))
        return Failed(QStringLiteral("Nie można zapisać pliku %1: %2").arg(Path, file.errorString()));
    {
        Csv::TWriter writer(&file, u';');
        writer.WriteRow(Table.Header);
        for (int i = 0; i < Table.RowCount; ++i) {
            if (!Continue(Progress, i, Table.RowCount)) {
                file.cancelWriting();
                return Cancelled();
            }
            writer.WriteRow(Table.Row(i));
        }
        if (!writer.Flush()) {
            file.cancelWriting();
            return Failed(QStringLiteral("Nie można zapisać pliku %1: %2").arg(Path, file.errorString()));
        }
    }
    if (!file.commit())
        return Failed(QStringLiteral("Nie można zapisać pliku %1: %2").arg(Path, file.errorString()));
    return TResult{true, false, {}};
}

// libxlsxwriter writes the file itself: a temporary name beside the target, renamed at the end.
TResult ExportXlsx(const TTable& Table, const QString& Path, const TProgress& Progress) {
    const QFileInfo target(Path);
    const QString temp = target.absoluteDir().filePath(QStringLiteral(".%1.part").arg(target.fileName()));
    struct TRemove {
        QString path;
        ~TRemove() { QFile::remove(path); }
    } remove{temp};
    TXlsxWriter writer;
    if (!writer.Open(temp, Table.Header))
        return Failed(QStringLiteral("Nie można zapisać pliku %1: %2").arg(Path, writer.Error()));
    for (int i = 0; i < Table.RowCount; ++i) {
        if (!Continue(Progress, i, Table.RowCount)) {
            writer.Abandon();
            return Cancelled();
        }
        if (!writer.WriteRow(Table.Row(i))) {
            writer.Abandon();
            return Failed(writer.Error());
        }
    }
    if (!writer.Close())
        return Failed(QStringLiteral("Nie można zapisać pliku %1: %2").arg(Path, writer.Error()));
    QFile::remove(Path);
    if (!QFile::rename(temp, Path))
        return Failed(QStringLiteral("Nie można zapisać pliku %1.").arg(Path));
    return TResult{true, false, {}};
}

} // namespace

TResult Export(const TTable& Table, TFormat Format, const QString& Path, const TProgress& Progress) {
    if (!QFileInfo(Path).absoluteDir().exists())
        return Failed(QStringLiteral("Folder pliku %1 nie istnieje.").arg(Path));
    TResult r = Format == fmXlsx ? ExportXlsx(Table, Path, Progress) : ExportCsv(Table, Path, Progress);
    if (r.Ok && Progress)
        Progress(Table.RowCount, Table.RowCount);
    return r;
}

} // namespace SpreadsheetExport
