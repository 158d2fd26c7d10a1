#pragma once
// What every benchmark program sets up before it measures: offscreen windows, its own
// HOME, XDG folders and settings in a temporary folder, and the official TERYT files
// beside the repository.

#include <QDir>

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

namespace BenchEnvironment {

// Points the user's folders and both settings scopes into Root; call before QApplication.
inline void Isolate(const QTemporaryDir& Root) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(var, (Root.path() + u'/' + QLatin1String(var)).toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       Root.path() + QStringLiteral("/settings"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       Root.path() + QStringLiteral("/system"));
}

// The TERC and SIMC files under ../shared/data/teryt of SourceDir; false (with a line
// printed) when they are not there.
inline bool FindTeryt(const QString& SourceDir, QString& Terc, QString& Simc) {
    const QString teryt = SourceDir + QStringLiteral("/../shared/data/teryt/");
    const QStringList terc = QDir(teryt).entryList({QStringLiteral("TERC*.csv")});
    const QStringList simc = QDir(teryt).entryList({QStringLiteral("SIMC*.csv")});
    if (terc.isEmpty() || simc.isEmpty()) {
        std::printf("The official TERYT files are not in ../shared/data/teryt; nothing to measure.\n");
        return false;
    }
    Terc = teryt + terc.first();
    Simc = teryt + simc.first();
    return true;
}

} // namespace BenchEnvironment
