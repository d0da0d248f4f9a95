#include "io/AtomicFile.h"
#include "io/ProfileFile.h"

#include <gtest/gtest.h>

#include <random>

#include "TempDir.h"

namespace dz {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

const char* kSample =
    "; settings\n"
    "[Setting]\n"
    "  Shuffle = 1  \n"
    "volume=57\n"
    "SelectSkin=  \"  Blue Skin \"  \n"
    "Single='x'\n"
    "Unmatched=\"abc\n"
    ";Repeat=1\n"
    "Repeat\n"
    "Dup=first\n"
    "DUP=second\n"
    "\n"
    "[ position ]\n"
    "WindowLeft=-12abc\n"
    "WindowTop=+7\n"
    "ScrollPage=abc\n"
    "Empty=\n"
    "Quoted=\"42\"\n"
    "Huge=99999999999999\n"
    "Tiny=-99999999999999\n"
    "[Setting]\n"
    "Hidden=1\n";

TEST(ProfileRead, NamesMatchWithoutCaseAndValuesLoseBlanksAndQuotes) {
    ProfileFile f = ProfileFile::parse(kSample);
    EXPECT_EQ(f.get_string("setting", "SHUFFLE", "d", 260), "1");
    EXPECT_EQ(f.get_string("SETTING", "Volume", "d", 260), "57");
    EXPECT_EQ(f.get_string("Setting", "SelectSkin", "d", 260), "  Blue Skin ");
    EXPECT_EQ(f.get_string("Setting", "Single", "d", 260), "x");
    EXPECT_EQ(f.get_string("Setting", "Unmatched", "d", 260), "\"abc");
    EXPECT_EQ(f.get_string("Position", "Empty", "d", 260), "");
    EXPECT_TRUE(f.has_section("POSITION"));
}

TEST(ProfileRead, MissingKeysSectionsAndFilesGiveTheDefault) {
    ProfileFile f = ProfileFile::parse(kSample);
    EXPECT_EQ(f.get_string("Setting", "Nothing", "def", 260), "def");
    EXPECT_EQ(f.get_string("Nowhere", "Shuffle", "def", 260), "def");
    EXPECT_EQ(f.get_int("Nowhere", "Shuffle", -3), -3);
    // Trailing blanks of the default go, like the value's.
    EXPECT_EQ(f.get_string("Setting", "Nothing", "def  ", 260), "def");
    // A comment is no key, nor is a line without '='.
    EXPECT_EQ(f.get_int("Setting", "Repeat", 9), 9);
    // Keys of a second section of the same name are not seen.
    EXPECT_EQ(f.get_int("Setting", "Hidden", 9), 9);

    TempDir dir;
    EXPECT_EQ(profile_get_string(dir / "missing.ini", "A", "b", "dflt", 260), "dflt");
    EXPECT_EQ(profile_get_int(dir / "missing.ini", "A", "b", 5), 5);
}

TEST(ProfileRead, ValuesAreCutToTheBufferLessOne) {
    ProfileFile f = ProfileFile::parse("[S]\nK=abcdef\nQ=\"abcdef\"\n");
    EXPECT_EQ(f.get_string("S", "K", "", 4), "abc");
    EXPECT_EQ(f.get_string("S", "Q", "", 4), "abc");
    EXPECT_EQ(f.get_string("S", "K", "", 7), "abcdef");
    EXPECT_EQ(f.get_string("S", "K", "", 1), "");
    EXPECT_EQ(f.get_string("S", "K", "", 0), "");
    EXPECT_EQ(f.get_string("S", "None", "defaults", 4), "def");
}

TEST(ProfileRead, IntegersComeFromTheLeadingDecimalNumber) {
    ProfileFile f = ProfileFile::parse(kSample);
    EXPECT_EQ(f.get_int("Position", "WindowLeft", 0), -12);
    EXPECT_EQ(f.get_int("Position", "WindowTop", 0), 7);
    EXPECT_EQ(f.get_int("Position", "ScrollPage", 4), 0);
    EXPECT_EQ(f.get_int("Position", "Empty", 4), 4);
    EXPECT_EQ(f.get_int("Position", "Quoted", 0), 42);
    EXPECT_EQ(f.get_int("Position", "Huge", 0), 2147483647);
    EXPECT_EQ(f.get_int("Position", "Tiny", 0), -2147483647 - 1);
    EXPECT_EQ(f.get_int("Setting", "Shuffle", 0), 1);
}

TEST(ProfileRead, FirstDuplicateWinsAndBytesStayAsTheyAre) {
    ProfileFile f = ProfileFile::parse(kSample);
    EXPECT_EQ(f.get_string("Setting", "dup", "", 260), "first");
    std::string sjis = "\x82\xa0\x82\xa2\x95\x5c";  // Shift-JIS with a 0x5C trail byte
    ProfileFile g = ProfileFile::parse("[S]\nT=" + sjis + "\n");
    EXPECT_EQ(g.get_string("S", "T", "", 260), sjis);
    ProfileFile crlf = ProfileFile::parse("[S]\r\nK=v\r\n");
    EXPECT_EQ(crlf.get_string("S", "K", "", 260), "v");
}

TEST(ProfileWrite, ReplacesInPlaceAndAppendsToTheSection) {
    ProfileFile f = ProfileFile::parse(
        "; head\n[A]\n  Key = old ; not a comment\n; note\nOther=1\n\n[B]\nX=1\n");
    f.write_string("a", "KEY", "new");
    f.write_string("A", "Added", "2");
    f.write_string("B", "Y", "3");
    EXPECT_EQ(f.serialize(), "; head\n[A]\nKey=new\n; note\nOther=1\nAdded=2\n\n[B]\nX=1\nY=3\n");
}

TEST(ProfileWrite, MissingSectionGoesToTheEndAndMissingFileIsCreated) {
    TempDir dir;
    auto path = dir / "new.ini";
    EXPECT_TRUE(profile_write_string(path, "First", "a", "1"));
    EXPECT_TRUE(profile_write_string(path, "Second", "b", "2"));
    EXPECT_TRUE(profile_write_string(path, "first", "c", "3"));
    EXPECT_EQ(read_file(path), "[First]\na=1\nc=3\n[Second]\nb=2\n");
}

TEST(ProfileWrite, WriteWithoutKeyDeletesTheSection) {
    ProfileFile f = ProfileFile::parse(
        "[Keep]\nk=1\n[Playlist]\nFile1=a\n; c\n\n[keep2]\nx=1\n[PLAYLIST]\nFile9=z\n");
    f.delete_section("playlist");
    EXPECT_EQ(f.serialize(), "[Keep]\nk=1\n[keep2]\nx=1\n");
    f.delete_key("keep", "K");
    EXPECT_EQ(f.serialize(), "[Keep]\n[keep2]\nx=1\n");
    f.delete_section("absent");
    f.delete_key("keep2", "absent");
    EXPECT_EQ(f.serialize(), "[Keep]\n[keep2]\nx=1\n");
}

TEST(ProfileWrite, KeepsLineEndsMarkAndEndsTheLastLine) {
    ProfileFile crlf = ProfileFile::parse("[S]\r\nK=1\r\n");
    crlf.write_string("S", "L", "2");
    EXPECT_EQ(crlf.serialize(), "[S]\r\nK=1\r\nL=2\r\n");
    ProfileFile bom = ProfileFile::parse("\xEF\xBB\xBF[S]\nK=1");
    EXPECT_EQ(bom.get_string("S", "K", "", 260), "1");
    bom.write_string("T", "M", "3");
    EXPECT_EQ(bom.serialize(), "\xEF\xBB\xBF[S]\nK=1\n[T]\nM=3\n");
}

TEST(ProfileWrite, ValuesCannotInjectLinesAndBadKeysAreRefused) {
    ProfileFile f;
    f.write_string("S", "Title1", "x\n[Evil]\r\nk=v");
    f.write_string("S", "a=b", "1");
    f.write_string("S", "[T]", "1");
    f.write_string("S", ";c", "1");
    f.write_string("S", "", "1");
    ProfileFile back = ProfileFile::parse(f.serialize());
    EXPECT_FALSE(back.has_section("Evil"));
    EXPECT_FALSE(back.has_section("T"));
    EXPECT_EQ(back.get_string("S", "Title1", "", 260), "x [Evil]  k=v");
    EXPECT_EQ(back.keys("S"), std::vector<std::string>{"Title1"});
}

TEST(ProfileWrite, UnreadableFileIsNeverReplaced) {
    TempDir dir;
    auto path = dir / "a.ini";
    std::filesystem::create_directory(path);  // exists, cannot be read as a file
    EXPECT_FALSE(profile_write_string(path, "S", "K", "V"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ProfileWrite, SavesLeaveNoTemporaryFilesAndKeepPermissions) {
    TempDir dir;
    auto path = dir / "p.ini";
    write_file(path, "[S]\nK=1\n");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(profile_write_string(path, "S", "K", std::to_string(i)));
    EXPECT_EQ(read_file(path), "[S]\nK=4\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.exists();
    EXPECT_EQ(files, 1);
}

// A write whose rename fails (the target is a folder with files in it) reports the
// failure and takes its temporary file away.
TEST(ProfileWrite, FailedAtomicWriteLeavesNoTemporaryFile) {
    TempDir dir;
    auto target = dir / "busy";
    std::filesystem::create_directory(target);
    write_file(target / "inside", "x");
    EXPECT_FALSE(write_file_atomically(target, "[S]\nK=1\n"));
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.exists();
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

TEST(ProfileWrite, SymlinkTargetIsReplacedNotTheLink) {
    TempDir dir;
    write_file(dir / "real.ini", "[S]\nK=1\n");
    std::filesystem::create_symlink("real.ini", dir / "link.ini");
    ASSERT_TRUE(profile_write_string(dir / "link.ini", "S", "K", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(read_file(dir / "real.ini"), "[S]\nK=2\n");
}

// One write operation of the profile API, applied either to a file on disk
// (one whole-file rewrite per call) or to a memory copy.
struct Op {
    enum Kind { Write, DeleteKey, DeleteSection } kind;
    std::string section, key, value;
};

std::vector<Op> random_ops(unsigned seed, int count) {
    std::mt19937 rng(seed);
    const char* sections[] = {"Setting", "setting", "Playlist", "PLAYLIST", "New", "Dup", "X y"};
    const char* keys[] = {"Volume", "VOLUME", "File1", "Title1", "a", "dup", "NumberOfEntries"};
    const char* values[] = {"", "1", "  padded  ", "\"q\"", "x\ny", "\x82\xa0", "long value text"};
    std::vector<Op> ops;
    for (int i = 0; i < count; ++i) {
        int r = static_cast<int>(rng() % 10);
        Op op{r < 7 ? Op::Write : (r < 9 ? Op::DeleteKey : Op::DeleteSection), sections[rng() % 7],
              keys[rng() % 7], values[rng() % 7]};
        ops.push_back(op);
    }
    return ops;
}

TEST(ProfileBatch, MemoryWritesEqualKeyByKeyFileWrites) {
    const std::string starts[] = {
        "\xEF\xBB\xBF; comment\r\nstray=1\r\n[Setting]\r\n Volume = 5 \r\n\r\n"
        "[Dup]\r\ndup=1\r\nDUP=2\r\n[dup]\r\ndup=3\r\njunk line\r\n[Playlist]\r\nFile1=a",
        // LF file with stray CRs; its first section may be deleted, after which
        // the first line ends in CR LF and new lines follow that.
        "[Dup]\nx=1\n[Setting]\r\nVolume=5\r\n\r\n[New]\na=1\r\r\n",
        "",
    };
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const std::string& start = starts[seed % 3];
        TempDir dir;
        auto one_by_one = dir / "one.ini";
        write_file(one_by_one, start);
        std::vector<Op> ops = random_ops(seed, 60);
        ProfileFile batch = ProfileFile::parse(start);
        for (const Op& op : ops) {
            switch (op.kind) {
                case Op::Write:
                    ASSERT_TRUE(profile_write_string(one_by_one, op.section, op.key, op.value));
                    batch.write_string(op.section, op.key, op.value);
                    break;
                case Op::DeleteKey:
                    ASSERT_TRUE(profile_write_string(one_by_one, op.section, op.key, std::nullopt));
                    batch.delete_key(op.section, op.key);
                    break;
                case Op::DeleteSection:
                    ASSERT_TRUE(
                        profile_write_string(one_by_one, op.section, std::nullopt, std::nullopt));
                    batch.delete_section(op.section);
                    break;
            }
        }
        auto batched = dir / "batch.ini";
        ASSERT_TRUE(batch.save(batched));
        ASSERT_EQ(read_file(one_by_one), read_file(batched)) << "seed " << seed;
    }
}

// Arbitrary bytes parse without harm, and what the writer produces reads back
// to the same file: a second load and save changes nothing.
TEST(ProfileRobustness, AnyInputParsesAndRewritesStably) {
    std::mt19937 rng(7);
    const std::string alphabet = "[]=;\"' \t\r\nabcK1\x82\xEF\xBB\xBF";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const size_t size = rng() % 200;
        for (size_t i = 0; i < size; ++i)
            text += (rng() % 4 == 0) ? static_cast<char>(rng() & 0xff)
                                     : alphabet[rng() % alphabet.size()];
        ProfileFile file = ProfileFile::parse(text);
        file.get_string("a", "K", "d", 5);
        file.get_int("ab", "k1", 3);
        file.write_string("a", "K", "v");
        file.delete_key("b", "c");
        const std::string once = file.serialize();
        ProfileFile again = ProfileFile::parse(once);
        ASSERT_EQ(again.serialize(), once) << "round " << round;
        ASSERT_EQ(again.get_string("a", "K", "", 260), "v") << "round " << round;
    }
}

}  // namespace
}  // namespace dz
