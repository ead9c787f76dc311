// The question bank at the size of a large party: 100,000 questions, texts 20-200 chars; with
// VELQUO_BENCH_BANK=large-1k, large-10k or large-1m, one of the other sizes.
#include "controls/application.h"
#include "controls/memo.h"
#include "data/adoquery.h"
#include "data/bankschema.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "support/jet_fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <algorithm>
#include <memory>
#include <vector>

namespace {

QTemporaryDir* g_dir = nullptr;

QString bankPath() {
    static const QString path = [] {
        const QString p = g_dir->filePath(QStringLiteral("db.DLL"));
        const QString kind = qEnvironmentVariable("VELQUO_BENCH_BANK", QStringLiteral("large"));
        vq::jet::writeDatabase(p, vq::jet::fixtureTables(kind), {vq::jet::kBankPassword});
        std::printf("bank: %s, %lld bytes\n", qPrintable(kind), QFileInfo(p).size());
        return p;
    }();
    return path;
}

// Heap bytes in use (glibc); 0 elsewhere.
long heapKb() {
#if defined(__GLIBC__)
    return long(mallinfo2().uordblks / 1024);
#else
    return 0;
#endif
}

void BM_OpenAndFill(benchmark::State& state) {
    bankPath();
    QDir::setCurrent(g_dir->path());
    for (auto _ : state) {
        auto module = std::make_unique<TDataModule2>();
        auto store = std::make_unique<vq::TMemo>();
        vq::TMemo& pool = *store;
        vq::fillPool(*module->ADOQuery1, pool);
        benchmark::DoNotOptimize(store->count());
        state.PauseTiming(); // the program's end is not part of its start
        store.reset();
        module.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAndFill)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DrawAndFetch(benchmark::State& state) {
    bankPath();
    QDir::setCurrent(g_dir->path());
    TDataModule2 module;
    vq::TMemo pool;
    vq::fillPool(*module.ADOQuery1, pool);
    QString question;
    const vq::FetchTargets targets{[&](const QString& q) { question = q; }, {}, {}};
    for (auto _ : state) {
        vq::fetchQuestion(*module.ADOQuery1, vq::drawNumber(pool), targets);
        benchmark::DoNotOptimize(question);
    }
}
BENCHMARK(BM_DrawAndFetch)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->Repetitions(1)
    ->ComputeStatistics("p99",
                        [](const std::vector<double>& v) { return v.empty() ? 0 : v.back(); });

void BM_MdbExportOfTheTable(benchmark::State& state) {
    const QString path = bankPath();
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral("mdb-export"), {path, QStringLiteral("题")});
        p.waitForFinished(120000);
        benchmark::DoNotOptimize(p.readAllStandardOutput().size());
    }
}
BENCHMARK(BM_MdbExportOfTheTable)->Unit(benchmark::kMillisecond)->Iterations(3);

