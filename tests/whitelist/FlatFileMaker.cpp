#include "FlatFileMaker.h"

#include <QCryptographicHash>
#include <QFile>

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
