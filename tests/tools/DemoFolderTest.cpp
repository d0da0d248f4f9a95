// demo/, the run command's working folder: its Dezidu.ini, read by the program's own
// readers, shows the playlist editor, selects the committed skin and lists every demo tune
// by a relative path.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "io/PlaylistFile.h"
#include "io/Settings.h"

namespace {

namespace fs = std::filesystem;

TEST(DemoFolder, SettingsShowTheEditorWithTheDemoTunesAndTheDefaultSkin) {
    const fs::path demo = DEMO_DIR;
    const fs::path ini = dz::settings_path(demo);
    ASSERT_TRUE(fs::exists(ini));
    dz::SettingsValues v;
    dz::read_settings(ini, v);
    EXPECT_EQ(v.setting.visible_pledit, 1);
    EXPECT_EQ(v.setting.visible_player, 1);
    EXPECT_EQ(v.setting.skin_name, "pxtone");
    EXPECT_TRUE(fs::is_directory(demo / "skins" / v.setting.skin_name));
    EXPECT_TRUE(fs::is_regular_file(demo / "skins" / (v.setting.skin_name + ".wsz")));

    std::set<std::string> tunes;
    for (const auto& e : fs::directory_iterator(demo))
        if (e.path().extension() == ".ptcop") tunes.insert(e.path().filename().string());
    std::set<std::string> listed;
    for (const dz::PlaylistFileEntry& e : dz::read_playlist_file(ini)) {
        EXPECT_TRUE(fs::path(e.path).is_relative()) << e.path;
        EXPECT_TRUE(fs::is_regular_file(demo / e.path)) << e.path;
        EXPECT_EQ(dz::classify_added_path(e.path), dz::AddedPathKind::Tune) << e.path;
        listed.insert(e.path);
    }
    EXPECT_EQ(listed, tunes);
}

}  // namespace
