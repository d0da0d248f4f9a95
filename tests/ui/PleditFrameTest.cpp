// The editor's frame: sizes from the page, the resize handle, the drawing from the
// skin, the bottom bar's text, the shaded bar and the title-bar buttons.
#include "PleditFixture.h"
#include "ui/BitmapText.h"

namespace dz {
namespace {

using Tags = std::vector<int>;

TEST_F(PleditTest, EditorSizesItsPartsFromThePage) {
    EXPECT_EQ(d.body_pledit->rect, (Rect{0, 116, 275, 232}));
    EXPECT_EQ(middle()->rect, (Rect{0, 20, 275, 78}));
    EXPECT_EQ(list()->rect, (Rect{12, 1, 255, 57}));
    EXPECT_EQ(scroll_bar()->rect, (Rect{260, 0, 268, 58}));
    EXPECT_EQ(bottom_bar()->rect, (Rect{0, 78, 275, 116}));
    d.scroll_page = 7;
    RunLayout(d);
    EXPECT_EQ(d.body_pledit->rect, (Rect{0, 116, 275, 274}));
    EXPECT_EQ(list()->rect, (Rect{12, 1, 255, 99}));
    EXPECT_EQ(scroll_bar()->rect, (Rect{260, 0, 268, 100}));
    EXPECT_EQ(bottom_bar()->rect, (Rect{0, 120, 275, 158}));
    EXPECT_EQ(host.client_rect(), (Rect{0, 0, 275, 274}));
    // Page sizes from a hand-edited settings file: below 4 rows, or so many that the
    // window would be hundreds of thousands of pixels high.
    d.scroll_page = -3;
    RunLayout(d);
    EXPECT_EQ(d.scroll_page, 4);
    EXPECT_EQ(d.body_pledit->rect.height(), 116);
    d.scroll_page = 100000;
    RunLayout(d);
    EXPECT_EQ(d.scroll_page, 512);
    EXPECT_EQ(world.rect.height(), 116 + 512 * 14 + 60);
}

TEST_F(PleditTest, ResizeHandleAddsARowPer14PixelsAndSavesThePage) {
    add(20);
    command(kCmdScrollBottom);  // End: rows 16..19 show
    frame();
    point_at(resize_handle());
    mouse({kWmLButtonDown});
    point_at(270, -500);  // far up, outside the window: the handle holds the mouse
    frame();
    EXPECT_EQ(d.scroll_page, 4);
    EXPECT_EQ(d.body_pledit->rect.height(), 116);
    point_at(270, 226);  // 13 pixels below the 4-row point
    frame();
    EXPECT_EQ(d.scroll_page, 4);
    point_at(270, 227);
    frame();
    EXPECT_EQ(d.scroll_page, 5);
    point_at(270, 227 + 3 * 14);
    frame();
    mouse({kWmLButtonUp});
    EXPECT_EQ(d.scroll_page, 8);
    EXPECT_EQ(host.client_rect(), (Rect{0, 0, 275, 116 + 8 * 14 + 60}));
    EXPECT_NE(ini_text().find("ScrollPage=8"), std::string::npos);
    // The list ended at the view's bottom; with the taller view it still does.
    EXPECT_EQ(d.scroll_top, 12);
    EXPECT_EQ(row_tags(), (Tags{12, 13, 14, 15, 16, 17, 18, 19}));
    save_frame("resized");
    const Rect last = AbsoluteRect(rows().back());
    EXPECT_EQ(last.bottom, AbsoluteRect(list()).bottom);
}

TEST_F(PleditTest, FrameIsDrawnFromTheSkinActiveAndInactive) {
    frame();
    const int top = 116;
    EXPECT_EQ(differing(0, top, "PLEDIT", 0, 0, 25, 20), 0);
    EXPECT_EQ(differing(87, top, "PLEDIT", 26, 0, 100, 20), 0);
    EXPECT_EQ(differing(250, top, "PLEDIT", 153, 0, 25, 20), 0);
    EXPECT_EQ(pixel(100, top + 40), colour("PLEDIT.NormalBG"));
    EXPECT_EQ(differing(0, top + 78, "PLEDIT", 0, 72, 125, 38), 0);
    EXPECT_EQ(differing(225, top + 78, "PLEDIT", 226, 72, 50, 38), 0);
    world.has_focus = 0;
    frame();
    EXPECT_EQ(differing(0, top, "PLEDIT", 0, 21, 25, 20), 0);
    EXPECT_EQ(differing(87, top, "PLEDIT", 26, 21, 100, 20), 0);
    world.has_focus = 1;

    // The shade button draws only while pressed; its release shades the editor.
    EdxBody* shade_button = title_grip()->children[0];
    point_at(shade_button);
    mouse({kWmLButtonDown});
    EXPECT_EQ(differing(254, top + 3, "PLEDIT", 62, 42, 9, 9), 0);
    mouse({kWmLButtonUp});
    EXPECT_EQ(d.shade_pledit, 1);
    EXPECT_EQ(d.body_pledit_shade->visible, 1);
    EXPECT_EQ(host.client_rect(), (Rect{0, 0, 275, 130}));
    EXPECT_NE(ini_text().find("ShadePledit=1"), std::string::npos);
}

TEST_F(PleditTest, BottomBarShowsTotalsAndThePlayTime) {
    // Pixels of the frame at (x, y) that differ from `t` in TEXT glyphs.
    auto glyphs_differ = [&](int x, int y, const std::string& t) {
        int n = 0;
        for (std::size_t k = 0; k < t.size(); ++k) {
            const Point cell = GlyphCell(t[k]);
            n += differing(x + 5 * int(k), y, "TEXT", cell.x, cell.y, 5, 6);
        }
        return n;
    };
    d.player.add_entry("/t/a.ptcop", std::string("A"), 3600.9f);
    d.player.add_entry("/t/b.ptcop", std::string("B"), 125.5f);
    lib.tunes["/t/b.ptcop"] = FakeTune{};
    d.player.recompute_totals();
    d.list_dirty = 1;
    frame();
    save_frame("totals");
    const Point at = AbsoluteOrigin(totals());
    EXPECT_EQ(glyphs_differ(at.x, at.y, "0:00/1:02:05"), 0);
    d.player.select_one(1);
    frame();
    EXPECT_EQ(glyphs_differ(at.x, at.y, "2:05/1:02:05"), 0);

    // The time shows the play position, also while the seek bar is dragged (drawn
    // without an update, which would end the drag that nobody holds).
    d.player.play(1, 0);
    d.player.position_seconds = 75.0f;
    d.seek_dragging = 1;
    d.seek_target_seconds = 10.0f;
    world.send(EDX_FRAME);
    const Point minutes = AbsoluteOrigin(bar_child(10));
    const Point seconds = AbsoluteOrigin(bar_child(11));
    EXPECT_EQ(glyphs_differ(minutes.x, minutes.y, "01"), 0);
    EXPECT_EQ(glyphs_differ(seconds.x, seconds.y, "15"), 0);
}

TEST_F(PleditTest, ShadedBarShowsThePlayingTuneAndOpensAgain) {
    add(3);
    d.shade_pledit = 1;
    RunLayout(d);
    frame();
    const int top = 116;
    EXPECT_EQ(d.body_pledit->visible, 0);
    EXPECT_EQ(differing(0, top, "PLEDIT", 72, 42, 4, 14), 0);
    EXPECT_EQ(differing(246, top, "PLEDIT", 120, 42, 29, 14), 0);
    EdxBody* title = d.body_pledit_shade->children[2];
    const Rect r = AbsoluteRect(title);
    EXPECT_EQ(pixel(r.left + 9, r.top + 4), colour("TEXT.NormalBG"));  // nothing plays
    d.player.play(1, 0);
    frame();
    // " 2. Tune 1" from x = 1: the second cell is the 2; the length ends 4 from the right.
    EXPECT_EQ(pixel(r.left + 9, r.top + 4), colour("TEXT.Normal"));
    EXPECT_EQ(pixel(r.left + 120, r.top + 4), colour("TEXT.NormalBG"));
    EXPECT_EQ(pixel(r.right - 6, r.top + 4), colour("TEXT.Normal"));
    save_frame("shaded");
    point_at(title);
    mouse({kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kWmLButtonUp});
    EXPECT_EQ(d.shade_pledit, 0);
    EXPECT_EQ(d.body_pledit->visible, 1);
}

TEST_F(PleditTest, CloseButtonHidesTheEditorAndSavesIt) {
    click(title_grip()->children[1]);
    EXPECT_EQ(d.visible_pledit, 0);
    EXPECT_EQ(host.client_rect(), (Rect{0, 0, 275, 116}));
    EXPECT_NE(ini_text().find("VisiblePledit=0"), std::string::npos);
}

}  // namespace
}  // namespace dz
