#pragma once
// A copy of the built router in a fresh folder of its own, with chosen stand-in
// backends beside it, loaded through QLibrary. Every sandbox is a new file, so
// each one runs discovery afresh.

#include "uEwidarQuorDBIntf.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One entry as the router's DBListItem gives it.
struct TListed {
    QString Symbol;
    QString Caption;
    bool Result = false;
};

class TRouterSandbox {
public:
    TRouterSandbox();
    ~TRouterSandbox();
    TRouterSandbox(const TRouterSandbox&) = delete;
    TRouterSandbox& operator=(const TRouterSandbox&) = delete;

    // The router's folder, with a trailing separator.
    const QString& Folder() const { return m_folder; }
    QString RouterPath() const { return m_folder + QStringLiteral("QuorDataBase.so"); }

    // Copies a stand-in backend (its target name) into Dir (the router's folder
    // when empty) under Name (its own name when empty); returns the copy's path.
    QString AddFixture(const QString& Fixture, const QString& Name = QString(),
                       const QString& Dir = QString());
    // Writes a file into the router's folder; returns its path.
    QString AddFile(const QString& Name, const QByteArray& Content);
    // Copies the built router to Path (used to place extra router copies).
    static bool CopyRouterTo(const QString& Path);

    // Copies the router in and loads it; the exports below are bound on success.
    bool Load();
    // Unloads the router; true when the library is gone from the process.
    bool Unload();

    // Every entry, read through DBListItem.
    std::vector<TListed> List() const;
    // The router's root interface for a symbol through GetEwidarIntf.
    TIntfPtr<IEwidarDataBase> Root(const QString& Symbol) const;
    // A sibling export (GetFormuloIntf ...) for a symbol.
    TIntfPtr<IInterface> Sibling(const char* Export, const QString& Symbol) const;
    // Calls GetLastError; Text and Link receive its strings.
    bool LastError(int32_t Code, QString& Text, QString& Link) const;

    TDBListCount DBListCount = nullptr;
    TDBListItem DBListItem = nullptr;
    TGetLastError GetLastError = nullptr;
    TGetEwidarIntf GetEwidarIntf = nullptr;
    QFunctionPointer Resolve(const char* Name) const;

private:
    QString m_folder;
    std::unique_ptr<QLibrary> m_router;
};

// Path of a built stand-in backend.
QString FixturePath(const QString& Fixture);
// True while a library of that path is loaded in the process.
bool IsLibraryLoaded(const QString& Path);
// Replaces the registry list of further backends by Paths, in that order.
void SetRegisteredBackends(const QStringList& Paths);
// The identifier a stand-in backend's root object reports ("alpha:GetEwidarIntf").
QString RootID(IInterface* Root);
