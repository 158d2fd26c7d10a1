// A second process for the backend tests. It loads the backend like the tests do
// and runs one command:
//   lock <file> <id>          locks the subject, prints "LOCK <ok> <code>", waits for a line on stdin
//   placeholder <file>        creates a taxpayer placeholder, prints "PLACEHOLDER <id>", waits
//   post-many <file> <count>  posts taxpayers one by one, printing "POSTED <id>" after each
//   backup <file> <path> <n>  backs the database up into path, printing "PROGRESS <p>" at each
//                             step and stopping for good at the first step of n or more
//   script <file> [<param>]   runs the commands of its standard input, one a line, each
//                             answered by one line (see RunScript); <param> adds keys to
//                             the connection parameter (HEARTBEAT=1000;)
// Output is flushed after every line so that the test can kill the process at any moment.

#include "BackendLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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

int StalledBackup(IEwidarDataBase* Db, const QString& Path, int StopAt) {
    Db->SetOnProgress([StopAt](int32_t Percent, bool&) {
        std::cout << "PROGRESS " << Percent << std::endl;
        while (Percent >= StopAt)
            QThread::sleep(60);
    });
    const bool ok = Db->Backup(Path.toStdU16String(), {});
    std::cout << "BACKUP " << ok << ' ' << Db->GetLastErrorCode() << std::endl;
    return ok ? 0 : 1;
}

void Print(const QString& Line) {
    std::cout << Line.toStdString() << std::endl;
}

QString Result(const char* Word, bool Ok, IEwidarRecord* R) {
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(Word))
        .arg(Ok ? 1 : 0)
        .arg(R ? R->GetLastErrorCode() : -1);
}

void SetName(IEwidarRecord* R, const QString& Name) {
    R->GetDataFields()->GetDataField(u"cDanePodmiotuNazwisko")->SetValue(Name.toStdU16String());
}

// Commands:
//   new-with-address       a taxpayer placeholder with one posted address: "NEW <id> <address id>"
//   post-placeholder <n>   names that placeholder and posts it: "POST <ok> <code>"
//   post-new <n>           a new taxpayer named n, posted: "POST <ok> <code>"
//   edit <id> <n>          locks subject id, renames it, posts, unlocks: "EDIT <ok> <code>"
//   lock <id>, unlock <id> "LOCK <ok> <code>", "UNLOCK <ok> <code>"
//   beat <seconds> <id>    runs the event loop (heartbeats) and locks and unlocks subject id
//                          once a second: "BEAT <locks>"
//   login <login> <pass>   logs in as that operator: "LOGIN <ok>"
//   quit                   disconnects: "BYE"
int RunScript(IEwidarDataBase* Db) {
    TIntfPtr<IEwidarRecord> placeholder;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QStringList a = QString::fromStdString(line).split(u' ', Qt::SkipEmptyParts);
        const QString cmd = a.value(0);
        if (cmd == QStringLiteral("new-with-address")) {
            placeholder = Db->GetRegistries()->GetPodatnicy({})->New();
            auto address = Supports<IPodmiot>(placeholder)->GetAdresy()->New();
            address->GetDataFields()->GetDataField(u"cDaneAdresoweMiejscowosc")->SetValue(u"Sieradz");
            const bool ok = address->Post();
            Print(QStringLiteral("NEW %1 %2").arg(placeholder->GetID()).arg(ok ? address->GetID() : 0));
        } else if (cmd == QStringLiteral("post-placeholder") && placeholder) {
            SetName(placeholder.get(), a.value(1));
            Print(Result("POST", placeholder->Post(), placeholder.get()));
        } else if (cmd == QStringLiteral("post-new")) {
            auto list = Db->GetRegistries()->GetPodatnicy({});
            auto p = list->New();
            if (p)
                SetName(p.get(), a.value(1));
            Print(p ? Result("POST", p->Post(), p.get())
                    : QStringLiteral("POST 0 %1").arg(list->GetLastErrorCode()));
        } else if (cmd == QStringLiteral("edit")) {
            auto r = FindSubject(Db, a.value(1).toInt());
            bool ok = r && r->Lock();
            if (ok) {
                SetName(r.get(), a.value(2));
                ok = r->Post();
                const int32_t code = r->GetLastErrorCode();
                r->Unlock(); // before answering, so that the lock is gone when the test goes on
                Print(QStringLiteral("EDIT %1 %2").arg(ok ? 1 : 0).arg(code));
                continue;
            }
            Print(Result("EDIT", ok, r.get()));
        } else if (cmd == QStringLiteral("lock") || cmd == QStringLiteral("unlock")) {
            auto r = FindSubject(Db, a.value(1).toInt());
            const bool lock = cmd == QStringLiteral("lock");
            const bool ok = r && (lock ? r->Lock() : r->Unlock());
            Print(Result(lock ? "LOCK" : "UNLOCK", ok, r.get()));
        } else if (cmd == QStringLiteral("beat")) {
            auto r = FindSubject(Db, a.value(2).toInt());
            int locks = 0;
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < a.value(1).toInt() * 1000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                if (r && t.elapsed() / 1000 >= locks && r->Lock() && r->Unlock())
                    ++locks;
                QThread::msleep(20);
            }
            Print(QStringLiteral("BEAT %1").arg(locks));
        } else if (cmd == QStringLiteral("login")) {
            const bool ok = Db->Login(a.value(1).toStdU16String(), a.value(2).toStdU16String());
            Print(QStringLiteral("LOGIN %1").arg(ok ? 1 : 0));
        } else if (cmd == QStringLiteral("quit")) {
            break;
        } else {
            Print(QStringLiteral("UNKNOWN"));
        }
    }
    placeholder = nullptr;
    Print(QStringLiteral("BYE"));
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
    const QString extra = args[1] == QStringLiteral("script") ? args.value(3) : QString();
    std::u16string param = U(DialectParam(args[2]) + QStringLiteral("TIMEOUT=5000;") + extra);
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
    else if (args[1] == QStringLiteral("backup") && args.size() > 4)
        rc = StalledBackup(db.get(), args[3], args[4].toInt());
    else if (args[1] == QStringLiteral("script"))
        rc = RunScript(db.get());
    db->Disconnect();
    return rc;
}
