// The settings window's import over the real router and SQL backend: a cancelled
// import leaves the target as it was, the same file under another parameter text
// imports nothing, and afterwards only the program's own session is left.

#include "SettingsFormFixture.h"

#include "SubjectGenerator.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uStrings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <dlfcn.h>
#include <sqlite3.h>

using namespace uSettingsForm;

namespace {

// Rows of a table in a database file, -1 when it cannot be read.
int CountRows(const QString& Path, const char* Table) {
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(Path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QByteArray("SELECT count(*) FROM ") + Table;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            count = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return count;
}

class SettingsSqlTest : public SettingsFormTest {
protected:
    void SetUp() override {
        SettingsFormTest::SetUp();
        // The generator binds the backend once for the whole run; the router of each
        // core loads and unloads it again, which must never unmap it.
        static void* pinned = dlopen(EWIDAR_BIN_DIR "/QuorDataBaseSQL.so", RTLD_NOW | RTLD_NODELETE);
        ASSERT_NE(pinned, nullptr) << dlerror();
        Dir = TestSupport::NewTempDir(QStringLiteral("sql"));
        Target = Dir + QStringLiteral("/target.db");
        Source = Dir + QStringLiteral("/source.db");
    }
    // The program over the real router, connected to the target like the main window.
    void Start(int TargetSubjects, int SourceSubjects, const QString& SourceParam) {
        QString error;
        ASSERT_TRUE(SubjectGenerator::Generate(Target, TargetSubjects, error)) << error.toStdString();
        ASSERT_TRUE(SubjectGenerator::Generate(Source, SourceSubjects, error)) << error.toStdString();
        const QString param = QStringLiteral("DIR=%1;WATCH=0;").arg(Target);
        SetSetting("ConnectorParams_SQLITE", param);
        SetSetting("ConnectorHistory_SQLITE", param + "@" + SourceParam + "@");
        CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
        ASSERT_TRUE(Core()->FDataBaseModule->GetDLLLoaded()) << "the real router is not built";
        TIntfPtr<IEwidarDataBase> current = Core()->FDataBaseModule->FEwidarDataBase;
        ASSERT_TRUE(current);
        std::u16string p = toU16(param);
        ASSERT_TRUE(current->Connect(p, true));
        Form = OpenForm();
        Form->show();
    }
    int Subjects() const {
        return Core()->FDataBaseModule->FEwidarDataBase->GetRegistries()->GetPodmioty({})->GetCount();
    }
    // Chooses the second SQLite configuration as the source.
    void ChooseSecond() {
        TestSupport::WhenModal([](QWidget* w) {
            auto* chooser = qobject_cast<TSettingsForm*>(w);
            ASSERT_NE(chooser, nullptr);
            chooser->TreeView1->setCurrentItem(chooser->TreeView1->topLevelItem(0)->child(1));
            chooser->bSave->click();
        });
    }

    QString Dir;
    QString Target;
    QString Source;
};

TEST_F(SettingsSqlTest, ImportCopiesTheSourceAndLeavesOnlyTheProgramsSession) {
    Start(3, 40, QStringLiteral("DIR=%1/source.db;WATCH=0;").arg(Dir));
    ASSERT_EQ(Subjects(), 3);
    ChooseSecond();
    Form->btnImportClick();
    EXPECT_EQ(ShownCodes().last(), 318u);
    EXPECT_EQ(Subjects(), 43);
    EXPECT_EQ(CountRows(Target, "ew_session"), 1);
    EXPECT_EQ(CountRows(Source, "ew_session"), 0);
}

TEST_F(SettingsSqlTest, TheSameFileUnderAnotherTextImportsNothing) {
    Start(5, 1, QStringLiteral("DIR=%1/./target.db;").arg(Dir));
    ChooseSecond();
    Form->btnImportClick();
    EXPECT_EQ(ShownCodes().last(), 317u);
    EXPECT_EQ(Subjects(), 5);
    EXPECT_EQ(CountRows(Target, "ew_session"), 1);
}

TEST_F(SettingsSqlTest, ACancelledImportLeavesTheTargetUnchanged) {
    Start(4, 300, QStringLiteral("DIR=%1/source.db;").arg(Dir));
    const int records = CountRows(Target, "ew_record");
    const int values = CountRows(Target, "ew_value");
    QElapsedTimer sinceYes;
    qint64 cancelTook = -1;
    // "Przerwij" at the first percentage past 0, answered "Tak".
    auto* timer = new QTimer(Form.get());
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, Form.get(), [&, timer] {
        if (Form->ImportRunning() && Form->pbMoveData->isVisible() && Form->pbMoveData->value() > 0) {
            timer->stop();
            Form->bCancel->click();
            sinceYes.start();
        }
    });
    timer->start();
    ChooseSecond();
    Form->btnImportClick();
    cancelTook = sinceYes.isValid() ? sinceYes.elapsed() : -1;
    EXPECT_EQ(ShownCodes().last(), 204u);
    EXPECT_EQ(Subjects(), 4);
    EXPECT_EQ(CountRows(Target, "ew_record"), records);
    EXPECT_EQ(CountRows(Target, "ew_value"), values);
    EXPECT_EQ(CountRows(Target, "ew_session"), 1);
    EXPECT_EQ(CountRows(Source, "ew_session"), 0);
    EXPECT_GE(cancelTook, 0);
    EXPECT_LT(cancelTook, 1000) << "the import went on after the cancel";
}

} // namespace
