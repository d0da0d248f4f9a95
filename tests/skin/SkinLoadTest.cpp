// Whole skins into the registries: folders, archives of the kinds real skins come in,
// and the release of the previous skin.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "SkinFiles.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinBudget.h"
#include "skin/SkinCursors.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinLoadListener.h"
#include "skin/SkinLoader.h"

namespace dz {
namespace {

using test::Bmp24;
using test::Bytes;
using test::Bytes8;
using test::ZipMember;

// One line per event: "bitmap MAIN 2x2 main.bmp", "skip x: reason", ...
class Log : public SkinLoadListener {
public:
    std::vector<std::string> lines;
    void on_bitmap(std::string_view key, int w, int h, std::string_view source) override {
        add("bitmap " + std::string(key) + " " + size(w, h) + " " + std::string(source));
    }
    void on_cursor(std::string_view key, int w, int h, int hx, int hy,
                   std::string_view source) override {
        add("cursor " + std::string(key) + " " + size(w, h) + " @" + std::to_string(hx) + "," +
            std::to_string(hy) + " " + std::string(source));
    }
    void on_text(SkinFileKind, std::string_view source) override {
        add("text " + std::string(source));
    }
    void on_skipped(std::string_view source, std::string_view reason) override {
        add("skip " + std::string(source) + ": " + std::string(reason));
    }
    void on_over_budget(std::string_view source, int w, int h, std::uint64_t left) override {
        add("over " + std::string(source) + " " + size(w, h) + " " + std::to_string(left));
    }
    bool has(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

private:
    static std::string size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }
    void add(std::string line) { lines.push_back(std::move(line)); }
};

// A 2 x 1 8-bit bitmap: palette index 1 (blue 0x11, green 0x22, red 0x33), then index 0
// (green).
std::vector<std::uint8_t> Bmp8() {
    Bytes info = test::Info40(2, 1, 8, 0, 2);
    info.raw({0, 255, 0, 0}).raw({0x11, 0x22, 0x33, 0});
    return test::BmpFile(info, Bytes().raw({1, 0, 0, 0}));
}

// A 1 x 1 32-bit bitmap whose fourth byte is 0, as some editors write them.
std::vector<std::uint8_t> Bmp32() {
    return test::BmpFile(test::Info40(1, 1, 32), Bytes().raw({0x10, 0x20, 0x30, 0}));
}

// A 1 x 4 TEXT bitmap: blue at y 0, white at y 3 (rows stored bottom-up).
std::vector<std::uint8_t> TextBmp() {
    Bytes pixels;
    pixels.raw({255, 255, 255, 0}).raw({0, 0, 0, 0}).raw({0, 0, 0, 0}).raw({255, 0, 0, 0});
    return test::BmpFile(test::Info40(1, 4, 24), pixels);
}

const char* kRegion = "[Normal]\r\nNumPoints=4\r\nPointList=0,0 275,0 275,116 0,116\r\n";

class SkinLoadTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(dir.ztm_files(), 0) << "unpacked members left"; }

    test::ScratchSkinDir dir;
    FakeWindowHost host;
    SkinImageDecoder decoder;
    SkinResources resources;
    EdxImages& images = resources.skin_images;
    EdxImages& cursors = resources.cursor_images;
    EdxColors& colours = resources.skin_colors;
    EdxPolygons& normal = resources.region_normal;
    EdxPolygons& shade = resources.region_shade;
    Log log;
    SkinRegistries skin{resources, decoder, &host, &log};
};

