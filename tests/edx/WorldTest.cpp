// Tree operations: creation, broadcast with clipping and removal, hit testing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edx/EdxCodes.h"
#include "edx/EdxColors.h"
#include "edx/EdxImages.h"
#include "edx/EdxWorld.h"
#include "platform/fake/FakeWindowHost.h"

namespace dz {
namespace {

struct Log {
    std::vector<std::string> events;
    std::vector<Rect> clips;
};
Log* g_log = nullptr;

int Logger(EdxBody* body, int code, TAG_USERDATA*) {
    if (!g_log) return 0;
    g_log->events.push_back(std::to_string(body->tag) + ":" + std::to_string(code));
    if (code == EDX_DRAW) g_log->clips.push_back(body->world->clip);
    return 0;
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log = &log;
        world.rect = Rect{0, 0, 275, 116};
        world.tag = -1;
    }
    void TearDown() override { g_log = nullptr; }
    EdxBody* make(EdxBody* parent, Rect r, int tag, int visible = 1) {
        return CreateBody(parent, EdxBodyInfo{Logger, r, visible, tag});
    }
    Log log;
    FakeWindowHost host;
    EdxWorld world{&host};
};

TEST_F(WorldTest, CreateBodyLinksRegistersAndSendsCreate) {
    EdxBody* a = make(&world, {10, 10, 50, 30}, 1);
    EdxBody* b = make(a, {5, 5, 10, 10}, 2);
    EXPECT_EQ(a->parent, &world);
    EXPECT_EQ(b->depth, 2);
    EXPECT_EQ(world.registry.size(), 2u);
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[0], "1:" + std::to_string(EDX_CREATE));
    Point o = AbsoluteOrigin(b);
    EXPECT_EQ(o, (Point{15, 15}));
    a->child_origin = Point{0, -14};
    EXPECT_EQ(AbsoluteOrigin(b), (Point{15, 1}));
}

TEST_F(WorldTest, BroadcastClipsChildToParentOnlyAndSkipsHiddenAndOutside) {
    EdxBody* a = make(&world, {0, 0, 100, 50}, 1);
    make(a, {80, 40, 140, 90}, 2);    // sticks out of its parent
    make(a, {10, 10, 20, 20}, 3, 0);  // hidden
    make(a, {200, 0, 210, 10}, 4);    // wholly outside its parent
    log.events.clear();
    world.clip = world.rect;
    Broadcast(&world, EDX_DRAW);
    // The world has no handler here; a, then its one drawable child.
    ASSERT_EQ(log.clips.size(), 2u);
    EXPECT_EQ(log.clips[0], (Rect{0, 0, 100, 50}));
    EXPECT_EQ(log.clips[1], (Rect{80, 40, 100, 50}));
    EXPECT_EQ(world.clip, world.rect);  // restored
}

TEST_F(WorldTest, MarkedChildrenAreRemovedAndNewOnesWalkedInSameBroadcast) {
    static EdxBody* parent = nullptr;
    static int destroyed = 0;
    destroyed = 0;
    auto rebuild = [](EdxBody* body, int code, TAG_USERDATA*) -> int {
        if (code == EDX_UPDATE) {
            MarkChildrenForRemoval(body);
            CreateBody(body, EdxBodyInfo{Logger, {0, 0, 5, 5}, 1, 77});
        }
        return 0;
    };
    auto child = [](EdxBody*, int code, TAG_USERDATA*) -> int {
        if (code == EDX_DESTROYED) ++destroyed;
        return 0;
    };
    parent = CreateBody(&world, EdxBodyInfo{rebuild, {0, 0, 50, 50}, 1, 1});
    EdxBody* old = CreateBody(parent, EdxBodyInfo{child, {0, 0, 5, 5}, 1, 2});
    world.hovered = old;
    world.captured = old;
    log.events.clear();
    Broadcast(&world, EDX_UPDATE);
    EXPECT_EQ(destroyed, 1);
    ASSERT_EQ(parent->children.size(), 1u);
    EXPECT_EQ(parent->children[0]->tag, 77);
    // The new child was walked in the same broadcast.
    EXPECT_NE(std::find(log.events.begin(), log.events.end(), "77:" + std::to_string(EDX_UPDATE)),
              log.events.end());
    EXPECT_EQ(world.registry.size(), 2u);  // the removed body is gone from the registry
    EXPECT_EQ(world.captured, nullptr);    // and from the world's links
    EXPECT_EQ(world.hovered, nullptr);
}

