// Adding a folder of 1000 tunes (copies of a demo tune) through the Add Folder
// command with the real library on the null device: every tune is loaded once
// for its information and the settings file is written once.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "app/ModuleHooks.h"
#include "app/commands/Commands.h"
#include "audio/NullAudioDevice.h"
#include "platform/fake/FakeWindowHost.h"
#include "player/PxtoneLibrary.h"
#include "state/TagUserData.h"

namespace {

void BM_AddFolderOf1000Tunes(benchmark::State& state, const char* tune) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "dzaddXXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const fs::path dir = pattern;
    fs::create_directory(dir / "tunes");
    for (int i = 0; i < 1000; ++i)
        fs::copy_file(fs::path(DEZIDU_DEMO_DIR) / tune,
                      dir / "tunes" / ("t" + std::to_string(i) + ".ptcop"));

    dz::FakeWindowHost host;
    dz::PxtoneLibrary lib([] { return std::make_unique<dz::NullAudioDevice>(); });
    dz::TAG_USERDATA d(&host, lib, dz::DefaultAppHooks());
    d.ini_path = (dir / "Dezidu.ini").string();
    const std::string folder = (dir / "tunes").string();
    d.hooks.commands.choose_folder = [&](dz::TAG_USERDATA&) {
        return std::optional<std::string>(folder);
    };
    for (auto _ : state) {
        dz::cmd_add_folder(&d);
        state.PauseTiming();
        if (d.player.playlist.count() != 1000) state.SkipWithError("not all tunes added");
        d.player.select_all_as(1);
        d.player.remove_selected();
        state.ResumeTiming();
    }
    d.player.release();
    fs::remove_all(dir);
}

BENCHMARK_CAPTURE(BM_AddFolderOf1000Tunes, morning_steps, "morning-steps.ptcop")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_AddFolderOf1000Tunes, backyard_groove, "backyard-groove.ptcop")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
