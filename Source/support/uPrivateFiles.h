#pragma once
// Files only their owner may read: the database (personal numbers, password hashes) with
// its side files, and the user's settings file (the register key). On Unix a file is made
// mode 0600 and a folder the program creates 0700; elsewhere nothing changes.

#include <QString>

namespace PrivateFiles {

// Makes an existing file owner-only when it belongs to this user; a file of another user
// (an administrator's) is left as it is. False only when a change failed.
bool Restrict(const QString& Path);

// Creates Path empty and owner-only unless it exists (on Unix); an existing one is restricted.
bool Prepare(const QString& Path);

// Creates Folder and its missing parents, the ones created owner-only.
bool MakeFolder(const QString& Folder);

} // namespace PrivateFiles
