#pragma once
// The machine-wide policy: for a key path and a value name of the current user's branch,
// how the machine-wide branch takes part in reading, testing and writing that value.
//
// The policy number comes from the machine-wide branch: the value "V/UseHKLM" or "UseHKLM" of
// an existing key K; for a missing K, the default value of the key "K/UseHKLM" (12 there
// redirects to the key "K/default"); with no number the parent key decides. Numbers once
// found are remembered for the whole process.

#include <QString>

#include <optional>

namespace Registry {

enum class TPolicyMode : int {
    pmUser = 0,                   // only the user's value counts (no policy)
    pmUserOnly = 1,               // the same, chosen by policy number 0
    pmUserThenMachine = 2,        // the user's value, else the machine-wide one from K
    pmMachine = 3,                // the machine-wide value from K always wins
    pmUserThenMachineDefault = 4, // as 2, with "K/default" as a further source
    pmMachineOrDefault = 5,       // as 3, from "K/default" when K is missing
};

// The mode for the value Name of the key KeyPath (Name may be empty: the key's own mode).
TPolicyMode PolicyMode(const QString& KeyPath, const QString& Name);
// Policy number to mode: 0 -> 1, 1 -> 2, 2 -> 3, 12 -> 5, anything else -> 0.
TPolicyMode PolicyModeOfNumber(int Number);
// The number remembered under a table name (K, or K + "_" + V), if any.
std::optional<int> RememberedPolicyNumber(const QString& TableName);
// Forgets every remembered number (tests, or after the machine-wide branch changed).
void ClearPolicyTable();

// KeyPath with one leading backslash removed, as the policy names keys.
QString PolicyKeyPath(const QString& KeyPath);
// The machine-wide key that supplies defaults for KeyPath: KeyPath + "/default".
QString DefaultKeyPath(const QString& KeyPath);

} // namespace Registry
