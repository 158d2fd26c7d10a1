#pragma once
// Where a database file lies: SQLite's file locks and its write-ahead log are safe only
// on a local disk, so a file on a network file system is refused.

#include <QString>

namespace SqlFileSystem {

// The type of the network file system that holds Path ("nfs4", "cifs", "fuse.sshfs" ...),
// or an empty text for a local disk. Path need not exist yet: its folder decides.
QString NetworkFileSystem(const QString& Path);

// The same decision over the text of /proc/self/mountinfo, for an absolute canonical path.
QString NetworkFileSystemIn(const QString& CanonicalPath, const QString& MountInfo);

} // namespace SqlFileSystem
