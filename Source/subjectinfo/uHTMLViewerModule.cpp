#include "uHTMLViewerModule.h"

#include "uMessagePresenter.h"
#include "uUserMessagesModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

void ShowViewerMessage(QWidget* Owner, const QString& Text) {
    ShowMessageBox(Owner, QString::fromUtf8(TUserMessagesModule::DialogTitle), Text, TMsgDlgType::mtWarning);
}

} // namespace

THTMLViewerModule::THTMLViewerModule(const QString& ProgramFolder)
    : FProgramFolder(ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : ProgramFolder) {}

THTMLViewerModule::~THTMLViewerModule() {
    Unload();
}

QString THTMLViewerModule::LibraryFileName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("QuorHTMLViewer.dll");
#else
    return QStringLiteral("QuorHTMLViewer.so");
#endif
}

QString THTMLViewerModule::LibraryPath() const {
    return QDir(FProgramFolder).absoluteFilePath(LibraryFileName());
}

bool THTMLViewerModule::IsLoaded() const {
    return FLibrary != nullptr;
}

void THTMLViewerModule::Unload() {
    // The objects live in the library's code: released before it goes.
    FViewer = nullptr;
    FMainInterface = nullptr;
    FGetMainInterface = nullptr;
    if (FLibrary) {
        FLibrary->unload();
        FLibrary.reset();
    }
}

bool THTMLViewerModule::BindEntryPoint(QWidget* Owner) {
    const QString path = LibraryPath();
    // Without the file there is nothing to bind (the program itself exports no entry point).
    if (!QFileInfo(path).isFile())
        return true;
    auto library = std::make_unique<QLibrary>(path);
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load()) {
        ShowViewerMessage(
            Owner,
            QStringLiteral("Nie znaleziono modułu przeglądaki HTML: %1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    FLibrary = std::move(library);
    const auto version = reinterpret_cast<TGetHTMLViewerVersion>(FLibrary->resolve("GetVersion"));
    if (!version || version() < MinHTMLViewerVersion) {
        Unload();
        ShowViewerMessage(Owner,
                          QStringLiteral("Wersja modułu przeglądarki HTML jest mniejsza od \"%1\" i nie "
                                         "zostanie załadowana.")
                              .arg(MinHTMLViewerVersion));
        return false;
    }
    FGetMainInterface = reinterpret_cast<TGetHTMLViewerMainInterface>(FLibrary->resolve("GetMainInterface"));
    if (!FGetMainInterface)
        Unload(); // nothing of it can be used
    return true;
}

TIntfPtr<IQuorHTMLViewer> THTMLViewerModule::Viewer(QWidget* Owner) {
    if (!FMainInterface) {
        if (!FGetMainInterface && !BindEntryPoint(Owner))
            return {};
        if (FGetMainInterface)
            FGetMainInterface(FMainInterface.put());
        if (!FMainInterface) {
            ShowViewerMessage(Owner, QStringLiteral("Nie znaleziono interfejsu modułu przeglądarki HTML."));
            return {};
        }
    }
    if (!FViewer)
        FViewer = FMainInterface->GetViewer();
    if (!FViewer)
        ShowViewerMessage(Owner, QStringLiteral("Nie znaleziono interfejsu modułu przeglądarki HTML."));
    return FViewer;
}

bool THTMLViewerModule::Show(QWidget* Owner, const QString& Html) {
    const TIntfPtr<IQuorHTMLViewer> viewer = Viewer(Owner);
    if (!viewer)
        return false;
    viewer->ShowHTML(Html.toStdU16String(), 0, 0, 0, 0);
    return true;
}

namespace {

std::unique_ptr<THTMLViewerModule>& GlobalModule() {
    static std::unique_ptr<THTMLViewerModule> module;
    return module;
}

} // namespace

THTMLViewerModule& HTMLViewerModule() {
    auto& module = GlobalModule();
    if (!module) {
        module = std::make_unique<THTMLViewerModule>();
        // Freed while the application still exists: the library's objects go before Qt does.
        qAddPostRoutine(FreeHTMLViewerModule);
    }
    return *module;
}

void FreeHTMLViewerModule() {
    GlobalModule().reset();
}
