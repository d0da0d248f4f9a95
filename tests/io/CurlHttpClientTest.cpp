#include "io/CurlHttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "TempDir.h"
#include "TestHttpServer.h"
#include "io/PlaylistFile.h"
#include "io/UrlPath.h"

namespace dz {
namespace {

using test::HttpRoute;
using test::read_file;
using test::TempDir;
using test::TestHttpServer;

// Every byte value, several times over.
std::string binary_body(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 131 + i / 256) & 0xff);
    return body;
}

std::vector<std::string> split(const std::string& body, size_t pieces) {
    std::vector<std::string> out;
    size_t step = body.size() / pieces + 1;
    for (size_t at = 0; at < body.size(); at += step) out.push_back(body.substr(at, step));
    return out;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Downloads land in a private temporary folder, so leftovers are countable.
class CurlHttpClientTest : public ::testing::Test {
protected:
    CurlHttpClientTest()
        : tmpdir_("TMPDIR", temp_.path().c_str()),
          no_proxy_("no_proxy", "*"),
          http_proxy_("http_proxy", nullptr) {
        body_ = binary_body(200000);
        server_.route("/tune.ptcop", HttpRoute{.chunks = split(body_, 8), .pause_ms = 30});
        server_.route("/chunked.ptcop",
                      HttpRoute{.chunks = split(body_, 5), .pause_ms = 20, .chunked = true});
        server_.route("/empty.ptcop", HttpRoute{.status = 200});
        server_.route("/missing.ptcop",
                      HttpRoute{.status = 404, .chunks = {"<html>Not Found</html>"}});
        server_.route("/error.ptcop", HttpRoute{.status = 500, .chunks = {"oops"}});
        server_.route("/silent.ptcop", HttpRoute{.silent = true});
        server_.route("/moved.ptcop",
                      HttpRoute{.status = 302, .chunks = {"moved"}, .location = "/tune.ptcop"});
        server_.route("/stalls.ptcop", HttpRoute{.chunks = {"abc", "def"}, .pause_ms = 60000});
        // A byte every 200 ms for 8 s: fast enough for the low-speed limit.
        server_.route("/drips.ptcop",
                      HttpRoute{.chunks = std::vector<std::string>(40, "x"), .pause_ms = 200});
    }

    size_t files_in_temp() const {
        size_t n = 0;
        for (auto& e : std::filesystem::directory_iterator(temp_.path())) n += e.exists();
        return n;
    }

    static HttpLimits short_limits() {
        HttpLimits limits;
        limits.connect_timeout_ms = 2000;
        limits.low_speed_seconds = 1;
        return limits;
    }

    TempDir temp_;
    ScopedEnv tmpdir_, no_proxy_, http_proxy_;
    TestHttpServer server_;
    std::string body_;
    CurlHttpClient http_{short_limits()};
};

TEST_F(CurlHttpClientTest, ExistsNeedsDataAndAGoodStatus) {
    EXPECT_TRUE(http_.exists(server_.url("/tune.ptcop")));
    EXPECT_TRUE(http_.exists(server_.url("/chunked.ptcop")));
    EXPECT_TRUE(http_.exists(server_.url("/moved.ptcop")));
    EXPECT_FALSE(http_.exists(server_.url("/empty.ptcop")));
    EXPECT_FALSE(http_.exists(server_.url("/missing.ptcop")));  // an error page is no tune
    EXPECT_FALSE(http_.exists(server_.url("/error.ptcop")));
    EXPECT_FALSE(http_.exists("http://127.0.0.1:1/refused.ptcop"));
    EXPECT_FALSE(http_.exists("file:///etc/hostname"));
    EXPECT_FALSE(http_.exists("not a url"));
    EXPECT_EQ(files_in_temp(), 0u);
    EXPECT_TRUE(path_or_url_exists(server_.url("/tune.ptcop"), http_));
    EXPECT_FALSE(path_or_url_exists(server_.url("/missing.ptcop"), http_));
}

TEST_F(CurlHttpClientTest, FetchWritesTheWholeBodyIntoAPatFile) {
    for (const char* path : {"/tune.ptcop", "/chunked.ptcop", "/moved.ptcop"}) {
        std::optional<std::string> file = http_.fetch(server_.url(path));
        ASSERT_TRUE(file) << path;
        std::filesystem::path p(*file);
        EXPECT_EQ(p.parent_path(), temp_.path());
        EXPECT_EQ(p.filename().string().substr(0, 3), "pat");
        EXPECT_TRUE(read_file(p) == body_) << path;
        std::filesystem::remove(p);
    }
    // An empty answer is a successful, empty download; its reader decides.
    std::optional<std::string> empty = http_.fetch(server_.url("/empty.ptcop"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(std::filesystem::file_size(*empty), 0u);
    std::filesystem::remove(*empty);

    auto log = server_.log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[1], "User-Agent: Dezidu");
}

TEST_F(CurlHttpClientTest, FailedFetchesLeaveNoFile) {
    EXPECT_FALSE(http_.fetch(server_.url("/missing.ptcop")));
    EXPECT_FALSE(http_.fetch(server_.url("/error.ptcop")));
    EXPECT_FALSE(http_.fetch("http://127.0.0.1:1/refused.ptcop"));
    HttpLimits small = short_limits();
    small.max_body_bytes = 1000;
    CurlHttpClient limited(small);
    EXPECT_FALSE(limited.fetch(server_.url("/tune.ptcop")));
    EXPECT_EQ(files_in_temp(), 0u);
}

TEST_F(CurlHttpClientTest, StalledServersFailWithinTheTimeOuts) {
    using clock = std::chrono::steady_clock;
    auto start = clock::now();
    EXPECT_FALSE(http_.exists(server_.url("/silent.ptcop")));
    EXPECT_FALSE(http_.fetch(server_.url("/silent.ptcop")));
    EXPECT_FALSE(http_.fetch(server_.url("/stalls.ptcop")));  // stops after the first bytes
    // Three stalls of about one second each; without time-outs this never returns.
    EXPECT_LT(clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(files_in_temp(), 0u);
}

// A server that keeps sending slowly is cut off by the total limit, and cancel()
// ends a transfer in progress (and refuses new ones); neither leaves a file.
TEST_F(CurlHttpClientTest, TricklingDownloadsEndAtTheTotalLimitOrWhenCancelled) {
    HttpLimits limits = short_limits();
    limits.total_timeout_ms = 1000;
    CurlHttpClient bounded(limits);
    EXPECT_FALSE(bounded.fetch(server_.url("/drips.ptcop")));

    std::thread closer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        http_.cancel();
    });
    EXPECT_FALSE(http_.fetch(server_.url("/drips.ptcop")));
    closer.join();
    EXPECT_FALSE(http_.fetch(server_.url("/tune.ptcop")));
    EXPECT_FALSE(http_.exists(server_.url("/tune.ptcop")));
    EXPECT_EQ(files_in_temp(), 0u);
}

TEST_F(CurlHttpClientTest, ProxyComesFromTheEnvironment) {
    ScopedEnv proxy("http_proxy", ("http://127.0.0.1:" + std::to_string(server_.port())).c_str());
    ScopedEnv no_proxy("no_proxy", nullptr);
    ScopedEnv no_proxy_upper("NO_PROXY", nullptr);
    std::optional<std::string> file = http_.fetch("http://tunes.invalid/tune.ptcop");
    ASSERT_TRUE(file);
    EXPECT_TRUE(read_file(*file) == body_);
    std::filesystem::remove(*file);
    auto log = server_.log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "GET http://tunes.invalid/tune.ptcop");
}

TEST_F(CurlHttpClientTest, PlaylistUrlIsFetchedReadAndDeleted) {
    server_.route(
        "/list.ptlist",
        HttpRoute{.chunks = {"[Playlist]\nNumberOfEntries=2\nFile1=", server_.url("/tune.ptcop"),
                             "\nTitle1=Remote\nLength1=12\nFile2=/local.ptcop\n"},
                  .pause_ms = 10});
    auto entries = open_playlist_source(server_.url("/list.ptlist"), http_);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ((*entries)[0], (PlaylistFileEntry{server_.url("/tune.ptcop"), "Remote", 12}));
    EXPECT_EQ((*entries)[1].path, "/local.ptcop");
    EXPECT_FALSE(open_playlist_source(server_.url("/missing.ptlist"), http_));
    EXPECT_EQ(files_in_temp(), 0u);
}

}  // namespace
}  // namespace dz
