#include "uSqlFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace SqlFileSystem {

namespace {

bool IsNetworkType(const QString& Type) {
    static const QStringList types = {
        QStringLiteral("nfs"),        QStringLiteral("nfs4"),           QStringLiteral("cifs"),
        QStringLiteral("smb3"),       QStringLiteral("smbfs"),          QStringLiteral("ncpfs"),
        QStringLiteral("afs"),        QStringLiteral("ceph"),           QStringLiteral("glusterfs"),
        QStringLiteral("fuse.sshfs"), QStringLiteral("fuse.glusterfs"), QStringLiteral("fuse.rclone"),
    };
    return types.contains(Type);
}

// Mount points escape blanks, tabs, new lines and backslashes as three octal digits.
QString Unescape(const QString& Field) {
    QString out;
    for (int i = 0; i < Field.size(); ++i) {
        bool ok = false;
        const int code = Field[i] == u'\\' ? Field.mid(i + 1, 3).toInt(&ok, 8) : 0;
        if (ok && i + 3 < Field.size()) {
            out += QChar(code);
            i += 3;
        } else {
            out += Field[i];
        }
    }
    return out;
}

bool Under(const QString& Path, const QString& MountPoint) {
    if (MountPoint == u'/')
        return true;
    return Path == MountPoint || Path.startsWith(MountPoint + u'/');
}

// The canonical form of Path, or of its nearest existing folder with the rest appended.
QString Canonical(const QString& Path) {
    QFileInfo fi(QFileInfo(Path).absoluteFilePath());
    QString rest;
    while (!fi.exists()) {
        const QString parent = fi.absolutePath();
        rest = u'/' + fi.fileName() + rest;
        if (parent == fi.absoluteFilePath())
            return Path;
        fi = QFileInfo(parent);
    }
    return fi.canonicalFilePath() + rest;
}

} // namespace

QString NetworkFileSystemIn(const QString& CanonicalPath, const QString& MountInfo) {
    QString best, type;
    for (const QString& line : MountInfo.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ');
        const int dash = fields.indexOf(QStringLiteral("-"));
        if (fields.size() < 5 || dash < 5 || dash + 1 >= fields.size())
            continue;
        const QString mountPoint = Unescape(fields[4]);
        // A later mount over the same point hides the earlier one.
        if (Under(CanonicalPath, mountPoint) && mountPoint.size() >= best.size()) {
            best = mountPoint;
            type = fields[dash + 1];
        }
    }
    return IsNetworkType(type) ? type : QString();
}

QString NetworkFileSystem(const QString& Path) {
#if defined(Q_OS_LINUX)
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return NetworkFileSystemIn(Canonical(Path), QString::fromUtf8(f.readAll()));
#elif defined(Q_OS_WIN)
    const QString native = QDir::toNativeSeparators(QFileInfo(Path).absoluteFilePath());
    if (native.startsWith(QStringLiteral("\\\\")))
        return QStringLiteral("smb");
    const std::wstring root = native.left(3).toStdWString();
    return GetDriveTypeW(root.c_str()) == DRIVE_REMOTE ? QStringLiteral("smb") : QString();
#else
    Q_UNUSED(Path);
    return {};
#endif
}

} // namespace SqlFileSystem
