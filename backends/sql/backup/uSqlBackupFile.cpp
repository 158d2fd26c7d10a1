#include "uSqlBackupFile.h"

#include "uSqlErrors.h"

#include <QFile>
#include <QtEndian>

#include <openssl/evp.h>
#include <sodium.h>

#include <array>

#include <fcntl.h>
#include <unistd.h>

namespace SqlBackupFile {

namespace {

constexpr char kPlainMagic[] = "EWKOPIA1";
constexpr char kSealedMagic[] = "EWKOPIAZ";
constexpr qint64 kMagicSize = 8;
constexpr qint64 kPiece = 64 * 1024;
// Bytes between two progress steps.
constexpr qint64 kStepBytes = 256 * 1024;
// Bytes of the backup file handed to the disk at a time while it is written.
constexpr qint64 kWritebackBytes = 8 * 1024 * 1024;
constexpr qint64 kHashSize = 32; // SHA-256
constexpr quint32 kMaxManifest = 1024 * 1024;
// Limits read from a file are bounded, so that a damaged header cannot ask for
// gigabytes of memory or hours of hashing.
constexpr quint64 kMaxOps = 16;
constexpr quint64 kMaxMem = 1024ULL * 1024 * 1024;

void InitSodium() {
    static const int rc = sodium_init();
    if (rc < 0)
        Fail(SqlErrors::ecBackupFailed, QStringLiteral("biblioteka libsodium nie działa"));
}

// Numbers of the container, little-endian, in 4 or 8 bytes.
QByteArray Le(quint64 V, int Bytes) {
    QByteArray out(8, '\0');
    qToLittleEndian(V, out.data());
    return out.left(Bytes);
}

quint64 FromLe(const QByteArray& B) {
    return B.size() == 4 ? qFromLittleEndian<quint32>(B.constData()) : qFromLittleEndian<quint64>(B.constData());
}

// SHA-256 through libcrypto, which uses the processor's SHA instructions where it has
// them: several times the speed of libsodium's portable code over a backup's hundreds of
// megabytes, which every backup hashes four times and every check twice.
class TSha256 {
public:
    TSha256() : m_ctx(EVP_MD_CTX_new()) {
        if (!m_ctx || EVP_DigestInit_ex(m_ctx, EVP_sha256(), nullptr) != 1)
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("biblioteka libcrypto nie działa"));
    }
    ~TSha256() { EVP_MD_CTX_free(m_ctx); }
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Add(const QByteArray& B) { EVP_DigestUpdate(m_ctx, B.constData(), size_t(B.size())); }
    QByteArray Sum() {
        QByteArray sum(kHashSize, '\0');
        unsigned int n = 0;
        EVP_DigestFinal_ex(m_ctx, reinterpret_cast<unsigned char*>(sum.data()), &n);
        return sum;
    }
    QString Hex() { return QString::fromLatin1(Sum().toHex()); }

private:
    EVP_MD_CTX* m_ctx;
};

using TKey = std::array<unsigned char, crypto_secretstream_xchacha20poly1305_KEYBYTES>;

TKey DeriveKey(const QString& Password, const unsigned char* Salt, quint64 Ops, quint64 Mem, int FailCode) {
    TKey key{};
    const QByteArray pw = Password.toUtf8();
    if (crypto_pwhash(key.data(), key.size(), pw.constData(), quint64(pw.size()), Salt, Ops, size_t(Mem),
                      crypto_pwhash_ALG_ARGON2ID13) != 0)
        Fail(FailCode, QStringLiteral("nie można wyprowadzić klucza z hasła (brak pamięci)"));
    return key;
}

// The plain container goes out through here: straight into the file, or in
// encrypted pieces. The checksum covers the plain bytes.
class TOut {
public:
    TOut(const QString& Path, const QString& Password) : m_file(Path) {
        if (!m_file.open(QIODevice::WriteOnly))
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można zapisać pliku %1: %2").arg(Path, m_file.errorString()));
        // Personal data: readable by its owner only, as the database itself.
        m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        m_sealed = !Password.isEmpty();
        if (!m_sealed) {
            Raw(QByteArray(kPlainMagic, kMagicSize));
            return;
        }
        InitSodium();
        unsigned char salt[crypto_pwhash_SALTBYTES];
        randombytes_buf(salt, sizeof salt);
        const quint64 ops = crypto_pwhash_OPSLIMIT_INTERACTIVE;
        const quint64 mem = crypto_pwhash_MEMLIMIT_INTERACTIVE;
        TKey key = DeriveKey(Password, salt, ops, mem, SqlErrors::ecBackupFailed);
        unsigned char header[crypto_secretstream_xchacha20poly1305_HEADERBYTES];
        crypto_secretstream_xchacha20poly1305_init_push(&m_state, header, key.data());
        sodium_memzero(key.data(), key.size());
        Raw(QByteArray(kSealedMagic, kMagicSize) + QByteArray(reinterpret_cast<const char*>(salt), sizeof salt) +
            Le(ops, 8) + Le(mem, 8) + QByteArray(reinterpret_cast<const char*>(header), sizeof header));
    }

