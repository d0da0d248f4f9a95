// The editor's list: rows built for the view only, their drawing, the mouse on rows,
// scrolling by keys, wheel, arrows and bar, and removals.
#include "PleditFixture.h"
#include "state/ListScroll.h"

namespace dz {
namespace {

using Tags = std::vector<int>;

TEST_F(PleditTest, EmptyListHasNoRowsNoThumbAndKeysLeaveTheCursorAtZero) {
    frame();
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(d.scroll_max, 0);
    // No thumb at the top of the groove.
    const Rect bar = AbsoluteRect(scroll_bar());
    EXPECT_GT(differing(bar.left, bar.top, "PLEDIT", 52, 53, 8, 18), 0);
    command(kCmdCursorDown);  // Down
    EXPECT_EQ(d.list_cursor, 0);
    command(kCmdCursorUp);  // Up
    EXPECT_EQ(d.list_cursor, 0);
    EXPECT_TRUE(selected().empty());
}

TEST_F(PleditTest, OneRowIsDrawnAndStaysAtTheTopWhateverScrolls) {
    add(1, [](int) { return std::string("Ab"); });
    frame();
    ASSERT_EQ(row_tags(), Tags{0});
    const Rect r = AbsoluteRect(rows()[0]);
    EXPECT_EQ(r, (Rect{12, 116 + 21, 12 + 243, 116 + 35}));
    // " 1. Ab" in 6-pixel cells from x = 1, y = 1; the first cell is a space, the box of
    // '1' is text; the length " 1:01" ends 4 pixels before the row's right edge.
    EXPECT_EQ(pixel(r.left, r.top + 5), colour("PLEDIT.NormalBG"));
    EXPECT_EQ(pixel(r.left + 1 + 6 + 2, r.top + 5), colour("PLEDIT.Normal"));
    EXPECT_EQ(pixel(r.right - 5, r.top + 5), colour("PLEDIT.Normal"));
    EXPECT_EQ(pixel(r.right - 3, r.top + 5), colour("PLEDIT.NormalBG"));
    for (int id : {15, 22, 17, 17}) command(id);  // Page Down, End, Down, Down
    point_at(scroll_bar(), 2, 50);
    mouse({kWmLButtonDown});
    mouse({kWmLButtonUp});
    click(scroll_down());
    frame();
    EXPECT_EQ(d.scroll_top, 0);
    EXPECT_EQ(d.list_cursor, 0);
    // A click under the last row hits the container: nothing is selected.
    command(kCmdSelectNone);
    point_at(list(), 5, 40);
    mouse({kWmLButtonDown, kWmLButtonUp});
    EXPECT_TRUE(selected().empty());
}

TEST_F(PleditTest, TenThousandEntriesBuildOnlyTheVisibleRows) {
    add(10000);
    frame();
    EXPECT_EQ(row_tags(), (Tags{0, 1, 2, 3}));
    command(kCmdScrollBottom);  // End
    frame();
    EXPECT_EQ(d.scroll_top, 9996);
    EXPECT_EQ(row_tags(), (Tags{9996, 9997, 9998, 9999}));
    EXPECT_EQ(list()->child_origin, (Point{0, -9996 * 14}));
    // The second visible row is entry 9997, where the user sees it.
    point_at(list(), 20, 14 + 7);
    mouse({kWmLButtonDown, kWmLButtonUp});
    EXPECT_EQ(selected(), Tags{9997});
    EXPECT_EQ(d.list_cursor, 9997);
    // Scrolling by one moves the same bodies on.
    const std::vector<EdxBody*> before = rows();
    command(kCmdPageUp);  // Page Up
    frame();
    EXPECT_EQ(row_tags(), (Tags{9992, 9993, 9994, 9995}));
    EXPECT_EQ(rows(), before);
}

TEST_F(PleditTest, ScrollStopsAtBothEndsByKeysWheelArrowsAndBar) {
    add(10);
    frame();
    command(kCmdScrollBottom);  // End
    EXPECT_EQ(d.scroll_top, 6);
    ScrollOneRow(d, +1);  // the wheel
    click(scroll_down());
    EXPECT_EQ(d.scroll_top, 6);
    click(scroll_up());
    EXPECT_EQ(d.scroll_top, 5);
    command(kCmdPageUp);  // Page Up
    ScrollOneRow(d, -1);
    EXPECT_EQ(d.scroll_top, 0);

    // Bar drag: the thumb's centre follows the cursor; beyond either end it stops there.
    const Rect bar = AbsoluteRect(scroll_bar());  // 58 high: the thumb travels 40
    point_at(bar.left + 2, bar.top + 9);
    mouse({kWmLButtonDown});
    point_at(bar.left + 2, bar.top + 9 + 20);  // half way
    frame();
    EXPECT_EQ(d.scroll_top, 3);
    point_at(bar.left + 40, bar.bottom + 300);  // far below and beside the bar
    frame();
    EXPECT_EQ(d.scroll_top, 6);
    EXPECT_EQ(differing(bar.left, bar.top + 40, "PLEDIT", 61, 53, 8, 18), 0);  // pressed
    save_frame("bar-drag-bottom");
    point_at(bar.left + 2, bar.top - 100);
    frame();
    EXPECT_EQ(d.scroll_top, 0);
    mouse({kWmLButtonUp});
    EXPECT_EQ(differing(bar.left, bar.top, "PLEDIT", 52, 53, 8, 18), 0);  // released
    EXPECT_EQ(row_tags(), (Tags{0, 1, 2, 3}));
}

TEST_F(PleditTest, ClicksSelectWithShiftAndCtrlAndTheRightButtonAdds) {
    add(8);
    d.menus[10] = std::make_shared<Menu>();
    frame();
    auto row = [&](int i) { return rows()[static_cast<std::size_t>(i)]; };
    // Shift with no cursor yet: the range runs from -1, so from the first entry.
    hold(vk::kShift, true);
    click(row(2));
    EXPECT_EQ(selected(), (Tags{0, 1, 2}));
    hold(vk::kShift, false);
    click(row(1));
    EXPECT_EQ(selected(), Tags{1});
    hold(vk::kShift, true);
    click(row(3));
    EXPECT_EQ(selected(), (Tags{1, 2, 3}));
    hold(vk::kShift, false);
    hold(vk::kControl, true);
    click(row(2));
    EXPECT_EQ(selected(), (Tags{1, 3}));
    EXPECT_EQ(d.list_cursor, 2);
    hold(vk::kControl, false);

    // The right button adds the row to the selection and shows the list menu there.
    point_at(row(0));
    mouse({kWmRButtonDown, kWmRButtonUp});
    EXPECT_EQ(selected(), (Tags{0, 1, 3}));
    EXPECT_EQ(d.list_cursor, 0);
    host.pump(std::chrono::milliseconds(0));
    ASSERT_EQ(popups.shown.size(), 1u);
    EXPECT_EQ(popups.shown[0].screen, host.cursor_pos());

    // Shift-click selects the new range only: row 3, outside it, is no longer selected.
    hold(vk::kShift, true);
    click(row(2));
    EXPECT_EQ(selected(), (Tags{0, 1, 2}));
}

TEST_F(PleditTest, DoubleClickLoadsAndPlaysThatRow) {
    add(5);
    frame();
    lib.take_calls();
    point_at(rows()[2]);
    mouse({kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kWmLButtonUp});
    EXPECT_EQ(d.player.current_index, 2);
    EXPECT_EQ(d.player.is_playing, 1);
    EXPECT_EQ(lib.loaded, "/t/2.ptcop");
    EXPECT_EQ(lib.start_sample, 0);
    // The playing row is drawn in the current colour.
    frame();
    const Rect r = AbsoluteRect(rows()[2]);
    EXPECT_EQ(pixel(r.left + 9, r.top + 5), colour("PLEDIT.Current"));
    EXPECT_EQ(pixel(r.left + 150, r.top + 5), colour("PLEDIT.SelectedBG"));
    save_frame("double-click");
}

TEST_F(PleditTest, RemovalsKeepTheViewFilledAndTheCursorUsable) {
    add(10);
    frame();
    command(kCmdScrollBottom);  // End: rows 6..9 show
    frame();
    // Select the last three rows (the cursor ends on 9) and remove them.
    click(rows()[1]);
    hold(vk::kShift, true);
    click(rows()[3]);
    hold(vk::kShift, false);
    ASSERT_EQ(selected(), (Tags{7, 8, 9}));
    command(kCmdRemoveSelected);  // Delete
    frame();
    EXPECT_EQ(d.player.playlist.count(), 7);
    EXPECT_EQ(d.scroll_top, 3);  // the view ends at the new last row, no gap below
    EXPECT_EQ(row_tags(), (Tags{3, 4, 5, 6}));
    EXPECT_TRUE(selected().empty());
    // The cursor beyond the list comes back to the last row with the next key.
    command(kCmdCursorDown);
    EXPECT_EQ(d.list_cursor, 6);
    EXPECT_EQ(selected(), Tags{6});
    // The last rows' bodies left the tree.
    command(kCmdSelectAll);
    command(kCmdRemoveSelected);
    frame();
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(d.scroll_top, 0);
}

TEST_F(PleditTest, TitleLongerThanTheRowIsCoveredByTheLengthAndCutAtTheEdge) {
    add(1, [](int) { return std::string(80, 'W'); });
    frame();
    const Rect r = AbsoluteRect(rows()[0]);
    const ColorRef text_colour = colour("PLEDIT.Normal"), bg = colour("PLEDIT.NormalBG");
    // " 1:01" is 30 pixels wide, drawn from w - 34 over a patch from there to the edge.
    const int length_x = r.right - 34;
    EXPECT_EQ(pixel(length_x - 2, r.top + 5), text_colour);  // the title runs up to it
    EXPECT_EQ(pixel(length_x + 2, r.top + 5), bg);           // the length's leading space
    EXPECT_EQ(pixel(r.right - 3, r.top + 5), bg);            // the patch after the length
    // Nothing of the text is drawn right of the row.
    for (int x = r.right; x < r.right + 12; ++x) EXPECT_NE(pixel(x, r.top + 5), text_colour);
}

}  // namespace
}  // namespace dz
