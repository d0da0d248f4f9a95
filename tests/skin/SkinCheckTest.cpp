// The skincheck program: its report of a skin and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <iterator>

#include "SkinFiles.h"

namespace dz {
namespace {

using test::Bmp24;
using test::Bytes8;
namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SkinCheckTest : public ::testing::Test {
protected:
    ToolRun Skincheck(const std::vector<std::string>& args) {
        std::string command = Quote(SKINCHECK_PATH);
        for (const std::string& a : args) command += " " + Quote(a);
        const fs::path out = dir.base() / "out.txt";
        const fs::path err = dir.base() / "err.txt";
        command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
        const int raw = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = Slurp(out);
        run.err = Slurp(err);
        return run;
    }

    test::ScratchSkinDir dir;
};

// Lines of `text`.
bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST_F(SkinCheckTest, ReportsElementsColoursPolygonsSkipsAndWarnings) {
    const std::vector<test::ZipMember> members = {
        {"Skin/main.bmp", Bmp24(275, 116, 1, 2, 3)},
        {"Skin/POSBAR.BMP", Bmp24(248, 10, 1, 2, 3)},  // no thumb sprites
        {"Skin/normal.cur", test::SolidCur(1, 2, 3)},
        {"Skin/pledit.txt", Bytes8("[Text]\r\nNormal=#00FF00\r\n")},
        {"Skin/region.txt",
         Bytes8("[Normal]\r\nNumPoints=4\r\nPointList=0,0 275,0 275,116 0,116\r\n")},
        {"Skin/readme.txt", Bytes8("hello")},
    };
    const fs::path archive = dir.write("Skin.wsz", test::MakeZip(members));
    const ToolRun run = Skincheck({archive.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* line : {
             "bitmap MAIN 275x116 from Skin/main.bmp",
             "bitmap POSBAR 248x10 from Skin/POSBAR.BMP",
             "cursor NORMAL 1x1 hotspot 0,0 from Skin/normal.cur",
             "text PLEDIT.TXT from Skin/pledit.txt",
             "skipped Skin/readme.txt: not a skin file",
             "colour PLEDIT.Normal #00FF00",
             "colour PLEDIT.Current #000000",
             "polygon Normal 1: 4 points 0,0 275,0 275,116 0,116",
             "warning: no CBUTTONS bitmap (transport buttons)",
             "warning: POSBAR is 248x10, smaller than the 307x10 of its seek bar and its thumb; "
             "what lies outside is not drawn",
             "summary: 2 bitmaps, 1 cursors, 6 colours, 1 + 0 polygons, 1 skipped, 10 warnings",
         }) {
        EXPECT_TRUE(HasLine(run.out, line)) << line << "\n" << run.out;
    }
    EXPECT_FALSE(HasLine(run.out, "warning: no MAIN bitmap (the player's background)"));

    // The same files as a folder.
    for (const auto& m : members)
        dir.write(fs::path("Folder") / fs::path(m.name).filename(), m.data);
    const ToolRun folder = Skincheck({(dir.base() / "Folder").string()});
    EXPECT_EQ(folder.status, 0) << folder.err;
    EXPECT_TRUE(HasLine(folder.out, "bitmap MAIN 275x116 from main.bmp")) << folder.out;
    EXPECT_TRUE(HasLine(folder.out, "skipped readme.txt: not a skin file")) << folder.out;
}

TEST_F(SkinCheckTest, UnreadableSkinsAndBadCommandLines) {
    const std::string missing = (dir.base() / "missing.wsz").string();
    ToolRun run = Skincheck({missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "skincheck: " + missing + ": no such file or folder\n");

    const std::string zero = dir.write("zero.wsz", std::vector<std::uint8_t>{}).string();
    run = Skincheck({zero});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "skincheck: " + zero + ": not a skin archive (no members found)\n");

    const std::string junk =
        dir.write("junk.zip", test::MakeZip({{"readme.txt", Bytes8("x")}})).string();
    EXPECT_EQ(Skincheck({junk}).status, 1);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {zero, zero}, {"-x"}, {""}}) {
        run = Skincheck(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: skincheck SKIN"), std::string::npos);
    }
}

}  // namespace
}  // namespace dz
