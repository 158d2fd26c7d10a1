// A second process for the backend tests. It loads the backend like the tests do
// and runs one command:
//   lock <file> <id>          locks the subject, prints "LOCK <ok> <code>", waits for a line on stdin
//   placeholder <file>        creates a taxpayer placeholder, prints "PLACEHOLDER <id>", waits
//   post-many <file> <count>  posts taxpayers one by one, printing "POSTED <id>" after each
// Output is flushed after every line so that the test can kill the process at any moment.

#include "BackendLoader.h"

#include <QCoreApplication>

#include <iostream>
#include <string>

namespace {

void WaitForParent() {
    std::string line;
    std::getline(std::cin, line);
}

TIntfPtr<IEwidarRecord> FindSubject(IEwidarDataBase* Db, int32_t ID) {
    auto all = Db->GetRegistries()->GetPodmioty({});
    for (int i = 0; i < all->GetCount(); ++i)
        if (auto r = all->GetItem(i); r && r->GetID() == ID)
            return r;
    return {};
}

int Lock(IEwidarDataBase* Db, int32_t ID) {
    auto r = FindSubject(Db, ID);
    if (!r) {
        std::cout << "LOCK 0 -1" << std::endl;
        return 1;
    }
    const bool ok = r->Lock();
    std::cout << "LOCK " << ok << ' ' << r->GetLastErrorCode() << std::endl;
    WaitForParent();
    if (ok)
        r->Unlock();
    return 0;
}

int Placeholder(IEwidarDataBase* Db) {
    auto p = Db->GetRegistries()->GetPodatnicy({})->New();
    std::cout << "PLACEHOLDER " << (p ? p->GetID() : 0) << std::endl;
    WaitForParent();
    return 0;
}

int PostMany(IEwidarDataBase* Db, int Count) {
    auto list = Db->GetRegistries()->GetPodatnicy({});
    for (int i = 0; i < Count; ++i) {
        auto p = list->New();
        auto f = p->GetDataFields()->GetDataField(u"cDanePodmiotuNazwisko");
        f->SetValue(QStringLiteral("Nazwisko %1").arg(i).toStdU16String());
        auto a = Supports<IPodmiot>(p)->GetAdresy()->New();
        a->GetDataFields()->GetDataField(u"cDaneAdresoweMiejscowosc")->SetValue(u"Miasto");
        if (!a->Post() || !p->Post()) {
            std::cout << "FAILED " << p->GetLastErrorCode() << std::endl;
            return 1;
        }
        std::cout << "POSTED " << p->GetID() << std::endl;
    }
    return 0;
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
    std::u16string param = U(QStringLiteral("DIR=%1;TIMEOUT=5000;").arg(args[2]));
    if (!db || !db->Connect(param, true)) {
        std::cout << "CONNECT " << (db ? db->GetLastErrorCode() : -1) << std::endl;
        return 1;
    }
    int rc = 2;
    if (args[1] == QStringLiteral("lock") && args.size() > 3)
        rc = Lock(db.get(), args[3].toInt());
    else if (args[1] == QStringLiteral("placeholder"))
        rc = Placeholder(db.get());
    else if (args[1] == QStringLiteral("post-many") && args.size() > 3)
        rc = PostMany(db.get(), args[3].toInt());
    db->Disconnect();
    return rc;
}
