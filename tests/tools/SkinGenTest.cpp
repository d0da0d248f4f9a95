// The default skin "pxtone": skin-gen reproduces the committed demo/skins/pxtone/ and
// demo/skins/pxtone.wsz byte for byte, and the skin holds every element the player looks
// up, at least as large as its sprite coordinates need, in the folder and in the archive.

#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "io/ProfileFile.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // upper-case name -> bytes

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::uint32_t u16(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t u32(const std::string& b, size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}
std::int32_t s32(const std::string& b, size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

Files folder_files(const fs::path& dir) {
    Files files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) files[upper(e.path().filename().string())] = slurp(e.path());
    return files;
}

// Walks the archive as the player does: local headers one after the other, raw
// inflate of each member. Every member must be deflated with its sizes and CRC in the local
// header (no data descriptor).
Files archive_files(const std::string& zip) {
    Files files;
    size_t at = 0;
    while (at + 30 <= zip.size() && u32(zip, at) == 0x04034B50) {
        const std::uint32_t flags = u16(zip, at + 6), method = u16(zip, at + 8);
        const std::uint32_t crc = u32(zip, at + 14), packed = u32(zip, at + 18);
        const std::uint32_t size = u32(zip, at + 22);
        const size_t name_len = u16(zip, at + 26), extra_len = u16(zip, at + 28);
        const std::string name = zip.substr(at + 30, name_len);
        const size_t data = at + 30 + name_len + extra_len;
        EXPECT_EQ(flags & 8u, 0u) << name;
        EXPECT_EQ(method, 8u) << name;
        EXPECT_LE(data + packed, zip.size()) << name;
        std::string out(size, '\0');
        z_stream z{};
        inflateInit2(&z, -15);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
        z.avail_in = packed;
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = size;
        EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << name;
        EXPECT_EQ(z.total_out, size) << name;
        inflateEnd(&z);
        EXPECT_EQ(crc32(0L, reinterpret_cast<const Bytef*>(out.data()), size), crc) << name;
        files[upper(name)] = out;
        at = data + packed;
    }
    EXPECT_EQ(u32(zip, at), 0x02014B50u) << "the central directory follows the last member";
    return files;
}

class SkinGen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("dz_skingen_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        const std::string cmd = std::string("'") + SKINGEN_PATH + "' '" +
                                (dir_ / "pxtone").string() + "' --wsz '" +
                                (dir_ / "pxtone.wsz").string() + "'";
        const int status = std::system(cmd.c_str());
        exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    static inline fs::path dir_;
    static inline int exit_code_ = -1;
};

// After a change to the generator: cmake --build <build> --target demo-skin, then commit.
TEST_F(SkinGen, ReproducesTheCommittedSkinByteForByte) {
    ASSERT_EQ(exit_code_, 0);
    const fs::path committed = fs::path(DEMO_DIR) / "skins";
    const Files made = folder_files(dir_ / "pxtone"), kept = folder_files(committed / "pxtone");
    ASSERT_FALSE(made.empty());
    for (const auto& [name, bytes] : made) {
        if (!kept.count(name))
            ADD_FAILURE() << name << " is not committed";
        else
            EXPECT_TRUE(kept.at(name) == bytes) << name << " differs from the committed file";
    }
    for (const auto& [name, bytes] : kept) EXPECT_TRUE(made.count(name)) << name << " is stale";
    EXPECT_TRUE(slurp(dir_ / "pxtone.wsz") == slurp(committed / "pxtone.wsz"))
        << "pxtone.wsz differs from the committed archive";
}

// The smallest size that holds every sprite of a bitmap: the far corners of the source
// rectangles that the player window and the playlist editor draw from.
struct Need {
    const char* element;
    int w, h;
};
constexpr Need kBitmaps[] = {
    {"MAIN", 275, 116},     // whole window
    {"TITLEBAR", 344, 86},  // clutter V lit (336, 78) 8x8; inactive shade bar (27, 42) 275x14
    {"CBUTTONS", 136, 36},  // pressed stop (69, 18) 23x18; eject (114, 16) 22x16
    {"POSBAR", 307, 10},    // pressed thumb (278, 0) 29x10
    {"VOLUME", 68, 433},    // bar 27 (0, 405) 68x13; thumbs (0/15, 422) 14x11
    {"SHUFREP", 92, 85},    // playlist toggle lit, pressed (69, 73) 23x12
    {"MONOSTER", 56, 24},   // mono, unlit (29, 12) 27x12
    {"PLAYPAUS", 39, 9},    // lamp (36, 0) 3x9
    {"NUMS_EX", 108, 13},   // minus (99, 0) 9x13
    {"NUMBERS", 99, 13},    // blank (90, 0) 9x13
    {"TEXT", 155, 18},      // "#" (150, 6), "*" (20, 12)
    {"PLEDIT", 276, 186},   // bottom right (126, 72) 150x38; REM item 0 (54, 168) 22x18
};
constexpr const char* kCursors[] = {"NORMAL",   "CLOSE",    "MIN",      "MMENU",    "MAINMENU",
                                    "WINBUT",   "WSNORMAL", "WSPOSBAR", "TITLEBAR", "VOLBAL",
                                    "SONGNAME", "PNORMAL",  "PCLOSE",   "PWINBUT",  "PWSNORM",
                                    "PSIZE",    "PTBAR",    "PVSCROLL"};

void expect_complete_skin(const Files& files, const std::string& where) {
    for (const Need& n : kBitmaps) {
        SCOPED_TRACE(where + ": " + n.element + ".BMP");
        const auto it = files.find(std::string(n.element) + ".BMP");
        ASSERT_NE(it, files.end());
        const std::string& b = it->second;
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(u32(b, 14), 40u);  // BITMAPINFOHEADER
        const std::int32_t w = s32(b, 18), h = s32(b, 22);
        EXPECT_GE(w, n.w);
        EXPECT_GE(h, n.h);  // positive: bottom-up rows
        EXPECT_EQ(u16(b, 28), 24u);
        EXPECT_EQ(u32(b, 30), 0u);
        EXPECT_GE(b.size(), u32(b, 10) + static_cast<size_t>((w * 3 + 3) / 4 * 4) * h);
    }
    for (const char* c : kCursors) {
        SCOPED_TRACE(where + ": " + c + ".CUR");
        const auto it = files.find(std::string(c) + ".CUR");
        ASSERT_NE(it, files.end());
        const std::string& b = it->second;
        ASSERT_GE(b.size(), 22u + 40u);
        EXPECT_EQ(u16(b, 2), 2u);  // cursor
        EXPECT_GE(u16(b, 4), 1u);
        const std::uint32_t size = static_cast<unsigned char>(b[6]);
        EXPECT_EQ(size, 32u);
        EXPECT_LT(u16(b, 10), size);  // hotspot inside
        EXPECT_LT(u16(b, 12), size);
        const std::uint32_t bytes = u32(b, 14), offset = u32(b, 18);
        EXPECT_LE(offset + bytes, b.size());
        EXPECT_EQ(s32(b, offset + 8), 64);  // XOR image and AND mask
        const std::uint32_t bpp = u16(b, offset + 14);
        EXPECT_TRUE(bpp == 24 || bpp == 32);
        EXPECT_EQ(bytes, 40 + size * size * bpp / 8 + size * 4);
    }
    for (const char* t : {"PLEDIT.TXT", "VISCOLOR.TXT", "REGION.TXT"})
        ASSERT_TRUE(files.count(t)) << where << ": " << t;
    const dz::ProfileFile pledit = dz::ProfileFile::parse(files.at("PLEDIT.TXT"));
    for (const char* key : {"Normal", "Current", "NormalBG", "SelectedBG", "MBBG", "MBFG"})
        EXPECT_EQ(pledit.get_string("Text", key, "", 64).size(), 7u) << where << ": " << key;
    int lines = 0;
    for (size_t at = 0; at < files.at("VISCOLOR.TXT").size(); ++at)
        lines += files.at("VISCOLOR.TXT")[at] == '\n';
    EXPECT_EQ(lines, 24) << where;
    const dz::ProfileFile region = dz::ProfileFile::parse(files.at("REGION.TXT"));
    for (const char* section : {"Normal", "WindowShade"}) {
        const std::string list = region.get_string(section, "PointList", "", 2048);
        const auto pairs = std::count(list.begin(), list.end(), ',');
        EXPECT_EQ(region.get_int(section, "NumPoints", 0), pairs) << where << ": " << section;
    }
}

TEST_F(SkinGen, FolderAndArchiveHoldEveryElementThePlayerLooksUp) {
    ASSERT_EQ(exit_code_, 0);
    const Files folder = folder_files(dir_ / "pxtone");
    expect_complete_skin(folder, "folder");
    const Files archive = archive_files(slurp(dir_ / "pxtone.wsz"));
    expect_complete_skin(archive, "archive");
    EXPECT_TRUE(archive == folder) << "the archive holds the folder's files";
}

TEST_F(SkinGen, RefusesAFolderItCannotCreate) {
    const std::string cmd = std::string("'") + SKINGEN_PATH + "' /proc/dezidu-skin 2>/dev/null";
    const int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
}

}  // namespace
