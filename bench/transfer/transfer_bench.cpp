// Moves one large file through the engine (dialog hidden) and with a plain tool, in the same run,
// and reports the time ratio and the CPU time per GB of each (the tool's file is flushed to the
// disk with `sync`, as the engine flushes its own): an HTTP download from a server on
// 127.0.0.1 against `curl -o`, an FTP download from a server on 127.0.0.1 against `curl -o`, and
// a file copy against `cp`.
//
//   transfer_bench [benchmark options]       LANTERNA_BENCH_BYTES sets the size (default 1 GB)
//   transfer_bench --fetch URL FOLDER        one HTTP download through the engine, nothing else, so
//                                            that a whole process can be timed against
//                                            `sh -c 'curl -o FOLDER/NAME URL && sync FOLDER/NAME'`
#include "bench/bench_support.h"
#include "testing/ftp_test_server.h"
#include "testing/test_server.h"

#include "testing/application.h"
#include "transfer/file_transfer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>

using namespace lanterna;

namespace {

constexpr double kGigabyte = 1e9;

struct TMeasure {
    double Seconds = 0;
    double CpuSeconds = 0;
};

struct TFixture {
    QTemporaryDir Folder;
    qint64 Bytes = 0;
    std::unique_ptr<testing::TestServer> Server;
    std::unique_ptr<testing::FtpTestServer> FtpServer;
    std::map<std::string, std::vector<TMeasure>> Results;

    QString Url() const { return Server->Url(QStringLiteral("/static/big.bin")); }
    QString FtpUrl() const { return QStringLiteral("ftp://127.0.0.1:%1/big.bin").arg(FtpServer->Port()); }
    QString Source() const { return Folder.filePath(QStringLiteral("big.bin")); }
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

// One run of the engine over a single item that `prepare` fills in; false when it failed.
bool EngineRun(const QString& folder, const std::function<void(TFileTransferItem&)>& prepare, bool passive,
               TMeasure& measure, qint64& received) {
    TFileTransfer transfer;
    transfer.SetShowDialog(false);
    transfer.SetFTPPassive(passive);
    TFileTransferItem* item = transfer.Items().Add();
    item->SetTargetDir(folder);
    prepare(*item);
    bool done = false;
    transfer.OnCopyDone = [&](TFileTransfer*) { done = true; };
    const double cpu = bench::ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    transfer.StartCopy();
    const bool ended = QTest::qWaitFor([&] { return done; }, 3600 * 1000);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    measure = {wall.count(), bench::ProcessCpuSeconds() - cpu};
    received = QFileInfo(transfer.LastTargetFile()).size();
    return ended && item->Success();
}

void RunEngine(benchmark::State& state, const char* name,
               const std::function<void(TFileTransferItem&)>& prepare, bool passive = false) {
    for (auto _ : state) {
        TMeasure measure;
        qint64 received = 0;
        if (!EngineRun(QFileInfo(Fixture->Target()).path(), prepare, passive, measure, received) ||
            received != Fixture->Bytes)
            state.SkipWithError("the engine's transfer failed");
        Record(state, name, measure);
    }
}

void RunProgram(benchmark::State& state, const char* name, const QString& program,
                const QStringList& arguments) {
    for (auto _ : state) {
        QDir().mkpath(QFileInfo(Fixture->Target()).path());
        QProcess process;
        const double cpu = bench::ChildrenCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        process.start(program, arguments);
        process.waitForFinished(3600 * 1000);
        // The engine flushes its file to the disk before it replaces the target: so does the tool.
        QProcess sync;
        sync.start(QStringLiteral("sync"), {Fixture->Target()});
        sync.waitForFinished(3600 * 1000);
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        if (process.exitCode() != 0 || QFileInfo(Fixture->Target()).size() != Fixture->Bytes)
            state.SkipWithError("the program failed");
        Record(state, name, {wall.count(), bench::ChildrenCpuSeconds() - cpu});
    }
}

void BM_EngineDownload(benchmark::State& state) {
    RunEngine(state, "engine", [](TFileTransferItem& item) { item.SetURL(Fixture->Url()); });
}

void BM_CurlDownload(benchmark::State& state) {
    RunProgram(state, "curl", QStringLiteral("curl"),
               {QStringLiteral("-s"), QStringLiteral("--noproxy"), QStringLiteral("*"), QStringLiteral("-o"),
                Fixture->Target(), Fixture->Url()});
}

void BM_EngineFtpDownload(benchmark::State& state) {
    RunEngine(
        state, "engine ftp",
        [](TFileTransferItem& item) {
            item.SetProtocol(wpFtp);
            item.SetURL(QStringLiteral("big.bin"));
            item.SetFTPHost(QStringLiteral("127.0.0.1"));
            item.SetFTPPort(Fixture->FtpServer->Port());
        },
        true);
}

void BM_CurlFtpDownload(benchmark::State& state) {
    RunProgram(state, "curl ftp", QStringLiteral("curl"),
               {QStringLiteral("-s"), QStringLiteral("--noproxy"), QStringLiteral("*"), QStringLiteral("-o"),
                Fixture->Target(), Fixture->FtpUrl()});
}

void BM_EngineCopy(benchmark::State& state) {
    RunEngine(state, "engine copy", [](TFileTransferItem& item) {
        item.SetProtocol(wpFile);
        item.SetURL(Fixture->Source());
    });
}

void BM_CpCopy(benchmark::State& state) {
    RunProgram(state, "cp", QStringLiteral("cp"), {Fixture->Source(), Fixture->Target()});
}

BENCHMARK(BM_CurlDownload)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineDownload)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurlFtpDownload)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineFtpDownload)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CpCopy)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineCopy)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);

