#pragma once
// Conversions between Qt's strings and the UTF-16 strings of the data-access contract.

#include <QString>

#include <string>

inline QString toQ(const std::u16string& s) { return QString::fromStdU16String(s); }
inline std::u16string toU16(const QString& s) { return s.toStdU16String(); }
