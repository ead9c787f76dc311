// One read and one write of a key on a full 23-key settings file, as every handler does them.
#include "settings/inifile.h"
#include "settings/settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString makeFile(const QTemporaryDir& dir) {
    const QString path = dir.filePath("opt.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("[canshu]\r\n");
    int i = 0;
    for (const auto& key : vq::kSettingKeys)
        f.write(QByteArray(key.name) + '=' + QByteArray::number(100 + i++) + "\r\n");
    return path;
}

void BM_ReadKey(benchmark::State& state) {
    QTemporaryDir dir;
    const vq::Settings s(makeFile(dir));
    for (auto _ : state)
        benchmark::DoNotOptimize(s.integer(vq::Key::daan_top));
}
BENCHMARK(BM_ReadKey)->Unit(benchmark::kMicrosecond);

void BM_WriteKey(benchmark::State& state) {
    QTemporaryDir dir;
    const vq::Settings s(makeFile(dir));
    int v = 0;
    for (auto _ : state)
        s.writeInteger(vq::Key::biaoti_left, v++);
}
BENCHMARK(BM_WriteKey)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
