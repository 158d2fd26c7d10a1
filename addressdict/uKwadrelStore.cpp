#include "uKwadrelStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace {

const QString cMagic = QStringLiteral("KWADREL2015");
const QString cFormatVersion = QStringLiteral("1");
const QString cEnd = QStringLiteral("KONIEC");

void ClearAll(const std::vector<TStoreSection>& Sections) {
    for (const TStoreSection& s : Sections)
        s.Table->Clear();
}

bool Fail(const std::vector<TStoreSection>& Sections, QString& Error, const QString& Message) {
    ClearAll(Sections);
    Error = Message;
    return false;
}

} // namespace

QString KwadrelDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Ewidar/slowniki");
}

bool WriteStore(const QString& Path, const QString& Kind, const std::vector<TStoreSection>& Sections,
                QString& Error) {
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly)) {
        Error = QStringLiteral("Nie można zapisać pliku „%1”: %2").arg(Path, file.errorString());
        return false;
    }
    QString text = cMagic + u'\t' + Kind + u'\t' + cFormatVersion + u'\n';
    QString end = cEnd;
    for (const TStoreSection& s : Sections) {
        const TKwadrelTable& t = *s.Table;
        for (int r = 0; r < t.Rows(); ++r) {
            text += s.Tag;
            for (int c = 0; c < t.Columns; ++c)
                text += u'\t' + t.Cell(r, c);
            text += u'\n';
        }
        end += u'\t' + QString::number(t.Rows());
    }
    text += end + u'\n';
    file.write(text.toUtf8());
    if (!file.commit()) {
        Error = QStringLiteral("Nie można zapisać pliku „%1”: %2").arg(Path, file.errorString());
        return false;
    }
    return true;
}

bool ReadStore(const QString& Path, const QString& Kind, const std::vector<TStoreSection>& Sections,
               QString& Error) {
    ClearAll(Sections);
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(Sections, Error, QStringLiteral("Brak pliku „%1”.").arg(Path));
    const QString text = QString::fromUtf8(file.readAll());
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    const QString header = cMagic + u'\t' + Kind + u'\t' + cFormatVersion;
    if (lines.isEmpty() || lines.first() != header)
        return Fail(Sections, Error, QStringLiteral("Plik „%1” nie jest słownikiem %2.").arg(Path, Kind));
    bool ended = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (ended) {
            if (!line.isEmpty() || i != lines.size() - 1)
                return Fail(Sections, Error,
                            QStringLiteral("Plik „%1” ma dane za wierszem końcowym.").arg(Path));
            continue;
        }
        const QList<QStringView> fields = line.split(u'\t');
        if (fields.first() == cEnd) {
            if (fields.size() != qsizetype(Sections.size()) + 1)
                return Fail(Sections, Error, QStringLiteral("Plik „%1” jest uszkodzony.").arg(Path));
            for (size_t s = 0; s < Sections.size(); ++s)
                if (fields[qsizetype(s) + 1] != QString::number(Sections[s].Table->Rows()))
                    return Fail(Sections, Error, QStringLiteral("Plik „%1” jest niepełny.").arg(Path));
            ended = true;
            continue;
        }
        TKwadrelTable* table = nullptr;
        for (const TStoreSection& s : Sections)
            if (fields.first() == s.Tag)
                table = s.Table;
        if (!table || fields.size() != table->Columns + 1)
            return Fail(
                Sections, Error,
                QStringLiteral("Plik „%1”, wiersz %2: nieznany lub uszkodzony wiersz.").arg(Path).arg(i + 1));
        for (qsizetype c = 1; c < fields.size(); ++c)
            table->Cells.push_back(fields[c].toString());
    }
    if (!ended)
        return Fail(Sections, Error, QStringLiteral("Plik „%1” jest niepełny.").arg(Path));
    return true;
}
