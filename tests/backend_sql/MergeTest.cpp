// Merging two stored records into one (all or nothing, under both locks) and the search
// for subjects stored twice.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "uEwidarQuorDBSymbole.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

using MergeTest = BackendTest;

namespace {

// Every row the merge may touch, as text, in a fixed order.
QStringList Snapshot(const QString& Path) {
    static const QStringList queries = {
        QStringLiteral("SELECT id, kind, owner_id, state, is_podatnik, is_pracownik, is_kontrahent, line1, "
                       "line2, line3, version FROM ew_record ORDER BY id"),
        QStringLiteral("SELECT record_id, symbol, value FROM ew_value ORDER BY record_id, symbol"),
        QStringLiteral("SELECT source_id, role, target_id FROM ew_link ORDER BY source_id, role"),
        QStringLiteral("SELECT podatnik_id, role, osoba_id, aktywny FROM ew_person "
                       "ORDER BY podatnik_id, role, osoba_id"),
        QStringLiteral("SELECT record_id, symbol, digits FROM ew_ident ORDER BY record_id, symbol"),
        QStringLiteral("SELECT first_id, second_id FROM ew_not_duplicate ORDER BY first_id, second_id"),
    };
    QStringList rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = AddRawConnection(name, Path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& sql : queries) {
            EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
            while (q.next()) {
                QStringList cells;
                for (int i = 0; i < q.record().count(); ++i)
                    cells << q.value(i).toString();
                rows << cells.join(u'|');
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

int Count(const QString& Path, const QString& Sql, qint64 ID) {
    return RawScalar(Path, QString(Sql).replace(QStringLiteral("@"), QString::number(ID))).toInt();
}

// Sections, links and relations of one subject, counted straight from the tables.
struct TCounts {
    int addresses, accounts, representatives, employees, employers, namedBy, links;
    bool operator==(const TCounts&) const = default;
};

TCounts CountsOf(const QString& Path, qint64 ID) {
    auto owned = [&](int kind) {
        return Count(Path, QStringLiteral("SELECT count(*) FROM ew_record WHERE owner_id = @ AND kind = %1").arg(kind),
                     ID);
    };
    return {owned(3), owned(16), owned(19),
            Count(Path, QStringLiteral("SELECT count(*) FROM ew_person WHERE podatnik_id = @"), ID),
            Count(Path, QStringLiteral("SELECT count(*) FROM ew_person WHERE osoba_id = @"), ID),
            Count(Path, QStringLiteral("SELECT count(*) FROM ew_link WHERE target_id = @"), ID),
            Count(Path, QStringLiteral("SELECT count(*) FROM ew_link WHERE source_id = @"), ID)};
}

void AddSection(IEwidarCollection* C, const QString& Symbol, const QString& Value,
                const std::function<void(IEwidarRecord*)>& Link = {}) {
    TIntfPtr<IEwidarRecord> r;
    if (auto s = Supports<IEwidarSectionCollection>(C))
        r = s->New();
    else if (auto l = Supports<IEwidarListCollection>(C))
        r = l->New();
    ASSERT_TRUE(r);
    SetValue(r.get(), Symbol, Value);
    if (Link)
        Link(r.get());
    ASSERT_TRUE(r->Post()) << r->GetLastErrorCode();
}

// Two taxpayers, each with addresses, an account at a bank, a representative, an employee
// and a ZUS link; each also named by another subject's representative and listed as
// another taxpayer's contractor.
struct TPair {
    TIntfPtr<IEwidarRecord> left, right, bank, zus;
};

TPair MakePair(IEwidarDataBase* Db) {
    TPair p;
    auto reg = Db->GetRegistries();
    p.bank = NewPosted(reg->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Bank Śląski"));
    p.zus = NewPosted(reg->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS Łódź"));
    auto other = Supports<IPodatnik>(NewPodatnik(Db, QStringLiteral("Inny"), QStringLiteral("Podatnik")));
    int n = 0;
    for (auto* side : {&p.left, &p.right}) {
        const QString tag = QString::number(++n);
        *side = NewPodatnik(Db, QStringLiteral("Jan"), QStringLiteral("Kowalski") + tag, QStringLiteral("Gdańsk"));
        auto s = Supports<IPodatnik>(*side);
        AddSection(s->GetAdresy().get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Sopot") + tag);
        AddSection(s->GetRachunkiBankowe().get(), cDaneRachunkuNrRachunku.Symbol, QStringLiteral("1020") + tag,
                   [&](IEwidarRecord* r) { Supports<IRachunekBankowy>(r)->SetDaneBanku(p.bank.get()); });
        auto person = NewPodatnik(Db, QStringLiteral("Osoba"), QStringLiteral("Reprezentująca") + tag);
        AddSection(s->GetReprezentanci().get(), cDaneReprezentantaPosiadaUpowaznienie.Symbol, QStringLiteral("1"),
                   [&](IEwidarRecord* r) { Supports<IReprezentant>(r)->SetPodmiot(person.get()); });
        s->GetPracownicy(0, 0)->AddExisting(NewPodatnik(Db, QStringLiteral("Pracownik"), tag).get());
        // Named from elsewhere: another subject's representative, another taxpayer's contractor.
        AddSection(other->GetReprezentanci().get(), cDaneReprezentantaPosiadaUpowaznienie.Symbol, QStringLiteral("1"),
                   [&](IEwidarRecord* r) { Supports<IReprezentant>(r)->SetPodmiot(side->get()); });
        other->GetKontrahenci(0, 0)->AddExisting(side->get());
        if (side == &p.right) { // the right one alone has a ZUS link: it moves over
            s->SetDaneZUS(p.zus.get());
            EXPECT_TRUE(s->Post()) << s->GetLastErrorCode();
        }
        SetValue(side->get(), cDanePodmiotuNIP.Symbol, QStringLiteral("526-025-02-7") + tag);
        EXPECT_TRUE((*side)->Post()) << (*side)->GetLastErrorCode();
    }
    return p;
}

std::vector<TMergeValue> Chosen() {
    return {{cDanePodmiotuNazwisko.Symbol.toStdU16String(), u"Kowalski-Nowak"},
            {cDanePodmiotuNIP.Symbol.toStdU16String(), u"526-025-02-72"}};
}

} // namespace

TEST_F(MergeTest, EverySectionLinkAndRelationMovesToTheKeptRecord) {
    const TPair p = MakePair(m_db.get());
    const qint64 left = p.left->GetID(), right = p.right->GetID();
    const TCounts a = CountsOf(m_path, left), b = CountsOf(m_path, right);
    ASSERT_EQ(a.addresses, 2);
    ASSERT_EQ(a.namedBy, 1);

    ASSERT_TRUE(m_db->MergeRecords(left, right, Chosen())) << m_db->GetLastErrorCode();

    const TCounts m = CountsOf(m_path, left);
    EXPECT_EQ(m.addresses, a.addresses + b.addresses);
    EXPECT_EQ(m.accounts, a.accounts + b.accounts);
    EXPECT_EQ(m.representatives, a.representatives + b.representatives);
    EXPECT_EQ(m.employees, a.employees + b.employees);
    EXPECT_EQ(m.namedBy, a.namedBy + b.namedBy);
    // The other taxpayer listed both as contractors: one link remains, to the kept one.
    EXPECT_EQ(m.employers, 1);
    EXPECT_EQ(m.links, a.links + 1); // the ZUS link came over
    EXPECT_EQ(Count(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE id = @"), right), 0);
    for (const char* table : {"ew_link WHERE target_id", "ew_link WHERE source_id", "ew_record WHERE owner_id",
                              "ew_person WHERE osoba_id", "ew_person WHERE podatnik_id", "ew_ident WHERE record_id"})
        EXPECT_EQ(Count(m_path, QStringLiteral("SELECT count(*) FROM %1 = @").arg(QLatin1String(table)), right), 0)
            << table;

    auto kept = Supports<IPodmiot>(Reg()->GetPodatnicy({})->GetItem(0));
    for (int i = 0; i < Reg()->GetPodatnicy({})->GetCount(); ++i)
        if (auto r = Supports<IPodmiot>(Reg()->GetPodatnicy({})->GetItem(i)); r->GetID() == left)
            kept = r;
    ASSERT_EQ(kept->GetID(), left);
    EXPECT_EQ(Value(kept.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Kowalski-Nowak"));
    EXPECT_EQ(Value(kept.get(), cDanePodmiotuPierwszeImie.Symbol), QStringLiteral("Jan"));
    EXPECT_EQ(Value(kept.get(), cDanePodmiotuNIP.Symbol), QStringLiteral("526-025-02-72"));
    EXPECT_EQ(kept->GetDaneZUS()->GetID(), p.zus->GetID());
    EXPECT_EQ(kept->GetAdresy()->GetCount(), 4);
    EXPECT_EQ(Lines(kept.get()).value(0), QStringLiteral("Jan Kowalski-Nowak"));
    // The identifier digits follow the chosen value.
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT digits FROM ew_ident WHERE record_id = %1 AND symbol = '%2'")
                                    .arg(left)
                                    .arg(cDanePodmiotuNIP.Symbol))
                  .toString(),
              QStringLiteral("5260250272"));
    // The bank still counts both accounts; the dropped record is no longer referenced anywhere.
    EXPECT_EQ(Supports<IDaneBanku>(p.bank)->GetRachunkiBankowe()->GetCount(), 2);
}

TEST_F(MergeTest, RefusalsAndAnotherDesksLockChangeNothing) {
    const TPair p = MakePair(m_db.get());
    const qint64 left = p.left->GetID(), right = p.right->GetID();
    const QStringList before = Snapshot(m_path);
    struct TCase {
        qint64 keep, drop;
        int32_t code;
    };
    const TCase cases[] = {
        {left, left, 1017},                // with itself
        {left, p.bank->GetID(), 1016},     // of another kind
        {left, 999999, 106},               // gone
    };
    for (const TCase& c : cases) {
        EXPECT_FALSE(m_db->MergeRecords(c.keep, c.drop, Chosen()));
        EXPECT_EQ(m_db->GetLastErrorCode(), c.code);
    }
    // A second process holding the right record's lock.
    {
        TChildProcess child({QStringLiteral("lock"), m_path, QString::number(right)});
        ASSERT_EQ(child.ReadLine(), QStringLiteral("LOCK 1 0"));
        EXPECT_FALSE(m_db->MergeRecords(left, right, Chosen()));
        EXPECT_EQ(m_db->GetLastErrorCode(), 105);
        EXPECT_TRUE(child.Finish());
    }
    EXPECT_EQ(Snapshot(m_path), before);
}

TEST_F(MergeTest, ASubjectCannotBecomeItsOwnEmployeeOrRepresentative) {
    auto employer = Supports<IPodatnik>(NewPodatnik(m_db.get(), QStringLiteral("Pan"), QStringLiteral("Szef")));
    auto worker = NewPodatnik(m_db.get(), QStringLiteral("Pan"), QStringLiteral("Pracownik"));
    employer->GetPracownicy(0, 0)->AddExisting(worker.get());
    auto a = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Ala"), QStringLiteral("Reprezentowana")));
    auto b = NewPodatnik(m_db.get(), QStringLiteral("Ala"), QStringLiteral("Reprezentująca"));
    AddSection(a->GetReprezentanci().get(), cDaneReprezentantaPosiadaUpowaznienie.Symbol, QStringLiteral("1"),
               [&](IEwidarRecord* r) { Supports<IReprezentant>(r)->SetPodmiot(b.get()); });
    const QStringList before = Snapshot(m_path);
    for (auto [keep, drop] : {std::pair{employer->GetID(), worker->GetID()}, std::pair{worker->GetID(), employer->GetID()},
                              std::pair{a->GetID(), b->GetID()}, std::pair{b->GetID(), a->GetID()}}) {
        EXPECT_FALSE(m_db->MergeRecords(keep, drop, {}));
        EXPECT_EQ(m_db->GetLastErrorCode(), 1018);
    }
    EXPECT_EQ(Snapshot(m_path), before);
}

// A failure at any statement of the merge (an engine trigger refusing it) leaves every row
// as it was.
TEST_F(MergeTest, AFailureAtAnyStepLeavesBothRecordsAsTheyWere) {
    const TPair p = MakePair(m_db.get());
    const qint64 left = p.left->GetID(), right = p.right->GetID();
    struct TStep {
        const char* name;
        const char* event; // BEFORE <event> ON <table>
        const char* when;  // on NEW and OLD; empty for every row
    };
    const TStep steps[] = {
        {"chosen values", "INSERT ON ew_value", ""},
        {"identifier digits", "INSERT ON ew_ident", ""},
        {"row version and registries", "UPDATE ON ew_record", "NEW.version <> OLD.version"},
        {"sections", "UPDATE ON ew_record", "NEW.owner_id <> OLD.owner_id"},
        {"own links", "UPDATE ON ew_link", "NEW.source_id <> OLD.source_id"},
        {"links to the record", "UPDATE ON ew_link", "NEW.target_id <> OLD.target_id"},
        {"people", "INSERT ON ew_person", ""},
        {"people removed", "DELETE ON ew_person", ""},
        {"no-duplicate marks", "INSERT ON ew_not_duplicate", ""},
        {"deletion", "DELETE ON ew_record", ""},
        {"description lines", "UPDATE ON ew_record", "NEW.line1 <> OLD.line1"},
    };
    // The right record's mark goes over to the left one.
    const qint64 other = NewPodatnik(m_db.get(), QStringLiteral("Ktoś"), QStringLiteral("Inny"))->GetID();
    ASSERT_TRUE(m_db->MarkNotDuplicate(right, other)) << m_db->GetLastErrorCode();
    const QStringList before = Snapshot(m_path);
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.name);
        const QString when = QLatin1String(s.when).isEmpty() ? QStringLiteral("1 = 1") : QLatin1String(s.when);
        const QString trigger =
            ServerDialect()
                ? QStringLiteral("CREATE TRIGGER ew_injected BEFORE %1 FOR EACH ROW BEGIN IF %2 THEN "
                                 "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'wstrzyknięty błąd'; END IF; END")
                      .arg(QLatin1String(s.event), when)
                : QStringLiteral("CREATE TRIGGER ew_injected BEFORE %1 WHEN %2 BEGIN "
                                 "SELECT RAISE(ABORT, 'wstrzyknięty błąd'); END")
                      .arg(QLatin1String(s.event), when);
        RawScalar(m_path, trigger);
        ASSERT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = 'ew_injected'")
                                        .arg(ServerDialect() ? QStringLiteral("information_schema.triggers")
                                                             : QStringLiteral("sqlite_master"),
                                             ServerDialect() ? QStringLiteral("trigger_name")
                                                             : QStringLiteral("name")))
                      .toInt(),
                  1);
        EXPECT_FALSE(m_db->MergeRecords(left, right, Chosen()));
        EXPECT_EQ(m_db->GetLastErrorCode(), 205);
        RawScalar(m_path, QStringLiteral("DROP TRIGGER ew_injected"));
        EXPECT_EQ(Snapshot(m_path), before);
    }
    // With nothing in the way the same merge goes through.
    EXPECT_TRUE(m_db->MergeRecords(left, right, Chosen())) << m_db->GetLastErrorCode();
    EXPECT_NE(Snapshot(m_path), before);
}

TEST_F(MergeTest, DuplicatesShareIdentifierDigitsOrNameAndPostalCode) {
    auto subject = [&](const QString& First, const QString& Last, const QString& Nip, const QString& Postal) {
        auto s = NewPodatnik(m_db.get(), First, Last);
        SetValue(s.get(), cDanePodmiotuNIP.Symbol, Nip);
        EXPECT_TRUE(s->Post());
        if (!Postal.isEmpty())
            AddSection(Supports<IPodmiot>(s)->GetAdresy().get(), cDaneAdresoweKodPocztowy.Symbol, Postal);
        return s->GetID();
    };
    const qint64 a = subject(QStringLiteral("Łukasz"), QStringLiteral("Żółw"), QStringLiteral("526-025-02-74"),
                             QStringLiteral("00-950"));
    const qint64 b = subject(QStringLiteral("lukasz"), QStringLiteral(" ZOLW "), QStringLiteral("PL 5260250274"),
                             QStringLiteral("00950"));
    const qint64 c = subject(QStringLiteral("ŁUKASZ"), QStringLiteral("Żółw"), QString(), QStringLiteral("00-950"));
    subject(QStringLiteral("Łukasz"), QStringLiteral("Żółw"), QString(), QStringLiteral("31-000")); // elsewhere
    subject(QStringLiteral("Inny"), QStringLiteral("Ktoś"), QStringLiteral("111-111-11-11"), QString());

    auto pairs = [&] {
        QStringList found;
        auto d = m_db->FindDuplicates();
        EXPECT_TRUE(d) << m_db->GetLastErrorCode();
        for (int i = 0; d && i < d->GetCount(); ++i)
            found << QStringLiteral("%1-%2 %3")
                         .arg(d->GetFirst(i)->GetID() == a ? QStringLiteral("a") : d->GetFirst(i)->GetID() == b ? QStringLiteral("b") : QStringLiteral("c"))
                         .arg(d->GetSecond(i)->GetID() == b ? QStringLiteral("b") : QStringLiteral("c"))
                         .arg(QString::fromStdU16String(d->GetReason(i)));
        return found;
    };
    EXPECT_EQ(pairs(), (QStringList{QStringLiteral("a-b NIP, nazwa i kod pocztowy"),
                                    QStringLiteral("a-c nazwa i kod pocztowy"),
                                    QStringLiteral("b-c nazwa i kod pocztowy")}));
    // Marked as no duplicates: not offered again, also to another desk.
    ASSERT_TRUE(m_db->MarkNotDuplicate(c, a));
    ASSERT_TRUE(m_db->MarkNotDuplicate(a, c)); // twice is no error
    auto db2 = Open();
    EXPECT_EQ(db2->FindDuplicates()->GetCount(), 2);
    EXPECT_EQ(pairs(), (QStringList{QStringLiteral("a-b NIP, nazwa i kod pocztowy"),
                                    QStringLiteral("b-c nazwa i kod pocztowy")}));
    // Merged, the pair is gone with the dropped record.
    ASSERT_TRUE(m_db->MergeRecords(a, b, {})) << m_db->GetLastErrorCode();
    EXPECT_EQ(pairs(), QStringList());
}

// The right record's "no duplicate" marks hold for the kept record after a merge: carried
// over unless they would pair the kept record with itself or are there already; marks of
// other subjects stay as they were.
TEST_F(MergeTest, MarksOfTheDroppedRecordGoOverToTheKeptOne) {
    QHash<QString, qint64> id;
    for (const char* name : {"X", "R", "L", "Y", "Z", "W"}) {
        auto s = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QString::fromLatin1(name));
        SetValue(s.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("526-025-02-74")); // all share a NIP
        ASSERT_TRUE(s->Post()) << s->GetLastErrorCode();
        id.insert(QString::fromLatin1(name), s->GetID());
    }
    const auto marks = [&] {
        QStringList out;
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db = AddRawConnection(name, m_path);
            EXPECT_TRUE(db.open());
            QSqlQuery q(QStringLiteral("SELECT first_id, second_id FROM ew_not_duplicate"), db);
            while (q.next())
                out << id.key(q.value(0).toLongLong()) + id.key(q.value(1).toLongLong());
        }
        QSqlDatabase::removeDatabase(name);
        out.sort();
        return out;
    };
    // Marked in either order; stored smaller identifier first.
    for (const char* pair : {"RX", "LR", "RY", "YL", "ZR", "XY"})
        ASSERT_TRUE(m_db->MarkNotDuplicate(id.value(QString(QLatin1Char(pair[0]))),
                                           id.value(QString(QLatin1Char(pair[1])))));
    ASSERT_EQ(marks(), (QStringList{"LY", "RL", "RY", "RZ", "XR", "XY"}));

    ASSERT_TRUE(m_db->MergeRecords(id.value("L"), id.value("R"), {})) << m_db->GetLastErrorCode();
    // R-X, R-Y, R-Z became L-X, L-Y (there already), L-Z; L-R went with R.
    EXPECT_EQ(marks(), (QStringList{"LY", "LZ", "XL", "XY"}));
    // Of the five remaining subjects sharing the NIP only the unmarked pairs are offered.
    QStringList offered;
    auto d = m_db->FindDuplicates();
    ASSERT_TRUE(d) << m_db->GetLastErrorCode();
    for (int i = 0; i < d->GetCount(); ++i)
        offered << id.key(d->GetFirst(i)->GetID()) + id.key(d->GetSecond(i)->GetID());
    offered.sort();
    EXPECT_EQ(offered, (QStringList{"LW", "XW", "XZ", "YW", "YZ", "ZW"}));
}
