// A second process for the record window tests: connects to a database file, locks
// the bank or NFZ record with the given identifier, prints "LOCK <ok> <code>" and
// holds the lock until a line arrives on stdin.
//   editing_child <file> <id>

#include "BackendLoader.h"

#include <QCoreApplication>

#include <iostream>
#include <string>

namespace {

TIntfPtr<IEwidarRecord> Find(IEwidarListCollection* List, int32_t ID) {
    for (int32_t i = 0; List && i < List->GetCount(); ++i)
        if (auto r = List->GetItem(i); r && r->GetID() == ID)
            return r;
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || !Backend().error.isEmpty()) {
        std::cout << "USAGE" << std::endl;
        return 2;
    }
    auto db = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=%1;TIMEOUT=5000;").arg(args[1]));
    if (!db || !db->Connect(param, true)) {
        std::cout << "CONNECT " << (db ? db->GetLastErrorCode() : -1) << std::endl;
        return 1;
    }
    const int32_t id = args[2].toInt();
    auto registries = db->GetRegistries();
    auto record = Find(registries->GetDaneBankow({}).get(), id);
    if (!record)
        record = Find(registries->GetDaneNFZow({}).get(), id);
    const bool ok = record && record->Lock();
    std::cout << "LOCK " << ok << ' ' << (record ? record->GetLastErrorCode() : -1) << std::endl;
    std::string line;
    std::getline(std::cin, line);
    if (ok)
        record->Unlock();
    record = nullptr;
    registries = nullptr;
    db->Disconnect();
    return 0;
}
