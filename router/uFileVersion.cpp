#include "uFileVersion.h"

#include "uBackendLibrary.h"
#include "uEwidarQuorDBIntf.h"
#include "uStrings.h"

#include <QStringList>

namespace FileVersion {

namespace {

constexpr int MaxParts = 4;
constexpr uint32_t MaxPartValue = 0xFFFF;

std::optional<uint32_t> parsePart(const QString& Part) {
    if (Part.isEmpty() || Part.size() > 5)
        return std::nullopt;
    uint32_t value = 0;
    for (const QChar c : Part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c.unicode() - u'0');
    }
    if (value > MaxPartValue)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<uint64_t> Parse(const QString& Text) {
    QString text = Text;
    if (text.startsWith(QLatin1String("V_")))
        text.remove(0, 2);
    if (text.isEmpty())
        return std::nullopt;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > MaxParts)
        return std::nullopt;
    uint64_t value = 0;
    for (int i = 0; i < MaxParts; ++i) {
        uint32_t part = 0;
        if (i < parts.size()) {
            const std::optional<uint32_t> parsed = parsePart(parts[i]);
            if (!parsed)
                return std::nullopt;
            part = *parsed;
        }
        value = (value << 16) | part;
    }
    return value;
}

int Compare(const QString& A, const QString& B) {
    const std::optional<uint64_t> a = Parse(A);
    const std::optional<uint64_t> b = Parse(B);
    if (!a || !b)
        return -2;
    // Unsigned, so that a first number of 32768 or more still counts as higher.
    if (*a < *b)
        return -1;
    return *a == *b ? 0 : 1;
}

QString Read(const QString& Path) {
    TBackendLibrary lib(Path);
    if (!lib.IsLoaded())
        return QString();
    auto getVersion = reinterpret_cast<TGetFileVersion>(lib.Resolve("GetFileVersion"));
    if (!getVersion)
        return QString();
    std::u16string version;
    try {
        getVersion(version);
    } catch (...) {
        return QString();
    }
    return toQ(version);
}

} // namespace FileVersion
