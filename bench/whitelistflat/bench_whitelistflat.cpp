// The flat file of the VAT white list at the ministry's size: a JSON file of 15,000,000 hashes
// (14,000,000 active, 1,000,000 exempt, 20,000 masks; 5000 rounds as the ministry uses), made
// once and kept in <bin>/../bench-data. Measured: the import (time, size on disk, peak memory
// of the process, ru_maxrss), and one check of an account against the imported file: listed,
// absent (every mask of the account's bank tried as well), and the search alone.
//
//   bench_whitelistflat --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "uWhiteListFlatFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr qint64 kActive = 14000000;
constexpr qint64 kExempt = 1000000;
constexpr int kMasks = 20000;
constexpr int kRounds = 5000;
const QString kDate = QStringLiteral("20260105");
const QString kNip = QStringLiteral("5260250995");
const QString kListed = QStringLiteral("12105000997603123456789123");
// At a bank that has masks, but under no identifier of them.
const QString kAbsent = QStringLiteral("27101000559990000000001234");

QString DataDir() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir;
}
QString JsonPath() {
    return DataDir() + QStringLiteral("/wykaz-vat-15m.json");
}
QString StorePath() {
    return DataDir() + QStringLiteral("/wykaz-vat-15m.bin");
}

long PeakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Pseudo-random hex hashes (the file's order does not matter to the import).
struct TRandomHex {
    quint64 State = 0x9E3779B97F4A7C15ull;
    quint64 Next() {
        quint64 z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    void Fill(char* Out) {
        static const char digits[] = "0123456789abcdef";
        for (int w = 0; w < 8; ++w) {
            quint64 v = Next();
            for (int i = 0; i < 16; ++i, v >>= 4)
                *Out++ = digits[v & 15];
        }
    }
};

// Written in pieces, never held whole; only when missing.
void MakeJson() {
    if (QFileInfo::exists(JsonPath()))
        return;
    const QString part = JsonPath() + QStringLiteral(".part");
    QFile f(part);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(part));
    TRandomHex random;
    QByteArray buf;
    auto flush = [&](bool Force) {
        if (Force || buf.size() > (4 << 20)) {
            f.write(buf);
            buf.clear();
        }
    };
    auto list = [&](const char* Name, qint64 Count, const QByteArray& First) {
        buf += "  \"" + QByteArray(Name) + "\": [\n    \"" + First + "\"";
        char hex[128];
        for (qint64 i = 1; i < Count; ++i) {
            random.Fill(hex);
            buf += ",\n    \"";
            buf.append(hex, 128);
            buf += '"';
            flush(false);
        }
        buf += "\n  ]";
    };
    buf += "{\n  \"naglowek\": {\n    \"dataGenerowaniaDanych\": \"" + kDate.toLatin1() +
           "\",\n    \"liczbaTransformacji\": \"" + QByteArray::number(kRounds) +
           "\",\n    \"schemat\": \"RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB\"\n  },\n";
    list("skrotyPodatnikowCzynnych", kActive, WhiteListFlatFile::HashHex(kDate, kNip, kListed, kRounds));
    buf += ",\n";
    char hex[128];
    random.Fill(hex);
    list("skrotyPodatnikowZwolnionych", kExempt, QByteArray(hex, 128));
    buf += ",\n  \"maski\": [\n";
    for (int i = 0; i < kMasks; ++i) {
        // 10100055 gets two masks (as a bank with two kinds of virtual accounts); the others
        // are spread over other banks.
        const QByteArray bank = i < 2 ? QByteArray("10100055") : QByteArray::number(20000000 + i * 7);
        buf += "    \"XX" + bank + (i == 1 ? "YYYYXXXXXXXXXXXX" : "YYYXXXXXXXXXXXXX") + (i + 1 < kMasks ? "\",\n" : "\"\n");
    }
    buf += "  ]\n}\n";
    flush(true);
    f.close();
    QFile::rename(part, JsonPath());
}

TWhiteListFlatStore& Store() {
    static TWhiteListFlatStore store;
    return store;
}

void Import() {
    WhiteListFlatFile::TSummary s;
    QString error;
    if (!WhiteListFlatFile::Import(JsonPath(), StorePath(), s, error))
        qFatal("import: %s", qPrintable(error));
}

void BM_Import(benchmark::State& State) {
    const long before = PeakKiB();
    for (auto _ : State)
        Import();
    State.counters["json_MB"] = double(QFileInfo(JsonPath()).size()) / (1 << 20);
    State.counters["disk_MB"] = double(QFileInfo(StorePath()).size()) / (1 << 20);
    State.counters["peak_rss_MB"] = double(PeakKiB()) / 1024;
    State.counters["peak_rss_before_MB"] = double(before) / 1024;
}
BENCHMARK(BM_Import)->Iterations(1)->Unit(benchmark::kSecond);

void Check(benchmark::State& State, const QString& Account, WhiteListFlatFile::TStatus Expected) {
    const QDate day = QDate::fromString(kDate, QStringLiteral("yyyyMMdd"));
    for (auto _ : State) {
        const WhiteListFlatFile::TAnswer a = Store().Check(kNip, Account, day);
        if (a.Status != Expected)
            State.SkipWithError("wrong answer");
        benchmark::DoNotOptimize(a);
    }
}
void BM_CheckListed(benchmark::State& State) {
    Check(State, kListed, WhiteListFlatFile::TStatus::sActive);
}
void BM_CheckAbsentTryingMasks(benchmark::State& State) {
    Check(State, kAbsent, WhiteListFlatFile::TStatus::sNotFound);
}
void BM_SearchOnly(benchmark::State& State) {
    const QByteArray hash = WhiteListFlatFile::HashHex(kDate, kNip, kListed, kRounds);
    for (auto _ : State)
        benchmark::DoNotOptimize(Store().Find(hash));
}
BENCHMARK(BM_CheckListed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckAbsentTryingMasks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    MakeJson();
    benchmark::Initialize(&argc, argv);
    if (!QFileInfo::exists(StorePath()))
        Import();
    QString error;
    if (!Store().Open(StorePath(), error))
        qFatal("%s", qPrintable(error));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
