#pragma once
// Operator passwords as salted Argon2id hash strings (libsodium). The hash string
// carries its algorithm, limits and random salt, so a stored hash stays
// verifiable when the limits used for new hashes change.

#include <QString>

namespace SqlPassword {

// A new hash of the password with a fresh salt; throws 1004 when libsodium cannot
// be initialised or the memory for hashing is not available.
QString Hash(const QString& Password);
// True when the password matches the hash; a malformed hash matches nothing.
bool Verify(const QString& Hash, const QString& Password);
// True when the hash was made with other limits or another algorithm than Hash uses now.
bool NeedsRehash(const QString& Hash);
// Spends the time of one verification, so that an unknown login answers as slowly
// as a wrong password and does not tell which logins exist.
void VerifyDummy(const QString& Password);

} // namespace SqlPassword
