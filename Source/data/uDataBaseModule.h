#pragma once
// The program's single link to the router library: finds and loads it, binds its
// exports, asks it for root data objects and holds the current one.

#include "uEwidarQuorDBIntf.h"

#include <QString>

#include <memory>

class QLibrary;

class TDataBaseModule {
public:
    // ProgramFolder: where the router is looked for after the registry value;
    // empty means the folder of the running program.
    explicit TDataBaseModule(const QString& ProgramFolder = QString());
    ~TDataBaseModule();
    TDataBaseModule(const TDataBaseModule&) = delete;
    TDataBaseModule& operator=(const TDataBaseModule&) = delete;

    // A new root object for the symbol (the configured one when empty), or empty.
    TIntfPtr<IEwidarDataBase> CreateEwidarInterface(const QString& Symbol);
    bool GetDLLLoaded() const;
    bool DBListAssigned() const;
    // Full path of the loaded router; empty when none is loaded.
    QString RouterPath() const;

    // Router file name in the platform's form ("QuorDataBase.so", "QuorDataBase.dll").
    static QString RouterFileName();
    // The symbol asked for when none is given: "DataBaseSymbol", else "DataBaseType" 0-3.
    static QString ConfiguredSymbol();

    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    TDBListCount FDBListCount = nullptr;
    TDBListItem FDBListItem = nullptr;
    TGetLastError FGetLastError = nullptr;

private:
    void LocateAndLoadRouter();
    void LoadRouter(const QString& Path);
    void UnloadRouter();

    std::unique_ptr<QLibrary> FDLLHandle;
    QString m_programFolder;
};
