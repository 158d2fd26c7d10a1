// Test main shared by every suite: offscreen platform, temporary folders for
// both settings scopes, data and home, so tests never touch the user's files.

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/ewidar-test-XXXXXX"));
    if (!root.isValid())
        return 2;
    const QString r = root.path();
    qputenv("EWIDAR_TEST_ROOT", r.toUtf8());
    qputenv("HOME", (r + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (r + QStringLiteral("/config-user")).toUtf8());
    qputenv("XDG_DATA_HOME", (r + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (r + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (r + QStringLiteral("/runtime")).toUtf8());
    for (const char* sub : {"home", "config-user", "config-system", "data", "cache", "runtime"})
        QDir().mkpath(r + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(r + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, TestSupport::UserSettingsDir());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, TestSupport::SystemSettingsDir());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, TestSupport::UserSettingsDir());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, TestSupport::SystemSettingsDir());

    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    TestSupport::InstallModalGuards();
    return RUN_ALL_TESTS();
}
