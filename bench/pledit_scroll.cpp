// The whole window (player over the playlist editor, default skin from demo/) with a
// playlist of 10 000 entries: one frame tick (updates and composition) per iteration
// while the list scrolls one row, and while it is rebuilt (as after every sort or
// removal). The argument is the editor's page size in rows.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/AppCallback.h"
#include "app/Layout.h"
#include "app/ModuleHooks.h"
#include "edx/EdxRender.h"
#include "edx/EdxWorld.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeTextRenderer.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinText.h"
#include "state/TagUserData.h"
#include "ui/TopLevel.h"

namespace {

constexpr int kEntries = 10000;

struct Window {
    dz::FakeWindowHost host;
    dz::FakeAudioLibrary lib;
    dz::FakeTextRenderer text;
    dz::TAG_USERDATA d{&host, lib, dz::DefaultAppHooks()};
    dz::EdxWorld world{&host};

    explicit Window(int page) {
        world.user_data = &d;
        world.font.renderer = &text;
        world.rect = dz::Rect{0, 0, 275, 116};
        dz::RecreateBuffers(&world);
        d.world = &world;
        const std::filesystem::path dir = DEZIDU_DEMO_DIR "/skins/pxtone";
        dz::SkinImageDecoder decoder;
        for (const auto& f : std::filesystem::directory_iterator(dir)) {
            if (f.path().extension() == ".BMP")
                dz::LoadSkinBitmap(f.path(), d.skin.skin_images, decoder, f.path().stem().string());
        }
        dz::ReadPleditTxt(dir / "PLEDIT.TXT", d.skin.skin_colors);
        dz::SetTextColours(d.skin.skin_images, d.skin.skin_colors);
        for (int i = 0; i < kEntries; ++i) {
            d.player.add_entry("/music/tune" + std::to_string(i) + ".ptcop",
                               "A tune of some length, number " + std::to_string(i),
                               60.0f + i % 300);
            if (i % 7 == 0) d.player.playlist[std::size_t(i)].selected = 1;
        }
        d.player.recompute_totals();
        dz::CreateTopLevelBodies(d);
        d.visible_pledit = 1;
        d.scroll_page = page;
        dz::RunLayout(d);
        d.list_dirty = 1;
        tick();
    }
    void tick() {
        dz::Update(&world);
        dz::ComposeAppFrame(d);
    }
};

void BM_ScrollFrame(benchmark::State& state) {
    Window w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        w.d.scroll_top = (w.d.scroll_top + 1) % (w.d.scroll_max + 1);
        w.tick();
        benchmark::DoNotOptimize(w.world.front_buffer.pixels());
    }
}
BENCHMARK(BM_ScrollFrame)->Arg(4)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_RebuildFrame(benchmark::State& state) {
    Window w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        w.d.list_dirty = 1;
        w.tick();
        benchmark::DoNotOptimize(w.world.front_buffer.pixels());
    }
}
BENCHMARK(BM_RebuildFrame)->Arg(4)->Arg(30)->Unit(benchmark::kMicrosecond);

}  // namespace
