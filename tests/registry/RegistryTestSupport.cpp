#include "RegistryTestSupport.h"

#include "TestSupport.h"
#include "uRegistryPolicy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <memory>

namespace RegistryTest {

namespace {

const QString Organisation = QStringLiteral("Quorsys");

QSettings* Open(QSettings::Scope Scope, const QString& Group) {
    auto* s = new QSettings(QSettings::NativeFormat, Scope, Organisation);
    s->setFallbacksEnabled(false);
    if (!Group.isEmpty())
        s->beginGroup(Group);
    return s;
}

QString FileOf(const QString& Dir) {
    return Dir + QLatin1Char('/') + Organisation + QStringLiteral(".conf");
}

} // namespace

void ResetAll() {
    TestSupport::ClearSettings();
    Registry::ClearPolicyTable();
    Registry::ClearReport();
}

void SetMachine(const QString& Group, const QString& Name, const QVariant& Data) {
    std::unique_ptr<QSettings> s(Open(QSettings::SystemScope, Group));
    s->setValue(Name, Data);
    s->sync();
}

void RemoveMachine(const QString& Group, const QString& Name) {
    std::unique_ptr<QSettings> s(Open(QSettings::SystemScope, Group));
    s->remove(Name);
    s->sync();
}

void WriteMachineFile(const QByteArray& IniText) {
    QFile f(FileOf(TestSupport::SystemSettingsDir()));
    f.open(QFile::WriteOnly | QFile::Truncate);
    f.write(IniText);
    f.close();
    ForceReloadFromDisk();
}

bool UserHas(const QString& Group, const QString& Name) {
    std::unique_ptr<QSettings> s(Open(QSettings::UserScope, Group));
    return s->contains(Name);
}

QVariant UserValue(const QString& Group, const QString& Name) {
    std::unique_ptr<QSettings> s(Open(QSettings::UserScope, Group));
    return s->value(Name);
}

void SetUser(const QString& Group, const QString& Name, const QVariant& Data) {
    std::unique_ptr<QSettings> s(Open(QSettings::UserScope, Group));
    s->setValue(Name, Data);
    s->sync();
}

void ForceReloadFromDisk() {
    static qint64 shift = 0;
    shift += 10;
    for (const QString& dir : {TestSupport::UserSettingsDir(), TestSupport::SystemSettingsDir()}) {
        QFile f(FileOf(dir));
        if (f.exists() && f.open(QFile::ReadWrite)) {
            f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-100000 + shift),
                          QFileDevice::FileModificationTime);
            f.close();
        }
    }
}

TUnreadableUserStore::TUnreadableUserStore() {
    const QString file = FileOf(TestSupport::UserSettingsDir());
    QFile::remove(file + QStringLiteral(".kept"));
    QFile::rename(file, file + QStringLiteral(".kept"));
    QDir().mkpath(file);
}

TUnreadableUserStore::~TUnreadableUserStore() {
    const QString file = FileOf(TestSupport::UserSettingsDir());
    QDir(file).removeRecursively();
    QFile::rename(file + QStringLiteral(".kept"), file);
    ForceReloadFromDisk();
}

TUnwritableStore::TUnwritableStore(bool MachineWide)
    : m_dir(MachineWide ? TestSupport::SystemSettingsDir() : TestSupport::UserSettingsDir()) {
    QDir(m_dir).removeRecursively();
    QFile f(m_dir);
    f.open(QFile::WriteOnly);
    f.write("not a folder");
}

TUnwritableStore::~TUnwritableStore() {
    QFile::remove(m_dir);
    QDir().mkpath(m_dir);
}

TReportRecorder::TReportRecorder() {
    m_previous = Registry::SetReportPresenter([this](const QString& Caption, const QString& Text) {
        Showings.push_back({Caption, Text});
    });
}

TReportRecorder::~TReportRecorder() {
    Registry::SetReportPresenter(m_previous);
}

void ProcessEventsFor(int Ms) {
    QTest::qWait(Ms);
}

} // namespace RegistryTest
