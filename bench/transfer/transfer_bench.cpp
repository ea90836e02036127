// Downloads one large file from a server on 127.0.0.1 through the engine (dialog hidden) and with
// `curl -o`, in the same run, and reports the time ratio and the CPU time per GB of each.
//
//   transfer_bench [benchmark options]       LANTERNA_BENCH_BYTES sets the size (default 1 GB)
#include "test_server.h"

#include "transfer/file_transfer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <sys/resource.h>

using namespace lanterna;

namespace {

constexpr double kGigabyte = 1e9;

struct TMeasure {
    double Seconds = 0;
    double CpuSeconds = 0;
};

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct TFixture {
    QTemporaryDir Folder;
    qint64 Bytes = 0;
    std::unique_ptr<testing::TestServer> Server;
    std::map<std::string, std::vector<TMeasure>> Results;

    QString Url() const { return Server->Url(QStringLiteral("/static/big.bin")); }
    QString Target() const { return Folder.filePath(QStringLiteral("out/big.bin")); }
};

TFixture* Fixture = nullptr;

bool MakeSource(const QString& path, qint64 bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block = testing::Pattern(251 * 4096);
    for (qint64 left = bytes; left > 0; left -= block.size())
        if (file.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    return true;
}

void Record(benchmark::State& state, const char* name, TMeasure measure) {
    state.SetIterationTime(measure.Seconds);
    state.counters["cpu_s_per_GB"] = measure.CpuSeconds / (Fixture->Bytes / kGigabyte);
    state.counters["MB_per_s"] = Fixture->Bytes / 1e6 / measure.Seconds;
    Fixture->Results[name].push_back(measure);
    QFile::remove(Fixture->Target());
}

void BM_EngineDownload(benchmark::State& state) {
    for (auto _ : state) {
        TFileTransfer transfer;
        transfer.SetShowDialog(false);
        TFileTransferItem* item = transfer.Items().Add();
        item->SetURL(Fixture->Url());
        item->SetTargetDir(QFileInfo(Fixture->Target()).path());
        bool done = false;
        transfer.OnCopyDone = [&](TFileTransfer*) { done = true; };
        const double cpu = CpuSeconds(RUSAGE_SELF);
        const auto start = std::chrono::steady_clock::now();
        transfer.StartCopy();
        if (!QTest::qWaitFor([&] { return done; }, 3600 * 1000))
            state.SkipWithError("the engine's run did not end");
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        if (!item->Success() || QFileInfo(Fixture->Target()).size() != Fixture->Bytes)
            state.SkipWithError("the engine's download failed");
        Record(state, "engine", {wall.count(), CpuSeconds(RUSAGE_SELF) - cpu});
    }
}

void BM_CurlDownload(benchmark::State& state) {
    for (auto _ : state) {
        QDir().mkpath(QFileInfo(Fixture->Target()).path());
        QProcess curl;
        const double cpu = CpuSeconds(RUSAGE_CHILDREN);
        const auto start = std::chrono::steady_clock::now();
        curl.start(QStringLiteral("curl"),
                   {QStringLiteral("-s"), QStringLiteral("--noproxy"), QStringLiteral("*"),
                    QStringLiteral("-o"), Fixture->Target(), Fixture->Url()});
        curl.waitForFinished(3600 * 1000);
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        if (curl.exitCode() != 0 || QFileInfo(Fixture->Target()).size() != Fixture->Bytes)
            state.SkipWithError("curl failed");
        Record(state, "curl", {wall.count(), CpuSeconds(RUSAGE_CHILDREN) - cpu});
    }
}

BENCHMARK(BM_CurlDownload)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineDownload)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);

double Median(std::vector<TMeasure> values, double TMeasure::*field) {
    std::sort(values.begin(), values.end(),
              [&](const auto& a, const auto& b) { return a.*field < b.*field; });
    return values[values.size() / 2].*field;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    TFixture fixture;
    Fixture = &fixture;
    fixture.Bytes = qEnvironmentVariableIsSet("LANTERNA_BENCH_BYTES")
                        ? qEnvironmentVariable("LANTERNA_BENCH_BYTES").toLongLong()
                        : qint64(kGigabyte);
    if (!fixture.Folder.isValid() ||
        !MakeSource(fixture.Folder.filePath(QStringLiteral("big.bin")), fixture.Bytes)) {
        std::fprintf(stderr, "cannot write the %lld-byte source file\n",
                     static_cast<long long>(fixture.Bytes));
        return 1;
    }
    fixture.Server = std::make_unique<testing::TestServer>(fixture.Folder.path(), fixture.Folder.path());
    if (!fixture.Server->Started()) {
        std::fprintf(stderr, "the local server did not start\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (fixture.Results["engine"].empty() || fixture.Results["curl"].empty())
        return 0;
    const double engine = Median(fixture.Results["engine"], &TMeasure::Seconds);
    const double curl = Median(fixture.Results["curl"], &TMeasure::Seconds);
    const double gigabytes = fixture.Bytes / kGigabyte;
    std::printf("\n%.3f GB, medians: engine %.3f s, curl -o %.3f s, ratio %.2f (goal: at most 1.5)\n",
                gigabytes, engine, curl, engine / curl);
    std::printf("CPU time per GB: engine %.3f s, curl %.3f s\n",
                Median(fixture.Results["engine"], &TMeasure::CpuSeconds) / gigabytes,
                Median(fixture.Results["curl"], &TMeasure::CpuSeconds) / gigabytes);
    return 0;
}
