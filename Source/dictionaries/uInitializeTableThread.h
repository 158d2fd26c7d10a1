#pragma once
// The background loader of the six dictionary tables. Created running by the core
// object: its constructor binds the address-dictionary library from the program's
// folder, the thread copies every dictionary into the tables (provinces first) and
// unloads the library when done. Destroying the object stops a running load after the
// current row and waits for the thread.

#include "Kwadrel_Intf.h"
#include "uDictionaryTables.h"

#include <QLibrary>
#include <QThread>

#include <memory>

class TInitializeTableThread final : public QThread {
public:
    // Binds ProgramFolder/Kwadrel2015 (empty folder: the running program's folder; a
    // relative folder binds nothing) and starts. No other place is searched, so a library planted elsewhere
    // (the current folder, a relative path) is never loaded. Without the library, or without its export or
    // interface, every table stays empty and every flag clears at once.
    explicit TInitializeTableThread(const QString& ProgramFolder = QString());
    // Starts loading from a root interface already at hand (no library to unload).
    explicit TInitializeTableThread(TIntfPtr<IAdrDictIntf> AdrDictIntf);
    ~TInitializeTableThread() override;

    // Full path of the library in a folder.
    static QString LibraryPath(const QString& ProgramFolder);
    // The folder the library was bound from; empty for a loader given an interface.
    const QString& ProgramFolder() const { return m_programFolder; }

    // The library while loaded (nullptr otherwise) and its root interface.
    std::unique_ptr<QLibrary> FDLLHandle;
    TIntfPtr<IAdrDictIntf> FAdrDictIntf;

protected:
    void run() override;

private:
    void BindLibrary(const QString& Path);
    void LoadTables();

    QString m_programFolder;
};

// Loads every table again, after new dictionary data was installed: lets Loader finish,
// then starts a new loader binding the library from the same folder. Main thread only,
// while no dictionary window is open (the tables are emptied and refilled).
void ReloadDictionaryTables(std::unique_ptr<TInitializeTableThread>& Loader);

// Fills the empty CIT, VAT, PIT and "in.d." accounts of an office from its middle
// digits (RachDoch); accounts the library gave stay as they are.
void CompleteTaxOfficeAccounts(TUrzadSkarbowyRecord& Entry);