TEST_F(WorldTest, HiddenParentAndOutsideChildrenAreNotWalked) {
    EdxBody* a = make(&world, {0, 0, 100, 50}, 1, 0);  // hidden, with shown children
    make(a, {0, 0, 10, 10}, 2);
    EdxBody* b = make(&world, {0, 60, 100, 100}, 3);
    make(b, {0, 60, 10, 70}, 4);  // below its parent's rectangle
    log.events.clear();
    Broadcast(&world, EDX_UPDATE);
    EXPECT_EQ(log.events, (std::vector<std::string>{"3:" + std::to_string(EDX_UPDATE)}));
}

// A removed body's descendants stay in the registry, out of the tree; the world must not
// keep pointing at them either, or the next update calls into a body whose parent is gone.
TEST_F(WorldTest, RemovingABodyForgetsItsWholeSubtree) {
    EdxBody* a = make(&world, {0, 0, 50, 50}, 1);
    EdxBody* b = make(a, {0, 0, 20, 20}, 2);
    EdxBody* c = make(b, {0, 0, 10, 10}, 3);
    world.captured = c;
    world.target = c;
    world.left_pressed = c;
    MarkChildrenForRemoval(a);
    Broadcast(&world, EDX_UPDATE);
    EXPECT_TRUE(a->children.empty());
    EXPECT_EQ(world.captured, nullptr);
    EXPECT_EQ(world.target, nullptr);
    EXPECT_EQ(world.left_pressed, nullptr);
    EXPECT_EQ(c->parent, nullptr);
}

int g_sets_cursor = -1;  // the tag of the body that sets a cursor (7)
int CursorAsker(EdxBody* body, int code, TAG_USERDATA*) {
    if (code != EDX_SET_CURSOR) return 0;
    if (g_log) g_log->events.push_back(std::to_string(body->tag));
    if (body == body->world) return static_cast<int>(SetBodyCursor(body, kArrowCursor));
    if (body->tag == g_sets_cursor) return static_cast<int>(SetBodyCursor(body, 7));
    return 0;
}

TEST_F(WorldTest, SetCursorGoesUpFromTheTargetUntilOneAnswers) {
    world.handler = CursorAsker;
    EdxBody* p = CreateBody(&world, EdxBodyInfo{CursorAsker, {0, 0, 50, 50}, 1, 1});
    EdxBody* q = CreateBody(p, EdxBodyInfo{nullptr, {0, 0, 40, 40}, 1, 2});  // no handler
    world.target = CreateBody(q, EdxBodyInfo{CursorAsker, {0, 0, 10, 10}, 1, 3});
    g_sets_cursor = -1;
    RequestCursor(&world);
    EXPECT_EQ(log.events, (std::vector<std::string>{"3", "1", "-1"}));
    EXPECT_EQ(host.cursors_set, (std::vector<CursorHandle>{kArrowCursor}));

    log.events.clear();
    g_sets_cursor = 1;
    EXPECT_EQ(RequestCursor(&world), int(kArrowCursor));  // the previous cursor, non-zero
    EXPECT_EQ(log.events, (std::vector<std::string>{"3", "1"}));
    // Asking for the cursor already shown needs no call into the UI thread.
    RequestCursor(&world);
    EXPECT_EQ(host.cursors_set, (std::vector<CursorHandle>{kArrowCursor, 7}));
}

