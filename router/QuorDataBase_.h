#pragma once
// The router's state: the backend libraries found beside the router and in the
// registry list, the database types they offer, and the backends loaded for use.

#include "uBackendLibrary.h"
#include "uEwidarQuorDBIntf.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

// One offered database type.
struct TDBListItemRecord {
    std::u16string DBSymbol;
    std::u16string Caption;
    QString DLLName; // file name of the backend library, without folder
    QString DLLPath; // full path of the backend library
    bool Enabled = false;
};

// A candidate backend library gathered during discovery.
struct TRFilesList {
    QString name;
    QString Path;
};

// A backend library loaded for use, under the symbol it was first asked for.
struct TRLibs {
    std::u16string DBSymbol;
    TGetLastError GetLastError = nullptr;
    TBackendLibrary lib;
};

namespace QuorDataBase_ {

// Registry key whose values are full paths of further backend libraries.
inline constexpr char16_t DBsKey[] = u"Software\\Quorsys\\DLLs\\DBs";
// No library is asked for more database types than this.
inline constexpr int32_t MaxEntriesPerLibrary = 1000;

// The platform's library suffix (".so", ".dll", ".dylib").
QString LibrarySuffix();
// The router's own file name ("QuorDataBase.so").
QString RouterFileName();

// Backend libraries in Folder: file names starting "QuorDataBase" and ending in the
// library suffix, in any letter case, ordered by name; the router itself is left out
// (by its name in any letter case, and RouterPath's file under any name).
std::vector<TRFilesList> ScanFolder(const QString& Folder, const QString& RouterPath);

// Adds the registry's library paths to the candidates: paths already listed, the
// router and missing files are skipped; a library with a candidate's file name
// replaces that candidate only when the candidate's version is not lower than its
// own. Relative paths are taken from RouterFolder.
using TVersionReader = std::function<QString(const QString& Path)>;
void MergeRegistryPaths(std::vector<TRFilesList>& Candidates, const QStringList& Paths,
                        const QString& RouterFolder, const QString& RouterPath,
                        const TVersionReader& ReadVersion);

// Loads each candidate in turn, lists the database types it offers and unloads it.
std::vector<TDBListItemRecord> QueryCandidates(const std::vector<TRFilesList>& Candidates);

} // namespace QuorDataBase_

// The router: discovery once, the list, and the backends loaded for use. Called
// from the program's main thread only.
class TQuorDataBase {
public:
    TQuorDataBase() = default;
    ~TQuorDataBase();
    TQuorDataBase(const TQuorDataBase&) = delete;
    TQuorDataBase& operator=(const TQuorDataBase&) = delete;

    // Runs discovery for a router lying at RouterPath (the main program's folder is
    // used when empty). Nothing is reported: what cannot be read is left out.
    void Load(const QString& RouterPath);
    bool IsLoaded() const { return FLoaded; }
    // Unloads every backend loaded for use and forgets the list.
    void Unload();

    int32_t DBListCount() const;
    // Symbol and caption of entry Index; true exactly when the entry's library file
    // lies in the router's folder. Outside the list: false and empty strings.
    bool DBListItem(int32_t Index, std::u16string& DBSymbol, std::u16string& Caption) const;
    // The named export of the backend offering Symbol (loaded on first use), or nullptr.
    QFunctionPointer ResolveBackendExport(const std::u16string& Symbol, const char* Name);
    // Asks every loaded backend in load order; the first that knows the code answers.
    bool GetLastError(int32_t ErrCode, const std::u16string& DataBaseID, std::u16string& Text,
                      std::u16string& Link) const;

    const std::vector<TDBListItemRecord>& List() const { return FList; }
    const QString& RouterFolder() const { return FRouterFolder; }

private:
    const TBackendLibrary* FindBackend(const std::u16string& Symbol);

    bool FLoaded = false;
    std::vector<TDBListItemRecord> FList;
    std::vector<TRLibs> FLibs;
    QString FRouterFolder; // with trailing separator
};
