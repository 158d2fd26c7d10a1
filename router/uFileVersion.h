#pragma once
// Version texts of libraries: parsing, comparison and reading a library's own
// version through its "GetFileVersion" export.

#include <QString>

#include <cstdint>
#include <optional>

namespace FileVersion {

// "1.2.3.4" or "V_1.2" as a 64-bit value, the first number in the highest 16 bits,
// missing trailing numbers 0. Empty when a part is not a number from 0 to 65535 or
// there are more than four parts.
std::optional<uint64_t> Parse(const QString& Text);

// -2 when either text cannot be parsed; else -1, 0 or 1 as A is lower, equal or higher.
int Compare(const QString& A, const QString& B);

// The text the library at Path reports through "GetFileVersion"; empty when it
// cannot be loaded or has no such export.
QString Read(const QString& Path);

} // namespace FileVersion
