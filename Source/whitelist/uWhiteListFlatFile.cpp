#include "uWhiteListFlatFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>
#include <sodium.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace WhiteListFlatFile {

namespace {

constexpr char kMagic[8] = {'E', 'W', 'W', 'L', 'F', 'L', 'A', 'T'};
constexpr quint32 kVersion = 1;
constexpr int kHeaderBytes = 64;
constexpr int kKeyBytes = EntryBytes - 1; // digest bytes kept; the last byte is the status
constexpr int kBuckets = 256;             // import partitions the entries by their first byte
constexpr int kBucketBuffer = 1024;       // entries kept per partition before they are written
constexpr qint64 kChunk = 1 << 20;
constexpr uchar kActive = 1;
constexpr uchar kExempt = 2;

using TEntry = std::array<uchar, EntryBytes>;

void Put32(uchar* At, quint32 Value) {
    for (int i = 0; i < 4; ++i)
        At[i] = uchar(Value >> (8 * i));
}
void Put64(uchar* At, quint64 Value) {
    for (int i = 0; i < 8; ++i)
        At[i] = uchar(Value >> (8 * i));
}
quint32 Get32(const uchar* At) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | At[i];
    return v;
}
quint64 Get64(const uchar* At) {
    quint64 v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | At[i];
    return v;
}

