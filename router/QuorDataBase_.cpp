#include "QuorDataBase_.h"

#include "uFileVersion.h"
#include "uModulePath.h"
#include "uRegistry.h"
#include "uStrings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace QuorDataBase_ {

namespace {

QString routerStem() {
    return QStringLiteral("QuorDataBase");
}

bool sameText(const QString& A, const QString& B) {
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

bool sameSymbol(const std::u16string& A, const std::u16string& B) {
    return sameText(toQ(A), toQ(B));
}

// True when both paths name the same existing file, however they are spelt.
bool sameFile(const QString& A, const QString& B) {
    if (A.isEmpty() || B.isEmpty())
        return false;
    const QString a = QFileInfo(A).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(B).canonicalFilePath();
}

QString folderWithSeparator(const QString& Folder) {
    QString folder = QDir::cleanPath(Folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString absolutePath(const QString& Path, const QString& BaseFolder) {
    if (QFileInfo(Path).isRelative())
        return QDir::cleanPath(BaseFolder + Path);
    return QDir::cleanPath(Path);
}

} // namespace

QString LibrarySuffix() {
#if defined(_WIN32)
    return QStringLiteral(".dll");
#elif defined(__APPLE__)
    return QStringLiteral(".dylib");
#else
    return QStringLiteral(".so");
#endif
}

QString RouterFileName() {
    return routerStem() + LibrarySuffix();
}

std::vector<TRFilesList> ScanFolder(const QString& Folder, const QString& RouterPath) {
    std::vector<TRFilesList> candidates;
    const QString folder = folderWithSeparator(Folder);
    const QString stem = routerStem();
    const QString suffix = LibrarySuffix();
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        const QString name = file.fileName();
        if (name.size() < stem.size() + suffix.size() || !name.startsWith(stem, Qt::CaseInsensitive) ||
            !name.endsWith(suffix, Qt::CaseInsensitive))
            continue;
        const QString path = folder + name;
        if (sameText(name, RouterFileName()) || sameFile(path, RouterPath))
            continue;
        candidates.push_back({name, path});
    }
    return candidates;
}

void MergeRegistryPaths(std::vector<TRFilesList>& Candidates, const QStringList& Paths,
                        const QString& RouterFolder, const QString& RouterPath,
                        const TVersionReader& ReadVersion) {
    const QString routerFolder = folderWithSeparator(RouterFolder);
    for (const QString& value : Paths) {
        if (value.trimmed().isEmpty())
            continue;
        const QString path = absolutePath(value, routerFolder);
        const auto samePath = [&](const TRFilesList& c) {
            return sameText(QDir::cleanPath(c.Path), path);
        };
        if (std::any_of(Candidates.begin(), Candidates.end(), samePath))
            continue;
        if (path.toUpper().contains(RouterFileName().toUpper()) || sameFile(path, RouterPath))
            continue;
        const QFileInfo file(path);
        if (!file.isFile())
            continue;
        const QString name = file.fileName();
        const auto sameName = [&](const TRFilesList& c) {
            return sameText(c.name, name);
        };
        const auto existing = std::find_if(Candidates.begin(), Candidates.end(), sameName);
        if (existing == Candidates.end()) {
            Candidates.push_back({name, path});
            continue;
        }
        // The registry copy takes the place of the listed one when the listed one is
        // not older; an unreadable version on either side keeps the listed one.
        if (FileVersion::Compare(ReadVersion(existing->Path), ReadVersion(path)) >= 0)
            *existing = {name, path};
    }
}

std::vector<TDBListItemRecord> QueryCandidates(const std::vector<TRFilesList>& Candidates) {
    std::vector<TDBListItemRecord> list;
    for (const TRFilesList& candidate : Candidates) {
        try {
            const TBackendLibrary lib(candidate.Path);
            auto count = reinterpret_cast<TDBListCount>(lib.Resolve("DBListCount"));
            auto item = reinterpret_cast<TDBListItem>(lib.Resolve("DBListItem"));
            if (!count || !item)
                continue;
            const int32_t n = std::min(count(), MaxEntriesPerLibrary);
            for (int32_t j = 0; j < n; ++j) {
                TDBListItemRecord entry;
                entry.Enabled = item(j, entry.DBSymbol, entry.Caption);
                entry.DLLName = candidate.name;
                entry.DLLPath = candidate.Path;
                list.push_back(std::move(entry));
            }
        } catch (...) {
            // A library that throws while listing is left out with what it listed so far.
        }
    }
    return list;
}

} // namespace QuorDataBase_

using namespace QuorDataBase_;

TQuorDataBase::~TQuorDataBase() {
    Unload();
}

void TQuorDataBase::Load(const QString& RouterPath) {
    if (FLoaded)
        return;
    // Set first: a backend calling back into the router while it is listed finds
    // discovery done and an empty list instead of starting it again.
    FLoaded = true;
    const QString routerPath = RouterPath.isEmpty() ? MainModuleFilePath() : RouterPath;
    FRouterFolder =
        routerPath.isEmpty() ? QString() : folderWithSeparator(QFileInfo(routerPath).absolutePath());
    std::vector<TRFilesList> candidates;
    try {
        if (!FRouterFolder.isEmpty())
            candidates = ScanFolder(FRouterFolder, RouterPath);
    } catch (...) {
        candidates.clear();
    }
    QStringList registered;
    try {
        registered = Registry::ReadValues(QString::fromUtf16(DBsKey));
    } catch (...) {
        registered.clear();
    }
    try {
        MergeRegistryPaths(candidates, registered, FRouterFolder, RouterPath, &FileVersion::Read);
    } catch (...) {
        // Keep the candidates gathered so far.
    }
    try {
        FList = QueryCandidates(candidates);
    } catch (...) {
        FList.clear();
    }
}

void TQuorDataBase::Unload() {
    while (!FLibs.empty())
        FLibs.pop_back();
    FList.clear();
    FRouterFolder.clear();
}

int32_t TQuorDataBase::DBListCount() const {
    return static_cast<int32_t>(FList.size());
}

bool TQuorDataBase::DBListItem(int32_t Index, std::u16string& DBSymbol, std::u16string& Caption) const {
    DBSymbol.clear();
    Caption.clear();
    if (Index < 0 || Index >= DBListCount())
        return false;
    const TDBListItemRecord& entry = FList[static_cast<size_t>(Index)];
    DBSymbol = entry.DBSymbol;
    Caption = entry.Caption;
    return !FRouterFolder.isEmpty() && QFileInfo(FRouterFolder + entry.DLLName).isFile();
}

const TBackendLibrary* TQuorDataBase::FindBackend(const std::u16string& Symbol) {
    // An empty symbol names no backend, even one that lists an empty symbol.
    if (Symbol.empty())
        return nullptr;
    for (const TRLibs& loaded : FLibs)
        if (sameSymbol(loaded.DBSymbol, Symbol))
            return &loaded.lib;
    const auto entry = std::find_if(FList.begin(), FList.end(), [&](const TDBListItemRecord& e) {
        return sameSymbol(e.DBSymbol, Symbol);
    });
    if (entry == FList.end())
        return nullptr;
    TBackendLibrary lib(entry->DLLPath);
    if (!lib.IsLoaded())
        return nullptr;
    auto getLastError = reinterpret_cast<TGetLastError>(lib.Resolve("GetLastError"));
    FLibs.push_back({Symbol, getLastError, std::move(lib)});
    return &FLibs.back().lib;
}

QFunctionPointer TQuorDataBase::ResolveBackendExport(const std::u16string& Symbol, const char* Name) {
    const TBackendLibrary* lib = FindBackend(Symbol);
    return lib ? lib->Resolve(Name) : nullptr;
}

bool TQuorDataBase::GetLastError(int32_t ErrCode, const std::u16string& DataBaseID, std::u16string& Text,
                                 std::u16string& Link) const {
    Text.clear();
    Link.clear();
    // By index: a backend may call back into the router and add to the table.
    for (size_t i = 0; i < FLibs.size(); ++i) {
        const TGetLastError getLastError = FLibs[i].GetLastError;
        if (!getLastError)
            continue;
        Text.clear();
        Link.clear();
        try {
            if (getLastError(ErrCode, DataBaseID, Text, Link))
                return true;
        } catch (...) {
            // A backend that throws does not know the code.
        }
    }
    // Whatever the backends that did not know the code left behind is not an answer.
    Text.clear();
    Link.clear();
    return false;
}
