#include "uRegistryPolicy.h"

#include "uRegistryKey.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace Registry {

namespace {

const QString UseHKLM = QStringLiteral("UseHKLM");
constexpr int RedirectNumber = 12;
// Guards the recursion against absurdly deep "/default" chains.
constexpr int MaxDepth = 64;

struct TPolicyTable {
    QMutex Lock;
    QHash<QString, int> Numbers;
};

TPolicyTable& Table() {
    static TPolicyTable table;
    return table;
}

void Remember(const QString& KeyPath, const QString& Name, int Number) {
    TPolicyTable& t = Table();
    const QMutexLocker lock(&t.Lock);
    t.Numbers.insert(KeyPath, Number);
    t.Numbers.insert(KeyPath + QLatin1Char('_') + Name, Number);
}

std::optional<int> IntegerText(const QString& Text) {
    bool ok = false;
    const int n = Text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

std::optional<int> IntegerValue(const TRegistryKey& Key, const QString& Name) {
    return IntegerText(DataToText(Key.Value(Name)));
}

TPolicyMode ModeOf(const QString& KeyPath, const QString& Name, int Depth) {
    if (KeyPath.isEmpty() || Depth > MaxDepth)
        return TPolicyMode::pmUser;
    if (const auto known = RememberedPolicyNumber(KeyPath + QLatin1Char('_') + Name))
        return PolicyModeOfNumber(*known);

    std::optional<int> number;
    const TRegistryKey machine(TRegistryScope::rsLocalMachine, KeyPath);
    if (machine.Exists()) {
        const QString perValue = Name + QLatin1Char('/') + UseHKLM;
        if (!Name.isEmpty() && machine.HasValue(perValue))
            number = IntegerValue(machine, perValue);
        else if (machine.HasValue(UseHKLM))
            number = IntegerValue(machine, UseHKLM);
    } else {
        const TRegistryKey policyKey(TRegistryScope::rsLocalMachine, KeyPath + QLatin1Char('/') + UseHKLM);
        if (policyKey.Exists()) {
            if (const auto text = policyKey.DefaultValue())
                number = IntegerText(*text);
            if (number == RedirectNumber) {
                // The key's values come from "K/default"; this redirect itself is not remembered.
                const TPolicyMode mode = ModeOf(DefaultKeyPath(KeyPath), Name, Depth + 1);
                if (mode == TPolicyMode::pmUserThenMachine)
                    return TPolicyMode::pmUserThenMachineDefault;
                if (mode == TPolicyMode::pmMachine)
                    return TPolicyMode::pmMachineOrDefault;
                return mode;
            }
        }
    }

    if (!number) {
        const qsizetype cut = KeyPath.lastIndexOf(QLatin1Char('\\'));
        return cut < 0 ? TPolicyMode::pmUser : ModeOf(KeyPath.left(cut), QString(), Depth + 1);
    }
    Remember(KeyPath, Name, *number);
    return PolicyModeOfNumber(*number);
}

} // namespace

TPolicyMode PolicyMode(const QString& KeyPath, const QString& Name) {
    return ModeOf(PolicyKeyPath(KeyPath), Name, 0);
}

TPolicyMode PolicyModeOfNumber(int Number) {
    switch (Number) {
    case 0:
        return TPolicyMode::pmUserOnly;
    case 1:
        return TPolicyMode::pmUserThenMachine;
    case 2:
        return TPolicyMode::pmMachine;
    case RedirectNumber:
        return TPolicyMode::pmMachineOrDefault;
    default:
        return TPolicyMode::pmUser;
    }
}

std::optional<int> RememberedPolicyNumber(const QString& TableName) {
    TPolicyTable& t = Table();
    const QMutexLocker lock(&t.Lock);
    const auto it = t.Numbers.constFind(TableName);
    return it == t.Numbers.constEnd() ? std::nullopt : std::optional<int>(it.value());
}

void ClearPolicyTable() {
    TPolicyTable& t = Table();
    const QMutexLocker lock(&t.Lock);
    t.Numbers.clear();
}

QString PolicyKeyPath(const QString& KeyPath) {
    return KeyPath.startsWith(QLatin1Char('\\')) ? KeyPath.mid(1) : KeyPath;
}

QString DefaultKeyPath(const QString& KeyPath) {
    return KeyPath + QStringLiteral("/default");
}

} // namespace Registry
