#include "io/PlaylistFile.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/fake/FakeHttpClient.h"

namespace dz {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

TEST(PlaylistFile, ThreeEntriesComeBackInOrderWithWholeSeconds) {
    TempDir dir;
    auto list = dir / "mine.ptlist";
    std::vector<PlaylistFileEntry> saved = {
        {"/music/a.ptcop", "First", stored_length(61.9f)},
        {"http://host/b.pttune", "Second \x82\xa0", stored_length(0.99f)},
        {"/music/c d.ptcop", "Third", stored_length(125.0f)},
    };
    ASSERT_TRUE(write_playlist_file(list, saved));
    EXPECT_EQ(read_file(list),
              "[Playlist]\nFile1=/music/a.ptcop\nTitle1=First\nLength1=61\n"
              "File2=http://host/b.pttune\nTitle2=Second \x82\xa0\nLength2=0\n"
              "File3=/music/c d.ptcop\nTitle3=Third\nLength3=125\nNumberOfEntries=3\n");
    std::vector<PlaylistFileEntry> back = read_playlist_file(list);
    EXPECT_EQ(back, saved);
    EXPECT_TRUE(back[0].has_stored_info());
    EXPECT_FALSE(back[1].has_stored_info());  // length 0: the tune is opened again
}

TEST(PlaylistFile, LengthsAreTruncatedAndNeverNegative) {
    EXPECT_EQ(stored_length(1.9f), 1);
    EXPECT_EQ(stored_length(0.0f), 0);
    EXPECT_EQ(stored_length(-3.5f), 0);
    EXPECT_EQ(stored_length(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(stored_length(1e20f), std::numeric_limits<int>::max());
    auto entries = read_playlist_section(
        ProfileFile::parse("[Playlist]\nNumberOfEntries=1\nFile1=a.ptcop\nTitle1=t\nLength1=-1\n"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].length_seconds, 0);
}

TEST(PlaylistFile, MissingNumbersAreSkippedAndTheCountBounds) {
    auto entries = read_playlist_section(
        ProfileFile::parse("[playlist]\nnumberofentries=5\nFile3=/c.ptcop\nTitle3=C\nLength3=3\n"
                           "file1=/a.ptcop\nFile2=\nFile6=/beyond.ptcop\nFile01=/zero.ptcop\n"
                           "Title4=no file\n"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (PlaylistFileEntry{"/a.ptcop", "", 0}));
    EXPECT_EQ(entries[1], (PlaylistFileEntry{"/c.ptcop", "C", 3}));

    EXPECT_TRUE(read_playlist_section(ProfileFile::parse("[Playlist]\nFile1=/a\n")).empty());
    EXPECT_TRUE(
        read_playlist_section(ProfileFile::parse("[Playlist]\nNumberOfEntries=-2\nFile1=/a\n"))
            .empty());
    TempDir dir;
    EXPECT_TRUE(read_playlist_file(dir / "absent.ptlist").empty());
}

TEST(PlaylistFile, HugeCountOnlyVisitsPresentKeys) {
    auto entries = read_playlist_section(ProfileFile::parse(
        "[Playlist]\nNumberOfEntries=2147483647\nFile2000000000=/far.ptcop\nFile1=/a.ptcop\n"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, "/a.ptcop");
    EXPECT_EQ(entries[1].path, "/far.ptcop");
}

TEST(PlaylistFile, PathsComeBackUpToPathMaxTitlesCutTo259Bytes) {
    const std::string long_path = "/" + std::string(4200, 'p');
    ProfileFile f;
    put_playlist_section(f, {{long_path, std::string(300, 't'), 5}});
    auto entries = read_playlist_section(f);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, long_path.substr(0, 4095));
    EXPECT_EQ(entries[0].title.size(), 259u);
}

TEST(PlaylistFile, SectionIsRewrittenAtTheEndOfTheSettingsFile) {
    TempDir dir;
    auto ini = dir / "Dezidu.ini";
    write_file(ini,
               "[Setting]\nShuffle=1\n[Playlist]\nFile1=/old.ptcop\nFile2=/old2.ptcop\n"
               "NumberOfEntries=2\n[Position]\nScrollPage=6\n");
    ASSERT_TRUE(write_playlist_file(ini, {{"/new.ptcop", "New", 7}}));
    EXPECT_EQ(read_file(ini),
              "[Setting]\nShuffle=1\n[Position]\nScrollPage=6\n[Playlist]\nFile1=/new.ptcop\n"
              "Title1=New\nLength1=7\nNumberOfEntries=1\n");
    ASSERT_TRUE(write_playlist_file(ini, {}));
    EXPECT_EQ(read_file(ini),
              "[Setting]\nShuffle=1\n[Position]\nScrollPage=6\n[Playlist]\nNumberOfEntries=0\n");
}

TEST(PlaylistFile, BatchedSaveEqualsKeyByKeyWrites) {
    TempDir dir;
    auto batched = dir / "batched.ini";
    auto keyed = dir / "keyed.ini";
    const std::string start = "[Playlist]\nFile1=x\n[Setting]\nVolume=57\n";
    write_file(batched, start);
    write_file(keyed, start);
    std::vector<PlaylistFileEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.push_back({"/m/" + std::to_string(i) + ".ptcop", "T" + std::to_string(i), i});
    ASSERT_TRUE(write_playlist_file(batched, entries));

    ASSERT_TRUE(profile_write_string(keyed, "Playlist", std::nullopt, std::nullopt));
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string n = std::to_string(i + 1);
        ASSERT_TRUE(profile_write_string(keyed, "Playlist", "File" + n, entries[i].path));
        ASSERT_TRUE(profile_write_string(keyed, "Playlist", "Title" + n, entries[i].title));
        ASSERT_TRUE(profile_write_string(keyed, "Playlist", "Length" + n,
                                         std::to_string(entries[i].length_seconds)));
    }
    ASSERT_TRUE(profile_write_string(keyed, "Playlist", "NumberOfEntries", "40"));
    EXPECT_EQ(read_file(batched), read_file(keyed));
}

TEST(PlaylistFile, AddedPathsAreClassifiedByExtension) {
    EXPECT_EQ(classify_added_path("/m/x.PTCOP"), AddedPathKind::Tune);
    EXPECT_EQ(classify_added_path("/m/x.ptcop"), AddedPathKind::Tune);
    EXPECT_EQ(classify_added_path("/m/x.PtTune"), AddedPathKind::Tune);
    EXPECT_EQ(classify_added_path("/m/x.ptcopy"), AddedPathKind::Tune);  // a substring test
    EXPECT_EQ(classify_added_path("/m/x.ptlist"), AddedPathKind::Playlist);
    EXPECT_EQ(classify_added_path("/m/x.PTLIST"), AddedPathKind::None);
    EXPECT_EQ(classify_added_path("/m/x.Ptlist"), AddedPathKind::None);
    EXPECT_EQ(classify_added_path("/m/folder"), AddedPathKind::None);
    EXPECT_EQ(classify_added_path("/m.ptcop/folder"), AddedPathKind::None);
    EXPECT_EQ(classify_added_path("http://h/get?f=a.ptcop"), AddedPathKind::Tune);
    EXPECT_EQ(classify_added_path("http://h/list.ptlist"), AddedPathKind::Playlist);
}

TEST(PlaylistFile, OpenFromPathOrUrl) {
    TempDir dir;
    FakeHttpClient http;
    auto list = dir / "l.ptlist";
    write_file(list, "[Playlist]\nNumberOfEntries=1\nFile1=/a.ptcop\nTitle1=A\nLength1=4\n");

    auto local = open_playlist_source(list.string(), http);
    ASSERT_TRUE(local);
    EXPECT_EQ(*local, (std::vector<PlaylistFileEntry>{{"/a.ptcop", "A", 4}}));
    EXPECT_FALSE(open_playlist_source((dir / "none.ptlist").string(), http));
    // An existing file without a Playlist section empties the playlist.
    write_file(dir / "empty.ptlist", "[Other]\n");
    auto empty = open_playlist_source((dir / "empty.ptlist").string(), http);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());

    http.responses["http://h/l.ptlist"] = {200, read_file(list)};
    http.responses["http://h/gone.ptlist"] = {404, "Not Found"};
    auto remote = open_playlist_source("http://h/l.ptlist", http);
    ASSERT_TRUE(remote);
    EXPECT_EQ(*remote, *local);
    ASSERT_EQ(http.fetched_files.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(http.fetched_files[0]));  // read, then deleted
    EXPECT_FALSE(open_playlist_source("http://h/gone.ptlist", http));
    EXPECT_FALSE(open_playlist_source("http://h/unknown.ptlist", http));
    EXPECT_EQ(http.calls, (std::vector<std::string>{
                              "exists http://h/l.ptlist", "fetch http://h/l.ptlist",
                              "exists http://h/gone.ptlist", "exists http://h/unknown.ptlist"}));
}

}  // namespace
}  // namespace dz