TEST_F(SkinLoadTest, FolderSkinLoadsEveryKindOfFileInAnyCase) {
    dir.write("F/MAIN.bmp", Bmp24(2, 2, 255, 0, 0));  // before main.bmp in byte order
    dir.write("F/main.bmp", Bmp24(2, 2, 0, 0, 255));
    dir.write("F/cbuttons.BMP", Bmp8());
    dir.write("F/posbar.bmp", Bmp32());
    dir.write("F/Text.bmp", TextBmp());
    dir.write("F/normal.cur", test::SolidCur(1, 2, 3));
    dir.write("F/NORMAL.cur", test::SolidCur(3, 2, 1));  // before normal.cur in byte order
    dir.write("F/normal.ani", test::AniFile({test::SolidCur(9, 9, 9)}));
    dir.write("F/close.ANI", test::AniFile({test::SolidCur(4, 5, 6)}));
    dir.write("F/titlebar.cur", test::AniFile({test::SolidCur(7, 8, 9)}));  // ANI as .cur
    dir.write("F/psize.cur", "not a cursor");
    dir.write("F/pledit.txt", "[Text]\r\nNormal=#00FF00\r\n");
    dir.write("F/VisColor.TXT", "24,24,41 // background\n");
    dir.write("F/Region.txt", kRegion);
    dir.write("F/readme.txt", "hello");
    dir.write("F/sub/volume.bmp", Bmp24(1, 1, 1, 1, 1));

    LoadSkinFolder(skin, dir.base() / "F");

    EXPECT_EQ(images.size(), 4u);  // MAIN, CBUTTONS, POSBAR, TEXT; nothing from sub/
    EXPECT_EQ(images.lookup("main")->pixel(0, 0), 0xFF0000u);  // MAIN.bmp (blue) came first
    EXPECT_EQ(images.lookup("CBUTTONS")->pixel(0, 0), 0x112233u);
    EXPECT_EQ(images.lookup("CBUTTONS")->pixel(1, 0), 0x00FF00u);
    EXPECT_EQ(images.lookup("POSBAR")->pixel(0, 0), 0x102030u);
    EXPECT_EQ(colours.GetSkinColour("TEXT.NormalBG", 1), 0xFF0000u);
    EXPECT_EQ(colours.GetSkinColour("TEXT.Normal", 1), 0xFFFFFFu);
    EXPECT_EQ(colours.GetSkinColour("PLEDIT.Normal", 1), 0x00FF00u);
    EXPECT_EQ(colours.GetSkinColour("PLEDIT.MBFG", 1), 0u);  // missing key: black
    EXPECT_EQ(colours.GetSkinColour("VISCOLOR.Background", 1), 0x291818u);
    ASSERT_EQ(normal.polygons.size(), 1u);
    EXPECT_EQ(normal.polygons[0].points.size(), 4u);

    const auto live = host.live_cursors();
    EXPECT_EQ(cursors.size(), 3u);  // NORMAL (the .cur), CLOSE, TITLEBAR
    EXPECT_EQ(live.size(), 3u);
    for (const char* name : {"normal", "CLOSE", "TitleBar"}) {
        EXPECT_TRUE(live.count(FindSkinCursor(cursors, name))) << name;
    }
    EXPECT_EQ(FindSkinCursor(cursors, "PSIZE"), 0u);

    EXPECT_TRUE(log.has("cursor TITLEBAR 1x1 @0,0 titlebar.cur"));
    EXPECT_TRUE(log.has("skip main.bmp: element MAIN already loaded"));
    EXPECT_TRUE(log.has("cursor NORMAL 1x1 @0,0 NORMAL.cur"));
    EXPECT_TRUE(log.has("skip normal.cur: element NORMAL already loaded"));
    EXPECT_TRUE(log.has("skip normal.ani: element NORMAL already loaded"));
    EXPECT_TRUE(log.has("skip psize.cur: not a readable cursor"));
    EXPECT_TRUE(log.has("skip readme.txt: not a skin file"));
    EXPECT_TRUE(log.has("skip sub/: sub-folder, not read"));
    EXPECT_TRUE(log.has("text pledit.txt"));
}

