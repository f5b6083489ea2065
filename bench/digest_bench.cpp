// In-process throughput of each own digest (portable and accelerated paths), of the platform
// digests, and of the all-digest pass by thread count. Run: build/.../bench/digest_bench.

#include "engine/own/blake2.h"
#include "engine/platform/cng_hash.h"
#include "engine/own/cpu_features.h"
#include "engine/own/crc32.h"
#include "engine/pass/hash_file.h"
#include "engine/own/sha224.h"
#include "engine/own/sha3.h"

#include <benchmark/benchmark.h>

#include <cwchar>

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

void setMode(benchmark::State& state) {
    velk::setAcceleration(state.range(0) ? velk::Acceleration::Automatic
                                         : velk::Acceleration::PortableOnly);
    state.SetLabel(state.range(0) ? "accelerated" : "portable");
}

template <class Digest> void ownDigest(benchmark::State& state, std::uint64_t outputLength) {
    setMode(state);
    const auto& data = chunk();
    Digest d;
    d.init(outputLength);
    for (auto _ : state)
        d.update(data.data(), data.size());
    benchmark::DoNotOptimize(d.finalHex());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kChunk));
    velk::setAcceleration(velk::Acceleration::Automatic);
}

void Crc32(benchmark::State& state) {
    setMode(state);
    const auto& data = chunk();
    velk::Crc32 c;
    for (auto _ : state)
        c.update(data.data(), data.size());
    benchmark::DoNotOptimize(c.finalHex());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kChunk));
    velk::setAcceleration(velk::Acceleration::Automatic);
}
void Sha224(benchmark::State& s) {
    ownDigest<velk::Sha224>(s, 28);
}
void Sha3_256(benchmark::State& s) {
    ownDigest<velk::Sha3>(s, 32);
}
void Sha3_512(benchmark::State& s) {
    ownDigest<velk::Sha3>(s, 64);
}
void Blake2b(benchmark::State& s) {
    ownDigest<velk::Blake2b>(s, 64);
}
void Blake2s(benchmark::State& s) {
    ownDigest<velk::Blake2s>(s, 32);
}

BENCHMARK(Crc32)->Arg(0)->Arg(1);
BENCHMARK(Sha224)->Arg(0)->Arg(1);
BENCHMARK(Sha3_256)->Arg(0)->Arg(1);
BENCHMARK(Sha3_512)->Arg(0)->Arg(1);
BENCHMARK(Blake2b)->Arg(0)->Arg(1);
BENCHMARK(Blake2s)->Arg(0)->Arg(1);

void Platform(benchmark::State& state) {
    static const wchar_t* const kIds[] = {L"MD5", L"SHA1", L"SHA256", L"SHA384", L"SHA512"};
    const auto& data = chunk();
    velk::CngHash h;
    if (!h.open(kIds[state.range(0)])) {
        state.SkipWithError("platform hash did not open");
        return;
    }
    for (auto _ : state)
        h.update(data.data(), static_cast<std::uint32_t>(data.size()));
    benchmark::DoNotOptimize(h.finishHex());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kChunk));
    state.SetLabel(std::string(kIds[state.range(0)],
                               kIds[state.range(0)] + std::wcslen(kIds[state.range(0)])));
}
BENCHMARK(Platform)->DenseRange(0, 4);

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
