// The layout of the ten top-level bodies, the window size and scale, and the
// player's outline cut into the composed frame.
#include <gtest/gtest.h>

#include "app/AppCallback.h"
#include "app/Layout.h"
#include "app/ModuleHooks.h"
#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "edx/EdxRender.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

constexpr ColorRef kMain = 0x0000FF, kShade = 0x00FF00, kEditor = 0xFF0000;

// Fills itself with the colour in its tag; the editor takes its height from the page size
// on EDX_RELAYOUT (40 + 14 per row here).
int Body(EdxBody* body, int code, TAG_USERDATA* data) {
    if (code == EDX_DRAW && body->tag) {
        DrawRect(body, 0, body->rect.width(), body->rect.height(), ColorRef(body->tag), 1);
    }
    if (code == EDX_RELAYOUT && data && body == data->body_pledit) {
        body->rect.bottom = body->rect.top + 40 + 14 * data->scroll_page;
    }
    return 0;
}

class LayoutTest : public ::testing::Test {
protected:
    LayoutTest() {
        world.user_data = &data;
        world.rect = Rect{0, 0, 275, 116};
        RecreateBuffers(&world);
        data.world = &world;
        auto make = [this](Rect r, int colour = 0) {
            return CreateBody(&world, EdxBodyInfo{Body, r, 1, colour});
        };
        data.body_main = make({0, 0, 275, 116}, int(kMain));
        data.body_main_shade = make({0, 0, 275, 14}, int(kShade));
        data.body_pledit = make({0, 0, 275, 58}, int(kEditor));
        data.body_pledit_shade = make({0, 0, 275, 14});
        data.body_strip_cover = make({0, 0, 0, 0});
        data.body_strip_cover->visible = 0;
        data.body_strip_add = make({14, 0, 36, 54});
        data.body_strip_rem = make({43, 0, 65, 54});
        data.body_strip_sel = make({72, 0, 94, 54});
        data.body_strip_misc = make({101, 0, 123, 54});
        data.body_strip_list = make({228, 0, 250, 72});
        data.visible_player = 1;
        data.visible_pledit = 1;
        data.scroll_page = 4;  // an editor of 96 pixels
    }
    void layout() { data.hooks.run_layout(data); }
    Rect client() { return host.client_rect(); }

    FakeWindowHost host;  // its window has no frame: window size == client size
    FakeAudioLibrary lib;
    TAG_USERDATA data{&host, lib, DefaultAppHooks()};
    EdxWorld world{&host};
};

TEST_F(LayoutTest, PlayerOverEditorWithStripsAboveTheEditorsBottom) {
    data.always_on_top = 1;
    layout();
    EXPECT_EQ(data.body_main->rect, (Rect{0, 0, 275, 116}));
    EXPECT_EQ(data.body_pledit->rect, (Rect{0, 116, 275, 212}));
    EXPECT_EQ(world.rect, (Rect{0, 0, 275, 212}));
    EXPECT_EQ(client(), (Rect{0, 0, 275, 212}));
    EXPECT_EQ(world.back_buffer.height(), 212);
    EXPECT_EQ(data.body_strip_cover->rect, (Rect{0, 0, 275, 212}));
    EXPECT_EQ(data.body_strip_cover->visible, 0);  // the layout leaves its flag alone
    EXPECT_EQ(data.body_strip_add->rect, (Rect{14, 146, 36, 200}));
    EXPECT_EQ(data.body_strip_list->rect, (Rect{228, 128, 250, 200}));
    EXPECT_EQ(data.body_main_shade->visible, 0);
    EXPECT_EQ(data.body_pledit_shade->visible, 0);
    EXPECT_TRUE(host.topmost);
    // The layout redrew the frame: the editor lies below the player.
    EXPECT_EQ(world.back_buffer.pixel(5, 115), kMain);
    EXPECT_EQ(world.back_buffer.pixel(5, 116), kEditor);

    data.scroll_page = 6;  // a taller editor: the strips follow its bottom
    data.always_on_top = 0;
    layout();
    EXPECT_EQ(client(), (Rect{0, 0, 275, 240}));
    EXPECT_EQ(data.body_strip_add->rect, (Rect{14, 174, 36, 228}));
    EXPECT_FALSE(host.topmost);
}

