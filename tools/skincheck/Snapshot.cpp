#include "Snapshot.h"

#include <cstdint>
#include <vector>

#include "PngWriter.h"
#include "edx/EdxCodes.h"
#include "edx/EdxRender.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinLoader.h"
#include "state/TagUserData.h"
#include "ui/TopLevel.h"

namespace dz {

namespace {

// The shown state: the second of three tunes, 1:23 into 2:31, shuffle on.
void PlayingState(TAG_USERDATA& d, FakeAudioLibrary& lib) {
    for (const char* title : {"Morning Steps", "Echo Hall", "Backyard Groove"})
        d.player.add_entry(std::string("/demo/") + title + ".ptcop", std::string(title), 151.0f);
    d.player.current_index = 1;
    d.player.playlist[1].current_mark = 1;
    d.player.playlist[2].selected = 1;
    d.player.recompute_totals();
    tagTUNEINFO& t = d.player.current_tune;
    t = d.player.playlist[1];
    t.beats_per_measure = 4;
    t.clocks_per_beat = 480;
    t.play_measures = 76;
    d.player.is_playing = 1;
    d.player.position_seconds = 83.0f;
    d.player.position_clock = 83 * 960;
    d.player.volume = 0.7f;
    d.shuffle = 1;
    d.visible_pledit = 1;
    d.list_dirty = 1;
    lib.streaming = true;
}

}  // namespace

bool WriteSkinSnapshot(const std::filesystem::path& skin, bool folder, const std::string& png,
                       std::string& error) {
    FakeWindowHost host;
    FakeAudioLibrary lib;
    TAG_USERDATA d(&host, lib);
    SkinImageDecoder decoder;
    SkinRegistries registries{d.skin, decoder, &host, nullptr};
    if (folder)
        LoadSkinFolder(registries, skin);
    else
        LoadSkinArchive(registries, skin);
    PlayingState(d, lib);

    EdxWorld world(&host);
    world.user_data = &d;
    d.world = &world;
    world.rect = Rect{0, 0, 275, 116};
    RecreateBuffers(&world);
    CreateTopLevelBodies(d);
    // The editor sets its own height on the relayout; the three stack without gaps.
    d.body_main_shade->visible = 1;
    d.body_main_shade->rect = Rect{0, 116, 275, 130};
    d.body_pledit->rect = Rect{0, 130, 275, 246};
    d.body_pledit->send(EDX_RELAYOUT);
    const int height = d.body_pledit->rect.bottom;
    world.rect = Rect{0, 0, 275, height};
    RecreateBuffers(&world);
    Update(&world);
    ComposeFrame(&world, 0, 0x000100);

    const EdxImage& frame = world.front_buffer;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(frame.width()) * frame.height() * 3);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const ColorRef c = frame.pixel(x, y);
            rgb.push_back(static_cast<std::uint8_t>(c & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        }
    return WritePng(png, frame.width(), frame.height(), rgb, error);
}

}  // namespace dz
