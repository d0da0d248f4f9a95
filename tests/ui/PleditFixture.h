#pragma once
// The whole window headless: the application's world handler, command table and layout
// over the fake platform, with the default skin's bitmaps and colours from demo/. The
// test's thread is the fake window's UI thread, so calls into it run at once.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/AppCallback.h"
#include "app/CommandTable.h"
#include "app/Layout.h"
#include "app/ModuleHooks.h"
#include "edx/EdxCodes.h"
#include "edx/EdxWorld.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowEvents.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakePopupMenus.h"
#include "platform/fake/FakeTextRenderer.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinText.h"
#include "state/TagUserData.h"

namespace dz {

// Every bitmap of the default skin, PLEDIT.TXT and the TEXT colours.
inline void LoadDemoSkin(TAG_USERDATA& d) {
    const std::filesystem::path dir = DEZIDU_DEMO_DIR "/skins/pxtone";
    SkinImageDecoder decoder;
    for (const auto& f : std::filesystem::directory_iterator(dir)) {
        if (f.path().extension() != ".BMP") continue;
        LoadSkinBitmap(f.path(), d.skin.skin_images, decoder, f.path().stem().string());
    }
    ReadPleditTxt(dir / "PLEDIT.TXT", d.skin.skin_colors);
    SetTextColours(d.skin.skin_images, d.skin.skin_colors);
}

class PleditTest : public ::testing::Test {
protected:
    PleditTest() {
        d.services.popup_menus = &popups;
        d.post_command = [this](int id) { posted.push_back(id); };
        world.font.renderer = &text;
        Attach(&world, &d, AppWorldHandler);
        d.visible_pledit = 1;
        RunLayout(d);
    }

    static AppHooks Hooks() {
        AppHooks h = DefaultAppHooks();
        h.select_skin = LoadDemoSkin;
        return h;
    }

    // Appends n entries "/t/<i>.ptcop" titled title(i), 61 + i seconds long, that load.
    template <class Title>
    void add(int n, Title title) {
        for (int i = 0; i < n; ++i) {
            const std::string path = "/t/" + std::to_string(i) + ".ptcop";
            d.player.add_entry(path, title(i), 61.0f + i);
            lib.tunes[path] = FakeTune{};
        }
        d.player.recompute_totals();
        d.list_dirty = 1;
    }
    void add(int n) {
        add(n, [](int i) { return "Tune " + std::to_string(i); });
    }

    // One frame tick: mouse records, updates, composition.
    void frame() {
        Update(&world);
        world.send(EDX_FRAME);
    }
    void point_at(int x, int y) {
        host.cursor_x = x;
        host.cursor_y = y;
    }
    void point_at(const EdxBody* b, int dx = -1, int dy = -1) {
        const Rect r = AbsoluteRect(b);
        point_at(dx < 0 ? (r.left + r.right) / 2 : r.left + dx,
                 dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy);
    }
    // Button records delivered at the next tick, in the order given.
    void mouse(std::initializer_list<std::uint32_t> messages) {
        for (std::uint32_t m : messages) QueueMouseMessage(&world, m, 0);
        frame();
    }
    void click(const EdxBody* b) {
        point_at(b);
        mouse({kWmLButtonDown, kWmLButtonUp});
    }
    void hold(int virtual_key, bool held) {
        host.keys[static_cast<std::size_t>(virtual_key)] = held ? 0x80 : 0;
        RefreshKeyState(&world);
    }
    void command(int id) { dispatch_command(id, &d); }

    // The editor's parts, in creation order.
    EdxBody* title_grip() { return d.body_pledit->children[0]->children[0]; }
    EdxBody* middle() { return d.body_pledit->children[1]; }
    EdxBody* list() { return middle()->children[0]; }
    EdxBody* scroll_bar() { return middle()->children[1]; }
    EdxBody* bottom_bar() { return d.body_pledit->children[2]; }
    EdxBody* bar_child(int i) { return bottom_bar()->children[static_cast<std::size_t>(i)]; }
    EdxBody* scroll_up() { return bar_child(0); }
    EdxBody* scroll_down() { return bar_child(1); }
    EdxBody* resize_handle() { return bar_child(2); }
    EdxBody* totals() { return bar_child(13); }
    EdxBody* strip_button(int s) { return bar_child(14 + s); }  // ADD, REM, SEL, MISC, LIST
    // The rows that exist, top to bottom.
    std::vector<EdxBody*> rows() {
        std::vector<EdxBody*> out;
        for (EdxBody* r : list()->children)
            if (!r->remove_mark) out.push_back(r);
        return out;
    }
    std::vector<int> row_tags() {
        std::vector<int> out;
        for (EdxBody* r : rows()) out.push_back(r->tag);
        return out;
    }
    // The selected entries' indices.
    std::vector<int> selected() {
        std::vector<int> out;
        for (int i = 0; i < d.player.playlist.count(); ++i)
            if (d.player.playlist[static_cast<std::size_t>(i)].selected) out.push_back(i);
        return out;
    }
    ColorRef pixel(int x, int y) { return world.front_buffer.pixel(x, y); }
    EdxImage* skin(const char* element) { return d.skin.skin_images.lookup(element); }
    ColorRef colour(const char* name) { return d.skin.skin_colors.GetSkinColour(name, 0xDEADBE); }
    // The skin pixel as the frame shows it: pure black is shown as 0x000100.
    static ColorRef shown(ColorRef c) { return c == 0 ? 0x000100 : c; }
    // The number of pixels of the w x h block at (x, y) of the frame that differ from the
    // block at (sx, sy) of a skin bitmap.
    int differing(int x, int y, const char* element, int sx, int sy, int w, int h) {
        const EdxImage* image = skin(element);
        int n = 0;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (pixel(x + i, y + j) != shown(image->pixel(sx + i, sy + j))) ++n;
        return n;
    }
    // With DEZIDU_UI_FRAMES naming a folder, writes the frame there as <name>.ppm to be
    // looked at; otherwise does nothing.
    void save_frame(const std::string& name) {
        const char* folder = std::getenv("DEZIDU_UI_FRAMES");
        if (!folder || !*folder) return;
        const EdxImage& f = world.front_buffer;
        std::ofstream out(std::filesystem::path(folder) / (name + ".ppm"), std::ios::binary);
        out << "P6\n" << f.width() << ' ' << f.height() << "\n255\n";
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x) {
                const ColorRef c = f.pixel(x, y);
                out.put(char(c & 0xFF)).put(char((c >> 8) & 0xFF)).put(char((c >> 16) & 0xFF));
            }
    }
    std::string ini_text() {
        std::ifstream in(d.ini_path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TempWorkDir dir;  // the settings file lives here
    FakeWindowHost host;
    FakeAudioLibrary lib;
    FakeTextRenderer text;
    FakePopupMenus popups;
    TAG_USERDATA d{&host, lib, Hooks()};
    EdxWorld world{&host};
    std::vector<int> posted;  // command ids of menu choices
};

}  // namespace dz
