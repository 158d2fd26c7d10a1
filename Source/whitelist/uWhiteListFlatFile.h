#pragma once
// The finance ministry's daily flat file of the VAT white list: checking an account without the
// service (and its daily limit). The ministry publishes it 7z-compressed (read as it is, through
// libarchive, or already unpacked); the JSON inside:
//   {"naglowek": {"dataGenerowaniaDanych": "yyyyMMdd", "liczbaTransformacji": "5000",
//                 "schemat": "RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB"},
//    "skrotyPodatnikowCzynnych": ["<128 hex digits>", ...],     active taxpayers
//    "skrotyPodatnikowZwolnionych": ["<128 hex digits>", ...],  exempt taxpayers
//    "maski": ["XX10100055YYYXXXXXXXXXXXXX", ...]}             virtual accounts
// One hash: the text date (yyyyMMdd, the file's own) + NIP (10 digits) + account (26 digits) put
// through SHA-512 (libsodium) liczbaTransformacji times, every round over the lowercase hex text of the
// round before. So a file answers only for the day it was generated.
// A mask of virtual accounts: 26 characters; its digits must equal the account's, 'Y' marks the
// account holder's identifier (the account's digit is kept) and 'X' the free part (written as
// 'X'). The account so masked is hashed in place of the account itself.
//
// Import streams the JSON (a real file has over a gigabyte) into a compact sorted file:
//   header (64 bytes, little-endian): magic "EWWLFLAT", version, date yyyymmdd, rounds,
//     mask count, active count, exempt count, offset of the masks, total size;
//   entries of 16 bytes: the first 15 bytes of the digest and a status byte (1 active,
//     2 exempt), sorted; 15 bytes leave a chance of a false match of about n / 2^120;
//   masks of 26 bytes each.
// It is written under a temporary name and renamed only when complete: a bad, truncated or
// interrupted import leaves the file imported before as it was. A check maps the file and
// searches it in place (no loading).

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

namespace WhiteListFlatFile {

enum class TStatus {
    sActive,    // the pair is among the active taxpayers' hashes
    sExempt,    // among the exempt taxpayers' hashes
    sNotFound,  // in neither (directly nor through a mask)
    sOtherDate, // the file was generated for another day: it cannot answer
};

struct TAnswer {
    TStatus Status = TStatus::sNotFound;
    bool ByMask = false; // found as a virtual account through Mask
    QString Mask;
    QDate FileDate;
    QByteArray Hash; // the hex hash looked up (of the masked account when ByMask)
};

struct TSummary {
    QDate Date;
    quint32 Rounds = 0;
    quint64 Active = 0;
    quint64 Exempt = 0;
    quint32 Masks = 0;
    qint64 Bytes = 0; // size of the imported file
};

// Called while importing with the bytes read so far and in all; false stops the import.
using TProgress = std::function<bool(qint64 Done, qint64 Total)>;

inline constexpr int EntryBytes = 16;
inline constexpr int MaskBytes = 26;

// The imported file in the user's data folder: ~/.local/share/Ewidar/wykaz-vat/wykaz-vat.bin.
QString StorePath();

// The hash of the pair as the file holds it: 128 lowercase hex digits. Date yyyyMMdd, Nip ten
// digits, Account 26 digits (or a masked account).
QByteArray HashHex(const QString& Date, const QString& Nip, const QString& Account, int Rounds);
// The account as Mask masks it; empty when the account does not fit the mask.
QString MaskedAccount(const QString& Mask, const QString& Account);

// Imports the JSON file Source (or the 7z archive holding it) into Target. False with a Polish text in Error; Target is then
// untouched.
bool Import(const QString& Source, const QString& Target, TSummary& Summary, QString& Error,
            const TProgress& Progress = {});

} // namespace WhiteListFlatFile

// An imported flat file, memory-mapped.
class TWhiteListFlatStore {
public:
    // False with a Polish text when there is no usable imported file at Path.
    bool Open(const QString& Path, QString& Error);
    bool IsOpen() const { return FMap != nullptr; }
    const WhiteListFlatFile::TSummary& Summary() const { return FSummary; }

    // Nip and Account as the user wrote them (checked by the caller: ten and 26 digits).
    WhiteListFlatFile::TAnswer Check(const QString& Nip, const QString& Account, const QDate& Date) const;
    // The status of one hash (128 hex digits): sActive, sExempt or sNotFound.
    WhiteListFlatFile::TStatus Find(const QByteArray& HashHex) const;

private:
    QFile FFile;
    const uchar* FMap = nullptr;
    WhiteListFlatFile::TSummary FSummary;
    qint64 FEntries = 0;
    qint64 FMasksAt = 0;
};
