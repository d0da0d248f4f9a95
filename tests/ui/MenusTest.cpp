// The twenty menus: texts per language, the shared sub-menus, the check marks of every
// setting they show, the skin items and the snapshots shown on the UI thread.
#include <gtest/gtest.h>

#include <functional>

#include "platform/fake/FakeAudioLibrary.h"
#include "state/CommandId.h"
#include "state/TagUserData.h"
#include "ui/menus/CheckMarks.h"
#include "ui/menus/MenuBuilder.h"

namespace dz {
namespace {

// Every command item of `menu` and its sub-menus with `id`.
void Collect(const Menu& menu, int id, std::vector<const MenuItem*>& out) {
    for (const MenuItem& item : menu.items) {
        if (item.submenu)
            Collect(*item.submenu, id, out);
        else if (!item.separator && item.id == id)
            out.push_back(&item);
    }
}

std::vector<const MenuItem*> ItemsWithId(const TAG_USERDATA& d, int id) {
    std::vector<const MenuItem*> out;
    for (const auto& menu : d.menus) Collect(*menu, id, out);
    return out;
}

class MenusTest : public ::testing::Test {
protected:
    FakeAudioLibrary lib;
    TAG_USERDATA d{nullptr, lib};
};

TEST_F(MenusTest, TextsFollowTheLanguageOfTheRun) {
    BuildMenus(d, {});
    EXPECT_EQ(d.menus[0]->items.size(), 11u);
    EXPECT_EQ(d.menus[0]->items[0].text, "Dezidu...");
    EXPECT_EQ(d.menus[0]->items[10].text, "Exit\tAlt+F4");
    EXPECT_EQ(d.menus[1]->items[3].text, "Time enlapded\tCtrl+T toggles");
    EXPECT_EQ(d.menus[18]->items[0].text, "Sort");

    d.japanese = 1;
    BuildMenus(d, {});
    EXPECT_EQ(d.menus[0]->items[0].text, "Dezidu(&P)...");
    EXPECT_EQ(d.menus[0]->items[10].text, "終了(&X)");
    EXPECT_EQ(d.menus[1]->items[3].text, "経過時間(&E)\tCtrl+Tで切り替え");
    EXPECT_EQ(d.menus[19]->items[2].text, "新規プレイリスト(クリア)\tCtrl+N");
    EXPECT_TRUE(d.menus[0]->items[1].separator);
    EXPECT_TRUE(d.menus[0]->items[1].text.empty());
}

TEST_F(MenusTest, SkinsMenuIsOneMenuInBothPlacesWithItsSkinItems) {
    d.skin_name = "Beta";
    BuildMenus(d, {"Alpha", "Beta", "Gamma"});
    EXPECT_EQ(d.menus[0]->items[8].submenu, d.menus[2]);
    EXPECT_EQ(d.menus[1]->items[1].submenu, d.menus[2]);
    EXPECT_EQ(d.menus[18]->items[0].submenu, d.menus[14]);
    EXPECT_EQ(d.menus[0]->items[2].submenu, d.menus[3]);

    const Menu& skins = *d.menus[2];
    ASSERT_EQ(skins.items.size(), 5u);
    EXPECT_EQ(d.skin_menu_base, 2);
    EXPECT_EQ(skins.items[0].id, kCmdReloadSkins);
    for (int k = 0; k < 3; ++k) {
        const MenuItem& item = skins.items[2 + static_cast<std::size_t>(k)];
        EXPECT_EQ(item.id, kCmdFirstSkin + k);
        EXPECT_EQ(item.checked, item.text == "Beta") << item.text;
    }

    // A rebuild makes new menus: the old skin items are not kept.
    BuildMenus(d, {"Delta"});
    ASSERT_EQ(d.menus[2]->items.size(), 3u);
    EXPECT_EQ(d.menus[2]->items[2].text, "Delta");
    EXPECT_FALSE(d.menus[2]->items[2].checked);
}

TEST_F(MenusTest, EveryCheckMarkFollowsItsSetting) {
    struct Source {
        int id;
        int TAG_USERDATA::*field;
        int checked_when;
    };
    const Source sources[] = {
        {kCmdAlwaysOnTop, &TAG_USERDATA::always_on_top, 1},
        {kCmdDoubleSize, &TAG_USERDATA::double_size, 1},
        {kCmdEasyMove, &TAG_USERDATA::easy_move, 1},
        {kCmdShuffle, &TAG_USERDATA::shuffle, 1},
        {kCmdRepeat, &TAG_USERDATA::repeat, 1},
        {kCmdPlaylistEditor, &TAG_USERDATA::visible_pledit, 1},
        {kCmdShowElapsed, &TAG_USERDATA::time_reverse, 0},
        {kCmdShowRemaining, &TAG_USERDATA::time_reverse, 1},
    };
    BuildMenus(d, {"Alpha", "Beta"});
    for (const Source& s : sources) {
        for (int value : {0, 1}) {
            d.*s.field = value;
            RefreshCheckMarks(d);
            std::vector<const MenuItem*> items = ItemsWithId(d, s.id);
            ASSERT_FALSE(items.empty()) << s.id;
            for (const MenuItem* item : items)
                EXPECT_EQ(item->checked, value == s.checked_when)
                    << "id " << s.id << " = " << value;
        }
    }
    // The two time items: exactly one is checked, in both menus that hold them.
    for (int reverse : {0, 1}) {
        d.time_reverse = reverse;
        RefreshCheckMarks(d);
        for (int menu : {1, 13}) {
            int checked = 0;
            for (const MenuItem& item : d.menus[static_cast<std::size_t>(menu)]->items)
                checked +=
                    (item.id == kCmdShowElapsed || item.id == kCmdShowRemaining) && item.checked;
            EXPECT_EQ(checked, 1) << "menu " << menu;
        }
    }
    // The skin mark moves with skin_name, and shows through both places of the menu.
    d.skin_name = "Alpha";
    RefreshCheckMarks(d);
    EXPECT_TRUE(d.menus[0]->items[8].submenu->items[2].checked);
    EXPECT_FALSE(d.menus[1]->items[1].submenu->items[3].checked);
    d.skin_name = "Beta";
    RefreshCheckMarks(d);
    EXPECT_FALSE(d.menus[2]->items[2].checked);
    EXPECT_TRUE(d.menus[2]->items[3].checked);
}

// The UI thread shows a copy: later changes by the worker do not reach a menu on screen.
TEST_F(MenusTest, SnapshotIsADeepCopyThatKeepsSharedSubmenusShared) {
    BuildMenus(d, {"Alpha"});
    std::shared_ptr<const Menu> shown = SnapshotMenu(*d.menus[0]);
    const Menu* options = shown->items[7].submenu.get();
    const Menu* skins = shown->items[8].submenu.get();
    EXPECT_NE(skins, d.menus[2].get());
    EXPECT_EQ(options->items[1].submenu.get(), skins);

    d.double_size = 1;
    RefreshCheckMarks(d);
    d.menus[2]->items.clear();
    ASSERT_EQ(options->items[7].id, kCmdDoubleSize);
    EXPECT_FALSE(options->items[7].checked);  // Double Size as it was when shown
    EXPECT_TRUE(d.menus[1]->items[7].checked);
    EXPECT_EQ(skins->items.size(), 3u);
}

}  // namespace
}  // namespace dz