TEST_F(WorldTest, HitTestTakesLatestSiblingDeepestShownBody) {
    EdxBody* a = make(&world, {0, 0, 100, 100}, 1);
    EdxBody* b = make(&world, {50, 50, 150, 116}, 2);  // overlaps a, later
    EdxBody* c = make(a, {0, 0, 20, 20}, 3);
    EXPECT_EQ(HitTest(&world, 60, 60), b);
    EXPECT_EQ(HitTest(&world, 5, 5), c);
    EXPECT_EQ(HitTest(&world, 30, 5), a);
    EXPECT_EQ(HitTest(&world, 200, 5), &world);
    EXPECT_EQ(HitTest(&world, 300, 5), nullptr);
    a->visible = 0;  // hides its whole subtree
    EXPECT_EQ(HitTest(&world, 5, 5), &world);
    b->remove_mark = 1;
    EXPECT_EQ(HitTest(&world, 60, 60), &world);
}

TEST_F(WorldTest, TeardownDetachesParentsFirstThenDestroysWorld) {
    world.handler = Logger;
    EdxBody* a = make(&world, {0, 0, 10, 10}, 1);
    make(a, {0, 0, 5, 5}, 2);
    log.events.clear();
    {
        EdxWorld* w = new EdxWorld(&host);  // a second world to tear down here
        w->handler = Logger;
        w->tag = 9;
        EdxBody* x = CreateBody(w, EdxBodyInfo{Logger, {0, 0, 5, 5}, 1, 10});
        CreateBody(x, EdxBodyInfo{Logger, {0, 0, 5, 5}, 1, 11});
        log.events.clear();
        delete w;
    }
    std::vector<std::string> want = {
        "9:" + std::to_string(EDX_DETACH), "10:" + std::to_string(EDX_DETACH),
        "11:" + std::to_string(EDX_DETACH), "9:" + std::to_string(EDX_DESTROYED)};
    EXPECT_EQ(log.events, want);
}

TEST(EdxImagesTest, KeysIgnoreAsciiCaseOnlyAndFirstInsertWins) {
    EdxImages images;
    auto first = std::make_unique<EdxImage>();
    EdxImage* stored = first.get();
    EXPECT_TRUE(images.insert("Main", first));
    auto second = std::make_unique<EdxImage>();
    EXPECT_FALSE(images.insert("MAIN", second));
    EXPECT_NE(second, nullptr);  // stays with the caller
    EXPECT_EQ(images.lookup("main"), stored);
    EXPECT_EQ(images.lookup("mAiN"), stored);
    std::string upper_hi = "\xE0";
    auto hi = std::make_unique<EdxImage>();
    images.insert(upper_hi, hi);
    EXPECT_EQ(images.lookup("\xC0"), nullptr);  // bytes above 0x7F match only themselves
    images.clear();
    EXPECT_EQ(images.lookup("MAIN"), nullptr);
}

TEST(EdxImagesTest, ColoursKeepTheFirstAndFallBackToTheCallersColour) {
    EdxColors colours;
    EXPECT_TRUE(colours.SetColourIfAbsent("PLEDIT.Normal", 0x00FF00));
    EXPECT_FALSE(colours.SetColourIfAbsent("pledit.NORMAL", 0x0000FF));
    EXPECT_EQ(colours.GetSkinColour("Pledit.normal", 0x123456), 0x00FF00u);
    EXPECT_EQ(colours.GetSkinColour("PLEDIT.Current", 0xFEDCBA), 0xFEDCBAu);
    colours.clear();
    EXPECT_EQ(colours.GetSkinColour("PLEDIT.Normal", 7), 7u);
}

TEST(EdxImagesTest, DecodedPixelsFillAnImageOnceAndShortDecodesNot) {
    DecodedImage d;
    d.width = 2;
    d.height = 1;
    d.bgra = {0x01, 0x02, 0x03, 0xFF, 0x10, 0x20, 0x30, 0x00};
    EdxImage image;
    ASSERT_TRUE(image.fill_from(d));
    EXPECT_EQ(image.pixel(0, 0), 0x010203u);  // blue, green, red bytes; alpha dropped
    EXPECT_EQ(image.pixel(1, 0), 0x102030u);
    EXPECT_FALSE(image.fill_from(d));  // filled at most once between releases
    image.release();
    d.height = 2;  // claims more rows than it has
    EXPECT_FALSE(image.fill_from(d));
    EXPECT_FALSE(image.has_bitmap());
}

}  // namespace
}  // namespace dz
