#pragma once
// Copying the data of one database into another, shared by the main window's
// import and the settings window's. Both root objects are opened first (the
// program's current one as it is, any other connected, with the caller's answer
// to a failed connection), a source that is the target itself is refused, the
// import runs with the caller's progress handler in place of the target's (put
// back afterwards, also when the import raises), and every root object created
// on the way is disconnected afterwards, never the program's current one.

#include "uEwidarQuorDBIntf.h"

#include <QString>

#include <string>

class QWidget;

// A root object held for one task. One created for the task (not the program's
// current one) is disconnected when the holder lets it go.
class TRootHold {
public:
    TRootHold() = default;
    TRootHold(TIntfPtr<IEwidarDataBase> Root, bool Created);
    ~TRootHold();
    TRootHold(TRootHold&& Other) noexcept;
    TRootHold& operator=(TRootHold&& Other) noexcept;
    TRootHold(const TRootHold&) = delete;
    TRootHold& operator=(const TRootHold&) = delete;

    IEwidarDataBase* get() const { return m_root.get(); }
    IEwidarDataBase* operator->() const { return m_root.get(); }
    explicit operator bool() const { return static_cast<bool>(m_root); }
    // True for an object created for the task, false for the program's current one.
    bool Created() const { return m_created; }
    // Disconnects an object created for the task and lets it go.
    void Reset();

private:
    TIntfPtr<IEwidarDataBase> m_root;
    bool m_created = false;
};

// The program's current root object when its symbol is Symbol, else a new one for
// Symbol (empty when no backend serves it).
TRootHold RootForSymbol(const QString& Symbol);
// A new root object for Symbol; empty when no backend serves it.
TRootHold CreateRoot(const QString& Symbol);
// The program's current root object, held without being created.
TRootHold CurrentRoot();

// What an import shows and asks on its way; the window running it implements it.
class IImportView {
public:
    virtual ~IImportView() = default;
    // The window that owns messages and the backends' dialogs.
    virtual QWidget* ImportOwner() = 0;
    // A database is being connected ("Trwa łączenie...").
    virtual void ShowConnecting() = 0;
    // A connection failed; its error message follows.
    virtual void ShowNotConnected() = 0;
    // After a failed connection: true with an edited parameter to try again.
    virtual bool EditAfterFailure(IEwidarDataBase* Root, std::u16string& Param) = 0;
    // Connecting one database has ended, connected or not.
    virtual void ConnectingEnded() {}
    // The import is about to run / has ended (also after a failure or an exception).
    virtual void ImportStarted() {}
    virtual void ImportEnded() {}
    // The target's progress during the import; setting Cancel stops it.
    virtual void ImportProgress(int32_t Percent, bool& Cancel) = 0;
    // The import has ended: hides whatever showed it, before any message.
    virtual void HideProgress() = 0;
};

// One end of an import: the root object to use with its symbol and parameter.
struct TImportEnd {
    TRootHold Root;
    QString Symbol;
    std::u16string Param;
};

enum class TImportResult {
    irNotRun,  // refused, or a database did not open (already reported)
    irFailed,  // the import failed or was cancelled (the target's error shown)
    irImported // the data were copied
};

// Opens Target (a missing database may be created) and Source (only read), then
// copies Source into Target. Every failure is shown through the message catalogue:
// 319 for a missing root object, 317 for a source that is the target (the same
// symbol with the same parameter or the same database identifier), the failing
// object's code otherwise. Both ends are let go before returning.
TImportResult ImportDataBase(IImportView& View, TImportEnd Target, TImportEnd Source);
