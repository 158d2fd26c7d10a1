// The benchmarks' generator fills a SQLite file through the C API and a server database
// through multi-row inserts with identifiers of its own: both must read back through
// the backend as the same data, and the server's own numbering must go on after it.

#include "BackendFixture.h"
#include "SubjectGenerator.h"
#include "TestServer.h"
#include "TestSupport.h"
#include "uEwidarKinds.h"

#include <QTemporaryDir>

namespace {

// More records than one multi-row statement takes, so that a full and a partial batch are sent.
constexpr int kCount = 1234;

// Every row's three description lines, in the list's order.
QStringList AllLines(IEwidarCollection* C) {
    QStringList out;
    for (int column = 0; column < 3; ++column)
        out += ListLines(C, column);
    return out;
}

// The people of the first taxpayer with their active flags.
QStringList People(IEwidarRegistries* R) {
    auto podatnik = Supports<IPodatnik>(Supports<IEwidarListCollection>(R->GetPodatnicy({}))->GetItem(0));
    QStringList out;
    for (auto list : {TIntfPtr<IEwidarCollection>(podatnik->GetPracownicy(0, 0)),
                      TIntfPtr<IEwidarCollection>(podatnik->GetKontrahenci(0, 0))}) {
        for (int i = 0; i < list->GetCount(); ++i) {
            auto r = EwidarKinds::CollectionGetItem(list.get(), i);
            const bool active = Supports<IPracownik>(r) ? Supports<IPracownik>(r)->GetAktywny()
                                                        : Supports<IKontrahent>(r)->GetAktywny();
            out << Lines(r.get()).join(u'|') + (active ? QStringLiteral(" +") : QStringLiteral(" -"));
        }
    }
    return out;
}

TIntfPtr<IEwidarDataBase> Connect(const QString& Symbol, const QString& Param) {
    auto db = NewRoot(Symbol);
    std::u16string p = U(Param + QStringLiteral("WATCH=0;"));
    return db && db->Connect(p, false) ? db : nullptr;
}

} // namespace

TEST(SubjectGenerator, ServerFillReadsAsTheFileFill) {
    QString why;
    const QString socket = TestServer::Socket(&why);
    if (socket.isEmpty())
        GTEST_SKIP() << qPrintable(why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("subjects.db"));
    const QString name = TestServer::NewDataBase();
    ASSERT_FALSE(name.isEmpty());
    QString error;
    ASSERT_TRUE(SubjectGenerator::Generate(path, kCount, error)) << qPrintable(error);
    ASSERT_TRUE(SubjectGenerator::GenerateOnServer(socket, name, kCount, error)) << qPrintable(error);
    EXPECT_EQ(SubjectGenerator::StoredSubjects(path), kCount);

    auto file = Connect(QStringLiteral("SQLITE"), QStringLiteral("DIR=%1;").arg(path));
    auto server =
        Connect(QStringLiteral("MYSQL"), QStringLiteral("SOCKET=%1;USER=root;DB=%2;").arg(socket, name));
    ASSERT_TRUE(file && server);
    auto f = file->GetRegistries();
    auto s = server->GetRegistries();
    EXPECT_EQ(f->GetPodmioty({})->GetCount(), kCount);
    // Polish letters in the filter and the lines: the texts went over as UTF-8 intact.
    for (const char16_t* filter : {u"", u"kow", u"łódź", u"żaneta"}) {
        SCOPED_TRACE(QString::fromStdU16String(filter).toStdString());
        EXPECT_EQ(AllLines(f->GetPodmioty(filter).get()), AllLines(s->GetPodmioty(filter).get()));
        EXPECT_EQ(AllLines(f->GetPracownicy(filter).get()), AllLines(s->GetPracownicy(filter).get()));
        EXPECT_EQ(AllLines(f->GetKontrahenci(filter).get()), AllLines(s->GetKontrahenci(filter).get()));
    }
    EXPECT_GT(f->GetPodmioty(u"łódź")->GetCount(), 0);
    const QStringList people = People(f.get());
    EXPECT_FALSE(people.isEmpty());
    EXPECT_EQ(people, People(s.get()));

    // The identifiers' digits are there for the duplicate check: subject 1's NIP is 1000007919.
    auto first = Supports<IPodmiot>(Supports<IEwidarListCollection>(s->GetPodatnicy({}))->GetItem(0));
    EXPECT_TRUE(first->HasDuplicate(u"", u"100-000-79-19", u""));
    EXPECT_FALSE(first->HasDuplicate(u"", u"1000000001", u""));

    // A subject posted afterwards gets a new identifier past the generated ones.
    const int32_t before = s->GetPodmioty({})->GetCount();
    auto added = NewPodatnik(server.get(), QStringLiteral("Ewa"), QStringLiteral("Nowa"));
    ASSERT_TRUE(added);
    EXPECT_GT(added->GetID(), 2 * kCount);
    EXPECT_EQ(s->GetPodmioty({})->GetCount(), before + 1);
    server->Disconnect();
    file->Disconnect();
}
