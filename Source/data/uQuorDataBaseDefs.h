#pragma once
// The backend type table: the four backend symbols with their captions, index 0 the default.

#include <QString>

#include <array>

namespace QuorDataBaseDefs {

struct TDataBaseTypeRecord {
    const char16_t* Symbol;
    const char16_t* Caption;
};

constexpr std::array<TDataBaseTypeRecord, 4> DataBaseTypes = {{
    {u"SQLITE", u"SQL Lite"},
    {u"MYSQL", u"MySQL"},
    {u"MYSQLADO", u"MySQL poprzez ADO"},
    {u"MSSQLADO", u"MSSQL poprzez ADO"},
}};

// Symbol at index 0-3; empty outside that range.
QString SymbolAt(int Index);
// Index 0-3 of a symbol compared without regard to letter case; -1 when not in the table.
int IndexOfSymbol(const QString& Symbol);

// Registry locations of the program's settings.
inline const QString QuorsysKey = QStringLiteral("Software\\Quorsys");
inline const QString DLLsKey = QStringLiteral("Software\\Quorsys\\DLLs");
inline const QString EwidarKey = QStringLiteral("Software\\Quorsys\\Ewidar\\");

} // namespace QuorDataBaseDefs
