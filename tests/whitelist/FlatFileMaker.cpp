#include "FlatFileMaker.h"

#include <QCryptographicHash>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <stdexcept>

QByteArray TFlatFileMaker::Hash(const QString& Date, const QString& Nip, const QString& Account, int Rounds) {
    QByteArray text = (Date + Nip + Account).toUtf8();
    for (int i = 0; i < Rounds; ++i)
        text = QCryptographicHash::hash(text, QCryptographicHash::Sha512).toHex();
    return text;
}

QByteArray TFlatFileMaker::Json() const {
    auto list = [](const QByteArrayList& Items) {
        return Items.isEmpty() ? QByteArray("[]") : "[\n    \"" + Items.join("\",\n    \"") + "\"\n  ]";
    };
    QByteArrayList active, exempt, masks;
    for (const auto& [nip, account] : Active)
        active << Hash(Date, nip, account, Rounds);
    for (int i = 0; i < Filler; ++i)
        active << QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha512).toHex();
    for (const auto& [nip, account] : Exempt)
        exempt << Hash(Date, nip, account, Rounds);
    for (const QString& m : Masks)
        masks << m.toLatin1();
    std::sort(active.begin(), active.end());
    std::sort(exempt.begin(), exempt.end());
    return "{\n  \"naglowek\": {\n    \"dataGenerowaniaDanych\": \"" + Date.toLatin1() +
           "\",\n    \"liczbaTransformacji\": \"" + QByteArray::number(Rounds) +
           "\",\n    \"schemat\": \"RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB\"\n  },\n  \"skrotyPodatnikowCzynnych\": " +
           list(active) + ",\n  \"skrotyPodatnikowZwolnionych\": " + list(exempt) + ",\n  \"maski\": " + list(masks) +
           "\n}\n";
}

void TFlatFileMaker::Write(const QString& Path, const QByteArray& Text) {
    QFile f(Path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Text) != Text.size())
        throw std::runtime_error("cannot write the flat file");
}

void TFlatFileMaker::Write7z(const QString& Path, const QString& Name, const QByteArray& Text) {
    archive* a = archive_write_new();
    archive_write_set_format_7zip(a);
    bool ok = archive_write_open_filename(a, QFile::encodeName(Path).constData()) == ARCHIVE_OK;
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, Name.toUtf8().constData());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_size(e, Text.size());
    ok = ok && archive_write_header(a, e) == ARCHIVE_OK &&
         archive_write_data(a, Text.constData(), size_t(Text.size())) == la_ssize_t(Text.size());
    archive_entry_free(e);
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    if (!ok)
        throw std::runtime_error("cannot write the 7z archive");
}
