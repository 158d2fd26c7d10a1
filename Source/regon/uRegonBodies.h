#pragma once
// The request bodies of the register service. Every inserted value is escaped as a JSON string,
// so a quotation mark or backslash typed by the operator cannot change the request.

#include <QByteArray>
#include <QString>

namespace RegonBodies {

// The text of a JSON string literal without its quotation marks.
QString JsonEscaped(const QString& Value);

QByteArray LoginBody(const QString& UserKey);
QByteArray CodeBody(const QString& Code);
QByteArray SearchBody(const QString& Regon, const QString& Nip, const QString& Krs);
QByteArray ReportBody(const QString& Regon, const QString& ReportName, const QString& Silo);

} // namespace RegonBodies
