#include "base/PathUtil.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace dz {
namespace {

// A fresh folder under the temporary folder, removed with its content.
struct TempDir {
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "dzpathXXXXXX").string();
        if (::mkdtemp(pattern.data())) dir = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    const std::filesystem::path& path() const { return dir; }
    std::filesystem::path operator/(const std::string& name) const { return dir / name; }
    std::filesystem::path dir;
};

void write_file(const std::filesystem::path& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

TEST(PathUtil, UrlNeedsASchemeOfTwoCharactersAndAColon) {
    EXPECT_TRUE(path_is_url("http://example.com/a.ptcop"));
    EXPECT_TRUE(path_is_url("https://x"));
    EXPECT_TRUE(path_is_url("svn+ssh://x"));
    EXPECT_TRUE(path_is_url("ab:c"));
    EXPECT_FALSE(path_is_url("C:/music/a.ptcop"));
    EXPECT_FALSE(path_is_url("/home/u/a.ptcop"));
    EXPECT_FALSE(path_is_url("a b:c"));
    EXPECT_FALSE(path_is_url("12:30 take.ptcop"));  // a scheme starts with a letter
    EXPECT_FALSE(path_is_url("http"));
    EXPECT_FALSE(path_is_url(""));
}

TEST(PathUtil, ExtensionFromTheLastDotOfTheLastComponent) {
    EXPECT_EQ(path_find_extension("/music/song.ptcop"), ".ptcop");
    EXPECT_EQ(path_find_extension("/music/archive.tar.gz"), ".gz");
    EXPECT_EQ(path_find_extension("/music.d/song"), "");
    EXPECT_EQ(path_find_extension("song.ptcop (1)"), "");  // a blank after the dot cancels it
    EXPECT_EQ(path_find_extension("my song.ptcop"), ".ptcop");
    EXPECT_EQ(path_find_extension("noext"), "");
    EXPECT_EQ(path_find_extension(".hidden"), ".hidden");
    // A URL is one component: everything after its last dot.
    EXPECT_EQ(path_find_extension("http://host.com/a.ptcop?x=1"), ".ptcop?x=1");
    EXPECT_EQ(path_find_extension("http://host.com/tune"), ".com/tune");
    // The empty extension sits at the end of the text.
    std::string_view p = "/a/b";
    EXPECT_EQ(path_find_extension(p).data(), p.data() + p.size());
}

TEST(PathUtil, StripPathAndRemoveExtensionMakeTheFileTitle) {
    EXPECT_EQ(path_strip_path("/music/dir/song.ptcop"), "song.ptcop");
    EXPECT_EQ(path_strip_path("Base\\MAIN.BMP"), "MAIN.BMP");
    EXPECT_EQ(path_strip_path("c:main.bmp"), "main.bmp");
    EXPECT_EQ(path_strip_path("http://host/dir/x.pttune"), "x.pttune");
    EXPECT_EQ(path_strip_path("dir/sub/"), "sub/");
    EXPECT_EQ(path_strip_path("plain"), "plain");
    EXPECT_EQ(path_remove_extension("song.ptcop"), "song");
    EXPECT_EQ(path_remove_extension("/a.b/c"), "/a.b/c");
    EXPECT_EQ(path_remove_extension(path_strip_path("/m/My Tune.v2.ptcop")), "My Tune.v2");
}

TEST(PathUtil, CombineJoinsAndResolvesDots) {
    EXPECT_EQ(path_combine("/skins/base", "PLEDIT.TXT"), "/skins/base/PLEDIT.TXT");
    EXPECT_EQ(path_combine("/skins/base/", "PLEDIT.TXT"), "/skins/base/PLEDIT.TXT");
    EXPECT_EQ(path_combine("/skins/base", "/etc/x"), "/etc/x");
    EXPECT_EQ(path_combine("/a/./b/../c", "d"), "/a/c/d");
    EXPECT_EQ(path_combine("/", "../x"), "/x");
    EXPECT_EQ(path_combine("rel", "../../x"), "../x");
    EXPECT_EQ(path_combine("dir", ""), "dir");
    EXPECT_EQ(path_combine("dir", "sub/"), "dir/sub/");
}

TEST(PathUtil, WildcardsFollowTheFindFileRules) {
    EXPECT_TRUE(wildcard_match("main.*", "MAIN.BMP"));
    EXPECT_TRUE(wildcard_match("main.*", "main"));
    EXPECT_TRUE(wildcard_match("main.*", "Main.tar.gz"));
    EXPECT_FALSE(wildcard_match("main.*", "mainx.bmp"));
    EXPECT_FALSE(wildcard_match("main.*", "xmain.bmp"));
    EXPECT_TRUE(wildcard_match("*.bmp", "Titlebar.BMP"));
    EXPECT_FALSE(wildcard_match("*.bmp", "titlebar.bmp.bak"));
    EXPECT_TRUE(wildcard_match("*", "anything"));
    EXPECT_TRUE(wildcard_match("*.*", "noext"));
    EXPECT_TRUE(wildcard_match("a?c", "ABC"));
    EXPECT_FALSE(wildcard_match("a?c", "ac"));
    EXPECT_TRUE(wildcard_match("*a*b*", "xxaYYbzz"));
}

TEST(PathUtil, EnumerationAndLookupIgnoreCase) {
    TempDir dir;
    for (const char* name : {"MAIN.BMP", "main.cur", "mainx.bmp", "Pledit.txt"})
        write_file(dir / name, "x");
    std::filesystem::create_directory(dir / "main.d");

    std::vector<std::string> names;
    for (const DirEntry& e : find_files(dir.path(), "main.*"))
        names.push_back(e.name + (e.is_dir ? "/" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"MAIN.BMP", "main.cur", "main.d/"}));
    EXPECT_TRUE(find_files(dir / "absent", "*").empty());

    auto found = find_file_nocase(dir.path(), "PLEDIT.TXT");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), "Pledit.txt");
    EXPECT_FALSE(find_file_nocase(dir.path(), "REGION.TXT"));
    EXPECT_TRUE(path_file_exists((dir / "main.d").string()));
    EXPECT_FALSE(path_file_exists((dir / "nope").string()));
    EXPECT_FALSE(path_file_exists(""));
}

TEST(PathUtil, CaseFoldingIsAsciiOnly) {
    EXPECT_TRUE(contains_nocase(".PtCoP", ".ptcop"));
    EXPECT_FALSE(contains_nocase(".ptco", ".ptcop"));
    EXPECT_TRUE(equals_nocase("Dezidu.INI", "dezidu.ini"));
    EXPECT_FALSE(equals_nocase("\xC3\x89", "\xC3\xA9"));  // É and é are different bytes
}

}  // namespace
}  // namespace dz
