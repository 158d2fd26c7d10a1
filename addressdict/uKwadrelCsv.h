#pragma once
// Reading of the published ";"-separated lists (TERYT TERC and SIMC, the tax-office
// list): UTF-8 with or without a byte-order mark, CRLF or LF line ends, a header line
// first. Fields are split on ";" only: a quote inside a name is a letter, not quoting.

#include <QString>
#include <QStringList>

#include <functional>

// Receives the fields of one data line; returns false with
// a message (without the file and line, which the reader adds) to refuse the file.
using TCsvRow = std::function<bool(const QStringList& Fields, QString& Error)>;

// Reads Path line by line. The header must equal Header (case-insensitive). Every data
// line must have exactly as many fields as the header, be valid UTF-8 and contain no
// control characters; the last data line must end with a line break (a file cut short
// is refused); blank lines may only close the file. On a fault Error reads
// "Plik „name”, wiersz N: what" and the result is false.
bool ReadCsv(const QString& Path, const QString& Header, const TCsvRow& Row, QString& Error);

// "Plik „name”, wiersz Line: Message".
QString CsvLineError(const QString& Path, int Line, const QString& Message);
