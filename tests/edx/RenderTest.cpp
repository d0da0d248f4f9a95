// Frame buffers, the key colour and composition.
#include <gtest/gtest.h>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "edx/EdxRaster.h"
#include "edx/EdxRender.h"
#include "edx/EdxWindow.h"
#include "edx/EdxWorld.h"
#include "platform/fake/FakeWindowHost.h"

namespace dz {
namespace {

void SetPixel(EdxImage& img, int x, int y, ColorRef c) {
    std::uint8_t* p = img.row(y) + 3 * x;
    p[0] = (c >> 16) & 0xFF;
    p[1] = (c >> 8) & 0xFF;
    p[2] = c & 0xFF;
}

TEST(RenderTest, RowsArePaddedToFourBytes) {
    EdxImage img;
    ASSERT_TRUE(img.fill_blank(275, 2));
    EXPECT_EQ(img.stride(), 828);          // 825 rounded up
    EXPECT_FALSE(img.fill_blank(10, 10));  // filled at most once between releases
    img.release();
    EXPECT_FALSE(img.has_bitmap());
    EXPECT_FALSE(img.fill_blank(0, 5));
}

TEST(RenderTest, ProtectKeyColourReplacesOnlyExactKeyPixels) {
    EdxImage img;
    img.fill_blank(3, 2);
    SetPixel(img, 0, 0, 0x000000);
    SetPixel(img, 1, 0, 0x010000);  // blue 1: not the key
    SetPixel(img, 2, 0, 0x123456);
    SetPixel(img, 0, 1, 0x000001);  // red 1
    SetPixel(img, 1, 1, 0x000000);
    SetPixel(img, 2, 1, 0x000100);
    ProtectKeyColour(img, 0x000000, 0x000100);
    EXPECT_EQ(img.pixel(0, 0), 0x000100u);
    EXPECT_EQ(img.pixel(1, 0), 0x010000u);
    EXPECT_EQ(img.pixel(2, 0), 0x123456u);
    EXPECT_EQ(img.pixel(0, 1), 0x000001u);
    EXPECT_EQ(img.pixel(1, 1), 0x000100u);
    EXPECT_EQ(img.pixel(2, 1), 0x000100u);
    // The substitute's bytes go in as red, green, blue of the COLORREF.
    std::uint8_t* p = img.row(0);
    EXPECT_EQ(p[0], 0x00);  // blue
    EXPECT_EQ(p[1], 0x01);  // green
    EXPECT_EQ(p[2], 0x00);  // red
}

int g_draws = 0;
int Painter(EdxBody* body, int code, TAG_USERDATA*) {
    if (code != EDX_DRAW) return 0;
    ++g_draws;
    // Pure black, white and red squares clipped to the body.
    EdxWorld* w = body->world;
    Point o = AbsoluteOrigin(body);
    for (int y = 0; y < body->rect.height(); ++y) {
        for (int x = 0; x < body->rect.width(); ++x) {
            int ax = o.x + x, ay = o.y + y;
            if (!w->clip.contains(ax, ay)) continue;
            ColorRef c = x < 2 ? 0x000000 : (x < 4 ? 0xFFFFFF : 0x0000FF);
            SetPixel(w->back_buffer, ax, ay, c);
        }
    }
    return 0;
}

TEST(RenderTest, ComposeFrameDrawsProtectsCutsAndCopiesToFront) {
    FakeWindowHost host;
    EdxWorld world(&host);
    world.rect = Rect{0, 0, 20, 10};
    RecreateBuffers(&world);
    g_draws = 0;
    CreateBody(&world, EdxBodyInfo{Painter, {2, 2, 8, 5}, 1, 0});
    bool shape_saw_protected = false;
    ComposeFrame(&world, 0x000000, 0x000100, [&](EdxWorld* w) {
        shape_saw_protected = w->back_buffer.pixel(2, 2) == 0x000100;
        SetPixel(w->back_buffer, 19, 9, 0x000000);  // the shape cuts a hole
    });
    EXPECT_EQ(g_draws, 1);
    EXPECT_TRUE(shape_saw_protected);
    const EdxImage& f = world.front_buffer;
    EXPECT_EQ(f.pixel(0, 0), 0x000100u);  // background black became near-black
    EXPECT_EQ(f.pixel(2, 2), 0x000100u);  // drawn black too
    EXPECT_EQ(f.pixel(4, 2), 0xFFFFFFu);
    EXPECT_EQ(f.pixel(6, 4), 0x0000FFu);
    EXPECT_EQ(f.pixel(19, 9), 0x000000u);  // only the shape makes pure black
    int presents = host.presents;
    PaintWindow(&world);
    EXPECT_EQ(host.presents, presents + 1);

    FrameView seen{};
    PaintFrontBuffer(&world, [&](const FrameView& v) { seen = v; });
    EXPECT_EQ(seen.width, 20);
    EXPECT_EQ(seen.height, 10);
    EXPECT_EQ(seen.pixels, f.pixels());
}

int g_colour = 0;
int Colourer(EdxBody* body, int code, TAG_USERDATA*) {
    if (code == EDX_DRAW) SetPixel(body->world->back_buffer, 0, 0, ColorRef(g_colour));
    return 0;
}

TEST(RenderTest, OnlyAChangedFrameOrScaleIsPresented) {
    FakeWindowHost host(4, 2);
    EdxWorld world(&host);
    world.rect = Rect{0, 0, 4, 2};
    RecreateBuffers(&world);
    CreateBody(&world, EdxBodyInfo{Colourer, {0, 0, 4, 2}, 1, 0});
    g_colour = 0x123456;
    ComposeFrame(&world, 0, 0x000100);
    PaintWindow(&world);
    ComposeFrame(&world, 0, 0x000100);
    PaintWindow(&world);
    EXPECT_EQ(host.presents, 1);
    g_colour = 0x654321;
    ComposeFrame(&world, 0, 0x000100);
    PaintWindow(&world);
    PaintWindow(&world);
    EXPECT_EQ(host.presents, 2);
    EXPECT_EQ(world.front_buffer.pixel(0, 0), 0x654321u);
    SetZoom(&world, 2.0);  // the window mask follows the scale
    PaintWindow(&world);
    EXPECT_EQ(host.presents, 3);
}

// Bodies that draw through the primitives, each in the colour its tag indexes.
ColorRef g_fill[3];
int Filler(EdxBody* body, int code, TAG_USERDATA*) {
    if (code == EDX_DRAW)
        DrawRect(body, 0, body->rect.width(), body->rect.height(), g_fill[body->tag], 1);
    return 0;
}

struct FillWorld {
    FakeWindowHost host{20, 10};
    EdxWorld world{&host};
    EdxBody* bodies[3];
    FillWorld() {
        world.rect = Rect{0, 0, 20, 10};
        RecreateBuffers(&world);
        // The third overlaps the second and is drawn after it.
        const Rect rects[3] = {{0, 0, 6, 10}, {8, 0, 16, 6}, {12, 4, 18, 9}};
        for (int i = 0; i < 3; ++i)
            bodies[i] = CreateBody(&world, EdxBodyInfo{Filler, rects[i], 1, i});
    }
    void compose() { ComposeFrame(&world, 0, 0x000100); }
};

::testing::AssertionResult SameFrame(const EdxImage& a, const EdxImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return ::testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
    return ::testing::AssertionSuccess();
}

TEST(RenderTest, OnlyTheBodiesWhoseDrawingChangedAreComposedAgain) {
    g_fill[0] = 0x0000FF, g_fill[1] = 0x00FF00, g_fill[2] = 0xFF0000;
    FillWorld f;
    f.compose();
    EXPECT_EQ(f.world.composer.last_drawn(), std::vector<Rect>{f.world.rect});
    PaintWindow(&f.world);
    const int presents = f.host.presents;
    f.compose();  // nothing changed: no pixel written, nothing shown again
    EXPECT_TRUE(f.world.composer.last_drawn().empty());
    PaintWindow(&f.world);
    EXPECT_EQ(f.host.presents, presents);

    g_fill[1] = 0x00FFFF;  // the second body only; the third stays on top of it
    f.compose();
    EXPECT_EQ(f.world.composer.last_drawn(), (std::vector<Rect>{{8, 0, 16, 6}}));
    FillWorld whole;  // the same state composed from scratch
    whole.compose();
    EXPECT_TRUE(SameFrame(f.world.front_buffer, whole.world.front_buffer));
    EXPECT_EQ(f.world.front_buffer.pixel(13, 5), 0xFF0000u);

    f.bodies[2]->visible = 0;  // a body that goes leaves its area to be drawn again
    whole.bodies[2]->visible = 0;
    f.compose();
    EXPECT_EQ(f.world.composer.last_drawn(), (std::vector<Rect>{{12, 4, 18, 9}}));
    whole.compose();
    EXPECT_TRUE(SameFrame(f.world.front_buffer, whole.world.front_buffer));
    EXPECT_EQ(f.world.front_buffer.pixel(13, 5), 0x00FFFFu);

    RasterFill(f.world.back_buffer, f.world.rect, Rect{0, 0, 1, 1}, 0x123456);
    f.compose();  // a write outside composition: the whole frame again
    EXPECT_EQ(f.world.composer.last_drawn(), std::vector<Rect>{f.world.rect});
    EXPECT_TRUE(SameFrame(f.world.front_buffer, whole.world.front_buffer));
}

TEST(RenderTest, ComposeWithoutBuffersTouchesNothing) {
    FakeWindowHost host;
    EdxWorld world(&host);
    world.rect = Rect{0, 0, 0, 0};
    RecreateBuffers(&world);
    g_draws = 0;
    CreateBody(&world, EdxBodyInfo{Painter, {0, 0, 8, 5}, 1, 0});
    ComposeFrame(&world, 0, 0x000100);
    EXPECT_EQ(g_draws, 0);
    bool painted = false;
    PaintFrontBuffer(&world, [&](const FrameView&) { painted = true; });
    EXPECT_FALSE(painted);
}

}  // namespace
}  // namespace dz
