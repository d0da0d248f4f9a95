#include "app/PlaylistStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SettleLoads.h"
#include "TempDir.h"
#include "io/PlaylistFile.h"
#include "io/Settings.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeHttpClient.h"

namespace dz {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

// Tunes of 120 beats per minute, 4 beats of 480 clocks per measure: each
// measure lasts 2 s, so `measures` gives the length.
FakeTune tune(const std::string& name, int measures) {
    FakeTune t;
    t.info = TuneInformation{4, 120.0f, 480, measures};
    t.play_meas = measures;
    t.name = name;
    return t;
}

class PlaylistStoreTest : public ::testing::Test {
protected:
    PlaylistStoreTest() : player_(library_) {
        player_.set_http_client(&http_);
        ini_ = settings_path(dir_.path()).string();
    }

    std::string add_tune_file(const std::string& file, const std::string& name, int measures) {
        std::string path = (dir_ / file).string();
        write_file(path, "tune bytes");
        EXPECT_TRUE(test::settle_loads(player_));  // the loader reads the map
        library_.tunes[path] = tune(name, measures);
        return path;
    }

    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const tagTUNEINFO& e : player_.playlist) out.push_back(e.title);
        return out;
    }

    int loads() {
        int n = 0;
        for (const std::string& call : library_.take_calls()) n += call.rfind("Load ", 0) == 0;
        return n;
    }

    TempDir dir_;
    FakeAudioLibrary library_;
    FakeHttpClient http_;
    tagPLAYER player_;
    std::string ini_;
    int list_dirty_ = 0;
    PlaylistStore store() { return PlaylistStore(player_, http_, ini_, &list_dirty_); }
};

TEST_F(PlaylistStoreTest, SavedPlaylistReopensWithTheSameEntriesWithoutLoadingThem) {
    std::string a = add_tune_file("a.ptcop", "Alpha", 31);  // 62 s
    std::string b = add_tune_file("b.pttune", "", 2);       // no name: the file title
    std::string c = add_tune_file("c.ptcop", "No Name here", 5);
    for (const std::string& p : {a, b, c}) ASSERT_GE(player_.add_file(p), 0);
    ASSERT_TRUE(test::settle_loads(player_));
    player_.playlist[0].length_seconds = 61.9f;  // the fraction is lost on saving
    const std::string list = (dir_ / "three.ptlist").string();
    ASSERT_TRUE(store().SavePlaylist(list));

    tagPLAYER other(library_);
    library_.take_calls();
    PlaylistStore reader(other, http_, ini_, &list_dirty_);
    ASSERT_TRUE(reader.ReadPlaylistFile(list));
    ASSERT_EQ(other.playlist.count(), 3);
    EXPECT_EQ(other.playlist[0].path, a);
    EXPECT_EQ(other.playlist[0].title, "Alpha");
    EXPECT_FLOAT_EQ(other.playlist[0].length_seconds, 61.0f);
    EXPECT_EQ(other.playlist[1].title, "b");
    EXPECT_FLOAT_EQ(other.playlist[1].length_seconds, 4.0f);
    EXPECT_EQ(other.playlist[2].title, "c");
    EXPECT_FLOAT_EQ(other.total_seconds, 75.0f);
    EXPECT_EQ(loads(), 0);  // stored title and length: no tune opened
    EXPECT_EQ(list_dirty_, 1);
}

TEST_F(PlaylistStoreTest, EntriesWithoutLengthOrTitleAreLoadedAgainAndGapsSkipped) {
    std::string a = add_tune_file("a.ptcop", "Own Name", 3);
    std::string c = add_tune_file("c.ptcop", "Third", 1);
    std::string list = (dir_ / "gaps.ptlist").string();
    write_file(list, "[Playlist]\nNumberOfEntries=5\nFile1=" + a + "\nTitle1=Stored\nLength1=0\n" +
                         "File3=" + c + "\nTitle3=Kept\nLength3=9\nFile4=" +
                         (dir_ / "gone.ptcop").string() + "\n");
    ASSERT_TRUE(store().ReadPlaylistFile(list));
    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_EQ(titles(), (std::vector<std::string>{"Own Name", "Kept"}));
    EXPECT_FLOAT_EQ(player_.playlist[0].length_seconds, 6.0f);
    EXPECT_FLOAT_EQ(player_.playlist[1].length_seconds, 9.0f);
    EXPECT_EQ(player_.playlist[0].info_loaded, 1);
    EXPECT_EQ(player_.playlist[1].info_loaded, 0);
}

// A large playlist without stored lengths comes in at once with what is stored (a title
// without a length stays until the tune is read): no tune is opened by the library, and a
// save meanwhile keeps the stored values. The tunes are read in the background.
TEST_F(PlaylistStoreTest, LargePlaylistComesInAtOnceAndIsReadInTheBackground) {
    constexpr int kEntries = 3000;
    std::string text = "[Playlist]\nNumberOfEntries=" + std::to_string(kEntries) + "\n";
    for (int k = 1; k <= kEntries; ++k) {
        const std::string n = std::to_string(k);
        text += "File" + n + "=" + add_tune_file("t" + n + ".ptcop", "Name" + n, 1) + "\n";
    }
    text += "Title1=Stored\nLength1=0\n";
    const std::string list = (dir_ / "big.ptlist").string();
    write_file(list, text);
    library_.take_calls();

    ASSERT_TRUE(store().ReadPlaylistFile(list));
    EXPECT_EQ(loads(), 0);
    ASSERT_EQ(player_.playlist.count(), kEntries);
    EXPECT_EQ(player_.playlist[0].title, "Stored");
    EXPECT_EQ(player_.playlist[1].title, "");
    EXPECT_EQ(player_.playlist[1].loading, EntryLoading::Reading);
    ASSERT_TRUE(store().SavePlaylist());
    std::vector<PlaylistFileEntry> saved = read_playlist_file(ini_);
    ASSERT_EQ(saved.size(), static_cast<size_t>(kEntries));
    EXPECT_EQ(saved[0].title, "Stored");
    EXPECT_EQ(saved[0].length_seconds, 0);

    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_EQ(loads(), 0);
    EXPECT_EQ(player_.playlist[0].title, "Name1");
    EXPECT_EQ(player_.playlist[kEntries - 1].title, "Name" + std::to_string(kEntries));
    EXPECT_EQ(player_.playlist[kEntries - 1].loading, EntryLoading::None);
    EXPECT_FLOAT_EQ(player_.total_seconds, 2.0f * kEntries);
}

