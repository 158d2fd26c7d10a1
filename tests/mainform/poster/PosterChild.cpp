// A second program working on the same database file: loads the SQL backend from its own
// folder and posts records named "Nowy <n>" one by one, printing "POSTED <id>" after
// each, until <count> are posted or a line (or the end) arrives on stdin. Taxpayers
// unless a registry (Podatnicy, Pracownicy, Kontrahenci, Spolki, DaneBankow, DaneZUSow,
// DaneNFZow, UrzedyStatystyczne, SadyRejonowe, BiuraRachunkowe) and the field that
// takes the name are given.
//   mainform_poster <file> <count> [<registry> <field>]
// A server's database is given by its connection parameter instead of the file
// ("SOCKET=...;USER=...;DB=...;").

#include "uEwidarQuorDBIntf.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QThread>

#include <atomic>
#include <functional>
#include <map>
#include <iostream>
#include <string>
#include <thread>

namespace {

// A new record of the named registry, or nullptr for an unknown name.
TIntfPtr<IEwidarRecord> NewRecord(IEwidarRegistries* Registries, const QString& Registry) {
    using TNew = std::function<TIntfPtr<IEwidarRecord>()>;
    const std::map<QString, TNew> table = {
        {QStringLiteral("Podatnicy"), [&] { return Registries->GetPodatnicy({})->New(); }},
        {QStringLiteral("Pracownicy"), [&] { return Registries->GetPracownicy({})->New(); }},
        {QStringLiteral("Kontrahenci"), [&] { return Registries->GetKontrahenci({})->New(); }},
        {QStringLiteral("Spolki"), [&] { return Registries->GetSpolki({})->New(); }},
        {QStringLiteral("DaneBankow"), [&] { return Registries->GetDaneBankow({})->New(); }},
        {QStringLiteral("DaneZUSow"), [&] { return Registries->GetDaneZUSow({})->New(); }},
        {QStringLiteral("DaneNFZow"), [&] { return Registries->GetDaneNFZow({})->New(); }},
        {QStringLiteral("UrzedyStatystyczne"), [&] { return Registries->GetUrzedyStatystyczne({})->New(); }},
        {QStringLiteral("SadyRejonowe"), [&] { return Registries->GetSadyRejonowe({})->New(); }},
        {QStringLiteral("BiuraRachunkowe"), [&] { return Registries->GetBiuraRachunkowe({})->New(); }},
    };
    const auto it = table.find(Registry);
    return it == table.end() ? TIntfPtr<IEwidarRecord>() : it->second();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    static QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/QuorDataBaseSQL.so"));
    auto get = reinterpret_cast<TGetEwidarIntf>(library.resolve("GetEwidarIntf"));
    IEwidarDataBase* raw = nullptr;
    const bool server = args[1].contains(QStringLiteral("DB="));
    if (get)
        get(server ? u"MYSQL" : u"SQLITE", &raw);
    TIntfPtr<IEwidarDataBase> db = TIntfPtr<IEwidarDataBase>::adopt(raw);
    // A long busy timeout: the other program holds the write lock through its deletion.
    const QString target = server ? args[1] : QStringLiteral("DIR=%1;").arg(args[1]);
    std::u16string param = (target + QStringLiteral("TIMEOUT=60000;WATCH=0;")).toStdU16String();
    if (!db || !db->Connect(param, false)) {
        std::cout << "CONNECT " << (db ? db->GetLastErrorCode() : -1) << std::endl;
        return 1;
    }
    std::atomic<bool> stop{false};
    std::thread reader([&stop] {
        std::string line;
        std::getline(std::cin, line);
        stop = true;
    });
    reader.detach();
    const int count = args[2].toInt();
    const QString registry = args.value(3, QStringLiteral("Podatnicy"));
    const std::u16string field = args.value(4, QStringLiteral("cDanePodmiotuNazwisko")).toStdU16String();
    auto registries = db->GetRegistries();
    for (int i = 0; i < count && !stop; ++i) {
        auto p = NewRecord(registries.get(), registry);
        auto name = p ? p->GetDataFields()->GetDataField(field) : TIntfPtr<IDataField>();
        if (!name) {
            std::cout << "NO RECORD " << registry.toStdString() << std::endl;
            return 3;
        }
        name->SetValue(QStringLiteral("Nowy %1").arg(i).toStdU16String());
        if (!p->Post()) {
            std::cout << "FAILED " << p->GetLastErrorCode() << std::endl;
            continue;
        }
        std::cout << "POSTED " << p->GetID() << std::endl;
        QThread::msleep(5);
    }
    registries = nullptr;
    db->Disconnect();
    std::cout << "DONE" << std::endl;
    return 0;
}
