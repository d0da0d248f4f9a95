// The button strips: opened by their buttons, drawn over the list, each item's action
// through the command table, closed by an item or by the cover.
#include "PleditFixture.h"

namespace dz {
namespace {

using Tags = std::vector<int>;

class StripsTest : public PleditTest {
protected:
    EdxBody* strip(int s) {
        EdxBody* const all[] = {d.body_strip_add, d.body_strip_rem, d.body_strip_sel,
                                d.body_strip_misc, d.body_strip_list};
        return all[s];
    }
    EdxBody* item(int s, int k) { return strip(s)->children[static_cast<std::size_t>(k)]; }
    // Opens strip s by its button and clicks its item k.
    void run_item(int s, int k) {
        click(strip_button(s));
        ASSERT_EQ(strip(s)->visible, 1);
        click(item(s, k));
    }
    bool any_open() {
        bool open = d.body_strip_cover->visible != 0;
        for (int s = 0; s < 5; ++s) open = open || strip(s)->visible != 0;
        return open;
    }
};

TEST_F(StripsTest, ButtonsOpenTheirStripOverTheListAndTheCoverClosesIt) {
    frame();
    for (int s = 0; s < 5; ++s) {
        click(strip_button(s));
        EXPECT_EQ(strip(s)->visible, 1);
        EXPECT_EQ(d.body_strip_cover->visible, 1);
        // The strip stands on its button: same x, same bottom.
        const Rect button = AbsoluteRect(strip_button(s)), r = AbsoluteRect(strip(s));
        EXPECT_EQ(r.left, button.left);
        EXPECT_EQ(r.bottom, button.bottom);
        // Another button is under the cover: the click only closes the strip.
        click(strip_button((s + 1) % 5));
        EXPECT_FALSE(any_open());
    }
}

TEST_F(StripsTest, StripsDrawTheirBarAndTheHoveredItemLit) {
    click(strip_button(1));  // REM: white fill, bar, four items
    point_at(item(1, 2));
    frame();
    save_frame("rem-strip");
    const Rect r = AbsoluteRect(strip(1));
    EXPECT_EQ(differing(r.left, r.top, "PLEDIT", 100, 111, 3, 72), 0);
    EXPECT_EQ(differing(r.left + 3, r.top, "PLEDIT", 54, 168, 22, 18), 0);
    EXPECT_EQ(differing(r.left + 3, r.top + 18, "PLEDIT", 54, 111, 22, 18), 0);
    EXPECT_EQ(differing(r.left + 3, r.top + 36, "PLEDIT", 54 + 23, 130, 22, 18), 0);  // hovered
    EXPECT_EQ(differing(r.left + 3, r.top + 54, "PLEDIT", 54, 149, 22, 18), 0);
}

TEST_F(StripsTest, RemItemsRemoveSelectedCropAllOrNothing) {
    add(6);
    frame();
    d.player.select_range(1, 2);
    run_item(1, 0);  // the top item only closes
    EXPECT_FALSE(any_open());
    EXPECT_EQ(d.player.playlist.count(), 6);
    run_item(1, 3);  // remove selected
    EXPECT_EQ(d.player.playlist.count(), 4);
    EXPECT_NE(ini_text().find("NumberOfEntries=4"), std::string::npos);
    frame();
    EXPECT_EQ(row_tags(), (Tags{0, 1, 2, 3}));
    d.player.select_one(3);
    run_item(1, 2);  // crop
    ASSERT_EQ(d.player.playlist.count(), 1);
    EXPECT_EQ(d.player.playlist[0].path, "/t/5.ptcop");
    add(2);
    run_item(1, 1);  // all
    EXPECT_EQ(d.player.playlist.count(), 0);
    EXPECT_NE(ini_text().find("NumberOfEntries=0"), std::string::npos);
    frame();
    EXPECT_TRUE(rows().empty());
}

TEST_F(StripsTest, SelItemsInvertClearAndSelectAll) {
    add(4);
    d.player.select_one(1);
    run_item(2, 0);
    EXPECT_EQ(selected(), (Tags{0, 2, 3}));
    run_item(2, 1);
    EXPECT_TRUE(selected().empty());
    run_item(2, 2);
    EXPECT_EQ(selected(), (Tags{0, 1, 2, 3}));
    EXPECT_FALSE(any_open());
}

TEST_F(StripsTest, AddAndListItemsRunTheirCommands) {
    int asked = 0;
    d.hooks.commands.ask_url = [&](TAG_USERDATA&) -> std::optional<std::string> {
        ++asked;
        return std::nullopt;
    };
    run_item(0, 0);
    EXPECT_EQ(asked, 1);
    add(3);
    run_item(4, 0);  // new list
    EXPECT_EQ(d.player.playlist.count(), 0);
    EXPECT_FALSE(any_open());
}

// While the sort menu shows, the player's O button is lit in the window; the menu sits at
// the item's top-right corner and its choice comes back as a command.
TEST_F(StripsTest, MiscSortMenuShowsWithTheOptionsButtonLit) {
    struct Watching : FakePopupMenus {
        TAG_USERDATA* data = nullptr;
        ColorRef o_pixel = 0;
        int held = 0;
        int track(const Menu& menu, Point screen) override {
            held = data->options_held;
            // The clutter bar's O button, lit from TITLEBAR (304, 46) at (10, 24).
            o_pixel = data->world->front_buffer.pixel(10 + 4, 24 + 4);
            return FakePopupMenus::track(menu, screen);
        }
    } menus;
    menus.data = &d;
    menus.choice = 31;  // sort by title
    d.services.popup_menus = &menus;
    d.menus[14] = std::make_shared<Menu>();
    add(3, [](int i) { return std::to_string(i); });
    for (int i = 0; i < 3; ++i)
        d.player.playlist[std::size_t(i)].name = std::string(1, char('c' - i));
    host.window = Rect{100, 50, 375, 282};
    run_item(3, 0);
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(menus.held, 1);
    EXPECT_EQ(menus.o_pixel, shown(skin("TITLEBAR")->pixel(304 + 4, 46 + 4)));
    const Rect r = AbsoluteRect(item(3, 0));
    EXPECT_EQ(menus.shown[0].screen, (Point{100 + r.right, 50 + r.top}));
    EXPECT_EQ(d.options_held, 0);
    EXPECT_FALSE(any_open());
    ASSERT_EQ(posted, Tags{31});
    command(posted[0]);
    EXPECT_EQ(d.player.playlist[0].path, "/t/2.ptcop");
    EXPECT_EQ(d.player.playlist[2].path, "/t/0.ptcop");
}

TEST_F(StripsTest, HidingTheEditorHidesAnOpenStripButKeepsTheCover) {
    click(strip_button(3));
    command(kCmdPlaylistEditor);
    EXPECT_EQ(strip(3)->visible, 0);
    EXPECT_EQ(d.body_strip_cover->visible, 1);
    point_at(50, 50);
    mouse({kWmLButtonDown, kWmLButtonUp});
    EXPECT_EQ(d.body_strip_cover->visible, 0);
}

}  // namespace
}  // namespace dz
