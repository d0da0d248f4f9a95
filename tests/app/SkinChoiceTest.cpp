// The choice of a skin: the Skins menu's items, the skin command and the load into the
// application state.
#include <gtest/gtest.h>

#include "SkinFiles.h"
#include "app/SkinChoice.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinSelection.h"
#include "state/CommandId.h"
#include "state/TagUserData.h"
#include "ui/menus/CheckMarks.h"
#include "ui/menus/MenuBuilder.h"

namespace dz {
namespace {

using test::Bmp24;
namespace fs = std::filesystem;

// Each test runs inside the scratch folder as the current directory.
using SkinChoiceTest = test::InScratchDir;

TEST_F(SkinChoiceTest, SkinItemsSelectLoadOnceAndSaveTheChoice) {
    dir.write("skins/Base/main.bmp", Bmp24(1, 1, 0, 0, 255));
    dir.write("skins/Funky.ZIP", test::MakeZip({{"Funky/MAIN.BMP", Bmp24(1, 1, 0, 255, 0)}}));

    FakeWindowHost host;
    FakeAudioLibrary lib;
    int saves = 0;
    AppHooks hooks;
    hooks.commands.save_settings = [&](TAG_USERDATA&) { ++saves; };
    hooks.commands.update_menu_checks = RefreshCheckMarks;
    TAG_USERDATA d(&host, lib, hooks);
    d.skin_name = "pxtone";
    d.menus[2] = std::make_shared<Menu>();
    d.menus[2]->items.resize(2);  // the fixed items
    AppendSkinItems(d, ListSkinNames(SkinsFolder()));
    ASSERT_EQ(d.skin_menu_base, 2);
    ASSERT_EQ(d.menus[2]->items.size(), 4u);
    EXPECT_EQ(d.menus[2]->items[3].text, "Funky");
    EXPECT_EQ(d.menus[2]->items[3].id, kCmdFirstSkin + 1);

    auto main_pixel = [&] {
        const EdxImage* main = d.skin.skin_images.lookup("MAIN");
        return main ? main->pixel(0, 0) : 0xDEADu;
    };
    SkinMenuCommand(d, kCmdFirstSkin);
    EXPECT_EQ(d.skin_name, "Base");
    EXPECT_EQ(main_pixel(), 0x0000FFu);
    EXPECT_TRUE(d.menus[2]->items[2].checked);
    EXPECT_EQ(saves, 1);

    // Choosing the current skin again reads nothing.
    dir.write("skins/Base/main.bmp", Bmp24(1, 1, 255, 255, 255));
    SkinMenuCommand(d, kCmdFirstSkin);
    EXPECT_EQ(main_pixel(), 0x0000FFu);
    EXPECT_EQ(saves, 1);

    SkinMenuCommand(d, kCmdFirstSkin + 1);
    EXPECT_EQ(d.skin_name, "Funky");
    EXPECT_EQ(main_pixel(), 0x00FF00u);
    EXPECT_FALSE(d.menus[2]->items[2].checked);
    EXPECT_TRUE(d.menus[2]->items[3].checked);
    SkinMenuCommand(d, kCmdFirstSkin + 2);  // no such item
    EXPECT_EQ(d.skin_name, "Funky");
    EXPECT_EQ(saves, 2);

    // A name without a skin becomes current; the skin on screen stays.
    SelectSkin("Gone", d);
    EXPECT_EQ(d.skin_name, "Gone");
    EXPECT_EQ(main_pixel(), 0x00FF00u);

    // The skins folder is that of the current directory at each selection.
    dir.write("other/skins/Base/main.bmp", Bmp24(1, 1, 1, 2, 3));
    fs::current_path(dir.base() / "other");
    SelectSkin("Base", d);
    EXPECT_EQ(main_pixel(), 0x010203u);
}

}  // namespace
}  // namespace dz
