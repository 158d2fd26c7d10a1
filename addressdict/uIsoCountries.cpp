#include "uIsoCountries.h"

#include <QCollator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

QString IsoCountriesJsonPath() {
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("iso-codes/json/iso_3166-1.json"));
}

QString IsoCountriesCatalogPath() {
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("locale/pl/LC_MESSAGES/iso_3166-1.mo"));
}

namespace {

// The files are tens of kilobytes; anything this large is not theirs and is not read.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

// The file's bytes; none when it cannot be opened or exceeds the limit.
std::optional<QByteArray> ReadLimited(const QString& Path) {
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return std::nullopt;
    QByteArray data = file.read(kMaxFileBytes + 1);
    if (data.size() > kMaxFileBytes)
        return std::nullopt;
    return data;
}

} // namespace

QHash<QString, QString> ReadMoCatalog(const QString& Path) {
    QHash<QString, QString> result;
    const std::optional<QByteArray> read = ReadLimited(Path);
    if (!read)
        return result;
    const QByteArray& data = *read;
    const auto size = quint64(data.size());
    if (size < 20)
        return result;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const quint32 magic = qFromLittleEndian<quint32>(bytes);
    const bool little = magic == 0x950412de;
    if (!little && qFromBigEndian<quint32>(bytes) != 0x950412de)
        return result;
    auto word = [&](quint64 offset) -> quint64 {
        if (offset + 4 > size)
            return size + 1; // out of range: rejected by the caller's bounds checks
        return little ? qFromLittleEndian<quint32>(bytes + offset) : qFromBigEndian<quint32>(bytes + offset);
    };
    // A string of the table at Table, entry Index: its length and offset, bounds-checked;
    // of a plural entry ("one\0many") only the first form.
    auto text = [&](quint64 table, quint64 index, bool& ok) -> QString {
        const quint64 length = word(table + index * 8), offset = word(table + index * 8 + 4);
        ok = length <= size && offset <= size && offset + length <= size;
        if (!ok)
            return QString();
        const QByteArray s = QByteArray::fromRawData(data.constData() + offset, qsizetype(length));
        return QString::fromUtf8(s.left(s.indexOf('\0') < 0 ? s.size() : s.indexOf('\0')));
    };
    const quint64 count = word(8), originals = word(12), translations = word(16);
    if (count > size / 8)
        return result;
    // The strings of a catalogue lie one after another: together they cannot be longer than
    // the file. Entries that name the same bytes over and over would make reading it
    // quadratic; such a file is refused.
    quint64 total = 0;
    for (quint64 i = 0; i < count; ++i) {
        total += word(originals + i * 8) + word(translations + i * 8);
        if (total > size)
            return result;
    }
    for (quint64 i = 0; i < count; ++i) {
        bool okFrom = false, okTo = false;
        const QString from = text(originals, i, okFrom);
        const QString to = text(translations, i, okTo);
        if (!okFrom || !okTo)
            return {};
        if (!from.isEmpty() && !to.isEmpty())
            result.insert(from, to);
    }
    return result;
}

bool ReadIsoCountries(const QString& JsonPath, const QString& CatalogPath, TKwadrelTable& Countries) {
    Countries = TKwadrelTable(2);
    const std::optional<QByteArray> json = ReadLimited(JsonPath);
    if (!json)
        return false;
    const QJsonArray list = QJsonDocument::fromJson(*json).object().value(QStringLiteral("3166-1")).toArray();
    const QHash<QString, QString> polish = ReadMoCatalog(CatalogPath);
    const QCollator collator(QLocale(QLocale::Polish, QLocale::Poland));
    struct TCountry {
        QString Code, Name;
    };
    std::vector<TCountry> countries;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        const QString code = o.value(QStringLiteral("alpha_2")).toString();
        const QString name = o.value(QStringLiteral("name")).toString();
        // The common name where there is one with a translation: "Korea Południowa"
        // rather than "Republika Korei", "Boliwia" rather than the official form.
        const QString common = o.value(QStringLiteral("common_name")).toString();
        if (code.isEmpty() || name.isEmpty())
            continue;
        countries.push_back(
            {code, polish.contains(common) ? polish.value(common) : polish.value(name, name)});
    }
    std::sort(countries.begin(), countries.end(),
              [&](const TCountry& a, const TCountry& b) { return collator.compare(a.Name, b.Name) < 0; });
    for (const TCountry& c : countries)
        Countries.AddRow({c.Code, c.Name});
    return !countries.empty();
}
