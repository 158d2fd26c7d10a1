#pragma once
// The file of a backup: a small container around an SQLite database file and its
// manifest, optionally encrypted as a whole.
//
//   plain:     "EWKOPIA1" | u32 manifest length | manifest (JSON, UTF-8) |
//              u64 database length | database bytes | SHA-256 of all after the magic (32)
//   encrypted: "EWKOPIAZ" | Argon2id salt | u64 opslimit | u64 memlimit |
//              secretstream header | pieces (u32 length | ciphertext)
//
// The ciphertext carries the plain container after its magic in pieces of 64 KiB (libsodium's
// crypto_secretstream_xchacha20poly1305, the key derived from the password by
// Argon2id); the last piece is tagged final, so a file cut short is told from a
// complete one. Numbers are little-endian. Every failure throws TSqlFailure with
// one of the backup codes of uSqlErrors.h.

#include <QByteArray>
#include <QString>

#include <functional>

namespace SqlBackupFile {

// Done of Total bytes handled; may throw to stop.
using TStep = std::function<void(qint64 Done, qint64 Total)>;

// SHA-256 of a file's bytes as 64 lower-case hex digits.
QString FileSha256(const QString& Path, const TStep& Step = {});

// Writes the container of DatabaseFile and Manifest into Path (replaced if present),
// encrypted when Password is not empty, and flushes it to the disk.
void Write(const QString& Path, const QString& DatabaseFile, const QByteArray& Manifest,
           const QString& Password, const TStep& Step = {});

// Reads the whole container at Path, checking its length, checksum and (when
// encrypted) every piece; writes the database it holds into DatabaseFile (a scratch
// file: not synced, removed when the reading fails) and returns the manifest; Sha256 receives the SHA-256 of the database's bytes. Refused: not a backup (1042), damaged (1043), cut short (1044),
// wrong password (1045), encrypted without a password (1046).
QByteArray Extract(const QString& Path, const QString& Password, const QString& DatabaseFile,
                   QString& Sha256, const TStep& Step = {});

// Whether the file at Path is an encrypted backup (by its first bytes).
bool IsEncrypted(const QString& Path);

} // namespace SqlBackupFile