double Median(std::vector<TMeasure> values, double TMeasure::*field) {
    std::sort(values.begin(), values.end(),
              [&](const auto& a, const auto& b) { return a.*field < b.*field; });
    return values[values.size() / 2].*field;
}

} // namespace

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--fetch") == 0) {
        TMeasure measure;
        qint64 received = 0;
        const QString url = QString::fromLocal8Bit(argv[2]);
        const bool fetched = EngineRun(
            QString::fromLocal8Bit(argv[3]), [&](TFileTransferItem& item) { item.SetURL(url); }, false,
            measure, received);
        std::printf("%lld bytes in %.3f s, %.3f s of CPU\n", static_cast<long long>(received),
                    measure.Seconds, measure.CpuSeconds);
        return fetched ? 0 : 1;
    }
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
    fixture.FtpServer = std::make_unique<testing::FtpTestServer>(fixture.Folder.path());
    if (!fixture.Server->Started() || !fixture.FtpServer->Started()) {
        std::fprintf(stderr, "the local server did not start\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double gigabytes = fixture.Bytes / kGigabyte;
    std::printf("\n%.3f GB, medians of wall time and CPU time per GB:\n", gigabytes);
    using TRow = std::pair<const char*, const char*>;
    for (const auto& [engine, tool] : std::array<TRow, 3>{
             TRow{"engine", "curl"}, TRow{"engine ftp", "curl ftp"}, TRow{"engine copy", "cp"}}) {
        if (fixture.Results[engine].empty() || fixture.Results[tool].empty())
            continue;
        const double ours = Median(fixture.Results[engine], &TMeasure::Seconds);
        const double theirs = Median(fixture.Results[tool], &TMeasure::Seconds);
        std::printf("  %-11s %.3f s  %-8s %.3f s  ratio %.2f   CPU/GB %.3f s against %.3f s\n", engine, ours,
                    tool, theirs, ours / theirs,
                    Median(fixture.Results[engine], &TMeasure::CpuSeconds) / gigabytes,
                    Median(fixture.Results[tool], &TMeasure::CpuSeconds) / gigabytes);
    }
    return 0;
}
