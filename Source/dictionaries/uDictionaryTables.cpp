#include "uDictionaryTables.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

TDictionaryTables g_tables;
// Set (true) while a table is loading; all set at program start.
std::array<std::atomic<bool>, cDictionaryTypeCount> g_loading{true, true, true, true, true, true};
std::mutex g_mutex;
std::condition_variable g_loaded;

} // namespace

TDictionaryTables& DictionaryTables() {
    return g_tables;
}

bool TableLoaded(TDictionaryType Type) {
    return !g_loading[size_t(Type)].load(std::memory_order_acquire);
}

void WaitForTable(TDictionaryType Type) {
    if (TableLoaded(Type))
        return;
    std::unique_lock lock(g_mutex);
    g_loaded.wait(lock, [Type] { return TableLoaded(Type); });
}

void MarkTableLoaded(TDictionaryType Type) {
    {
        // Under the mutex so that a waiter between its test and its sleep cannot miss it.
        const std::lock_guard lock(g_mutex);
        g_loading[size_t(Type)].store(false, std::memory_order_release);
    }
    g_loaded.notify_all();
}

void MarkAllTablesLoaded() {
    for (int t = 0; t < cDictionaryTypeCount; ++t)
        MarkTableLoaded(TDictionaryType(t));
}

void ResetDictionaryTables() {
    const std::lock_guard lock(g_mutex);
    g_tables = TDictionaryTables();
    for (auto& flag : g_loading)
        flag.store(true, std::memory_order_release);
}

int TableRowCount(TDictionaryType Type) {
    switch (Type) {
    case dtKraje:
        return int(g_tables.Kraje.size());
    case dtWojewodztwa:
        return int(g_tables.Wojewodztwa.size());
    case dtPowiaty:
        return int(g_tables.Powiaty.size());
    case dtGminy:
        return int(g_tables.Gminy.size());
    case dtMiejscowosci:
        return int(g_tables.Miejscowosci.size());
    case dtUS:
        return int(g_tables.UrzedySkarbowe.size());
    }
    return 0;
}