int HexValue(char C) {
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

// The first kKeyBytes bytes of a hex hash into Key; false when Hex is no 128-digit hex text.
bool KeyOf(const QByteArray& Hex, uchar* Key) {
    if (Hex.size() != 128)
        return false;
    for (int i = 0; i < 128; ++i)
        if (HexValue(Hex[i]) < 0)
            return false;
    for (int i = 0; i < kKeyBytes; ++i)
        Key[i] = uchar(HexValue(Hex[2 * i]) << 4 | HexValue(Hex[2 * i + 1]));
    return true;
}

bool IsMask(const QByteArray& Text) {
    return Text.size() == MaskBytes &&
           std::all_of(Text.begin(), Text.end(), [](char c) { return (c >= '0' && c <= '9') || c == 'X' || c == 'Y'; });
}

QString Where(qint64 Offset) {
    return QStringLiteral(" (około bajtu %1)").arg(Offset);
}

// A pull reader of the JSON text: the structural characters, strings and plain scalars, read
// in chunks so that memory stays bounded whatever the file's size.
class TJsonReader {
public:
    enum TKind { kEnd, kPunct, kString, kScalar, kBad };

    // Consumed: how much of the file on disk is read (Total in all), for Progress.
    TJsonReader(QIODevice& In, const TProgress& Progress, std::function<qint64()> Consumed, qint64 Total)
        : FIn(In), FProgress(Progress), FConsumed(std::move(Consumed)), FTotal(Total) {}

    // The next token; its text in Text (strings unescaped, a punctuation mark as its one
    // character). kBad with Error set on a malformed text, kEnd at the end of the data.
    TKind Next(QByteArray& Text) {
        if (!SkipBlanks())
            return kEnd;
        const char c = FBuf[FPos];
        if (c == '{' || c == '}' || c == '[' || c == ']' || c == ':' || c == ',') {
            ++FPos;
            Text = QByteArray(1, c);
            return kPunct;
        }
        if (c == '"') {
            ++FPos;
            return ReadString(Text) ? kString : kBad;
        }
        Text.clear();
        while (true) {
            if (FPos == FBuf.size() && !Fill())
                break;
            const char s = FBuf[FPos];
            if (!((s >= '0' && s <= '9') || (s >= 'a' && s <= 'z') || s == '-' || s == '+' || s == '.' || s == 'E'))
                break;
            Text += s;
            ++FPos;
            if (Text.size() > 64)
                break;
        }
        if (Text.isEmpty()) {
            Error = QStringLiteral("Nieoczekiwany znak \"%1\"").arg(QChar(uchar(c))) + Where(Offset());
            return kBad;
        }
        return kScalar;
    }
    qint64 Offset() const { return FRead - FBuf.size() + FPos; }
    bool Cancelled() const { return FCancelled; }
    QString Error;

private:
    bool Fill() {
        if (FCancelled)
            return false;
        FBuf = FIn.read(kChunk);
        // A byte order mark some tools put before UTF-8 text is passed over.
        FPos = FRead == 0 && FBuf.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        FRead += FBuf.size();
        if (FProgress && !FProgress(FConsumed(), FTotal))
            FCancelled = true;
        return !FBuf.isEmpty() && !FCancelled;
    }
    bool SkipBlanks() {
        while (true) {
            if (FPos == FBuf.size() && !Fill())
                return false;
            const char c = FBuf[FPos];
            if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
                return true;
            ++FPos;
        }
    }
    bool ReadString(QByteArray& Text) {
        Text.clear();
        while (true) {
            if (FPos == FBuf.size() && !Fill())
                return Fail(QStringLiteral("Plik urywa się w środku tekstu"));
            const char* begin = FBuf.constData() + FPos;
            const char* end = FBuf.constData() + FBuf.size();
            const char* p = begin;
            while (p != end && *p != '"' && *p != '\\' && uchar(*p) >= 0x20)
                ++p;
            Text.append(begin, p - begin);
            FPos += int(p - begin);
            if (Text.size() > 4096)
                return Fail(QStringLiteral("Zbyt długi tekst"));
            if (p == end)
                continue;
            ++FPos;
            if (*p == '"')
                return true;
            if (*p != '\\')
                return Fail(QStringLiteral("Niedozwolony znak sterujący w tekście"));
            if (FPos == FBuf.size() && !Fill())
                return Fail(QStringLiteral("Plik urywa się w środku tekstu"));
            const char e = FBuf[FPos++];
            switch (e) {
            case '"': case '\\': case '/': Text += e; break;
            case 'n': Text += '\n'; break;
            case 't': Text += '\t'; break;
            case 'r': Text += '\r'; break;
            case 'b': Text += '\b'; break;
            case 'f': Text += '\f'; break;
            default:
                // \uXXXX and the like never occur in this file's hex digits, masks and dates.
                return Fail(QStringLiteral("Nieobsługiwany znak ucieczki \"\\%1\"").arg(QChar(uchar(e))));
            }
        }
    }
    bool Fail(const QString& Text) {
        if (Error.isEmpty())
            Error = Text + Where(Offset());
        return false;
    }

    QIODevice& FIn;
    const TProgress& FProgress;
    std::function<qint64()> FConsumed;
    qint64 FTotal;
    QByteArray FBuf;
    int FPos = 0;
    qint64 FRead = 0;
    bool FCancelled = false;
};

// The entries partitioned by their first byte into temporary files, so that each part can be
// sorted alone in little memory.
class TBuckets {
public:
    bool Open(const QString& Folder, QString& Error) {
        for (int i = 0; i < kBuckets; ++i) {
            FFiles[i] = std::make_unique<QFile>(QStringLiteral("%1/%2.part").arg(Folder).arg(i));
            if (!FFiles[i]->open(QIODevice::ReadWrite | QIODevice::Truncate)) {
                Error = QStringLiteral("Nie można utworzyć pliku tymczasowego: %1").arg(FFiles[i]->errorString());
                return false;
            }
            FPending[i].reserve(kBucketBuffer);
        }
        return true;
    }
    bool Add(const TEntry& Entry) {
        auto& pending = FPending[Entry[0]];
        pending.push_back(Entry);
        return pending.size() < size_t(kBucketBuffer) || Flush(Entry[0]);
    }
    bool Flush(int Bucket) {
        auto& pending = FPending[size_t(Bucket)];
        const qint64 bytes = qint64(pending.size()) * EntryBytes;
        const bool ok = FFiles[size_t(Bucket)]->write(reinterpret_cast<const char*>(pending.data()), bytes) == bytes;
        pending.clear();
        return ok;
    }
    // Each part sorted, in order, written to Out; Continue is asked before each part.
    bool WriteSorted(QIODevice& Out, QString& Error, const std::function<bool()>& Continue) {
        std::vector<TEntry> part;
        for (int i = 0; i < kBuckets; ++i) {
            if (!Continue())
                return false;
            QFile& f = *FFiles[size_t(i)];
            if (!Flush(i) || !f.seek(0)) {
                Error = QStringLiteral("Błąd zapisu pliku tymczasowego: %1").arg(f.errorString());
                return false;
            }
            part.resize(size_t(f.size() / EntryBytes));
            const qint64 bytes = qint64(part.size()) * EntryBytes;
            if (f.read(reinterpret_cast<char*>(part.data()), bytes) != bytes) {
                Error = QStringLiteral("Błąd odczytu pliku tymczasowego: %1").arg(f.errorString());
                return false;
            }
            std::sort(part.begin(), part.end());
            if (Out.write(reinterpret_cast<const char*>(part.data()), bytes) != bytes) {
                Error = QStringLiteral("Błąd zapisu: %1").arg(Out.errorString());
                return false;
            }
            f.resize(0);
        }
        return true;
    }

private:
    std::array<std::unique_ptr<QFile>, kBuckets> FFiles;
    std::array<std::vector<TEntry>, kBuckets> FPending;
};

// Reads the JSON into Buckets (hashes), Masks and the header values.
class TFlatParser {
public:
    TFlatParser(TJsonReader& Reader, TBuckets& Buckets) : FIn(Reader), FBuckets(Buckets) {}

    bool Run() {
        if (!Expect('{'))
            return false;
        QByteArray key;
        for (bool first = true;; first = false) {
            const TJsonReader::TKind k = FIn.Next(key);
            if (k == TJsonReader::kPunct && key == "}" && first)
                break;
            if (k != TJsonReader::kString)
                return Unexpected(k, QStringLiteral("nazwy pola"));
            if (!Expect(':'))
                return false;
            bool ok;
            if (key == "naglowek")
                ok = Header();
            else if (key == "skrotyPodatnikowCzynnych")
                ok = List(kActive, Active, SeenActive);
            else if (key == "skrotyPodatnikowZwolnionych")
                ok = List(kExempt, Exempt, SeenExempt);
            else if (key == "maski")
                ok = MaskList();
            else
                ok = Skip(0);
            if (!ok)
                return false;
            if (!EndOfMember('}', QStringLiteral("\",\" lub \"}\"")))
                return false;
            if (FClosed)
                break;
        }
        QByteArray rest;
        const TJsonReader::TKind k = FIn.Next(rest);
        if (k != TJsonReader::kEnd)
            return k == TJsonReader::kBad ? false : Fail(QStringLiteral("Dane po końcu dokumentu JSON"));
        return !FIn.Cancelled();
    }

    QByteArray Date;
    QByteArray Rounds;
    QByteArrayList Masks;
    quint64 Active = 0;
    quint64 Exempt = 0;
    bool SeenActive = false;
    bool SeenExempt = false;
    bool SeenHeader = false;
    QString Error;

private:
    bool Fail(const QString& Text) {
        if (Error.isEmpty())
            Error = FIn.Error.isEmpty() ? Text + Where(FIn.Offset()) : FIn.Error;
        return false;
    }
    bool Unexpected(TJsonReader::TKind Kind, const QString& Wanted) {
        if (Kind == TJsonReader::kEnd)
            return Fail(FIn.Cancelled() ? QString() : QStringLiteral("Plik urywa się przed końcem danych"));
        if (Kind == TJsonReader::kBad)
            return Fail(QString());
        return Fail(QStringLiteral("Oczekiwano %1").arg(Wanted));
    }
    bool Expect(char C) {
        QByteArray t;
        const TJsonReader::TKind k = FIn.Next(t);
        if (k == TJsonReader::kPunct && t.size() == 1 && t[0] == C)
            return true;
        return Unexpected(k, QStringLiteral("\"%1\"").arg(QLatin1Char(C)));
    }
    // After a member or an item: a comma (another follows) or the closing mark (FClosed).
    bool EndOfMember(char Close, const QString& Wanted) {
        QByteArray t;
        const TJsonReader::TKind k = FIn.Next(t);
        FClosed = k == TJsonReader::kPunct && t.size() == 1 && t[0] == Close;
        if (FClosed || (k == TJsonReader::kPunct && t == ","))
            return true;
        return Unexpected(k, Wanted);
    }
    bool Header() {
        SeenHeader = true;
        if (!Expect('{'))
            return false;
        QByteArray key, value;
        for (bool first = true;; first = false) {
            TJsonReader::TKind k = FIn.Next(key);
            if (k == TJsonReader::kPunct && key == "}" && first)
                return true;
            if (k != TJsonReader::kString)
                return Unexpected(k, QStringLiteral("nazwy pola nagłówka"));
            if (!Expect(':'))
                return false;
            k = FIn.Next(value);
            if (k == TJsonReader::kPunct && (value == "{" || value == "[")) {
                if (!Skip(1))
                    return false;
            } else if (k != TJsonReader::kString && k != TJsonReader::kScalar)
                return Unexpected(k, QStringLiteral("wartości pola nagłówka"));
            if (key == "dataGenerowaniaDanych")
                Date = value;
            else if (key == "liczbaTransformacji")
                Rounds = value;
            if (!EndOfMember('}', QStringLiteral("\",\" lub \"}\" w nagłówku")))
                return false;
            if (FClosed)
                return true;
        }
    }
    // An array of strings, each given to Take; false on anything else.
    template <typename F>
    bool Strings(const QString& What, F Take) {
        if (!Expect('['))
            return false;
        QByteArray item;
        for (bool first = true;; first = false) {
            const TJsonReader::TKind k = FIn.Next(item);
            if (k == TJsonReader::kPunct && item == "]" && first)
                return true;
            if (k != TJsonReader::kString)
                return Unexpected(k, What);
            if (!Take(item))
                return false;
            if (!EndOfMember(']', QStringLiteral("\",\" lub \"]\"")))
                return false;
            if (FClosed)
                return true;
        }
    }
    bool List(uchar Status, quint64& Count, bool& Seen) {
        Seen = true;
        return Strings(QStringLiteral("skrótu (128 cyfr szesnastkowych)"), [&](const QByteArray& Hex) {
            TEntry e;
            if (!KeyOf(Hex, e.data()))
                return Fail(QStringLiteral("Nieprawidłowy skrót \"%1\"").arg(QString::fromUtf8(Hex.left(140))));
            e[kKeyBytes] = Status;
            ++Count;
            return FBuckets.Add(e) || Fail(QStringLiteral("Błąd zapisu pliku tymczasowego"));
        });
    }
    bool MaskList() {
        return Strings(QStringLiteral("maski rachunku"), [&](const QByteArray& Mask) {
            if (!IsMask(Mask))
                return Fail(QStringLiteral("Nieprawidłowa maska rachunku \"%1\"").arg(QString::fromUtf8(Mask.left(40))));
            Masks.append(Mask);
            return true;
        });
    }
    // Skips a value; Depth 1 when its opening mark was read already.
    bool Skip(int Depth) {
        QByteArray t;
        do {
            const TJsonReader::TKind k = FIn.Next(t);
            if (k == TJsonReader::kEnd || k == TJsonReader::kBad)
                return Unexpected(k, QString());
            if (k == TJsonReader::kPunct && (t == "{" || t == "["))
                ++Depth;
            else if (k == TJsonReader::kPunct && (t == "}" || t == "]"))
                --Depth;
        } while (Depth > 0);
        return Depth == 0 || Fail(QStringLiteral("Niesparowany nawias"));
    }

    TJsonReader& FIn;
    TBuckets& FBuckets;
    bool FClosed = false;
};

// The first file of a 7z archive (the ministry's packing), unpacked while it is read.
class TArchiveEntry : public QIODevice {
public:
    ~TArchiveEntry() override {
        if (FArchive)
            archive_read_free(FArchive);
    }
    bool Open(const QString& Path, QString& Error) {
        FArchive = archive_read_new();
        archive_read_support_format_7zip(FArchive);
        archive_read_support_filter_all(FArchive);
        archive_entry* entry = nullptr;
        const QByteArray path = QFile::encodeName(Path);
        int r = archive_read_open_filename(FArchive, path.constData(), 1 << 16);
        // The first regular file is the JSON; folders are passed over.
        while (r == ARCHIVE_OK && (r = archive_read_next_header(FArchive, &entry)) == ARCHIVE_OK &&
               archive_entry_filetype(entry) != AE_IFREG)
            ;
        if (r != ARCHIVE_OK) {
            Error = r == ARCHIVE_EOF ? QStringLiteral("archiwum 7z nie zawiera żadnego pliku")
                                     : QStringLiteral("archiwum 7z jest uszkodzone (%1)").arg(ArchiveError());
            return false;
        }
        return QIODevice::open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 Consumed() const { return FArchive ? archive_filter_bytes(FArchive, -1) : 0; }
    QString ArchiveError() const {
        const char* said = FArchive ? archive_error_string(FArchive) : nullptr;
        return said ? QString::fromLocal8Bit(said) : QStringLiteral("nieznany błąd");
    }
    bool Failed() const { return FFailed; }

protected:
    qint64 readData(char* Data, qint64 MaxSize) override {
        const la_ssize_t n = archive_read_data(FArchive, Data, size_t(MaxSize));
        if (n < 0) {
            FFailed = true;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    struct archive* FArchive = nullptr;
    bool FFailed = false;
};

bool StartsWith7z(QFile& File) {
    static const QByteArray magic("7z\xBC\xAF\x27\x1C", 6);
    const QByteArray head = File.peek(6);
    return head == magic;
}

} // namespace

QString StorePath() {
    // The program's data folder, where the database and the dictionaries are too.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Ewidar/wykaz-vat/wykaz-vat.bin");
}

QByteArray HashHex(const QString& Date, const QString& Nip, const QString& Account, int Rounds) {
    // libsodium's SHA-512: the rounds are the whole cost of a check (5000 in the ministry's
    // files), and it is about a third quicker than QCryptographicHash here. No allocation in
    // the loop: the hex text is written in place.
    [[maybe_unused]] static const int sodium = sodium_init();
    QByteArray text = (Date + Nip + Account).toLatin1();
    if (Rounds < 1)
        return text;
    text.reserve(2 * crypto_hash_sha512_BYTES);
    unsigned char digest[crypto_hash_sha512_BYTES];
    static const char digits[] = "0123456789abcdef";
    for (int r = 0; r < Rounds; ++r) {
        crypto_hash_sha512(digest, reinterpret_cast<const unsigned char*>(text.constData()), quint64(text.size()));
        text.resize(2 * crypto_hash_sha512_BYTES);
        char* out = text.data();
        for (size_t i = 0; i < crypto_hash_sha512_BYTES; ++i) {
            out[2 * i] = digits[digest[i] >> 4];
            out[2 * i + 1] = digits[digest[i] & 15];
        }
    }
    return text;
}

QString MaskedAccount(const QString& Mask, const QString& Account) {
    if (Mask.size() != MaskBytes || Account.size() != MaskBytes)
        return {};
    QString masked(MaskBytes, u'X');
    for (int i = 0; i < MaskBytes; ++i) {
        const QChar m = Mask[i];
        if (m == u'Y')
            masked[i] = Account[i];
        else if (m != u'X' && m != Account[i])
            return {};
        else if (m != u'X')
            masked[i] = m;
    }
    return masked;
}

bool Import(const QString& Source, const QString& Target, TSummary& Summary, QString& Error,
            const TProgress& Progress) {
    Summary = TSummary();
    Error.clear();
    QFile in(Source);
    if (!in.open(QIODevice::ReadOnly)) {
        Error = QStringLiteral("Nie można otworzyć pliku %1: %2").arg(QDir::toNativeSeparators(Source), in.errorString());
        return false;
    }
    const QString prefix = QStringLiteral("Plik %1 nie jest poprawnym plikiem płaskim wykazu podatników VAT: ")
                               .arg(QDir::toNativeSeparators(Source));
    // The ministry's 7z archive is read as it is unpacked; an unpacked JSON file directly.
    TArchiveEntry archive;
    const bool packed = StartsWith7z(in);
    if (packed && !archive.Open(Source, Error)) {
        Error = prefix + Error + QLatin1Char('.');
        return false;
    }
    const QString folder = QFileInfo(Target).absolutePath();
    if (!QDir().mkpath(folder)) {
        Error = QStringLiteral("Nie można utworzyć folderu %1.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // The partitions stay beside the target: a temporary folder in memory may be too small.
    QTemporaryDir work(folder + QStringLiteral("/import-XXXXXX"));
    TBuckets buckets;
    if (!work.isValid() || !buckets.Open(work.path(), Error)) {
        if (Error.isEmpty())
            Error = QStringLiteral("Nie można utworzyć folderu tymczasowego w %1.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const qint64 fileSize = in.size();
    TJsonReader reader(packed ? static_cast<QIODevice&>(archive) : in, Progress,
                       [&] { return packed ? archive.Consumed() : in.pos(); }, fileSize);
    TFlatParser parser(reader, buckets);
    const bool parsed = parser.Run();
    if (reader.Cancelled()) {
        Error = QStringLiteral("Import przerwano; poprzednio zaimportowany plik pozostał bez zmian.");
        return false;
    }
    if (!parsed || archive.Failed()) {
        Error = prefix + (archive.Failed() ? QStringLiteral("archiwum 7z jest uszkodzone (%1)").arg(archive.ArchiveError())
                                           : parser.Error) +
                QLatin1Char('.');
        return false;
    }
    const QDate date = QDate::fromString(QString::fromLatin1(parser.Date), QStringLiteral("yyyyMMdd"));
    bool roundsOk = false;
    const int rounds = QString::fromLatin1(parser.Rounds).toInt(&roundsOk);
    if (!parser.SeenHeader || !parser.SeenActive)
        Error = prefix + QStringLiteral("brak nagłówka (\"naglowek\") lub listy skrótów podatników czynnych.");
    else if (!date.isValid() || parser.Date.size() != 8)
        Error = prefix + QStringLiteral("nieprawidłowa data generowania danych \"%1\".").arg(QString::fromUtf8(parser.Date));
    else if (!roundsOk || rounds < 1 || rounds > 1000000)
        Error = prefix + QStringLiteral("nieprawidłowa liczba transformacji \"%1\".").arg(QString::fromUtf8(parser.Rounds));
    if (!Error.isEmpty())
        return false;

    QSaveFile out(Target);
    if (!out.open(QIODevice::WriteOnly)) {
        Error = QStringLiteral("Nie można zapisać pliku %1: %2").arg(QDir::toNativeSeparators(Target), out.errorString());
        return false;
    }
    std::sort(parser.Masks.begin(), parser.Masks.end());
    parser.Masks.erase(std::unique(parser.Masks.begin(), parser.Masks.end()), parser.Masks.end());
    const quint64 entries = parser.Active + parser.Exempt;
    const quint64 masksAt = kHeaderBytes + entries * EntryBytes;
    const quint64 total = masksAt + quint64(parser.Masks.size()) * MaskBytes;
    uchar header[kHeaderBytes] = {};
    std::memcpy(header, kMagic, sizeof kMagic);
    Put32(header + 8, kVersion);
    Put32(header + 12, quint32(date.year() * 10000 + date.month() * 100 + date.day()));
    Put32(header + 16, quint32(rounds));
    Put32(header + 20, quint32(parser.Masks.size()));
    Put64(header + 24, parser.Active);
    Put64(header + 32, parser.Exempt);
    Put64(header + 40, masksAt);
    Put64(header + 48, total);
    // Sorting is the import's last part: the whole file counts as read, and "stop" still stops.
    bool stopped = false;
    const auto carryOn = [&] {
        stopped = stopped || (Progress && !Progress(fileSize, fileSize));
        return !stopped;
    };
    bool ok = out.write(reinterpret_cast<const char*>(header), kHeaderBytes) == kHeaderBytes &&
              buckets.WriteSorted(out, Error, carryOn);
    for (const QByteArray& m : parser.Masks)
        ok = ok && out.write(m) == MaskBytes;
    if (!ok || !out.commit()) {
        out.cancelWriting();
        if (stopped)
            Error = QStringLiteral("Import przerwano; poprzednio zaimportowany plik pozostał bez zmian.");
        else if (Error.isEmpty())
            Error = QStringLiteral("Nie można zapisać pliku %1: %2").arg(QDir::toNativeSeparators(Target), out.errorString());
        return false;
    }
    Summary.Date = date;
    Summary.Rounds = quint32(rounds);
    Summary.Active = parser.Active;
    Summary.Exempt = parser.Exempt;
    Summary.Masks = quint32(parser.Masks.size());
    Summary.Bytes = qint64(total);
    return true;
}

} // namespace WhiteListFlatFile

using namespace WhiteListFlatFile;

bool TWhiteListFlatStore::Open(const QString& Path, QString& Error) {
    if (FMap) {
        FFile.unmap(const_cast<uchar*>(FMap));
        FMap = nullptr;
    }
    FFile.close();
    FFile.setFileName(Path);
    if (!FFile.exists()) {
        Error = QStringLiteral("Nie zaimportowano pliku płaskiego wykazu podatników VAT "
                               "(Słowniki → Importuj plik płaski wykazu VAT…).");
        return false;
    }
    const QString bad = QStringLiteral("Zaimportowany plik płaski %1 jest uszkodzony; zaimportuj go ponownie.")
                            .arg(QDir::toNativeSeparators(Path));
    if (!FFile.open(QIODevice::ReadOnly) || FFile.size() < kHeaderBytes) {
        Error = bad;
        return false;
    }
    const uchar* map = FFile.map(0, FFile.size());
    if (!map) {
        Error = bad;
        return false;
    }
    const quint32 date = Get32(map + 12);
    const quint64 active = Get64(map + 24), exempt = Get64(map + 32), masksAt = Get64(map + 40);
    const quint32 masks = Get32(map + 20);
    const bool sane = std::memcmp(map, kMagic, sizeof kMagic) == 0 && Get32(map + 8) == kVersion &&
                      active + exempt < (quint64(1) << 40) &&
                      masksAt == kHeaderBytes + (active + exempt) * EntryBytes &&
                      Get64(map + 48) == masksAt + quint64(masks) * MaskBytes &&
                      Get64(map + 48) == quint64(FFile.size());
    if (!sane) {
        FFile.unmap(const_cast<uchar*>(map));
        FFile.close();
        Error = bad;
        return false;
    }
    FMap = map;
    FSummary = TSummary();
    FSummary.Date = QDate(int(date / 10000), int(date / 100 % 100), int(date % 100));
    FSummary.Rounds = Get32(map + 16);
    FSummary.Active = active;
    FSummary.Exempt = exempt;
    FSummary.Masks = masks;
    FSummary.Bytes = FFile.size();
    FEntries = qint64(active + exempt);
    FMasksAt = qint64(masksAt);
    return true;
}

TStatus TWhiteListFlatStore::Find(const QByteArray& Hex) const {
    uchar key[kKeyBytes];
    if (!FMap || !KeyOf(Hex, key))
        return TStatus::sNotFound;
    const uchar* base = FMap + kHeaderBytes;
    qint64 lo = 0, hi = FEntries;
    while (lo < hi) {
        const qint64 mid = lo + (hi - lo) / 2;
        const int c = std::memcmp(base + mid * EntryBytes, key, kKeyBytes);
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < FEntries && std::memcmp(base + lo * EntryBytes, key, kKeyBytes) == 0)
        return base[lo * EntryBytes + kKeyBytes] == kExempt ? TStatus::sExempt : TStatus::sActive;
    return TStatus::sNotFound;
}

TAnswer TWhiteListFlatStore::Check(const QString& Nip, const QString& Account, const QDate& Date) const {
    TAnswer a;
    a.FileDate = FSummary.Date;
    if (!FMap || Date != FSummary.Date) {
        a.Status = TStatus::sOtherDate;
        return a;
    }
    const QString day = Date.toString(QStringLiteral("yyyyMMdd"));
    a.Hash = HashHex(day, Nip, Account, int(FSummary.Rounds));
    a.Status = Find(a.Hash);
    if (a.Status != TStatus::sNotFound)
        return a;
    const char* masks = reinterpret_cast<const char*>(FMap + FMasksAt);
    for (quint32 i = 0; i < FSummary.Masks; ++i) {
        const QString mask = QString::fromLatin1(masks + qint64(i) * MaskBytes, MaskBytes);
        const QString masked = MaskedAccount(mask, Account);
        if (masked.isEmpty())
            continue;
        const QByteArray hash = HashHex(day, Nip, masked, int(FSummary.Rounds));
        const TStatus s = Find(hash);
        if (s != TStatus::sNotFound) {
            a.Status = s;
            a.ByMask = true;
            a.Mask = mask;
            a.Hash = hash;
            return a;
        }
    }
    return a;
}
