#pragma once
// The default content of the NFZ registry: the sixteen voivodeship branches of
// the National Health Fund with their codes "01"-"16" in the official order of
// the voivodeship codes.

#include "uSqlConnection.h"

#include <QString>

#include <utility>
#include <vector>

namespace SqlNfzDefaults {

// Code and official name of each branch, in code order.
const std::vector<std::pair<QString, QString>>& Branches();

// Stores, in one write transaction, every branch whose code no stored NFZ record
// carries yet (so a second call adds nothing); returns how many were stored.
int Fill(const TSqlConnectionPtr& C);

} // namespace SqlNfzDefaults
