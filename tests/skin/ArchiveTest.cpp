#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "CursorImages.h"
#include "skin/ArchiveReader.h"
#include "skin/SkinArchive.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinText.h"

namespace dz {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::Bytes8;
using test::MakeZip;
using test::ZipMember;

std::vector<std::uint8_t> SolidBmp(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    return test::BmpFile(test::Info40(1, 1, 24), Bytes().raw({b, g, r, 0}));
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Seen {
    std::string member;
    std::string element;
    SkinFileKind kind;
    std::vector<std::uint8_t> content;
};

// Runs every test with the temporary folder pointed at a fresh folder (base/a/b), so
// that leftover "ztm" files and files written outside it can be seen.
class SkinArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "dzskinXXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        base_ = pattern;
        tmp_ = base_ / "a" / "b";
        fs::create_directories(tmp_);
        if (const char* old = std::getenv("TMPDIR")) old_tmpdir_ = old;
        ::setenv("TMPDIR", tmp_.c_str(), 1);
    }
    void TearDown() override {
        EXPECT_EQ(ZtmFiles(), 0) << "temporary files left behind";
        if (old_tmpdir_) {
            ::setenv("TMPDIR", old_tmpdir_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        fs::remove_all(base_);
    }

    int ZtmFiles() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(tmp_)) {
            n += e.path().filename().string().rfind("ztm", 0) == 0;
        }
        return n;
    }

    fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = base_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::vector<Seen> Load(const fs::path& archive) {
        std::vector<Seen> seen;
        ForEachSkinArchiveMember(archive, [&](const SkinArchiveMember& m) {
            EXPECT_EQ(fs::path(m.temp_path).parent_path(), tmp_);
            seen.push_back({std::string(m.member_name), m.element, m.kind, ReadAll(m.temp_path)});
        });
        return seen;
    }

    fs::path base_;
    fs::path tmp_;
    std::optional<std::string> old_tmpdir_;
};

TEST_F(SkinArchiveTest, DescriptorsStoredAndDeflatedMembersUnderATopFolder) {
    const auto ani = test::AniFile({test::SolidCur(0, 0, 255, 2, 0)});
    const std::vector<ZipMember> members = {
        {"Skin/", {}, 0, true},
        {"Skin/main.BMP", SolidBmp(0, 0, 255), 8, true},
        {"Skin/PlEdit.txt", Bytes8("[Text]\r\nNormal=#00FF00"), 0, true},
        {"Skin/readme.txt", Bytes8("free text"), 8, true},
        {"Skin/inner.zip", MakeZip({{"x.bmp", SolidBmp(1, 1, 1)}}), 0, true},
        {"Skin/normal.cur", ani, 8, true},
        {"Skin/region.txt", {}, 0, true},
        {"Skin/Sub/", {}, 0, true},
    };
    const fs::path archive = Write("skin.wsz", MakeZip(members));

    SkinImageDecoder decoder;
    EdxImages images;
    EdxColors colours;
    EdxPolygons normal;
    EdxPolygons shade;
    std::optional<DecodedImage> cursor;
    std::vector<std::string> order;
    ForEachSkinArchiveMember(archive, [&](const SkinArchiveMember& m) {
        order.push_back(m.element);
        switch (m.kind) {
            case SkinFileKind::kBitmap:
                LoadSkinBitmap(std::string(m.temp_path), images, decoder, m.element);
                break;
            case SkinFileKind::kCursor: {
                cursor = decoder.decode_cursor(ReadAll(m.temp_path));
                break;
            }
            case SkinFileKind::kPleditTxt:
                ReadPleditTxt(std::string(m.temp_path), colours);
                break;
            case SkinFileKind::kRegionTxt:
                ReadRegionTxt(std::string(m.temp_path), normal, shade);
                break;
            default:
                ADD_FAILURE() << m.member_name;
        }
    });
    EXPECT_EQ(order, (std::vector<std::string>{"main", "PlEdit", "normal", "region"}));
    ASSERT_NE(images.lookup("MAIN"), nullptr);
    EXPECT_EQ(images.lookup("MAIN")->pixel(0, 0), 0x000000FFu);
    EXPECT_EQ(colours.GetSkinColour("PLEDIT.Normal", 1), 0x0000FF00u);
    ASSERT_TRUE(cursor);  // ANI data under a .cur name
    EXPECT_EQ(cursor->hot_x, 0);
    EXPECT_EQ(test::Argb(cursor->bgra, 1, 0, 0), 0xFFFF0000u);
    EXPECT_TRUE(normal.polygons.empty());  // a zero-byte REGION.TXT is no region
}

TEST_F(SkinArchiveTest, CaseDuplicatesKeepTheFirstInArchiveOrder) {
    const fs::path archive =
        Write("dup.zip",
              MakeZip({{"eqMain.bmp", SolidBmp(0, 0, 255)}, {"eqmain.bmp", SolidBmp(255, 0, 0)}}));
    SkinImageDecoder decoder;
    EdxImages images;
    std::vector<std::string> members;
    ForEachSkinArchiveMember(archive, [&](const SkinArchiveMember& m) {
        members.emplace_back(m.member_name);
        LoadSkinBitmap(std::string(m.temp_path), images, decoder, m.element);
    });
    EXPECT_EQ(members, (std::vector<std::string>{"eqMain.bmp", "eqmain.bmp"}));
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images.lookup("EQMAIN")->pixel(0, 0), 0x000000FFu);  // red, the first
}

TEST_F(SkinArchiveTest, FilesThatAreNoArchivesGiveNothing) {
    EXPECT_TRUE(Load(Write("empty.wsz", {})).empty());
    EXPECT_TRUE(Load(Write("text.wsz", Bytes8("not an archive at all"))).empty());
    EXPECT_TRUE(Load(base_ / "missing.wsz").empty());
    EXPECT_TRUE(Load(tmp_).empty());  // a folder
}