    void Put(const QByteArray& B) {
        m_sha.Add(B);
        Plain(B);
    }
    // Ends with the checksum and the final piece, then forces the file onto the disk.
    void Finish() {
        Plain(m_sha.Sum());
        if (m_sealed)
            Seal(crypto_secretstream_xchacha20poly1305_TAG_FINAL);
        if (!m_file.flush() || ::fsync(m_file.handle()) != 0)
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("zapis na dysk nie powiódł się: %1").arg(m_file.errorString()));
        m_file.close();
    }

private:
    void Plain(const QByteArray& B) {
        if (!m_sealed) {
            Raw(B);
            return;
        }
        m_buffer += B;
        while (m_buffer.size() >= kPiece)
            Seal(0);
    }
    void Seal(unsigned char Tag) {
        const qint64 n = std::min<qint64>(kPiece, m_buffer.size());
        QByteArray c(n + crypto_secretstream_xchacha20poly1305_ABYTES, '\0');
        unsigned long long len = 0;
        crypto_secretstream_xchacha20poly1305_push(&m_state, reinterpret_cast<unsigned char*>(c.data()), &len,
                                                   reinterpret_cast<const unsigned char*>(m_buffer.constData()),
                                                   quint64(n), nullptr, 0, Tag);
        m_buffer.remove(0, n);
        Raw(Le(len, 4) + c.left(qsizetype(len)));
    }
    void Raw(const QByteArray& B) {
        if (m_file.write(B) != B.size())
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("zapis pliku kopii nie powiódł się: %1").arg(m_file.errorString()));
        m_written += B.size();
        if (m_written - m_handedOver >= kWritebackBytes)
            HandOver();
    }
    // The written bytes go to the disk as the file grows, a window at a time, rather than
    // all at the closing sync: that one sync would hold the disk for the whole file, and
    // every commit of the program running beside the backup would wait behind it.
    void HandOver() {
        if (!m_file.flush())
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("zapis pliku kopii nie powiódł się: %1").arg(m_file.errorString()));
#ifdef __linux__
        // The window before the last is waited for, so that at most two are on the way.
        const int fd = m_file.handle();
        if (m_handedOver > m_waited)
            ::sync_file_range(fd, m_waited, m_handedOver - m_waited,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
        ::sync_file_range(fd, m_handedOver, m_written - m_handedOver, SYNC_FILE_RANGE_WRITE);
        m_waited = m_handedOver;
#endif
        m_handedOver = m_written;
    }

    QFile m_file;
    qint64 m_written = 0;
    qint64 m_handedOver = 0;
    qint64 m_waited = 0;
    bool m_sealed = false;
    TSha256 m_sha;
    crypto_secretstream_xchacha20poly1305_state m_state{};
    QByteArray m_buffer;
};

