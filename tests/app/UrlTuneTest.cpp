// A tune added by URL against a real HTTP server: checked and downloaded once into
// a "pat" file on the player's download thread, and that file deleted with its entry.

#include <gtest/gtest.h>

#include "SettleLoads.h"
#include "TempDir.h"
#include "TestHttpServer.h"
#include "app/PlaylistStore.h"
#include "io/CurlHttpClient.h"
#include "io/Settings.h"
#include "platform/fake/FakeAudioLibrary.h"

namespace dz {
namespace {

using test::HttpRoute;
using test::read_file;

// Reads a downloaded file only when it holds exactly the served body (on the
// download thread: `tunes` is not touched there).
class DownloadLibrary : public FakeAudioLibrary {
public:
    std::string body;
    std::optional<TuneDetails> read_tune_details(const std::string& path) override {
        if (path.find("/pat") == std::string::npos || read_file(path) != body) return std::nullopt;
        TuneDetails d;
        d.name = "Remote Tune";
        d.play_meas = 8;
        return d;
    }
};

class UrlTuneTest : public ::testing::Test {
protected:
    UrlTuneTest() : player_(library_) {
        ::setenv("TMPDIR", temp_.path().c_str(), 1);
        ::setenv("no_proxy", "*", 1);
        for (int i = 0; i < 50000; ++i) library_.body += static_cast<char>(i * 7 + i / 251);
        std::vector<std::string> chunks;
        for (size_t at = 0; at < library_.body.size(); at += 9000)
            chunks.push_back(library_.body.substr(at, 9000));
        server_.route("/song.ptcop", HttpRoute{.chunks = chunks, .pause_ms = 15});
        server_.route("/empty.ptcop", HttpRoute{});
        server_.route("/silent.ptcop", HttpRoute{.silent = true});
        player_.set_http_client(&http_);
    }
    ~UrlTuneTest() override { ::unsetenv("TMPDIR"); }

    std::vector<std::filesystem::path> pat_files() const {
        std::vector<std::filesystem::path> out;
        for (auto& e : std::filesystem::directory_iterator(temp_.path()))
            if (e.path().filename().string().rfind("pat", 0) == 0) out.push_back(e.path());
        return out;
    }

    int requests_for(const std::string& path) const {
        int n = 0;
        for (const std::string& line : server_.log()) n += line == "GET " + path;
        return n;
    }

    static HttpLimits limits() {
        HttpLimits l;
        l.connect_timeout_ms = 2000;
        l.low_speed_seconds = 1;
        return l;
    }

    test::TempDir temp_;
    test::TempDir work_;
    test::TestHttpServer server_;
    CurlHttpClient http_{limits()};
    DownloadLibrary library_;
    tagPLAYER player_;
    PlaylistStore store_{player_, http_, settings_path(work_.path()).string()};
};

TEST_F(UrlTuneTest, TuneUrlIsDownloadedOnceAndItsFileGoesWithTheEntry) {
    const std::string url = server_.url("/song.ptcop");
    ASSERT_TRUE(store_.AddPath(url));
    ASSERT_TRUE(test::settle_loads(player_));
    ASSERT_EQ(player_.playlist.count(), 1);
    EXPECT_EQ(player_.playlist[0].title, "Remote Tune");
    auto files = pat_files();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(player_.playlist[0].temp_path, files[0].string());
    EXPECT_TRUE(read_file(files[0]) == library_.body);
    // The existence test, then the one download.
    const int after_add = requests_for("/song.ptcop");
    EXPECT_EQ(after_add, 2);
    library_.tunes[player_.playlist[0].temp_path] = FakeTune{};
    EXPECT_EQ(player_.load_entry(0), 1);
    EXPECT_EQ(player_.load_entry(0), 1);
    EXPECT_EQ(requests_for("/song.ptcop"), after_add);  // later loads use the file

    player_.select_all_as(1);
    player_.remove_selected();
    EXPECT_TRUE(pat_files().empty());

    ASSERT_TRUE(store_.AddPath(url));
    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_EQ(pat_files().size(), 1u);
    player_.release();  // shutdown
    EXPECT_TRUE(pat_files().empty());
}

TEST_F(UrlTuneTest, PlaylistUrlReplacesTheListAndLeavesNoFile) {
    const std::string song = server_.url("/song.ptcop");
    server_.route("/set.ptlist",
                  HttpRoute{.chunks = {"[Playlist]\nNumberOfEntries=2\nFile1=", song,
                                       "\nTitle1=Stored\nLength1=7\nFile2=", song, "\n"},
                            .pause_ms = 10});
    player_.add_entry("/old.ptcop", std::string("Old"), 5.0f);
    // Downloaded in the background: the list stays until the copy is opened.
    EXPECT_FALSE(store_.AddPath(server_.url("/set.ptlist")));
    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_EQ(player_.playlist.count(), 1);
    EXPECT_EQ(store_.OpenDownloadedPlaylists(), PlaylistStore::Opened::Replaced);
    ASSERT_TRUE(test::settle_loads(player_));
    ASSERT_EQ(player_.playlist.count(), 2);
    EXPECT_EQ(player_.playlist[0].title, "Stored");  // stored: not downloaded
    EXPECT_EQ(player_.playlist[0].temp_path, "");
    EXPECT_EQ(player_.playlist[1].title, "Remote Tune");  // no length: downloaded and loaded
    EXPECT_EQ(pat_files().size(), 1u);                    // the tune's copy only
    player_.release();
    EXPECT_TRUE(pat_files().empty());
}

// They show while they are tested, and leave the list when the test fails; such a
// playlist URL leaves the list as it is.
TEST_F(UrlTuneTest, EmptyMissingAndSilentUrlsAreNotAdded) {
    EXPECT_TRUE(store_.AddPath(server_.url("/empty.ptcop")));
    EXPECT_TRUE(store_.AddPath(server_.url("/missing.ptcop")));
    EXPECT_TRUE(store_.AddPath(server_.url("/silent.ptcop")));  // ends by the stall time-out
    EXPECT_FALSE(store_.AddPath(server_.url("/missing.ptlist")));
    EXPECT_EQ(player_.playlist.count(), 3);
    ASSERT_TRUE(test::settle_loads(player_));
    EXPECT_TRUE(player_.playlist.empty());
    EXPECT_EQ(store_.OpenDownloadedPlaylists(), PlaylistStore::Opened::None);
    EXPECT_TRUE(pat_files().empty());
}

}  // namespace
}  // namespace dz
