#include "uRegistry.h"

#include "uRegistryKey.h"
#include "uRegistryPolicy.h"
#include "uRegistryReport.h"

#include <QVariant>

#include <algorithm>
#include <optional>

namespace Registry {

namespace {

using TAccept = bool (*)(const QVariant&);

bool AnyData(const QVariant&) {
    return true;
}

std::optional<int32_t> IntegerData(const QVariant& Data) {
    bool ok = false;
    const int32_t n = DataToText(Data).trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(n) : std::nullopt;
}

bool IsIntegerData(const QVariant& Data) {
    return IntegerData(Data).has_value();
}

bool MachineWins(TPolicyMode Mode) {
    return Mode == TPolicyMode::pmMachine || Mode == TPolicyMode::pmMachineOrDefault;
}

// The machine-wide keys that supply the value in a mode, in order of precedence.
QStringList MachineSources(TPolicyMode Mode, const QString& KeyPath) {
    const QString key = PolicyKeyPath(KeyPath);
    switch (Mode) {
    case TPolicyMode::pmUserThenMachine:
    case TPolicyMode::pmMachine:
        return {key};
    case TPolicyMode::pmUserThenMachineDefault:
        return {key, DefaultKeyPath(key)};
    case TPolicyMode::pmMachineOrDefault:
        return {TRegistryKey(TRegistryScope::rsLocalMachine, key).Exists() ? key : DefaultKeyPath(key)};
    default:
        return {};
    }
}

QString FailedToGet(const QString& Name) {
    return QStringLiteral("Failed to get data for '%1'").arg(Name);
}
QString FailedToSet(const QString& Name) {
    return QStringLiteral("Failed to set data for '%1'").arg(Name);
}

// The data that a read of the value returns, or nothing when the value does not exist.
// Candidates are taken in the mode's order; the first one that Accept takes wins, else the
// first one found (a user's non-integer text is passed over for the machine-wide value).
std::optional<QVariant> Lookup(const QString& KeyPath, const QString& Name, TAccept Accept) {
    const TPolicyMode mode = PolicyMode(KeyPath, Name);
    const QStringList sources = MachineSources(mode, KeyPath);
    if (MachineWins(mode)) {
        const TRegistryKey machine(TRegistryScope::rsLocalMachine, sources.first());
        return machine.HasValue(Name) ? std::optional<QVariant>(machine.Value(Name)) : std::nullopt;
    }
    std::optional<QVariant> first;
    const TRegistryKey user(TRegistryScope::rsCurrentUser, KeyPath);
    if (user.Readable() && user.HasValue(Name)) {
        first = user.Value(Name);
        if (Accept(*first))
            return first;
    }
    for (const QString& source : sources) {
        const TRegistryKey machine(TRegistryScope::rsLocalMachine, source);
        if (!machine.HasValue(Name))
            continue;
        const QVariant data = machine.Value(Name);
        if (Accept(data))
            return data;
        if (!first)
            first = data;
    }
    if (!first && !user.Readable())
        throw ERegistryException(FailedToGet(Name));
    return first;
}

bool IsNumber(const QVariant& Data) {
    switch (Data.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// Same type and same bytes. Stored text is compared as text: INI files keep no types, so a
// number read back from one is text equal to its decimal form.
bool SameData(const QVariant& Stored, const QVariant& Data) {
    if (IsNumber(Stored))
        return IsNumber(Data) && Stored.toLongLong() == Data.toLongLong();
    return DataToText(Stored) == DataToText(Data);
}

bool IsZeroData(const QVariant& Data) {
    if (IsNumber(Data))
        return Data.toLongLong() == 0;
    const QString text = DataToText(Data);
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() == 0; });
}

void Write(const QString& KeyPath, const QString& Name, const QVariant& Data) {
    const TPolicyMode mode = PolicyMode(KeyPath, Name);
    TRegistryKey user(TRegistryScope::rsCurrentUser, KeyPath);
    if (!MachineWins(mode)) {
        if (!user.Write(Name, Data))
            throw ERegistryException(FailedToSet(Name));
        return;
    }
    // The user's copy only matters when it differs from what the machine-wide branch gives.
    const TRegistryKey machine(TRegistryScope::rsLocalMachine, MachineSources(mode, KeyPath).first());
    if (machine.Exists()) {
        if (machine.HasValue(Name) && SameData(machine.Value(Name), Data))
            return;
    } else if (IsZeroData(Data)) {
        return;
    }
    if (!user.Write(Name, Data))
        AddReportMessage(
            QStringLiteral("Wystąpił błąd zapisu w kluczu \"%1\" wartości \"%2\". Prawdopodobnie "
                           "użytkownik nie ma uprawnień do zapisywania danych w tej lokalizacji "
                           "rejestru %3.")
                .arg(PolicyKeyPath(KeyPath), Name, CurrentUserRootName()));
}

} // namespace

ERegistryException::ERegistryException(const QString& Message)
    : std::runtime_error(Message.toStdString()), m_message(Message) {}

QString ReadString(const QString& KeyPath, const QString& Name, const QString& Default) {
    if (const auto data = Lookup(KeyPath, Name, AnyData))
        return DataToText(*data);
    Write(KeyPath, Name, Default);
    return Default;
}

int32_t ReadInteger(const QString& KeyPath, const QString& Name, int32_t Default) {
    if (const auto data = Lookup(KeyPath, Name, IsIntegerData))
        return IntegerData(*data).value_or(Default);
    Write(KeyPath, Name, Default);
    return Default;
}

void WriteString(const QString& KeyPath, const QString& Name, const QString& Value) {
    Write(KeyPath, Name, Value);
}

void WriteInteger(const QString& KeyPath, const QString& Name, int32_t Value) {
    Write(KeyPath, Name, Value);
}

bool ValueExists(const QString& KeyPath, const QString& Name) {
    return Lookup(KeyPath, Name, AnyData).has_value();
}

QStringList ReadValues(const QString& KeyPath) {
    const TPolicyMode mode = PolicyMode(KeyPath, QString());
    const QStringList sources = MachineSources(mode, KeyPath);
    QStringList names;
    if (!MachineWins(mode)) {
        const TRegistryKey user(TRegistryScope::rsCurrentUser, KeyPath);
        if (!user.Readable() && sources.isEmpty())
            throw ERegistryException(FailedToGet(KeyPath));
        names = user.ValueNames();
    }
    for (const QString& source : sources) {
        for (const QString& name : TRegistryKey(TRegistryScope::rsLocalMachine, source).ValueNames())
            if (name.compare(QLatin1String("UseHKLM"), Qt::CaseInsensitive) != 0)
                names << name;
    }
    names.removeDuplicates();
    names.sort();
    QStringList values;
    for (const QString& name : std::as_const(names))
        if (const auto data = Lookup(KeyPath, name, AnyData))
            values << DataToText(*data);
    return values;
}

QString CurrentUserRootName() {
    return QStringLiteral("HKEY_CURRENT_USER");
}

} // namespace Registry
