// "Nowa baza…" of the server dialog, pressed as an operator would: a new database with
// the program's tables, an empty one filled, and every database that holds something
// left exactly as it was (this program's, another program's, one the user may not touch).

#include "BackendFixture.h"
#include "TestServer.h"
#include "TestSupport.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>

namespace {

class ServerDialogTest : public BackendTest {
protected:
    void SetUp() override {
        if (!ServerDialect())
            GTEST_SKIP() << "the server dialect only";
        BackendTest::SetUp();
    }

    // Opens the dialog over Param, types Fields (objectName -> text), presses
    // "Nowa baza…" (then "Test połączenia" when Tested is given, with its text there)
    // and then OK; the result label's text. Param gets what OK wrote.
    QString PressNew(QString& Param, const std::map<QString, QString>& Fields, QString* Tested = nullptr) {
        QWidget owner;
        QString result, caption;
        TestSupport::WhenModal([&](QWidget* w) {
            for (const auto& [name, text] : Fields) {
                auto* edit = w->findChild<QLineEdit*>(name);
                ASSERT_TRUE(edit) << name.toStdString();
                edit->setText(text);
            }
            auto* create = w->findChild<QPushButton*>(QStringLiteral("btnNew"));
            ASSERT_TRUE(create);
            caption = create->text();
            create->click();
            auto* label = w->findChild<QLabel*>(QStringLiteral("lblError"));
            result = label->text();
            if (Tested) {
                w->findChild<QPushButton*>(QStringLiteral("btnTest"))->click();
                *Tested = label->text();
            }
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        std::u16string p = U(Param);
        EXPECT_TRUE(m_db->EditConnectionParams(&owner, p, true)) << m_db->GetLastErrorCode();
        EXPECT_EQ(caption, QStringLiteral("Nowa baza…"));
        Param = Q(p);
        return result;
    }
    QString PressNew(const QString& DataBase, const QString& User = QStringLiteral("root")) {
        QString param = Param(m_path);
        return PressNew(param, {{QStringLiteral("edtDB"), DataBase}, {QStringLiteral("edtUSER"), User}});
    }

    static QString DataBases() {
        return RawScalar(QString(), QStringLiteral("SELECT GROUP_CONCAT(schema_name ORDER BY schema_name "
                                                   "SEPARATOR '|') FROM information_schema.schemata"))
            .toString();
    }
    static QString Tables(const QString& DataBase) {
        return RawScalar(DataBase,
                         QStringLiteral("SELECT GROUP_CONCAT(table_name ORDER BY table_name) FROM "
                                        "information_schema.tables WHERE table_schema = DATABASE()"))
            .toString();
    }
    static QString SchemaVersion(const QString& DataBase) {
        return RawScalar(DataBase, QStringLiteral("SELECT value FROM ew_meta WHERE name = 'schema_version'"))
            .toString();
    }
    static int Sessions(const QString& DataBase) {
        return RawScalar(DataBase, QStringLiteral("SELECT count(*) FROM ew_session")).toInt();
    }
};

} // namespace

// Names that need quoting in SQL and in the parameter, the longest name allowed, and an
// empty database that exists already.
TEST_F(ServerDialogTest, TheTablesAreMadeAndTheWrittenParameterOpensThem) {
    const QString empty = AnotherDataBase();
    ASSERT_FALSE(empty.isEmpty());
    const QString made = QStringLiteral("Utworzono bazę danych „%1” z tabelami programu.");
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Biuro; Kraków 2"), made.arg(QStringLiteral("Biuro; Kraków 2"))},
        {QString(64, u'ż'), made.arg(QString(64, u'ż'))},
        {empty, QStringLiteral("Utworzono tabele programu w pustej bazie „%1”.").arg(empty)},
    };
    for (const auto& [name, message] : cases) {
        QString param = Param(m_path);
        EXPECT_EQ(PressNew(param, {{QStringLiteral("edtDB"), name}}), message);
        EXPECT_EQ(
            RawScalar(name, QStringLiteral("SELECT default_collation_name FROM information_schema.schemata "
                                           "WHERE schema_name = DATABASE()"))
                .toString(),
            QStringLiteral("utf8mb4_bin"));
        EXPECT_EQ(SchemaVersion(name), SchemaVersion(m_path));
        EXPECT_EQ(Sessions(name), 0); // the session that made the tables is gone
        auto db = NewRoot();
        std::u16string p = U(param);
        ASSERT_TRUE(db->Connect(p, false)) << db->GetLastErrorCode() << " " << param.toStdString();
        EXPECT_TRUE(NewPodatnik(db.get(), QStringLiteral("Jan"), QStringLiteral("Nowy")));
        db->Disconnect();
    }
}

// An older version of this program's database is not even upgraded: nothing is written.
TEST_F(ServerDialogTest, ADataBaseOfThisProgramIsLeftAsItIs) {
    ASSERT_TRUE(NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Stara")));
    RawScalar(m_path, QStringLiteral("UPDATE ew_meta SET value = '2' WHERE name = 'schema_version'"));
    const int sessions = Sessions(m_path);
    EXPECT_EQ(
        PressNew(m_path),
        QStringLiteral("Baza danych „%1” jest już bazą programu Ewidar; niczego nie zmieniono.").arg(m_path));
    EXPECT_EQ(SchemaVersion(m_path), QStringLiteral("2"));
    EXPECT_EQ(Sessions(m_path), sessions);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE line1 LIKE '%Stara%'"))
                  .toInt(),
              1);
}

TEST_F(ServerDialogTest, ADataBaseOfAnotherProgramIsRefusedUntouched) {
    const QString other = AnotherDataBase();
    ASSERT_FALSE(other.isEmpty());
    RawScalar(other, QStringLiteral("CREATE TABLE faktury (id INT PRIMARY KEY, kwota INT)"));
    RawScalar(other, QStringLiteral("INSERT INTO faktury VALUES (1, 100)"));
    EXPECT_TRUE(PressNew(other).startsWith(
        QStringLiteral("Baza danych „%1” zawiera tabele innego programu; niczego nie zmieniono.")
            .arg(other)));
    EXPECT_EQ(Tables(other), QStringLiteral("faktury"));
    EXPECT_EQ(RawScalar(other, QStringLiteral("SELECT sum(kwota) FROM faktury")).toInt(), 100);
}

// Refused in the dialog before the server is asked; nothing appears on the server.
TEST_F(ServerDialogTest, BadNamesAreRefusedAndCreateNothing) {
    const QString before = DataBases();
    const QString chars = QStringLiteral("Nazwa bazy danych nie może zawierać znaku „%1”.");
    const QString blanks = QStringLiteral("Nazwa bazy danych nie może zaczynać się ani kończyć odstępem.");
    const QString bad = QStringLiteral("Nazwa bazy danych zawiera niedozwolony znak.");
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("Wpisz nazwę bazy danych.")},
        {QStringLiteral("   "), QStringLiteral("Wpisz nazwę bazy danych.")},
        {QStringLiteral("a`; DROP DATABASE mysql; `"), chars.arg(QChar(u'`'))},
        {QStringLiteral("../etc"), chars.arg(QChar(u'.'))},
        {QStringLiteral("a/b"), chars.arg(QChar(u'/'))},
        {QStringLiteral("a\\b"), chars.arg(QChar(u'\\'))},
        {QStringLiteral("baza.kopia"), chars.arg(QChar(u'.'))},
        {QStringLiteral("baza") + QChar(u'\0') + QStringLiteral("x"), bad},
        {QStringLiteral("baza\x01"), bad},
        {QStringLiteral("baza ") + QString::fromUcs4(U"\U0001F600"), bad},
        {QStringLiteral("nowa "), blanks},
        {QStringLiteral(" nowa"), blanks},
        {QString(65, u'n'), QStringLiteral("Nazwa bazy danych może mieć najwyżej 64 znaki.")},
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(PressNew(name), message);
    }
    EXPECT_EQ(DataBases(), before);
}

