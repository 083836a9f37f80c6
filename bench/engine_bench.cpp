// The cost of a keystroke in the engine, natively: real text (the passage of
// the end-to-end tests, through the KEYS parser) typed through the hook's
// entry point, every event that the engine injects replayed through the hook
// after it returns, as Windows does, the user's key-ups included. Two output
// paths: an application whose layout types the keys (the Tibetan layout: all
// go as keys) and one with the US layout (nearly every tap goes as its
// character). The layout's answers are kept after the first ask, as the
// library keeps what ToUnicodeEx answers.
//
// Beside them, in the same run, two floors over the same key-downs: one bare
// table lookup per key, and one copy of the 32-byte syllable buffer.
//
// One iteration types the whole text; the counter key_downs tells how many
// key-downs (modifiers included) that is, so that the time per key-down is
// the iteration's time divided by it.
//
//   yanra_engine_bench [benchmark flags]   the benchmarks
//   yanra_engine_bench --passes=N [--layout=tibetan|us]
//                                          types the text N times through one
//                                          path (default: the Tibetan layout's
//                                          keys) and stops (for callgrind)
// YANRA_BENCH_TEXT names another KEYS file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine_state.h"
#include "keystrokes.h"
#include "simulator.h"

namespace {

std::vector<UserKey> TextKeys;
std::vector<unsigned> KeyDownVks;

bool LoadText() {
    const char* path = std::getenv("YANRA_BENCH_TEXT");
    if (path == nullptr || *path == '\0') {
        path = YANRA_BENCH_TEXT;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "yanra_engine_bench: cannot read %s\n", path);
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    KeystrokeParse parse = ParseKeystrokes(text);
    if (!parse.error.empty()) {
        std::fprintf(stderr, "yanra_engine_bench: %s: %s\n", path, parse.error.c_str());
        return false;
    }
    TextKeys = parse.keys;
    for (const UserKey& key : TextKeys) {
        if (!key.up) {
            KeyDownVks.push_back(key.vk);
        }
    }
    return !KeyDownVks.empty();
}

// Types the whole text into a fresh engine; returns the key messages that
// reached the application. Not inlined, so that callgrind can count it alone.
__attribute__((noinline)) long TypeText(AppLayout layout) {
    ResetSimulation(Replay::AfterHook, layout);
    Sim.keepRecord = false;
    for (const UserKey& key : TextKeys) {
        FeedUserKey(key);
    }
    return Sim.arrivalCount;
}

void KeyDowns(benchmark::State& state, AppLayout layout) {
    long arrivals = 0;
    for (auto _ : state) {
        arrivals = TypeText(layout);
        benchmark::DoNotOptimize(arrivals);
    }
    state.counters["key_downs"] = static_cast<double>(KeyDownVks.size());
    state.counters["messages_per_key_down"] = static_cast<double>(arrivals) / static_cast<double>(KeyDownVks.size());
}

void BM_EngineKeys(benchmark::State& state) { KeyDowns(state, AppLayout::Tibetan); }
void BM_EngineCharacters(benchmark::State& state) { KeyDowns(state, AppLayout::Us); }

// A table with one entry per virtual key, as the engine's own tables would
// be at their fastest.
unsigned char VkTable[256];

void BM_FloorTableLookup(benchmark::State& state) {
    for (int i = 0; i < 256; i++) {
        VkTable[i] = static_cast<unsigned char>(i * 7);
    }
    for (auto _ : state) {
        for (unsigned vk : KeyDownVks) {
            unsigned char entry = VkTable[vk & 0xFF];
            benchmark::DoNotOptimize(entry);
        }
    }
    state.counters["key_downs"] = static_cast<double>(KeyDownVks.size());
}

void BM_FloorBufferCopy(benchmark::State& state) {
    char copy[sizeof Engine.SyllableBuffer];
    for (auto _ : state) {
        for (std::size_t i = 0; i < KeyDownVks.size(); i++) {
            std::memcpy(copy, Engine.SyllableBuffer, sizeof copy);
            benchmark::DoNotOptimize(copy);
            benchmark::ClobberMemory();
        }
    }
    state.counters["key_downs"] = static_cast<double>(KeyDownVks.size());
}

BENCHMARK(BM_EngineKeys);
BENCHMARK(BM_EngineCharacters);
BENCHMARK(BM_FloorTableLookup);
BENCHMARK(BM_FloorBufferCopy);

}  // namespace

int main(int argc, char** argv) {
    if (!LoadText()) {
        return 2;
    }
    if (argc >= 2 && std::strncmp(argv[1], "--passes=", 9) == 0) {
        const long passes = std::strtol(argv[1] + 9, nullptr, 10);
        AppLayout layout = AppLayout::Tibetan;
        if (argc > 3 || (argc == 3 && (std::strncmp(argv[2], "--layout=", 9) != 0 ||
                                       !AppLayoutByName(argv[2] + 9, layout)))) {
            std::fputs("usage: yanra_engine_bench --passes=N [--layout=tibetan|us]\n", stderr);
            return 2;
        }
        long arrivals = 0;
        for (long i = 0; i < passes; i++) {
            arrivals += TypeText(layout);
        }
        std::printf("key_downs %zu passes %ld arrivals %ld\n", KeyDownVks.size(), passes, arrivals);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
