// Saving and reading the playlist section of a settings file.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "app/PlaylistStore.h"
#include "io/PlaylistFile.h"
#include "io/Settings.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeHttpClient.h"
#include "player/Player.h"

namespace {

std::vector<dz::PlaylistFileEntry> make_playlist(int count) {
    std::vector<dz::PlaylistFileEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(
            {"/home/user/music/collection/tune number " + std::to_string(i) + ".ptcop",
             "Tune title number " + std::to_string(i), 60 + i % 300});
    return entries;
}

struct Folder {
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "dzbenchXXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// Settings sections first, then the playlist, as the player's file holds them.
void prepare(const std::filesystem::path& ini, const std::vector<dz::PlaylistFileEntry>& list) {
    dz::write_setting_section(ini, dz::SettingValues{});
    dz::write_position_section(ini, dz::PositionValues{});
    dz::write_property_section(ini, dz::PropertyValues{});
    dz::write_playlist_file(ini, list);
}

void BM_SavePlaylist(benchmark::State& state) {
    Folder folder;
    auto ini = dz::settings_path(folder.path);
    auto list = make_playlist(static_cast<int>(state.range(0)));
    prepare(ini, list);
    for (auto _ : state) {
        if (!dz::write_playlist_file(ini, list)) state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(ini));
}
BENCHMARK(BM_SavePlaylist)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadPlaylist(benchmark::State& state) {
    Folder folder;
    auto ini = dz::settings_path(folder.path);
    prepare(ini, make_playlist(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto entries = dz::read_playlist_file(ini);
        if (entries.size() != static_cast<size_t>(state.range(0)))
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(entries);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadPlaylist)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same through the player's playlist: entries with a stored title and
// length are appended without opening their tunes.
void BM_PlayerSavePlaylist(benchmark::State& state) {
    Folder folder;
    auto ini = dz::settings_path(folder.path);
    prepare(ini, make_playlist(static_cast<int>(state.range(0))));
    dz::FakeAudioLibrary library;
    dz::FakeHttpClient http;
    dz::tagPLAYER player(library);
    dz::PlaylistStore store(player, http, ini.string());
    store.OpenPlaylist();
    if (player.playlist.count() != state.range(0)) state.SkipWithError("wrong entry count");
    for (auto _ : state) {
        if (!store.SavePlaylist()) state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlayerSavePlaylist)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PlayerReadPlaylistFile(benchmark::State& state) {
    Folder folder;
    auto ini = dz::settings_path(folder.path);
    prepare(ini, make_playlist(static_cast<int>(state.range(0))));
    dz::FakeAudioLibrary library;
    dz::FakeHttpClient http;
    dz::tagPLAYER player(library);
    dz::PlaylistStore store(player, http, ini.string());
    for (auto _ : state) {
        store.ReadPlaylistFile(ini.string());
        if (player.playlist.count() != state.range(0)) state.SkipWithError("wrong entry count");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlayerReadPlaylistFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
