#include "uPrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrivateFiles {

#if defined(Q_OS_UNIX)

bool Restrict(const QString& Path) {
    const QByteArray path = QFile::encodeName(Path);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || st.st_uid != ::geteuid() || !S_ISREG(st.st_mode))
        return true;
    if ((st.st_mode & 0077) == 0)
        return true;
    return ::chmod(path.constData(), st.st_mode & 0700) == 0;
}

bool Prepare(const QString& Path) {
    const int fd = ::open(QFile::encodeName(Path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        return ::close(fd) == 0;
    return errno == EEXIST && Restrict(Path);
}

bool MakeFolder(const QString& Folder) {
    const QString absolute = QDir::cleanPath(QDir(Folder).absolutePath());
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).path();
    if (parent != absolute && !MakeFolder(parent))
        return false;
    return ::mkdir(QFile::encodeName(absolute).constData(), 0700) == 0 || QFileInfo(absolute).isDir();
}

#else

bool Restrict(const QString&) {
    return true;
}

bool Prepare(const QString&) {
    return true;
}

bool MakeFolder(const QString& Folder) {
    return QDir().mkpath(Folder);
}

#endif

} // namespace PrivateFiles
