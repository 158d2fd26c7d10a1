#pragma once
// The program's binding of the HTML viewer library: loaded from the program's folder
// on first use, checked for its version (a library that is too old is unloaded
// again), its main interface and viewer object kept until the binding is freed.
// Failures are shown as messages and nothing is displayed.

#include "uQuorHTMLViewerIntf.h"

#include <QString>

#include <memory>

class QLibrary;
class QWidget;

class THTMLViewerModule {
public:
    // ProgramFolder: where the library is looked for (empty: the running program's folder).
    explicit THTMLViewerModule(const QString& ProgramFolder = QString());
    // Releases the viewer and the main interface, then unloads the library.
    ~THTMLViewerModule();
    THTMLViewerModule(const THTMLViewerModule&) = delete;
    THTMLViewerModule& operator=(const THTMLViewerModule&) = delete;

    // Shows the page in the viewer; false (after a message over Owner) when there is no viewer.
    bool Show(QWidget* Owner, const QString& Html);

    // The viewer object, binding the library first when needed; empty after a message.
    TIntfPtr<IQuorHTMLViewer> Viewer(QWidget* Owner);
    // The library's full path.
    QString LibraryPath() const;
    bool IsLoaded() const;

    static QString LibraryFileName();

private:
    bool BindEntryPoint(QWidget* Owner);
    void Unload();

    QString FProgramFolder;
    std::unique_ptr<QLibrary> FLibrary;
    TGetHTMLViewerMainInterface FGetMainInterface = nullptr;
    TIntfPtr<IQuorHTMLViewerMain> FMainInterface;
    TIntfPtr<IQuorHTMLViewer> FViewer;
};

// The binding the program uses, made on first use and freed when the application
// object goes (or by FreeHTMLViewerModule).
THTMLViewerModule& HTMLViewerModule();
void FreeHTMLViewerModule();