// Per-fetch latencies, median and p99, and the memory of a filled pool, printed as a table.
void report() {
    bankPath();
    QDir::setCurrent(g_dir->path());
    TDataModule2 module;
    const long before = heapKb();
    auto store = std::make_unique<vq::TMemo>();
    vq::TMemo& pool = *store;
    vq::fillPool(*module.ADOQuery1, pool);
    const long after = heapKb();
    std::vector<double> ms;
    std::vector<double> drawMs;
    QString question;
    const vq::FetchTargets targets{[&](const QString& q) { question = q; }, {}, {}};
    for (int i = 0; i < 1000; ++i) {
        QElapsedTimer t;
        t.start();
        const QString number = vq::drawNumber(pool);
        drawMs.push_back(double(t.nsecsElapsed()) / 1e6);
        vq::fetchQuestion(*module.ADOQuery1, number, targets);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(drawMs.begin(), drawMs.end());
    std::printf("draw alone over 1000 draws: median %.4f ms, p99 %.4f ms\n",
                drawMs[drawMs.size() / 2], drawMs[drawMs.size() * 99 / 100]);
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("mdb-export"), {bankPath(), QStringLiteral("题")});
    p.waitForFinished(120000);
    const double exportMs = double(t.nsecsElapsed()) / 1e6;
    const double median = ms[ms.size() / 2];
    std::printf("draw+fetch over 1000 draws: median %.3f ms, p99 %.3f ms\n", median,
                ms[ms.size() * 99 / 100]);
    std::printf("mdb-export of the table: %.1f ms (ratio export/fetch median %.0f)\n", exportMs,
                exportMs / median);
    std::printf("filled pool: %.1f MB of heap over the open bank\n",
                double(after - before) / 1024.0);
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// mdb-reader reading the bank in its own process (bench/mdb_reader_read.mjs), from reading the
// file to the values: the `column` only, or every column when it is empty. Empty where node or
// the package is not installed.
std::vector<double> mdbReaderRuns(const QString& path, int runs, const QString& column) {
    const QString npm = QCoreApplication::applicationDirPath() + QStringLiteral("/../npm");
    QStringList args{QStringLiteral(VELQUO_SOURCE_DIR "/bench/mdb_reader_read.mjs"),
                     npm,
                     path,
                     QStringLiteral("题"),
                     vq::jet::kBankPassword,
                     QString::number(runs)};
    if (!column.isEmpty())
        args << column;
    QProcess node;
    node.start(QStringLiteral("node"), args);
    node.waitForFinished(300000);
    std::vector<double> ms;
    for (const QByteArray& line : node.readAllStandardOutput().split('\n'))
        if (line.startsWith("ms "))
            ms.push_back(line.split(' ').value(1).toDouble());
    return ms;
}

// Both readers doing the same work, medians of 7 runs each: the start's open + fill of the pool
// (the 编号 column) against mdb-reader taking that column, and opening and reading every
// column of every row against mdb-reader taking them all. Then the heap that draws leave behind.
void compareWithMdbReader() {
    const QString path = bankPath();
    QDir::setCurrent(g_dir->path());
    std::vector<double> openFill, fillOnly, everyColumn;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        auto module = std::make_unique<TDataModule2>();
        const qint64 opened = t.nsecsElapsed();
        auto store = std::make_unique<vq::TMemo>();
        vq::TMemo& pool = *store;
        vq::fillPool(*module->ADOQuery1, pool);
        openFill.push_back(double(t.nsecsElapsed()) / 1e6);
        fillOnly.push_back(double(t.nsecsElapsed() - opened) / 1e6);
    }
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        TDataModule2 module;
        TADOQuery& q = *module.ADOQuery1;
        q.setSql(QStringLiteral("select * from 题"));
        q.open();
        // The bank's three columns, all it has.
        const int columns[] = {q.fieldNumber(vq::bankschema::kNumber),
                               q.fieldNumber(vq::bankschema::kQuestion),
                               q.fieldNumber(vq::bankschema::kAnswer)};
        qint64 chars = 0;
        for (q.first(); !q.eof(); q.next())
            for (const int c : columns)
                chars += q.field(c).toString().size();
        benchmark::DoNotOptimize(chars);
        everyColumn.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const std::vector<double> readerNumbers = mdbReaderRuns(path, 7, QStringLiteral("编号"));
    const std::vector<double> readerAll = mdbReaderRuns(path, 7, {});
    std::printf(
        "open + fill of the pool (编号), 100,000 rows: median %.1f ms (fill alone %.1f ms)\n",
        median(openFill), median(fillOnly));
    std::printf("open + every column of every row: median %.1f ms\n", median(everyColumn));
    if (readerNumbers.empty() || readerAll.empty()) {
        std::printf("mdb-reader: not run (tests/tools/setup-npm.sh <build dir> installs it)\n");
    } else {
        std::printf("mdb-reader, file read to the 编号 column: median %.1f ms; velquo/mdb-reader "
                    "%.2f\n",
                    median(readerNumbers), median(openFill) / median(readerNumbers));
        std::printf("mdb-reader, file read to every column: median %.1f ms; velquo/mdb-reader "
                    "%.2f\n",
                    median(readerAll), median(everyColumn) / median(readerAll));
    }

    TDataModule2 module;
    vq::TMemo pool;
    vq::fillPool(*module.ADOQuery1, pool);
    for (int i = 0; i < 200; ++i)
        vq::drawNumber(pool);
    QCoreApplication::processEvents();
    const long before = heapKb();
    for (int i = 0; i < 5000; ++i) {
        vq::drawNumber(pool);
        QCoreApplication::processEvents();
    }
    std::printf("heap growth per draw over 5000 draws: %.1f bytes\n",
                double(heapKb() - before) * 1024 / 5000);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    vq::Application app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    report();
    compareWithMdbReader();
    benchmark::Shutdown();
    return 0;
}
