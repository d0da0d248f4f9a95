// The folder the player runs in: the rule, and the data folder's first start.
#include "app/RunFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "TestSupport.h"

namespace dz {
namespace {

namespace fs = std::filesystem;

RunFolderInputs Inputs(bool desktop, std::string cwd, bool writable) {
    RunFolderInputs in;
    in.desktop_option = desktop;
    in.cwd = std::move(cwd);
    in.cwd_writable = writable;
    in.home = "/home/u";
    return in;
}

TEST(RunFolderTest, TerminalStartsStayAndOthersUseTheDataFolder) {
    const std::string data = "/home/u/.local/share/dezidu";
    EXPECT_EQ(ChooseRunFolder(Inputs(false, "/home/u/music", true)), "");
    EXPECT_EQ(ChooseRunFolder(Inputs(false, "/home/u", true)), "");
    EXPECT_EQ(ChooseRunFolder(Inputs(true, "/home/u/music", true)), data);
    EXPECT_EQ(ChooseRunFolder(Inputs(false, "/", true)), data);
    EXPECT_EQ(ChooseRunFolder(Inputs(false, "/.", true)), data);
    EXPECT_EQ(ChooseRunFolder(Inputs(false, "/usr/share", false)), data);
    EXPECT_EQ(ChooseRunFolder(Inputs(false, "", false)), data);

    // XDG_DATA_HOME wins when absolute; a relative one is ignored, as the XDG rules ask.
    RunFolderInputs in = Inputs(true, "/home/u", true);
    in.xdg_data_home = "/data/";
    EXPECT_EQ(ChooseRunFolder(in), "/data/dezidu");
    in.xdg_data_home = "rel/data";
    EXPECT_EQ(ChooseRunFolder(in), data);
    // Without any absolute home there is no data folder: stay.
    in.home = "";
    EXPECT_EQ(ChooseRunFolder(in), "");
    in.home = "u";
    EXPECT_EQ(ChooseRunFolder(in), "");
}

std::string Read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

TEST(RunFolderTest, FirstStartCopiesMissingSkinsAndKeepsTheUsersOnes) {
    TempWorkDir tmp;
    const fs::path defaults = tmp.path() / "installed/skins";
    Write(defaults / "pxtone/MAIN.BMP", "main");
    Write(defaults / "pxtone/sub/x.txt", "x");
    Write(defaults / "other.wsz", "zip");
    const fs::path data = tmp.path() / "home/.local/share/dezidu";

    ASSERT_TRUE(PrepareRunFolder(data, defaults));
    EXPECT_EQ(Read(data / "skins/pxtone/MAIN.BMP"), "main");
    EXPECT_EQ(Read(data / "skins/pxtone/sub/x.txt"), "x");
    EXPECT_EQ(Read(data / "skins/other.wsz"), "zip");
    // Nothing but the two skins (no copies left under hidden names).
    EXPECT_EQ(std::distance(fs::directory_iterator(data / "skins"), fs::directory_iterator()), 2);

    // The user's changes stay; a removed default comes back.
    Write(data / "skins/pxtone/MAIN.BMP", "mine");
    fs::remove(data / "skins/pxtone/sub/x.txt");
    fs::remove(data / "skins/other.wsz");
    ASSERT_TRUE(PrepareRunFolder(data, defaults));
    EXPECT_EQ(Read(data / "skins/pxtone/MAIN.BMP"), "mine");
    EXPECT_FALSE(fs::exists(data / "skins/pxtone/sub/x.txt"));
    EXPECT_EQ(Read(data / "skins/other.wsz"), "zip");

    // No installed data (a build-folder run): the folder is still made. A folder that cannot
    // be made (a file in the way) fails.
    EXPECT_TRUE(PrepareRunFolder(tmp.path() / "bare", fs::path()));
    EXPECT_TRUE(fs::is_directory(tmp.path() / "bare"));
    Write(tmp.path() / "file", "");
    EXPECT_FALSE(PrepareRunFolder(tmp.path() / "file/dezidu", defaults));
}

}  // namespace
}  // namespace dz
