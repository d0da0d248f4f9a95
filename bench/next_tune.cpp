// The cost of a prepared next tune, on the demo tunes:
//   BM_PrepareNextTune   what the library's preparing thread does for one tune (load the
//                        file, prepare the renderer for 44100 Hz stereo 16 bits); counter
//                        heap_bytes: the heap the prepared tune holds while it waits
//   BM_SetNextTuneStall  what the worker spends in set_next_tune when it asks for a tune
//                        (the preparing runs on the library's thread meanwhile)

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <string>

#include "audio/NullAudioDevice.h"
#include "player/PxtoneLibrary.h"
#include "pxtone/Project.h"
#include "pxtone/Renderer.h"

namespace {

const char* const kTunes[] = {"morning-steps", "backyard-groove", "echo-hall"};

std::string demo_tune(int i) {
    return std::string(DEZIDU_DEMO_DIR) + "/" + kTunes[i] + ".ptcop";
}

void BM_PrepareNextTune(benchmark::State& state) {
    const std::string path = demo_tune(static_cast<int>(state.range(0)));
    double heap = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        pxtone::LoadResult loaded = pxtone::Project::load_file(path);
        if (!loaded) {
            state.SkipWithError("the tune does not load");
            return;
        }
        auto renderer = std::make_unique<pxtone::Renderer>(*loaded.project);
        if (!renderer->prepare({44100, 2, 16})) {
            state.SkipWithError("the tune cannot be prepared");
            return;
        }
        heap = static_cast<double>(mallinfo2().uordblks - before);
        benchmark::DoNotOptimize(renderer.get());
    }
    state.counters["heap_bytes"] = heap;
    state.SetLabel(kTunes[state.range(0)]);
}
BENCHMARK(BM_PrepareNextTune)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_SetNextTuneStall(benchmark::State& state) {
    dz::PxtoneLibrary lib([] { return std::make_unique<dz::NullAudioDevice>(); });
    lib.pxtone_Ready(dz::AudioFormat{}, nullptr);
    int k = 0;
    for (auto _ : state) {
        lib.set_next_tune(demo_tune(k++ % 3));  // another path each time: a new request
    }
    lib.set_next_tune({});
}
BENCHMARK(BM_SetNextTuneStall)->Unit(benchmark::kMicrosecond);

}  // namespace
