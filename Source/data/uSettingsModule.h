#pragma once
// The connection settings in the current user's registry: the chosen backend symbol (saved
// copy and a working copy for the settings window) and, per backend symbol, the connection
// parameter last used and the history of parameters ("entry@entry@...").
//
// Every registry access goes through the registry layer, so its ERegistryException (a value
// that cannot be read or written) passes through these methods to the caller.

#include <QString>

struct TSettingsRecord {
    QString DataBaseSymbol; // the chosen backend symbol
};

class TSettingsModule {
public:
    // Loads the settings; migrates the older "DataBaseType" index to "DataBaseSymbol".
    TSettingsModule();

    // Makes the working copy the saved choice and writes "DataBaseSymbol".
    void Save();
    // Discards the working copy.
    void Cancel();

    // "ConnectorParams_<symbol>"; an empty value of a table symbol is taken over from the
    // older "ConnectorParams<index>" (written under the new name with Symbol as given).
    QString GetConnectorParam(const QString& Symbol);
    void SetConnectorParam(const QString& Symbol, const QString& Param);
    // The same for "ConnectorHistory_<symbol>" and "ConnectorHistory<index>".
    QString GetConnectorHistory(const QString& Symbol);
    void SetConnectorHistory(const QString& Symbol, const QString& History);

    TSettingsRecord FMainSettingsRecord; // the saved settings
    TSettingsRecord FTempSettingsRecord; // the working copy edited by the settings window

private:
    void Load();
};
