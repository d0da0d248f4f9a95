// The skincheck program: its report of a skin and its exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <iterator>

#include <zlib.h>

#include "SkinFiles.h"
#include "skin/SkinImageDecoder.h"

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
         {std::vector<std::string>{}, {zero, zero}, {"-x"}, {""}, {zero, "--png"}}) {
        run = Skincheck(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: skincheck SKIN"), std::string::npos);
    }
}

// What the load passed over is reported as what it is: images over the skin's pixel
// budget (a warning, the exit status stays 0), a member over the unpacking limit, and text
// files that are a FIFO or a link to nothing, which are never read.
TEST_F(SkinCheckTest, ReportsWhatWasNotReadAsWhatItIs) {
    std::vector<test::ZipMember> members = test::BombSkin();
    const ToolRun bomb = Skincheck({dir.write("bomb.wsz", test::MakeZip(members)).string()});
    EXPECT_EQ(bomb.status, 0) << bomb.err;
    for (const char* line : {
             "bitmap MAIN 2x2 from Skin/MAIN.bmp",
             "skipped Skin/cbuttons.bmp: 4096x4096 is over the skin's pixel budget (16777211 "
             "pixels left)",
             "skipped Skin/x0.bmp: not an element the player uses",
             "warning: Skin/cbuttons.bmp skipped: the skin's images together may have 16777216 "
             "pixels",
         }) {
        EXPECT_TRUE(HasLine(bomb.out, line)) << line << "\n" << bomb.out;
    }

    // Sizes known only once the data is unpacked (no central directory, data descriptors).
    const ToolRun big = Skincheck(
        {dir.write(
                "big.wsz",
                test::MakeZip({{"main.bmp", std::vector<std::uint8_t>((16 << 20) + 1, 0), 8, true}},
                              false))
             .string()});
    EXPECT_TRUE(HasLine(big.out, "skipped main.bmp: over the unpacking limit; the walk ends"))
        << big.out;

    const fs::path folder = dir.folder("F");
    ASSERT_EQ(::mkfifo((folder / "VISCOLOR.TXT").c_str(), 0600), 0);
    fs::create_symlink(folder / "gone.txt", folder / "REGION.TXT");
    dir.write("F/pledit.txt", "[Text]\r\nNormal=#00FF00\r\n");
    const ToolRun special = Skincheck({folder.string()});
    EXPECT_EQ(special.status, 0) << special.err;
    for (const char* line :
         {"skipped VISCOLOR.TXT: not a regular file", "skipped REGION.TXT: a link to nothing",
          "text PLEDIT.TXT from pledit.txt"}) {
        EXPECT_TRUE(HasLine(special.out, line)) << line << "\n" << special.out;
    }
}

// --png draws the skin through the player's bodies: the picture's play button is the
// skin's play sprite.
TEST_F(SkinCheckTest, PngShowsThePlayerDrawnWithTheSkin) {
    const fs::path skin = fs::path(DEZIDU_DEMO_DIR) / "skins" / "pxtone.wsz";
    const fs::path png = dir.base() / "snap.png";
    ToolRun run = Skincheck({skin.string(), "--png", png.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string file = Slurp(png);
    ASSERT_GT(file.size(), 33u);
    ASSERT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    auto be32 = [&](std::size_t at) {
        return (std::uint32_t(std::uint8_t(file[at])) << 24) |
               (std::uint32_t(std::uint8_t(file[at + 1])) << 16) |
               (std::uint32_t(std::uint8_t(file[at + 2])) << 8) | std::uint8_t(file[at + 3]);
    };
    const std::uint32_t width = be32(16), height = be32(20);
    ASSERT_EQ(width, 275u);
    ASSERT_GE(height, 130u);  // the player, the shaded bar, the editor
    const std::size_t idat = file.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    std::vector<std::uint8_t> raw((width * 3 + 1) * height);
    uLongf raw_size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &raw_size,
                         reinterpret_cast<const Bytef*>(file.data() + idat + 4), be32(idat - 4)),
              Z_OK);
    ASSERT_EQ(raw_size, raw.size());

    SkinImageDecoder decoder;
    const std::string bmp = Slurp(fs::path(DEZIDU_DEMO_DIR) / "skins/pxtone/CBUTTONS.BMP");
    std::optional<DecodedImage> sprites = decoder.decode_bitmap(
        std::span(reinterpret_cast<const std::uint8_t*>(bmp.data()), bmp.size()));
    ASSERT_TRUE(sprites);
    int differing = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 23; ++x) {
            const std::uint8_t* want = &sprites->bgra[4 * (y * sprites->width + 23 + x)];
            const std::uint8_t* got = &raw[(88 + y) * (width * 3 + 1) + 1 + 3 * (39 + x)];
            if (got[0] != want[2] || got[1] != want[1] || got[2] != want[0]) ++differing;
        }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace dz
