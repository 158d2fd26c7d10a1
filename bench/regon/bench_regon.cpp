// Time to find the report links of an answer and to decode an answer, as its size grows: an
// ordinary answer (links among values) and a hostile one (link prefixes that never close).
// Run: bench_regon --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "uRegonAnswer.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

QString Repeated(const QString& Piece, qsizetype Size) {
    QString text;
    text.reserve(Size + Piece.size());
    while (text.size() < Size)
        text += Piece;
    return text;
}

QString Hostile(qsizetype Size) {
    return Repeated(QStringLiteral("danePobierzPelnyRaport(\"1\",\"R\", 1 "), Size);
}

QString Ordinary(qsizetype Size) {
    return Repeated(QStringLiteral("{\"fiz_nazwa\":\"Sklep\",\"Raport\":"
                                   "\"danePobierzPelnyRaport(\\\"123456785\\\",\\\"Raport\\\", 1)\"},"),
                    Size);
}

void BM_LinksHostile(benchmark::State& s) {
    const QString text = Hostile(s.range(0));
    for (auto _ : s)
        benchmark::DoNotOptimize(ReportLinksIn(text));
    s.SetBytesProcessed(s.iterations() * text.size() * 2);
}

void BM_LinksOrdinary(benchmark::State& s) {
    const QString text = Ordinary(s.range(0));
    for (auto _ : s)
        benchmark::DoNotOptimize(ReportLinksIn(text));
    s.SetBytesProcessed(s.iterations() * text.size() * 2);
}

// A whole answer: the envelope holding one value of hostile text, decoded and its links read.
void BM_AnswerHostile(benchmark::State& s) {
    const QString inner = QStringLiteral("[{\"x\":%1}]").arg(
        QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("v"), Hostile(s.range(0))}})
                              .toJson(QJsonDocument::Compact))
            .mid(5)
            .chopped(1));
    const QByteArray raw =
        QJsonDocument(QJsonObject{{QStringLiteral("d"), inner}}).toJson(QJsonDocument::Compact);
    for (auto _ : s) {
        TRegonAnswer answer;
        QString error;
        TRegonAnswer::Parse(raw, answer, error);
        benchmark::DoNotOptimize(answer.ReportLinks());
    }
    s.SetBytesProcessed(s.iterations() * raw.size());
}

} // namespace

BENCHMARK(BM_LinksHostile)->RangeMultiplier(4)->Range(64 << 10, 4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinksOrdinary)->RangeMultiplier(4)->Range(64 << 10, 4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerHostile)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