// The plain container comes in through here, from the file or from its pieces.
class TIn {
public:
    TIn(const QString& Path, const QString& Password) : m_file(Path) {
        if (!m_file.open(QIODevice::ReadOnly))
            Fail(SqlErrors::ecNotBackup, QStringLiteral("nie można otworzyć pliku %1: %2").arg(Path, m_file.errorString()));
        const QByteArray magic = m_file.read(kMagicSize);
        if (magic == QByteArray(kPlainMagic, kMagicSize))
            return;
        if (magic != QByteArray(kSealedMagic, kMagicSize))
            Fail(SqlErrors::ecNotBackup);
        if (Password.isEmpty())
            Fail(SqlErrors::ecBackupPassword);
        m_sealed = true;
        InitSodium();
        const QByteArray salt = Exact(crypto_pwhash_SALTBYTES);
        const quint64 ops = FromLe(Exact(8));
        const quint64 mem = FromLe(Exact(8));
        const QByteArray header = Exact(crypto_secretstream_xchacha20poly1305_HEADERBYTES);
        if (ops < crypto_pwhash_OPSLIMIT_MIN || ops > kMaxOps || mem < crypto_pwhash_MEMLIMIT_MIN || mem > kMaxMem)
            Fail(SqlErrors::ecBackupDamaged, QStringLiteral("nagłówek szyfrowania jest uszkodzony"));
        TKey key = DeriveKey(Password, reinterpret_cast<const unsigned char*>(salt.constData()), ops, mem,
                             SqlErrors::ecBackupDamaged);
        const int rc = crypto_secretstream_xchacha20poly1305_init_pull(
            &m_state, reinterpret_cast<const unsigned char*>(header.constData()), key.data());
        sodium_memzero(key.data(), key.size());
        if (rc != 0)
            Fail(SqlErrors::ecBackupDamaged, QStringLiteral("nagłówek szyfrowania jest uszkodzony"));
    }

    // Exactly N plain bytes, counted into the checksum.
    QByteArray Get(qint64 N) {
        QByteArray out = Plain(N);
        m_sha.Add(out);
        return out;
    }
    // The stored checksum must match what was read, and nothing may follow it.
    void Finish() {
        const QByteArray sum = m_sha.Sum();
        const QByteArray stored = Plain(kHashSize);
        if (stored != sum)
            Fail(SqlErrors::ecBackupDamaged, QStringLiteral("suma kontrolna pliku się nie zgadza"));
        if (m_sealed ? (!m_final || !m_buffer.isEmpty() || !m_file.atEnd()) : !m_file.atEnd())
            Fail(m_sealed && !m_final ? SqlErrors::ecBackupTruncated : SqlErrors::ecBackupDamaged,
                 QStringLiteral("za sumą kontrolną są dodatkowe dane"));
    }
    qint64 Size() const { return m_file.size(); }

private:
    QByteArray Exact(qint64 N) {
        QByteArray b = m_file.read(N);
        if (b.size() != N)
            Fail(SqlErrors::ecBackupTruncated);
        return b;
    }
    QByteArray Plain(qint64 N) {
        if (!m_sealed)
            return Exact(N);
        while (m_buffer.size() < N) {
            if (m_final)
                Fail(SqlErrors::ecBackupDamaged, QStringLiteral("zaszyfrowana treść jest krótsza niż zapisano"));
            Open();
        }
        QByteArray out = m_buffer.left(N);
        m_buffer.remove(0, N);
        return out;
    }
    // Decrypts the next piece. A first piece that does not open means a wrong password
    // (or a damaged header, which cannot be told apart); a later one, a damaged file.
    void Open() {
        const quint64 len = FromLe(Exact(4));
        if (len < crypto_secretstream_xchacha20poly1305_ABYTES ||
            len > quint64(kPiece + crypto_secretstream_xchacha20poly1305_ABYTES))
            Fail(SqlErrors::ecBackupDamaged, QStringLiteral("nieprawidłowa długość zaszyfrowanego fragmentu"));
        const QByteArray c = Exact(qint64(len));
        QByteArray p(qsizetype(len), '\0');
        unsigned long long plen = 0;
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(&m_state, reinterpret_cast<unsigned char*>(p.data()), &plen,
                                                       &tag, reinterpret_cast<const unsigned char*>(c.constData()),
                                                       len, nullptr, 0) != 0)
            Fail(m_pieces == 0 ? SqlErrors::ecBackupWrongPassword : SqlErrors::ecBackupDamaged);
        ++m_pieces;
        m_buffer += p.left(qsizetype(plen));
        m_final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
    }

    QFile m_file;
    bool m_sealed = false;
    bool m_final = false;
    int m_pieces = 0;
    TSha256 m_sha;
    crypto_secretstream_xchacha20poly1305_state m_state{};
    QByteArray m_buffer;
};

} // namespace

