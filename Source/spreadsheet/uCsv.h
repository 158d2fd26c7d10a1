#pragma once
// CSV as spreadsheets read and write it: fields separated by one character, a field
// quoted when it holds the separator, a quote or a line break, quotes doubled inside.
// The formula guard keeps a value that a spreadsheet would run as a formula a text.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace Csv {

// The field as written: quoted (quotes doubled) when it holds Separator, a quote, CR or LF.
QString Quote(const QString& Value, QChar Separator);
// True when a spreadsheet would take the text for a formula: it starts with "=", "+", "-" or "@".
bool LooksLikeFormula(const QString& Value);
// The value a spreadsheet shows as text: an apostrophe in front of a formula-looking value
// and of a value that already starts with apostrophes followed by such a character, so
// that Unguard gives back exactly the value.
QString Guard(const QString& Value);
QString Unguard(const QString& Value);

// Writes rows to a device: UTF-8 with a byte order mark, CR LF after each row, every
// field guarded and quoted. Buffered; Flush (also at destruction) writes what is left.
class TWriter {
public:
    TWriter(QIODevice* Device, QChar Separator);
    ~TWriter();
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    void WriteRow(const QStringList& Fields);
    // False when the device refused data.
    bool Flush();

private:
    QIODevice* m_device;
    QChar m_sep;
    QString m_line;
    QByteArray m_buffer;
    bool m_ok = true;
};

// Rows of a CSV text. Quoted fields may hold separators, doubled quotes and line breaks;
// CR LF, LF and CR all end a row; a blank last line gives no row. MaxRows >= 0 stops
// after that many rows. Unterminated is set when the text ended inside a quoted field
// (that field then runs to the end).
struct TParsed {
    QList<QStringList> Rows;
    bool Unterminated = false;
    // Line number (1-based) in the text where each row starts.
    QList<int> Lines;
};
TParsed Parse(QStringView Text, QChar Separator, int MaxRows = -1);

} // namespace Csv
