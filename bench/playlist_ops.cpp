// Sorting and removing on a 10 000-entry playlist.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/fake/FakeAudioLibrary.h"
#include "player/Player.h"
#include "player/Random15.h"

namespace {

constexpr int kEntries = 10000;

struct Fixture {
    dz::FakeAudioLibrary lib;
    std::unique_ptr<dz::tagPLAYER> player = std::make_unique<dz::tagPLAYER>(lib);

    Fixture() {
        dz::seed_random15(7);
        for (int k = 0; k < kEntries; ++k) {
            int r = dz::random15();
            std::string path = "/music/folder" + std::to_string(r % 50) + "/tune" +
                               std::to_string(r) + "_" + std::to_string(k) + ".ptcop";
            player->add_entry(path, std::nullopt, 60.0f);
            auto& e = player->playlist[k];
            e.name = "Name " + std::to_string(dz::random15());
            e.comment.assign(200, 'c');
        }
        player->playlist[kEntries / 2].current_mark = 1;
    }
};

template <void (dz::tagPLAYER::*Op)()>
void BM_Sort(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        state.PauseTiming();
        f.player->randomize_list();  // a fresh order each time
        state.ResumeTiming();
        (f.player.get()->*Op)();
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_Sort<&dz::tagPLAYER::sort_by_title>)
    ->Name("sort_by_title")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<&dz::tagPLAYER::sort_by_file_name>)
    ->Name("sort_by_file_name")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<&dz::tagPLAYER::sort_by_path>)
    ->Name("sort_by_path")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<&dz::tagPLAYER::reverse_list>)
    ->Name("reverse_list")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort<&dz::tagPLAYER::randomize_list>)
    ->Name("randomize_list")
    ->Unit(benchmark::kMillisecond);

// Removes every other entry of a fresh 10 000-entry list.
void BM_RemoveHalf(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Fixture f;
        for (int k = 0; k < kEntries; k += 2) f.player->playlist[k].selected = 1;
        state.ResumeTiming();
        f.player->remove_selected();
        benchmark::DoNotOptimize(f.player->playlist.count());
        state.PauseTiming();
        f.player.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveHalf)->Name("remove_selected_half")->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.player->select_all_as(1);
        f.player->invert_selection();
    }
}
BENCHMARK(BM_SelectAll)->Name("select_all_and_invert")->Unit(benchmark::kMicrosecond);

}  // namespace
