#include "uQuorDataBaseDefs.h"

namespace QuorDataBaseDefs {

QString SymbolAt(int Index) {
    if (Index < 0 || Index >= static_cast<int>(DataBaseTypes.size()))
        return {};
    return QString::fromUtf16(DataBaseTypes[Index].Symbol);
}

int IndexOfSymbol(const QString& Symbol) {
    for (int i = 0; i < static_cast<int>(DataBaseTypes.size()); ++i)
        if (Symbol.compare(QString::fromUtf16(DataBaseTypes[i].Symbol), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace QuorDataBaseDefs
