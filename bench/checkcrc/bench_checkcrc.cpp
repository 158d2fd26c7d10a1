// One benchmark per check on a typical, valid input (the common case while typing
// ends in a valid number), plus the account check on a foreign IBAN.
// Run: bench_checkcrc --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "CheckCRC.h"

#include <benchmark/benchmark.h>

using namespace CheckCRC;

namespace {

template <typename F> void Run(benchmark::State& state, const QString& input, F check) {
    for (auto _ : state) {
        auto result = check(input);
        benchmark::DoNotOptimize(result);
    }
}

void BM_IsValidPESEL(benchmark::State& s) {
    Run(s, QStringLiteral("90010112349"), IsValidPESEL);
}
void BM_PeselBirthDate(benchmark::State& s) {
    Run(s, QStringLiteral("90010112349"), PeselBirthDate);
}
void BM_PeselMatchesBirthDate(benchmark::State& s) {
    const QDate date(1990, 1, 1);
    Run(s, QStringLiteral("90010112349"),
        [&date](const QString& t) { return PeselMatchesBirthDate(t, date); });
}
void BM_PeselSex(benchmark::State& s) {
    Run(s, QStringLiteral("90010112349"), PeselSex);
}
void BM_IsValidNIP(benchmark::State& s) {
    Run(s, QStringLiteral("1234563218"), IsValidNIP);
}
void BM_IsValidNIPDashed(benchmark::State& s) {
    Run(s, QStringLiteral("123-456-32-18"), IsValidNIP);
}
void BM_IsValidREGON(benchmark::State& s) {
    Run(s, QStringLiteral("123456785"), IsValidREGON);
}
void BM_IsValidREGON14(benchmark::State& s) {
    Run(s, QStringLiteral("123456785-12347"), IsValidREGON);
}
void BM_IsValidAccountNumberNRB(benchmark::State& s) {
    Run(s, QStringLiteral("96 1234 5678 0000 0000 0000 0001"), IsValidAccountNumber);
}
void BM_IsValidAccountNumberIBAN(benchmark::State& s) {
    Run(s, QStringLiteral("DE89370400440532013000"), IsValidAccountNumber);
}
void BM_IsValidPostalCode(benchmark::State& s) {
    Run(s, QStringLiteral("00-950"), IsValidPostalCode);
}
void BM_IsValidEmail(benchmark::State& s) {
    Run(s, QStringLiteral("jan.kowalski@firma.pl"), IsValidEmail);
}
void BM_BuildTaxOfficeAccount(benchmark::State& s) {
    Run(s, QStringLiteral("10101010230000261"),
        [](const QString& middle) { return BuildTaxOfficeAccount(middle, QStringLiteral("CIT")); });
}

} // namespace

BENCHMARK(BM_IsValidPESEL);
BENCHMARK(BM_PeselBirthDate);
BENCHMARK(BM_PeselMatchesBirthDate);
BENCHMARK(BM_PeselSex);
BENCHMARK(BM_IsValidNIP);
BENCHMARK(BM_IsValidNIPDashed);
BENCHMARK(BM_IsValidREGON);
BENCHMARK(BM_IsValidREGON14);
BENCHMARK(BM_IsValidAccountNumberNRB);
BENCHMARK(BM_IsValidAccountNumberIBAN);
BENCHMARK(BM_IsValidPostalCode);
BENCHMARK(BM_IsValidEmail);
BENCHMARK(BM_BuildTaxOfficeAccount);

BENCHMARK_MAIN();
