#pragma once
// The one reading of a connection parameter, "KEY=value;" pairs, shared by the SQL backend
// (which takes its values) and the settings window (which hides its passwords), so that
// what is hidden is exactly what the backend reads.
//
// A part runs to the next ";" outside quotes and braces. Its key is the text before the
// first "=", trimmed; a part without "=" has no value and is skipped by readers. A value
// has its surrounding blanks dropped; after leading blanks it may be quoted ("" standing
// for a quote inside; the quotes are removed, blanks after the closing quote dropped and
// any other text after it appended) or braced (kept as written, braces included, the same
// way). An unclosed quote or brace runs to the end of the text.

#include <QList>
#include <QString>

namespace ParamText {

struct TPart {
    QString Key;   // trimmed
    QString Value; // as read
    bool HasValue = false;
    qsizetype ValueStart = 0; // just after "="
    qsizetype ValueEnd = 0;   // at the ";" ending the part, or the end of the text
};

QList<TPart> Split(const QString& Text);

// The text with every character of a password-like key's value (a key containing
// PASSWORD or PWD, any letter case) replaced by "*", the value read as Split reads it.
QString Masked(const QString& Param);

} // namespace ParamText