TEST_F(LayoutTest, ShadedPlayerAloneIsTheNormalWidthBy14) {
    data.shade_player = 1;
    data.visible_pledit = 0;
    data.body_main->rect = Rect{0, 0, 275, 116};
    layout();
    EXPECT_EQ(client(), (Rect{0, 0, 275, 14}));
    EXPECT_EQ(world.rect, (Rect{0, 0, 275, 14}));
    EXPECT_EQ(data.body_main->visible, 0);
    EXPECT_EQ(data.body_main_shade->visible, 1);
    EXPECT_EQ(data.body_pledit->visible, 0);
    for (EdxBody* s : {data.body_strip_add, data.body_strip_rem, data.body_strip_sel,
                       data.body_strip_misc, data.body_strip_list}) {
        EXPECT_EQ(s->visible, 0);
    }
}

TEST_F(LayoutTest, EditorAloneStartsAtTheTop) {
    data.visible_player = 0;
    data.body_pledit->rect = Rect{0, 116, 275, 212};
    layout();
    EXPECT_EQ(data.body_pledit->rect, (Rect{0, 0, 275, 96}));
    EXPECT_EQ(client(), (Rect{0, 0, 275, 96}));
    EXPECT_EQ(data.body_main->visible, 0);
    EXPECT_EQ(data.body_main_shade->visible, 0);
}

TEST_F(LayoutTest, DoubleSizeDoublesTheClientNotTheWorldAndTogglesBackExactly) {
    layout();
    data.double_size = 1;
    layout();
    EXPECT_EQ(client(), (Rect{0, 0, 550, 424}));
    EXPECT_EQ(world.rect, (Rect{0, 0, 275, 212}));
    EXPECT_EQ(world.back_buffer.width(), 275);
    data.double_size = 0;
    layout();
    EXPECT_EQ(client(), (Rect{0, 0, 275, 212}));
    EXPECT_EQ(world.zoom, 1.0);
    data.double_size = 1;
    data.shade_player = 1;  // a new size while doubled is doubled too
    layout();
    EXPECT_EQ(client(), (Rect{0, 0, 550, 220}));
}

TEST_F(LayoutTest, NothingShownKeepsTheBuffersAndShowsNothingUntilSomethingIs) {
    layout();
    ComposeAppFrame(data);
    PaintWindow(&world);
    const int presents = host.presents;
    data.visible_player = 0;
    data.visible_pledit = 0;
    layout();
    EXPECT_EQ(world.back_buffer.width(), 275);  // the last buffers stay
    EXPECT_EQ(world.back_buffer.height(), 212);
    EXPECT_EQ(client(), (Rect{0, 0, 275, 212}));
    data.body_main->visible = 1;  // would be drawn if a frame were composed
    ComposeAppFrame(data);
    PaintWindow(&world);
    EXPECT_EQ(host.presents, presents);
    EXPECT_EQ(world.front_buffer.pixel(5, 150), kEditor);

    data.visible_player = 1;  // the same size as before: shown again all the same
    data.visible_pledit = 1;
    layout();
    ComposeAppFrame(data);
    PaintWindow(&world);
    EXPECT_EQ(host.presents, presents + 1);
}

TEST_F(LayoutTest, ThePlayersPolygonsCutItsRectangleOnly) {
    layout();
    ComposeAppFrame(data);
    EXPECT_EQ(world.front_buffer.pixel(2, 2), kMain) << "no polygons: a rectangular window";

    data.skin.region_normal.polygons.resize(1);
    data.skin.region_normal.polygons[0].points = {{10, 10}, {100, 10}, {100, 50}, {10, 50}};
    ComposeAppFrame(data);
    const EdxImage& f = world.front_buffer;
    EXPECT_EQ(f.pixel(2, 2), 0u);
    EXPECT_EQ(f.pixel(100, 50), kMain);  // the outline is inside
    EXPECT_EQ(f.pixel(101, 50), 0u);
    EXPECT_EQ(f.pixel(2, 120), kEditor);  // below the player nothing is cut

    data.shade_player = 1;  // the shaded bar takes the shade polygons
    layout();
    data.skin.region_shade.polygons.resize(1);
    data.skin.region_shade.polygons[0].points = {{0, 0}, {20, 0}, {20, 13}, {0, 13}};
    ComposeAppFrame(data);
    EXPECT_EQ(f.pixel(10, 5), kShade);
    EXPECT_EQ(f.pixel(30, 5), 0u);
    EXPECT_EQ(f.pixel(30, 20), kEditor);
}

}  // namespace
}  // namespace dz
