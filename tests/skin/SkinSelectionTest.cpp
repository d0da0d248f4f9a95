// The skins folder: listing, lookup by name, the skin items and the skin command.
#include <gtest/gtest.h>

#include "SkinFiles.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinSelection.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

using test::Bmp24;
namespace fs = std::filesystem;

// Runs a test inside the scratch folder as the current directory.
class SkinSelectionTest : public ::testing::Test {
protected:
    SkinSelectionTest() : old_cwd_(fs::current_path()) { fs::current_path(dir.base()); }
    ~SkinSelectionTest() override { fs::current_path(old_cwd_); }

    test::ScratchSkinDir dir;

private:
    fs::path old_cwd_;
};

TEST_F(SkinSelectionTest, FoldersAndArchivesAreListedAndFoundByName) {
    const fs::path skins = dir.folder("skins");
    dir.folder("skins/Base");
    dir.write("skins/Base.wsz", test::MakeZip({}));
    dir.write("skins/Funky.ZIP", test::MakeZip({}));
    dir.folder("skins/.hidden");
    dir.folder("skins/base.old");
    dir.write("skins/notes.txt", "x");
    dir.write("skins/Old.zip.bak", "x");

    EXPECT_EQ(ListSkinNames(skins), (std::vector<std::string>{"Base", "base.old", "Funky"}));
    EXPECT_TRUE(ListSkinNames(dir.base() / "missing").empty());

    auto found = [&](std::string_view name) {
        std::optional<SkinLocation> at = FindSkin(skins, name);
        return at ? at->path.filename().string() + (at->is_folder ? "/" : "") : "-";
    };
    EXPECT_EQ(found("Base"), "Base/");  // the folder comes before Base.wsz and base.old
    EXPECT_EQ(found("BASE"), "Base/");
    EXPECT_EQ(found("base.old"), "base.old/");
    EXPECT_EQ(found("Funky"), "Funky.ZIP");
    EXPECT_EQ(found("notes"), "-");  // neither a folder nor an archive
    EXPECT_EQ(found("Fun"), "-");
    EXPECT_EQ(found("*"), "-");  // names are not patterns
    EXPECT_EQ(found(""), "-");
    EXPECT_EQ(found(".hidden"), ".hidden/");

    // Without a folder of the exact name, "Base" takes Base.old.
    fs::remove(skins / "Base");
    fs::remove(skins / "Base.wsz");
    EXPECT_EQ(found("Base"), "base.old/");
}

TEST_F(SkinSelectionTest, SkinItemsSelectLoadOnceAndSaveTheChoice) {
    dir.write("skins/Base/main.bmp", Bmp24(1, 1, 0, 0, 255));
    dir.write("skins/Funky.ZIP", test::MakeZip({{"Funky/MAIN.BMP", Bmp24(1, 1, 0, 255, 0)}}));

    FakeWindowHost host;
    FakeAudioLibrary lib;
    int saves = 0;
    AppHooks hooks;
    hooks.commands.save_settings = [&](TAG_USERDATA&) { ++saves; };
    hooks.commands.update_menu_checks = CheckSkinItems;
    TAG_USERDATA d(&host, lib, hooks);
    d.skin_name = "pxtone";
    d.menus[2] = std::make_shared<Menu>();
    d.menus[2]->items.resize(2);  // the fixed items
    BuildSkinMenu(d);
    ASSERT_EQ(d.skin_menu_base, 2);
    ASSERT_EQ(d.menus[2]->items.size(), 4u);
    EXPECT_EQ(d.menus[2]->items[3].text, "Funky");
    EXPECT_EQ(d.menus[2]->items[3].id, 59);

    auto main_pixel = [&] {
        const EdxImage* main = d.skin_images.lookup("MAIN");
        return main ? main->pixel(0, 0) : 0xDEADu;
    };
    SkinMenuCommand(d, 58);
    EXPECT_EQ(d.skin_name, "Base");
    EXPECT_EQ(main_pixel(), 0x0000FFu);
    EXPECT_TRUE(d.menus[2]->items[2].checked);
    EXPECT_EQ(saves, 1);

    // Choosing the current skin again reads nothing.
    dir.write("skins/Base/main.bmp", Bmp24(1, 1, 255, 255, 255));
    SkinMenuCommand(d, 58);
    EXPECT_EQ(main_pixel(), 0x0000FFu);
    EXPECT_EQ(saves, 1);

    SkinMenuCommand(d, 59);
    EXPECT_EQ(d.skin_name, "Funky");
    EXPECT_EQ(main_pixel(), 0x00FF00u);
    EXPECT_FALSE(d.menus[2]->items[2].checked);
    EXPECT_TRUE(d.menus[2]->items[3].checked);
    SkinMenuCommand(d, 60);  // no such item
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