// A user with no right to create databases, and one who may only read an empty database.
TEST_F(ServerDialogTest, WithoutTheRightsNothingIsCreatedAndTheAdministratorIsNamed) {
    const QString user = QStringLiteral("ew_bez_praw");
    RawScalar(m_path, QStringLiteral("CREATE USER IF NOT EXISTS '%1'@'localhost'").arg(user));
    const QString before = DataBases();
    EXPECT_EQ(
        PressNew(QStringLiteral("ew_zabroniona"), user),
        QStringLiteral("Brak uprawnień do utworzenia bazy danych „ew_zabroniona”. Administrator serwera musi "
                       "ją utworzyć albo nadać to prawo; niczego nie zmieniono."));
    const QString empty = AnotherDataBase();
    ASSERT_FALSE(empty.isEmpty());
    EXPECT_TRUE(PressNew(empty, user).startsWith(QStringLiteral("Brak uprawnień do utworzenia bazy danych")));
    RawScalar(m_path, QStringLiteral("GRANT SELECT ON %1.* TO '%2'@'localhost'").arg(empty, user));
    const QString readOnly = PressNew(empty, user);
    EXPECT_TRUE(
        readOnly.startsWith(QStringLiteral("Nie udało się utworzyć tabel programu w bazie „%1”").arg(empty)))
        << readOnly.toStdString();
    EXPECT_TRUE(Tables(empty).isEmpty()) << Tables(empty).toStdString();
    EXPECT_EQ(DataBases().split(u'|').size(), before.split(u'|').size() + 1); // only the test's own
}

// The password the server wants is asked for once: it serves both buttons and is never
// written into the parameter.
TEST_F(ServerDialogTest, APasswordAskedForOnceServesTheDialogAndIsNotWritten) {
    const QString user = QStringLiteral("ew_z_haslem");
    RawScalar(m_path,
              QStringLiteral("CREATE USER IF NOT EXISTS '%1'@'localhost' IDENTIFIED BY 'tajne'").arg(user));
    RawScalar(m_path, QStringLiteral("GRANT ALL ON ew_haslo.* TO '%1'@'localhost'").arg(user));
    struct TAsking {
        TAsking() { qunsetenv("EWIDAR_NO_ASK"); }
        ~TAsking() { qputenv("EWIDAR_NO_ASK", "1"); }
    } asking;
    int asked = 0;
    TestSupport::WhenModal<QInputDialog>([&](QInputDialog* d) {
        ++asked;
        d->setTextValue(QStringLiteral("tajne"));
        d->accept();
    });
    QString param = Param(m_path), tested;
    EXPECT_EQ(
        PressNew(param,
                 {{QStringLiteral("edtDB"), QStringLiteral("ew_haslo")}, {QStringLiteral("edtUSER"), user}},
                 &tested),
        QStringLiteral("Utworzono bazę danych „ew_haslo” z tabelami programu."));
    EXPECT_EQ(tested, QStringLiteral("Połączenie działa."));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(param.contains(QStringLiteral("tajne"))) << param.toStdString();
    EXPECT_EQ(SchemaVersion(QStringLiteral("ew_haslo")), SchemaVersion(m_path));
}
