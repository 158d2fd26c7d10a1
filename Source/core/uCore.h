#pragma once
// The core object: created once before any window, owns the long-lived modules
// and is reached by every window through the global Core().

#include <QString>

#include <memory>

class TDataBaseModule;
class TDictionaryModule;
class TInitializeTableThread;
class TSettingsModule;
class TUserMessagesModule;

class TCore {
public:
    // Creates the modules in start-up order. ProgramFolder locates the router and the
    // address-dictionary library (empty: the running program's folder). Throws Registry::ERegistryException
    // when the settings cannot be read or written.
    explicit TCore(const QString& ProgramFolder = QString());
    // Frees the modules in field order.
    ~TCore();
    TCore(const TCore&) = delete;
    TCore& operator=(const TCore&) = delete;

    // Fields in their fixed order.
    std::unique_ptr<TDataBaseModule> FDataBaseModule;
    std::unique_ptr<TSettingsModule> FSettingsModule;
    std::unique_ptr<TDictionaryModule> FDictionaryModule;
    std::unique_ptr<TInitializeTableThread> FInitializeTableThread;
    std::unique_ptr<TUserMessagesModule> FUserMessagesModule;

private:
    void FreeModules();
};

// The one core object; nullptr before CreateCore and after DestroyCore.
TCore* Core();
// Creates the global core object (once); called before the first window.
TCore* CreateCore(const QString& ProgramFolder = QString());
// Frees the global core object; called after the last window is gone.
void DestroyCore();
