#include "uSqlPassword.h"

#include "uSqlErrors.h"

#include <QByteArray>

#include <sodium.h>

namespace SqlPassword {

namespace {

// Moderate limits: a login answers within a fraction of a second on a desk machine.
constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void EnsureSodium() {
    // sodium_init is safe to call again, but once is enough: 0 first time, 1 later, -1 failure.
    static const int rc = sodium_init();
    if (rc < 0)
        Fail(SqlErrors::ecPassword, QStringLiteral("sodium_init failed"));
}

// The UTF-8 form of a password, wiped when it goes out of scope.
class TSecret {
public:
    explicit TSecret(const QString& Text) : m_bytes(Text.toUtf8()) {}
    ~TSecret() { sodium_memzero(m_bytes.data(), static_cast<size_t>(m_bytes.size())); }
    TSecret(const TSecret&) = delete;
    TSecret& operator=(const TSecret&) = delete;
    const char* Data() const { return m_bytes.constData(); }
    unsigned long long Size() const { return static_cast<unsigned long long>(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

} // namespace

QString Hash(const QString& Password) {
    EnsureSodium();
    const TSecret secret(Password);
    char out[crypto_pwhash_STRBYTES] = {};
    if (crypto_pwhash_str_alg(out, secret.Data(), secret.Size(), kOpsLimit, kMemLimit,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        Fail(SqlErrors::ecPassword, QStringLiteral("crypto_pwhash_str_alg failed (out of memory)"));
    return QString::fromLatin1(out);
}

bool Verify(const QString& Hash, const QString& Password) {
    EnsureSodium();
    const QByteArray hash = Hash.toLatin1();
    if (hash.isEmpty() || hash.size() >= crypto_pwhash_STRBYTES)
        return false;
    const TSecret secret(Password);
    return crypto_pwhash_str_verify(hash.constData(), secret.Data(), secret.Size()) == 0;
}

bool NeedsRehash(const QString& Hash) {
    EnsureSodium();
    const QByteArray hash = Hash.toLatin1();
    if (!hash.startsWith(crypto_pwhash_argon2id_STRPREFIX))
        return true;
    return crypto_pwhash_str_needs_rehash(hash.constData(), kOpsLimit, kMemLimit) != 0;
}

void VerifyDummy(const QString& Password) {
    static const QString dummy = Hash(QStringLiteral("Ewidar: no such operator"));
    Verify(dummy, Password);
}

} // namespace SqlPassword
