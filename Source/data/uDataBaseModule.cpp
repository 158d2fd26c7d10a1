#include "uDataBaseModule.h"

#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

// Restores the current directory when it goes out of scope.
class CurrentDirGuard {
public:
    CurrentDirGuard() : m_saved(QDir::currentPath()) {}
    ~CurrentDirGuard() { QDir::setCurrent(m_saved); }
    CurrentDirGuard(const CurrentDirGuard&) = delete;
    CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

private:
    QString m_saved;
};

} // namespace

TDataBaseModule::TDataBaseModule(const QString& ProgramFolder)
    : m_programFolder(ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : ProgramFolder) {
    FEwidarDataBase = CreateEwidarInterface(QString());
}

TDataBaseModule::~TDataBaseModule() {
    if (FEwidarDataBase) {
        FEwidarDataBase->Disconnect();
        FEwidarDataBase.reset();
    }
    UnloadRouter();
}

QString TDataBaseModule::RouterFileName() {
#if defined(_WIN32)
    return QStringLiteral("QuorDataBase.dll");
#elif defined(__APPLE__)
    return QStringLiteral("QuorDataBase.dylib");
#else
    return QStringLiteral("QuorDataBase.so");
#endif
}

QString TDataBaseModule::ConfiguredSymbol() {
    using namespace QuorDataBaseDefs;
    QString symbol = Registry::ReadString(EwidarKey, QStringLiteral("DataBaseSymbol"), QString());
    if (symbol.isEmpty())
        symbol = SymbolAt(Registry::ReadInteger(EwidarKey, QStringLiteral("DataBaseType"), 0));
    return symbol;
}

bool TDataBaseModule::GetDLLLoaded() const {
    return FDLLHandle != nullptr;
}

bool TDataBaseModule::DBListAssigned() const {
    return FDBListCount && FDBListItem;
}

QString TDataBaseModule::RouterPath() const {
    return FDLLHandle ? FDLLHandle->fileName() : QString();
}

TIntfPtr<IEwidarDataBase> TDataBaseModule::CreateEwidarInterface(const QString& Symbol) {
    if (!GetDLLLoaded())
        LocateAndLoadRouter();
    if (!GetDLLLoaded())
        return {};
    auto getIntf = reinterpret_cast<TGetEwidarIntf>(FDLLHandle->resolve("GetEwidarIntf"));
    if (!getIntf)
        return {};
    const QString symbol = Symbol.isEmpty() ? ConfiguredSymbol() : Symbol;
    IEwidarDataBase* root = nullptr;
    getIntf(toU16(symbol), &root);
    return TIntfPtr<IEwidarDataBase>::adopt(root);
}

void TDataBaseModule::LocateAndLoadRouter() {
    QString path = Registry::ReadString(QuorDataBaseDefs::DLLsKey, QStringLiteral("QuorDataBase"), QString());
    if (!path.isEmpty() && !QFileInfo(path).isFile())
        path.clear();
    if (path.isEmpty()) {
        const QString local = QDir(m_programFolder).filePath(RouterFileName());
        if (QFileInfo(local).isFile())
            path = local;
    }
    if (!path.isEmpty()) {
        // The router is loaded with its own folder current, so that what it loads
        // by relative name is found beside it; the caller's directory comes back.
        const QFileInfo info(path);
        CurrentDirGuard guard;
        if (!QDir::setCurrent(info.absolutePath()))
            return;
        LoadRouter(info.absoluteFilePath());
    } else {
        LoadRouter(RouterFileName());
    }
}

void TDataBaseModule::LoadRouter(const QString& Path) {
    if (FDLLHandle || Path.isEmpty())
        return;
    // A plain name is looked up relative to the current directory.
    const QFileInfo info(Path);
    if (!info.isFile())
        return;
    auto lib = std::make_unique<QLibrary>(info.absoluteFilePath());
    if (!lib->load())
        return;
    FDBListCount = reinterpret_cast<TDBListCount>(lib->resolve("DBListCount"));
    FDBListItem = reinterpret_cast<TDBListItem>(lib->resolve("DBListItem"));
    FGetLastError = reinterpret_cast<TGetLastError>(lib->resolve("GetLastError"));
    FDLLHandle = std::move(lib);
}

void TDataBaseModule::UnloadRouter() {
    FDBListCount = nullptr;
    FDBListItem = nullptr;
    FGetLastError = nullptr;
    if (FDLLHandle && FDLLHandle->unload())
        FDLLHandle.reset();
}
