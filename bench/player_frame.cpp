// Composing the player window with our default skin while a tune plays: every body
// draws (digits, title, seek bar, visualisation, lamps), the key colour is protected
// and the frame copied to the front buffer.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "edx/EdxRender.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeTextRenderer.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinText.h"
#include "state/TagUserData.h"
#include "ui/TopLevel.h"

namespace {

void BM_ComposePlayerWhilePlaying(benchmark::State& state) {
    dz::FakeWindowHost host;
    dz::FakeAudioLibrary lib;
    dz::FakeTextRenderer text;
    dz::TAG_USERDATA d(&host, lib);
    dz::EdxWorld world(&host);
    const std::filesystem::path skin = std::filesystem::path(DEZIDU_DEMO_DIR) / "skins/pxtone";
    dz::SkinImageDecoder decoder;
    for (const char* e : {"MAIN", "TITLEBAR", "CBUTTONS", "POSBAR", "VOLUME", "SHUFREP", "MONOSTER",
                          "PLAYPAUS", "NUMBERS", "NUMS_EX", "TEXT"})
        dz::LoadSkinBitmap(skin / (std::string(e) + ".BMP"), d.skin.skin_images, decoder, e);
    dz::ReadViscolorTxt(skin / "VISCOLOR.TXT", d.skin.skin_colors);
    world.font.renderer = &text;
    world.user_data = &d;
    world.rect = dz::Rect{0, 0, 275, 116};
    dz::RecreateBuffers(&world);
    d.world = &world;
    dz::CreateTopLevelBodies(d);
    d.body_pledit->visible = 0;
    d.player.is_playing = 1;
    lib.streaming = true;
    d.player.current_tune.title = "Morning Steps";
    d.player.current_tune.length_seconds = 45.0f;
    d.player.current_tune.beats_per_measure = 4;
    d.player.current_tune.clocks_per_beat = 480;
    d.player.current_tune.play_measures = 24;
    int clock = 0;
    for (auto _ : state) {
        clock += 96;  // a tenth of a second at 120 beats a minute
        d.player.position_clock = clock % (24 * 4 * 480);
        d.player.position_seconds = static_cast<float>(clock % (24 * 4 * 480)) / 960.0f;
        dz::ComposeFrame(&world, 0, 0x000100);
    }
}
BENCHMARK(BM_ComposePlayerWhilePlaying)->Unit(benchmark::kMicrosecond);

}  // namespace
