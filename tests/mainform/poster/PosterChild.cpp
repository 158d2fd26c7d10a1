// A second program working on the same database file: loads the SQL backend from its own
// folder and posts taxpayers named "Nowy <n>" one by one, printing "POSTED <id>" after
// each, until <count> are posted or a line (or the end) arrives on stdin.
//   mainform_poster <file> <count>

#include "uEwidarQuorDBIntf.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QThread>

#include <atomic>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    static QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/QuorDataBaseSQL.so"));
    auto get = reinterpret_cast<TGetEwidarIntf>(library.resolve("GetEwidarIntf"));
    IEwidarDataBase* raw = nullptr;
    if (get)
        get(u"SQLITE", &raw);
    TIntfPtr<IEwidarDataBase> db = TIntfPtr<IEwidarDataBase>::adopt(raw);
    // A long busy timeout: the other program holds the write lock through its deletion.
    std::u16string param = QStringLiteral("DIR=%1;TIMEOUT=60000;WATCH=0;").arg(args[1]).toStdU16String();
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
    auto list = db->GetRegistries()->GetPodatnicy({});
    for (int i = 0; i < count && !stop; ++i) {
        auto p = list->New();
        p->GetDataFields()
            ->GetDataField(u"cDanePodmiotuNazwisko")
            ->SetValue(QStringLiteral("Nowy %1").arg(i).toStdU16String());
        if (!p->Post()) {
            std::cout << "FAILED " << p->GetLastErrorCode() << std::endl;
            continue;
        }
        std::cout << "POSTED " << p->GetID() << std::endl;
        QThread::msleep(5);
    }
    list = nullptr;
    db->Disconnect();
    std::cout << "DONE" << std::endl;
    return 0;
}
