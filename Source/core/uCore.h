#pragma once
// The core object: created once before any window, owns the long-lived modules
// and is reached by every window through the global Core().

#include <QString>

#include <memory>

class TDataBaseModule;

class TCore {
public:
    // Creates the modules in start-up order. ProgramFolder locates the router
    // (empty: the running program's folder).
    explicit TCore(const QString& ProgramFolder = QString());
    // Frees the modules in field order.
    ~TCore();
    TCore(const TCore&) = delete;
    TCore& operator=(const TCore&) = delete;

    // Fields in their fixed order; modules still to be built join in this order.
    std::unique_ptr<TDataBaseModule> FDataBaseModule;
};

// The one core object; nullptr before CreateCore and after DestroyCore.
TCore* Core();
// Creates the global core object (once); called before the first window.
TCore* CreateCore(const QString& ProgramFolder = QString());
// Frees the global core object; called after the last window is gone.
void DestroyCore();