TEST_F(SkinArchiveTest, TruncatedArchivesKeepTheWholeMembers) {
    const std::vector<std::uint8_t> a = SolidBmp(0, 0, 255);
    std::vector<std::uint8_t> b(5000);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + i / 13);
    const std::vector<ZipMember> plain = {{"a.bmp", a}, {"b.bmp", b}};
    const std::vector<std::uint8_t> zip = MakeZip(plain);
    const std::size_t central = MakeZip(plain, false).size();

    // Cut inside the central directory: the local headers are walked.
    std::vector<std::uint8_t> cut(zip.begin(), zip.begin() + central + 10);
    std::vector<Seen> seen = Load(Write("cd.wsz", cut));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].content, a);
    EXPECT_EQ(seen[1].content, b);

    // Cut inside the second member's data: it is left out.
    cut.resize(central - 100);
    seen = Load(Write("data.wsz", cut));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].member, "a.bmp");

    // Sizes in data descriptors and no central directory: the deflate streams show the ends.
    const std::vector<std::uint8_t> described =
        MakeZip({{"a.bmp", a, 8, true}, {"c.txt", b, 8, true}, {"b.bmp", b, 8, true}}, false);
    seen = Load(Write("described.wsz", described));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].member, "b.bmp");
    EXPECT_EQ(seen[1].content, b);
    std::vector<std::uint8_t> cut_described(described.begin(), described.end() - 30);
    EXPECT_EQ(Load(Write("cutdesc.wsz", cut_described)).size(), 1u);

    // Descriptors without their signature are 12 bytes: the next header follows them.
    seen = Load(Write(
        "nosig.wsz", MakeZip({{"a.bmp", a, 8, true, false}, {"b.bmp", b, 8, true, false}}, false)));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].content, b);
}

TEST_F(SkinArchiveTest, MemberNamesNeverBecomePaths) {
    const fs::path archive = Write("evil.wsz", MakeZip({{"../../evil.bmp", SolidBmp(1, 2, 3)},
                                                        {"/tmp/abs.bmp", SolidBmp(1, 2, 3)},
                                                        {"..\\..\\win.bmp", SolidBmp(1, 2, 3)}}));
    const std::vector<Seen> seen = Load(archive);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].element, "evil");
    EXPECT_EQ(seen[1].element, "abs");
    EXPECT_EQ(seen[2].element, "win");
    for (const fs::path& dir : {base_, base_ / "a", tmp_}) {
        EXPECT_FALSE(fs::exists(dir / "evil.bmp"));
        EXPECT_FALSE(fs::exists(dir / "win.bmp"));
    }
}

TEST_F(SkinArchiveTest, CentralDirectoryBehindAPrefixAndAComment) {
    Bytes file;
    file.str("MZ self-extractor stub ").zeros(77);
    file.raw(MakeZip({{"bzip2.bmp", SolidBmp(1, 1, 1), 12},
                      {"titlebar.bmp", SolidBmp(4, 5, 6), 8},
                      {"volume.bmp", SolidBmp(7, 8, 9), 0}},
                     true, "archive comment PK\x05\x06"));
    const std::vector<Seen> seen = Load(Write("prefixed.zip", file.v));
    ASSERT_EQ(seen.size(), 2u);  // method 12 is skipped
    EXPECT_EQ(seen[0].element, "titlebar");
    EXPECT_EQ(seen[1].content, SolidBmp(7, 8, 9));
}

TEST_F(SkinArchiveTest, UnpackedBytesAreCapped) {
    // A member over 16 MiB is skipped; the one after it still loads.
    const fs::path archive =
        Write("bomb.wsz", MakeZip({{"big.bmp", std::vector<std::uint8_t>((16 << 20) + 1, 0)},
                                   {"small.bmp", SolidBmp(1, 2, 3)}}));
    const std::vector<Seen> seen = Load(archive);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].member, "small.bmp");

    // The archive total counts the bytes of skipped members too.
    const std::vector<std::uint8_t> zip = MakeZip({{"1", std::vector<std::uint8_t>(900, 1)},
                                                   {"2", std::vector<std::uint8_t>(900, 2), 0},
                                                   {"3", std::vector<std::uint8_t>(900, 3)},
                                                   {"4", std::vector<std::uint8_t>(90, 4)}});
    std::vector<std::string> names;
    const MemoryByteSource source(zip);
    const int n = ReadArchiveMembers(
        source, [](std::string_view) { return true; },
        [&](std::string_view name, std::vector<std::uint8_t>&&) { names.emplace_back(name); },
        ArchiveLimits{1000, 2500, 1024});
    EXPECT_EQ(n, 2);
    EXPECT_EQ(names, (std::vector<std::string>{"1", "2"}));
}

TEST_F(SkinArchiveTest, StaleZtmFilesAreRemoved) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(11);
    for (const char* name : {"ztmAbC123", "ztmFresh1", "ztmold.txt"}) {
        std::ofstream(tmp_ / name) << "x";
    }
    fs::last_write_time(tmp_ / "ztmAbC123", old);
    fs::last_write_time(tmp_ / "ztmold.txt", old);
    RemoveStaleZtmFiles();
    EXPECT_FALSE(fs::exists(tmp_ / "ztmAbC123"));
    EXPECT_TRUE(fs::exists(tmp_ / "ztmFresh1"));
    EXPECT_TRUE(fs::exists(tmp_ / "ztmold.txt"));
    fs::remove(tmp_ / "ztmFresh1");
    fs::remove(tmp_ / "ztmold.txt");
}

}  // namespace
}  // namespace dz
