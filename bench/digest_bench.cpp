// In-process throughput of each catalogue digest (own digests on their portable and accelerated
// paths), and of the all-digest pass by thread count. Run: build/.../bench/digest_bench.

#include "engine/algorithms.h"
#include "engine/digest.h"
#include "engine/own/cpu_features.h"
#include "engine/pass/hash_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kChunk = 1048576;

const std::vector<std::uint8_t>& chunk() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> d(kChunk);
        std::mt19937_64 gen(42);
        for (auto& b : d)
            b = static_cast<std::uint8_t>(gen());
        return d;
    }();
    return data;
}

// Each catalogue entry through the one digest type the passes use: range(0) is the entry's
// index, range(1) 0 for the portable paths and 1 for every kernel the processor has (own
// digests only; the platform's are what they are).
void CatalogueDigest(benchmark::State& state) {
    const velk::Algorithm& algorithm = velk::kAlgorithms[static_cast<std::size_t>(state.range(0))];
    const bool accelerated = state.range(1) != 0;
    velk::setAcceleration(accelerated ? velk::Acceleration::Automatic
                                      : velk::Acceleration::PortableOnly);
    const auto& data = chunk();
    velk::Digest d;
    if (!d.open(algorithm)) {
        state.SkipWithError("platform digest did not open");
        return;
    }
    for (auto _ : state)
        d.update(data.data(), data.size());
    benchmark::DoNotOptimize(d.finalHex());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kChunk));
    state.SetLabel(std::string(algorithm.name) + (algorithm.source == velk::DigestSource::Platform
                                                      ? ""
                                                  : accelerated ? " accelerated"
                                                                : " portable"));
    velk::setAcceleration(velk::Acceleration::Automatic);
}
BENCHMARK(CatalogueDigest)->Apply([](benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i < velk::kAlgorithmCount; ++i) {
        if (velk::kAlgorithms[i].source != velk::DigestSource::Platform)
            b->Args({static_cast<std::int64_t>(i), 0});
        b->Args({static_cast<std::int64_t>(i), 1});
    }
});

// The all-digest pass over a 64 MiB file in the page cache (written to the temporary folder
// once), by thread count; 0 is the engine's own choice.
const std::string& passFile() {
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string p = std::string(tmp ? tmp : "/tmp") + "/velk-digest-bench.bin";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        for (int i = 0; i < 64 && f; ++i)
            std::fwrite(chunk().data(), 1, kChunk - 7 * i, f);
        if (f)
            std::fclose(f);
        return p;
    }();
    return path;
}

void Pass(benchmark::State& state) {
    const std::string& path = passFile();
    velk::PassOptions options;
    options.threads = static_cast<unsigned>(state.range(0));
    std::int64_t bytes = 0;
    for (auto _ : state) {
        velk::HashResults results;
        if (!velk::computeAllHashes(path, results, nullptr, options)) {
            state.SkipWithError("pass failed");
            return;
        }
        bytes += 64 * static_cast<std::int64_t>(kChunk) - 7 * (63 * 64 / 2);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(Pass)->Arg(1)->Arg(2)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::remove(passFile().c_str());
    return 0;
}
