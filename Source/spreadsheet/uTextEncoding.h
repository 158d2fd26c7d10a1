#pragma once
// Text of files that come from spreadsheets: UTF-8 with or without a byte order mark,
// or Windows-1250 (what a Polish spreadsheet writes as "CSV"). The Windows-1250 table is
// our own, so decoding needs no ICU.

#include <QByteArray>
#include <QString>

namespace TextEncoding {

enum TEncoding { enUtf8, enWindows1250 };

// UTF-8 when the data starts with its byte order mark or is valid UTF-8, else Windows-1250.
TEncoding Detect(const QByteArray& Data);
// The text; a leading UTF-8 byte order mark is dropped.
QString Decode(const QByteArray& Data, TEncoding Encoding);
QString DecodeWindows1250(const QByteArray& Data);
// ";" unless the first line (outside quotes) holds more commas than semicolons.
QChar GuessSeparator(QStringView Text);

} // namespace TextEncoding
