#include "uCsv.h"

#include <QIODevice>

namespace Csv {

namespace {

constexpr qsizetype kFlushAt = 1 << 16;

bool IsFormulaStart(QChar C) {
    return C == u'=' || C == u'+' || C == u'-' || C == u'@';
}

// Apostrophes at the start followed by a formula character.
bool NeedsApostrophe(const QString& Value) {
    qsizetype i = 0;
    while (i < Value.size() && Value[i] == u'\'')
        ++i;
    return i < Value.size() && IsFormulaStart(Value[i]);
}

} // namespace

QString Quote(const QString& Value, QChar Separator) {
    bool quote = false;
    for (const QChar c : Value)
        if (c == Separator || c == u'"' || c == u'\r' || c == u'\n') {
            quote = true;
            break;
        }
    if (!quote)
        return Value;
    QString out;
    out.reserve(Value.size() + 2);
    out += u'"';
    for (const QChar c : Value) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

bool LooksLikeFormula(const QString& Value) {
    return !Value.isEmpty() && IsFormulaStart(Value[0]);
}

QString Guard(const QString& Value) {
    return NeedsApostrophe(Value) ? u'\'' + Value : Value;
}

QString Unguard(const QString& Value) {
    return Value.startsWith(u'\'') && NeedsApostrophe(Value) ? Value.mid(1) : Value;
}

TWriter::TWriter(QIODevice* Device, QChar Separator) : m_device(Device), m_sep(Separator) {
    m_buffer.append("\xEF\xBB\xBF");
}

TWriter::~TWriter() {
    Flush();
}

void TWriter::WriteRow(const QStringList& Fields) {
    m_line.clear();
    for (qsizetype i = 0; i < Fields.size(); ++i) {
        if (i)
            m_line += m_sep;
        m_line += Quote(Guard(Fields[i]), m_sep);
    }
    m_line += QLatin1String("\r\n");
    m_buffer += m_line.toUtf8();
    if (m_buffer.size() >= kFlushAt)
        Flush();
}

bool TWriter::Flush() {
    if (!m_buffer.isEmpty()) {
        m_ok = m_ok && m_device->write(m_buffer) == m_buffer.size();
        m_buffer.clear();
    }
    return m_ok;
}

TParsed Parse(QStringView Text, QChar Separator, int MaxRows) {
    TParsed out;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowStarted = false;
    int line = 1;
    int rowLine = 1;
    const qsizetype n = Text.size();
    auto endRow = [&] {
        row.append(field);
        field.clear();
        out.Rows.append(row);
        out.Lines.append(rowLine);
        row.clear();
        rowStarted = false;
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (MaxRows >= 0 && out.Rows.size() >= MaxRows)
            return out;
        const QChar c = Text[i];
        if (!rowStarted) {
            rowStarted = true;
            rowLine = line;
        }
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && Text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else
                    quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty())
            quoted = true;
        else if (c == Separator) {
            row.append(field);
            field.clear();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && Text[i + 1] == u'\n')
                ++i;
            ++line;
            endRow();
        } else
            field += c;
    }
    out.Unterminated = quoted;
    if (rowStarted && (MaxRows < 0 || out.Rows.size() < MaxRows))
        endRow();
    return out;
}

} // namespace Csv