TEST_F(PlaylistStoreTest, AddPathDecidesByExtensionAndMirrorsIntoTheSettingsFile) {
    std::string tune_path = add_tune_file("x.PTCOP", "Upper", 2);
    std::string other = add_tune_file("y.ptcop", "Listed", 2);
    std::string upper_list = (dir_ / "x.PTLIST").string();
    std::string lower_list = (dir_ / "x.ptlist").string();
    const std::string list_text =
        "[Playlist]\nNumberOfEntries=1\nFile1=" + other + "\nTitle1=Listed\nLength1=4\n";
    write_file(upper_list, list_text);
    write_file(lower_list, list_text);

    EXPECT_FALSE(store().AddPath(upper_list));
    EXPECT_FALSE(std::filesystem::exists(ini_));
    EXPECT_FALSE(store().AddPath((dir_ / "missing.ptcop").string()));
    EXPECT_FALSE(store().AddPath(dir_.path().string()));  // a folder: no extension

    EXPECT_TRUE(store().AddPath(tune_path));
    ASSERT_EQ(read_playlist_file(ini_).size(), 1u);
    EXPECT_EQ(read_playlist_file(ini_)[0].path, tune_path);
    ASSERT_TRUE(test::settle_loads(player_));  // the title is read in the background
    EXPECT_EQ(titles(), std::vector<std::string>{"Upper"});
    list_dirty_ = 0;
    EXPECT_TRUE(store().AddPath(lower_list));
    EXPECT_EQ(titles(), std::vector<std::string>{"Listed"});
    EXPECT_EQ(list_dirty_, 1);
    EXPECT_EQ(read_playlist_file(ini_), (std::vector<PlaylistFileEntry>{{other, "Listed", 4}}));
}

TEST_F(PlaylistStoreTest, OpenPlaylistKeepsTheListWhenThereIsNothingToRead) {
    std::string a = add_tune_file("a.ptcop", "A", 2);
    player_.add_file(a);
    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_FALSE(store().OpenPlaylist());  // no settings file yet
    EXPECT_FALSE(store().OpenPlaylist((dir_ / "none.ptlist").string()));
    std::filesystem::create_directory(dir_ / "folder.ptlist");  // exists, cannot be read
    EXPECT_FALSE(store().OpenPlaylist((dir_ / "folder.ptlist").string()));
    const std::string fifo = (dir_ / "pipe.ptlist").string();  // no writer: would block
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(store().OpenPlaylist(fifo));
    EXPECT_FALSE(store().AddPath(fifo));
    EXPECT_FALSE(store().OpenPlaylist("http://h/unknown.ptlist"));
    EXPECT_EQ(titles(), std::vector<std::string>{"A"});

    write_file(ini_, "[Setting]\nShuffle=1\n");  // no Playlist section: the list empties
    EXPECT_TRUE(store().OpenPlaylist());
    EXPECT_TRUE(player_.playlist.empty());
}

TEST_F(PlaylistStoreTest, StartUpReadsTheStoredPlaylistBack) {
    std::string a = add_tune_file("a.ptcop", "A", 2);
    std::string b = add_tune_file("b.ptcop", "B", 3);
    player_.add_file(a);
    player_.add_file(b);
    ASSERT_TRUE(test::settle_loads(player_));
    ASSERT_TRUE(store().SavePlaylist());

    tagPLAYER restarted(library_);
    PlaylistStore(restarted, http_, ini_).OpenPlaylist();
    ASSERT_EQ(restarted.playlist.count(), 2);
    EXPECT_EQ(restarted.playlist[0].title, "A");
    EXPECT_EQ(restarted.playlist[1].path, b);
    EXPECT_FLOAT_EQ(restarted.total_seconds, 10.0f);
}

TEST_F(PlaylistStoreTest, PlaylistUrlIsFetchedReadAndItsFileDeleted) {
    std::string a = add_tune_file("a.ptcop", "A", 2);
    http_.responses["http://h/l.ptlist"] = {
        200, "[Playlist]\nNumberOfEntries=1\nFile1=" + a + "\nTitle1=Remote\nLength1=4\n"};
    EXPECT_FALSE(store().AddPath("http://h/l.ptlist"));  // downloaded in the background
    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_EQ(store().OpenDownloadedPlaylists(), PlaylistStore::Opened::Replaced);
    EXPECT_EQ(titles(), std::vector<std::string>{"Remote"});
    ASSERT_EQ(http_.fetched_files.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(http_.fetched_files[0]));
    EXPECT_EQ(read_playlist_file(ini_).size(), 1u);
}

}  // namespace
}  // namespace dz
