#include "uSettingsModule.h"

#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"

namespace {

// One registry value of the settings: key, value name (or name prefix) and default.
struct TRegistryValueRecord {
    const QString& Key;
    const char16_t* Name;
    const char16_t* Default;
};

const TRegistryValueRecord DataBaseSymbolValue{QuorDataBaseDefs::EwidarKey, u"DataBaseSymbol", u""};
const TRegistryValueRecord DataBaseTypeValue{QuorDataBaseDefs::EwidarKey, u"DataBaseType", u"0"};
const TRegistryValueRecord ConnectorParamsValue{QuorDataBaseDefs::EwidarKey, u"ConnectorParams", u""};
const TRegistryValueRecord ConnectorHistoryValue{QuorDataBaseDefs::EwidarKey, u"ConnectorHistory", u""};

QString NameOf(const TRegistryValueRecord& Value) {
    return QString::fromUtf16(Value.Name);
}
QString DefaultOf(const TRegistryValueRecord& Value) {
    return QString::fromUtf16(Value.Default);
}

// "<prefix>_<symbol>": the per-backend value name.
QString SymbolName(const TRegistryValueRecord& Value, const QString& Symbol) {
    return NameOf(Value) + QLatin1Char('_') + Symbol;
}

QString GetConnectorValue(const TRegistryValueRecord& Value, const QString& Symbol) {
    const QString result = Registry::ReadString(Value.Key, SymbolName(Value, Symbol), DefaultOf(Value));
    if (!result.isEmpty())
        return result;
    const int index = QuorDataBaseDefs::IndexOfSymbol(Symbol);
    if (index < 0)
        return result;
    // Older form: the value was named by the symbol's position in the backend type table.
    const QString older = NameOf(Value) + QString::number(index);
    if (!Registry::ValueExists(Value.Key, older))
        return result;
    const QString migrated = Registry::ReadString(Value.Key, older, DefaultOf(Value));
    Registry::WriteString(Value.Key, SymbolName(Value, Symbol), migrated);
    return migrated;
}

} // namespace

TSettingsModule::TSettingsModule() {
    Load();
}

void TSettingsModule::Load() {
    using namespace QuorDataBaseDefs;
    const QString key = DataBaseSymbolValue.Key;
    FMainSettingsRecord.DataBaseSymbol =
        Registry::ReadString(key, NameOf(DataBaseSymbolValue), DefaultOf(DataBaseSymbolValue));
    if (FMainSettingsRecord.DataBaseSymbol.isEmpty() &&
        Registry::ValueExists(key, NameOf(DataBaseTypeValue))) {
        const int index =
            Registry::ReadInteger(key, NameOf(DataBaseTypeValue), DefaultOf(DataBaseTypeValue).toInt());
        const QString symbol = SymbolAt(index);
        if (!symbol.isEmpty()) {
            FMainSettingsRecord.DataBaseSymbol = symbol;
            FTempSettingsRecord = FMainSettingsRecord;
            Save();
        }
    }
    if (FMainSettingsRecord.DataBaseSymbol.isEmpty())
        FMainSettingsRecord.DataBaseSymbol = SymbolAt(0);
    FTempSettingsRecord = FMainSettingsRecord;
}

void TSettingsModule::Save() {
    FMainSettingsRecord = FTempSettingsRecord;
    Registry::WriteString(DataBaseSymbolValue.Key, NameOf(DataBaseSymbolValue),
                          FMainSettingsRecord.DataBaseSymbol);
}

void TSettingsModule::Cancel() {
    FTempSettingsRecord = FMainSettingsRecord;
}

QString TSettingsModule::GetConnectorParam(const QString& Symbol) {
    return GetConnectorValue(ConnectorParamsValue, Symbol);
}

void TSettingsModule::SetConnectorParam(const QString& Symbol, const QString& Param) {
    Registry::WriteString(ConnectorParamsValue.Key, SymbolName(ConnectorParamsValue, Symbol), Param);
}

QString TSettingsModule::GetConnectorHistory(const QString& Symbol) {
    return GetConnectorValue(ConnectorHistoryValue, Symbol);
}

void TSettingsModule::SetConnectorHistory(const QString& Symbol, const QString& History) {
    Registry::WriteString(ConnectorHistoryValue.Key, SymbolName(ConnectorHistoryValue, Symbol), History);
}
