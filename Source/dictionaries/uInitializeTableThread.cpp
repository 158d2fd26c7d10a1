#include "uInitializeTableThread.h"

#include "CheckCRC.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// No table is given more room in advance than this, whatever count a cursor claims.
constexpr int cReserveLimit = 1 << 20;

QString Col(IAdrDictCursor* Cursor, int Index) {
    return QString::fromStdU16String(Cursor->FieldValue(Index));
}

// Copies the cursor's rows into Table, at most as many as its count and only while
// Continue() holds; a table cut short holds exactly the rows read. Then the table is final.
template <class TRecord, class TFill, class TContinue>
void LoadTable(TDictionaryType Type, const TIntfPtr<IAdrDictCursor>& Cursor, std::vector<TRecord>& Table,
               TFill Fill, TContinue Continue) {
    if (Cursor) {
        const int count = std::max(0, Cursor->RecordCount());
        Table.reserve(size_t(std::min(count, cReserveLimit)));
        Cursor->First();
        while (int(Table.size()) < count && !Cursor->Eof() && Continue()) {
            TRecord record;
            Fill(Cursor.get(), record);
            Table.push_back(std::move(record));
            Cursor->Next();
        }
    }
    MarkTableLoaded(Type);
}

} // namespace

void CompleteTaxOfficeAccounts(TUrzadSkarbowyRecord& Entry) {
    const QString middle = Entry.RachDoch.trimmed();
    if (middle.isEmpty())
        return;
    const std::pair<QString*, const char*> accounts[] = {
        {&Entry.RachCit, "CIT"}, {&Entry.RachVat, "VAT"}, {&Entry.RachPit, "PIT"}, {&Entry.RachInD, "IND"}};
    for (const auto& [account, type] : accounts)
        if (account->trimmed().isEmpty())
            *account = CheckCRC::BuildTaxOfficeAccount(middle, QLatin1String(type));
}

QString TInitializeTableThread::LibraryPath(const QString& ProgramFolder) {
#if defined(_WIN32)
    const QString suffix = QStringLiteral(".dll");
#else
    const QString suffix = QStringLiteral(".so");
#endif
    return QDir(ProgramFolder).filePath(QLatin1String(cKwadrelLibraryName) + suffix);
}

TInitializeTableThread::TInitializeTableThread(const QString& ProgramFolder) {
    ResetDictionaryTables();
    const QString folder = ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : ProgramFolder;
    // Only an absolute folder: an empty or relative one would mean the current folder.
    if (QDir::isAbsolutePath(folder)) {
        m_programFolder = folder;
        BindLibrary(LibraryPath(folder));
    }
    start();
}

TInitializeTableThread::TInitializeTableThread(TIntfPtr<IAdrDictIntf> AdrDictIntf)
    : FAdrDictIntf(std::move(AdrDictIntf)) {
    ResetDictionaryTables();
    start();
}

TInitializeTableThread::~TInitializeTableThread() {
    requestInterruption();
    wait();
}

void ReloadDictionaryTables(std::unique_ptr<TInitializeTableThread>& Loader) {
    QString folder;
    if (Loader) {
        Loader->wait();
        folder = Loader->ProgramFolder();
        Loader.reset();
    }
    Loader = std::make_unique<TInitializeTableThread>(folder);
}

void TInitializeTableThread::BindLibrary(const QString& Path) {
    const QFileInfo file(Path);
    if (!file.isFile() || FDLLHandle)
        return;
    auto library = std::make_unique<QLibrary>(file.absoluteFilePath());
    // Every symbol bound now, so that a library with a missing dependency fails here.
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load())
        return;
    FDLLHandle = std::move(library);
    const auto getIntf = reinterpret_cast<TGetDictionaryIntf>(FDLLHandle->resolve(cGetDictionaryIntfExport));
    if (!getIntf)
        return;
    try {
        getIntf(FAdrDictIntf.put());
    } catch (...) {
        // A half-made interface is not used; its reference is lost rather than released
        // through a pointer of unknown state.
        FAdrDictIntf.detach();
    }
}

void TInitializeTableThread::run() {
    try {
        if (FAdrDictIntf)
            LoadTables();
    } catch (...) {
        // The loading ends here; what was read so far stays, the rest stays empty.
    }
    MarkAllTablesLoaded();
    try {
        FAdrDictIntf.reset();
    } catch (...) {
        FAdrDictIntf.detach();
    }
    if (FDLLHandle && FDLLHandle->unload())
        FDLLHandle.reset();
}

void TInitializeTableThread::LoadTables() {
    TDictionaryTables& t = DictionaryTables();
    IAdrDictIntf* intf = FAdrDictIntf.get();
    const auto more = [this] {
        return !isInterruptionRequested();
    };
    TIntfPtr<IAdrDictCursor> c;

    intf->GetWojewodztwa(true, c.put());
    LoadTable(
        dtWojewodztwa, c, t.Wojewodztwa,
        [](IAdrDictCursor* r, TWojewodztwoRecord& e) {
            e = {Col(r, 0), Col(r, 1)};
        },
        more);
    if (!more())
        return;
    intf->GetMiejscowosci(true, {}, {}, {}, {}, 0, c.put());
    LoadTable(
        dtMiejscowosci, c, t.Miejscowosci,
        [](IAdrDictCursor* r, TMiejscowosciRecord& e) {
            e = {Col(r, 0), Col(r, 1), Col(r, 2), Col(r, 3)};
        },
        more);
    if (!more())
        return;
    intf->GetGminy(true, {}, {}, {}, c.put());
    LoadTable(
        dtGminy, c, t.Gminy,
        [](IAdrDictCursor* r, TGminaRecord& e) {
            e = {Col(r, 2), Col(r, 3), Col(r, 1), Col(r, 0)};
        },
        more);
    if (!more())
        return;
    intf->GetUrzedySkarbowe(true, {}, {}, {}, c.put());
    LoadTable(
        dtUS, c, t.UrzedySkarbowe,
        [](IAdrDictCursor* r, TUrzadSkarbowyRecord& e) {
            e = {Col(r, 0), Col(r, 1), Col(r, 2), Col(r, 3), Col(r, 4),  Col(r, 5),
                 Col(r, 6), Col(r, 7), Col(r, 8), Col(r, 9), Col(r, 10), Col(r, 11), Col(r, 12)};
            CompleteTaxOfficeAccounts(e);
        },
        more);
    if (!more())
        return;
    intf->GetPowiaty(true, {}, {}, c.put());
    LoadTable(
        dtPowiaty, c, t.Powiaty,
        [](IAdrDictCursor* r, TPowiatRecord& e) {
            e = {Col(r, 1), Col(r, 2), Col(r, 0)};
        },
        more);
    if (!more())
        return;
    intf->GetKraje(true, {}, {}, c.put());
    LoadTable(
        dtKraje, c, t.Kraje,
        [](IAdrDictCursor* r, TKrajRecord& e) {
            e = {Col(r, 0), Col(r, 1)};
        },
        more);
}
