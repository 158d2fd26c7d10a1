#include "uKwadrelCsv.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

bool HasControlCharacter(const QString& Text) {
    for (QChar c : Text)
        if (c.unicode() < 32 || c.unicode() == 127)
            return true;
    return false;
}

} // namespace

QString CsvLineError(const QString& Path, int Line, const QString& Message) {
    return QStringLiteral("Plik „%1”, wiersz %2: %3").arg(QFileInfo(Path).fileName()).arg(Line).arg(Message);
}

bool ReadCsv(const QString& Path, const QString& Header, const TCsvRow& Row, QString& Error) {
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly)) {
        Error = QStringLiteral("Nie można otworzyć pliku „%1”: %2").arg(Path, file.errorString());
        return false;
    }
    QByteArray data = file.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const int columns = int(Header.count(u';')) + 1;
    const QList<QByteArray> lines = data.split('\n');
    // The text after the last line break is empty in a complete file.
    const bool terminated = lines.last().isEmpty();
    qsizetype last = lines.size() - (terminated ? 1 : 0);
    int lastData = 0;
    for (qsizetype i = 0; i < last; ++i)
        if (!lines[i].trimmed().isEmpty())
            lastData = int(i) + 1;
    if (lastData == 0) {
        Error = QStringLiteral("Plik „%1” jest pusty.").arg(QFileInfo(Path).fileName());
        return false;
    }
    if (!terminated && lastData == int(last)) {
        Error = CsvLineError(Path, lastData,
                             QStringLiteral("wiersz urywa się bez końca wiersza, plik jest niepełny."));
        return false;
    }
    QStringList fields;
    for (int i = 0; i < lastData; ++i) {
        const int lineNo = i + 1;
        QByteArray bytes = lines[i];
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = decoder(bytes);
        if (decoder.hasError()) {
            Error = CsvLineError(Path, lineNo, QStringLiteral("tekst nie jest zapisany w UTF-8."));
            return false;
        }
        if (i == 0) {
            if (line.compare(Header, Qt::CaseInsensitive) != 0) {
                Error = CsvLineError(Path, lineNo, QStringLiteral("oczekiwano nagłówka „%1”.").arg(Header));
                return false;
            }
            continue;
        }
        if (line.trimmed().isEmpty()) {
            Error = CsvLineError(Path, lineNo, QStringLiteral("pusty wiersz wewnątrz pliku."));
            return false;
        }
        if (HasControlCharacter(line)) {
            Error = CsvLineError(Path, lineNo, QStringLiteral("wiersz zawiera znak sterujący."));
            return false;
        }
        fields = line.split(u';');
        if (fields.size() != columns) {
            Error = CsvLineError(Path, lineNo,
                                 QStringLiteral("oczekiwano %1 pól oddzielonych średnikiem, jest %2.")
                                     .arg(columns)
                                     .arg(fields.size()));
            return false;
        }
        QString message;
        if (!Row(fields, message)) {
            Error = CsvLineError(Path, lineNo, message);
            return false;
        }
    }
    if (lastData == 1) {
        Error = QStringLiteral("Plik „%1” nie zawiera danych.").arg(QFileInfo(Path).fileName());
        return false;
    }
    return true;
}
