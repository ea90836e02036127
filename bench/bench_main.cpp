// Entry point of the benchmarks: a QApplication on the offscreen platform unless a display is
// asked for, then every registered benchmark.
#include "bench/bench_main.h"
#include "testing/application.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace lanterna::bench {

namespace {

std::vector<std::function<void()>>& Releases() {
    static std::vector<std::function<void()>> releases;
    return releases;
}

} // namespace

void ReleaseBeforeExit(std::function<void()> release) {
    Releases().push_back(std::move(release));
}

} // namespace lanterna::bench

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto& releases = lanterna::bench::Releases();
    for (auto it = releases.rbegin(); it != releases.rend(); ++it)
        (*it)();
    releases.clear();
    return 0;
}