QString FileSha256(const QString& Path, const TStep& Step) {
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można odczytać %1").arg(Path));
    TSha256 sha;
    const qint64 total = f.size();
    qint64 done = 0;
    while (!f.atEnd()) {
        const QByteArray b = f.read(kStepBytes);
        if (b.isEmpty())
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("odczyt %1 nie powiódł się").arg(Path));
        sha.Add(b);
        done += b.size();
        if (Step)
            Step(done, total);
    }
    return sha.Hex();
}

void Write(const QString& Path, const QString& DatabaseFile, const QByteArray& Manifest, const QString& Password,
           const TStep& Step) {
    QFile db(DatabaseFile);
    if (!db.open(QIODevice::ReadOnly))
        Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można odczytać kopii bazy %1").arg(DatabaseFile));
    TOut out(Path, Password);
    out.Put(Le(quint64(Manifest.size()), 4) + Manifest);
    const qint64 total = db.size();
    out.Put(Le(quint64(total), 8));
    qint64 done = 0;
    while (done < total) {
        const QByteArray b = db.read(std::min<qint64>(kStepBytes, total - done));
        if (b.isEmpty())
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("odczyt kopii bazy nie powiódł się"));
        out.Put(b);
        done += b.size();
        if (Step)
            Step(done, total);
    }
    out.Finish();
}

QByteArray Extract(const QString& Path, const QString& Password, const QString& DatabaseFile, QString& Sha256,
                   const TStep& Step) {
    TIn in(Path, Password);
    const quint64 manifestSize = FromLe(in.Get(4));
    if (manifestSize == 0 || manifestSize > kMaxManifest)
        Fail(SqlErrors::ecBackupDamaged, QStringLiteral("nieprawidłowa długość opisu kopii"));
    const QByteArray manifest = in.Get(qint64(manifestSize));
    const quint64 total = FromLe(in.Get(8));
    // A plain file cannot hold more than its own size, an encrypted one about as much: a
    // length beyond the file's end means the file was cut short.
    if (total > quint64(in.Size()))
        Fail(SqlErrors::ecBackupTruncated, QStringLiteral("plik kopii kończy się przed końcem bazy"));
    // A scratch file, read and checked right after: not forced onto the disk, and removed
    // should the reading fail.
    QFile db(DatabaseFile);
    if (!db.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Fail(SqlErrors::ecBackupFailed, QStringLiteral("nie można zapisać %1").arg(DatabaseFile));
    try {
        TSha256 sha;
        quint64 done = 0;
        while (done < total) {
            const QByteArray b = in.Get(qint64(std::min<quint64>(kStepBytes, total - done)));
            sha.Add(b);
            if (db.write(b) != b.size())
                Fail(SqlErrors::ecBackupFailed, QStringLiteral("zapis %1 nie powiódł się").arg(DatabaseFile));
            done += quint64(b.size());
            if (Step)
                Step(qint64(done), qint64(total));
        }
        in.Finish();
        Sha256 = sha.Hex();
        if (!db.flush())
            Fail(SqlErrors::ecBackupFailed, QStringLiteral("zapis %1 nie powiódł się").arg(DatabaseFile));
        db.close();
    } catch (...) {
        db.close();
        QFile::remove(DatabaseFile);
        throw;
    }
    return manifest;
}

bool IsEncrypted(const QString& Path) {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) && f.read(kMagicSize) == QByteArray(kSealedMagic, kMagicSize);
}

} // namespace SqlBackupFile