TEST_F(SkinLoadTest, ANewSkinReleasesEverythingOfThePreviousOne) {
    dir.write("A/main.bmp", Bmp24(1, 1, 0, 0, 255));
    dir.write("A/text.bmp", TextBmp());
    dir.write("A/normal.cur", test::SolidCur(1, 2, 3));
    dir.write("A/viscolor.txt", "1,2,3\n");
    dir.write("A/region.txt", kRegion);
    LoadSkinFolder(skin, dir.base() / "A");
    ASSERT_EQ(host.live_cursors().size(), 1u);
    ASSERT_EQ(normal.polygons.size(), 1u);

    // An archive without text files or cursors: nothing of A stays, not even PLEDIT.
    const auto b = dir.write("B.wsz", test::MakeZip({{"main.bmp", Bmp24(1, 1, 0, 255, 0)}}));
    LoadSkinArchive(skin, b);
    EXPECT_EQ(images.size(), 1u);
    EXPECT_EQ(images.lookup("MAIN")->pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(cursors.size(), 0u);
    EXPECT_TRUE(host.live_cursors().empty());
    EXPECT_TRUE(normal.polygons.empty());
    EXPECT_EQ(colours.size(), 0u);

    // An empty folder: no bitmaps, but the six PLEDIT colours (black).
    LoadSkinFolder(skin, dir.folder("Empty"));
    EXPECT_EQ(images.size(), 0u);
    EXPECT_EQ(colours.size(), 6u);

    // Files that are FIFOs are passed over, never waited on.
    ASSERT_EQ(::mkfifo((dir.folder("Fifo") / "VISCOLOR.TXT").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir.base() / "Fifo" / "main.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir.base() / "Fifo" / "normal.cur").c_str(), 0600), 0);
    LoadSkinFolder(skin, dir.base() / "Fifo");
    EXPECT_EQ(images.size() + cursors.size(), 0u);
    EXPECT_EQ(colours.size(), 6u);

    // Whatever cannot be read as an archive leaves the skin empty.
    for (const auto& bad : {dir.write("zero.wsz", std::vector<std::uint8_t>{}),
                            dir.write("text.zip", "just text, no archive"), dir.base() / "none.wsz",
                            dir.base() / "Empty"}) {
        LoadSkinFolder(skin, dir.base() / "A");
        EXPECT_EQ(LoadSkinArchive(skin, bad), 0) << bad;
        EXPECT_EQ(images.size() + cursors.size() + colours.size() + normal.polygons.size(), 0u)
            << bad;
        EXPECT_TRUE(host.live_cursors().empty());
    }
}

TEST_F(SkinLoadTest, ArchivesAsRealSkinsComeLoad) {
    // Written by a Unix archiver: every member with a data descriptor, all under a top
    // folder, case duplicates of different content, ANI data in a .cur, a zero-byte
    // REGION.TXT, a PLEDIT.TXT without '#', junk beside the skin files.
    const std::vector<ZipMember> members = {
        {"Skin/", {}, 0, true},
        {"Skin/Main.BMP", Bmp8(), 8, true},
        {"Skin/main.bmp", Bmp24(2, 1, 0, 0, 255), 8, true},
        {"Skin\\mAiN.bmp", Bmp24(2, 1, 0, 255, 0), 8, true},
        {"Skin/nums_ex.bmp", Bmp32(), 8, true},
        {"Skin/TEXT.bmp", TextBmp(), 8, true},
        {"Skin/NORMAL.CUR", test::AniFile({test::SolidCur(1, 2, 3, 0, 0)}), 8, true},
        {"Skin/normal.cur", test::SolidCur(4, 5, 6), 8, true},
        {"Skin/region.txt", {}, 0, true},
        {"Skin/PLEDIT.TXT", Bytes8("[text]\nnormal=00ff00"), 8, true},
        {"Skin/readme.txt", Bytes8("about this skin"), 8, true},
        {"Skin/pnormal.ani", test::AniFile({test::SolidCur(1, 1, 1)}), 8, true},
        {"Skin/inner.zip", test::MakeZip({{"x.bmp", Bmp32()}}), 0, true},
    };
    const std::vector<std::uint8_t> zip = test::MakeZip(members);
    dir.write("Before/region.txt", kRegion);
    LoadSkinFolder(skin, dir.base() / "Before");
    ASSERT_EQ(normal.polygons.size(), 1u);

    EXPECT_EQ(LoadSkinArchive(skin, dir.write("unix.wsz", zip)), 9);
    EXPECT_EQ(images.size(), 3u);                              // MAIN, NUMS_EX, TEXT
    EXPECT_EQ(images.lookup("MAIN")->pixel(0, 0), 0x112233u);  // the first, 8-bit one
    EXPECT_EQ(colours.GetSkinColour("TEXT.Normal", 1), 0xFFFFFFu);
    EXPECT_EQ(colours.GetSkinColour("PLEDIT.Normal", 1), 0x00FF00u);
    EXPECT_EQ(cursors.size(), 1u);
    EXPECT_TRUE(normal.polygons.empty());  // the zero-byte REGION.TXT is no region
    EXPECT_TRUE(log.has("bitmap MAIN 2x1 Skin/Main.BMP"));
    EXPECT_TRUE(log.has("skip Skin/main.bmp: element MAIN already loaded"));
    EXPECT_TRUE(log.has("skip Skin\\mAiN.bmp: element MAIN already loaded"));
    EXPECT_TRUE(log.has("skip Skin/normal.cur: element NORMAL already loaded"));
    EXPECT_TRUE(log.has("skip Skin/readme.txt: not a skin file"));
    EXPECT_TRUE(log.has("skip Skin/: folder entry"));
    EXPECT_TRUE(log.has("skip Skin/pnormal.ani: .ani cursors load from folders only"));
    EXPECT_TRUE(log.has("text Skin/region.txt"));

    // Without the central directory the local headers are walked: the same skin, not the
    // archive stored inside it, whose directory now comes last.
    ClearSkin(skin);
    LoadSkinArchive(skin, dir.write("nodir.wsz", test::MakeZip(members, false)));
    EXPECT_EQ(images.size(), 3u);
    EXPECT_EQ(images.lookup("MAIN")->pixel(0, 0), 0x112233u);

    // Cut short anywhere: the load ends, with what came before the cut.
    for (std::size_t cut = 0; cut < zip.size(); cut += zip.size() / 7) {
        const std::vector<std::uint8_t> part(zip.begin(), zip.begin() + cut);
        EXPECT_LE(LoadSkinArchive(skin, dir.write("cut.wsz", part)), 9);
    }
}

// Images that claim a huge size are refused from their headers while the skin's pixel
// budget lasts; elements the player never looks up are not decoded at all. The rest of
// the skin loads, and the same holds for a folder.
TEST_F(SkinLoadTest, HugeClaimedImagesStayWithinTheSkinsPixelBudget) {
    const std::vector<ZipMember> members = test::BombSkin();
    const auto check = [&](const std::string& prefix, std::uint64_t bitmaps_left) {
        EXPECT_EQ(images.size(), 1u);
        EXPECT_EQ(cursors.size(), 1u);
        EXPECT_NE(FindSkinImage(images, "MAIN"), nullptr);
        EXPECT_NE(FindSkinCursor(cursors, "NORMAL"), 0u);
        EXPECT_EQ(colours.GetSkinColour("PLEDIT.Normal", 1), 0x00FF00u);
        const std::string cursors_left = std::to_string(kSkinPixelBudget - 4 - 1);
        EXPECT_TRUE(
            log.has("over " + prefix + "cbuttons.bmp 4096x4096 " + std::to_string(bitmaps_left)));
        EXPECT_TRUE(log.has("over " + prefix + "pvscroll.cur 4096x4096 " + cursors_left));
        EXPECT_TRUE(log.has("skip " + prefix + "x0.bmp: not an element the player uses"));
        EXPECT_TRUE(log.has("skip " + prefix + "y1.cur: not an element the player uses"));
    };
    LoadSkinArchive(skin, dir.write("bomb.wsz", test::MakeZip(members)));
    check("Skin/", kSkinPixelBudget - 4 - 1);

    // A folder: bitmaps first, then cursors, in name order.
    for (const ZipMember& m : members) {
        dir.write(std::filesystem::path("B") / std::filesystem::path(m.name).filename(), m.data);
    }
    log.lines.clear();
    LoadSkinFolder(skin, dir.base() / "B");
    check("", kSkinPixelBudget - 4);
}

}  // namespace
}  // namespace dz
