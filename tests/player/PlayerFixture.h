#pragma once
// A player over the fake library, with real tune files in a private folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SettleLoads.h"
#include "platform/HttpClient.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "player/Player.h"
#include "player/Random15.h"

namespace dz::test {

// Serves URLs from a map of url -> bytes; downloads write real temporary files.
class MapHttpClient : public HttpClient {
public:
    explicit MapHttpClient(std::filesystem::path dir) : dir_(std::move(dir)) {}
    std::map<std::string, std::string> pages;
    bool fail_fetch = false;
    int fetches = 0;
    std::vector<std::string> files;  // every temporary file handed out

    bool exists(const std::string& url) override { return pages.count(url) != 0; }
    std::optional<std::string> fetch(const std::string& url) override {
        ++fetches;
        if (fail_fetch || pages.count(url) == 0) return std::nullopt;
        std::string path = (dir_ / ("pat" + std::to_string(fetches) + ".tmp")).string();
        std::ofstream(path, std::ios::binary) << pages[url];
        files.push_back(path);
        return path;
    }

private:
    std::filesystem::path dir_;
};

class PlayerFixture : public ::testing::Test {
protected:
    PlayerFixture() {
        dir_ = std::filesystem::temp_directory_path() /
               ("player_tests_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        player = std::make_unique<tagPLAYER>(lib);
        seed_random15(12345);
    }
    ~PlayerFixture() override {
        player.reset();
        std::filesystem::remove_all(dir_);
    }

    // Writes a tune file the fake library loads; `measures` measures of 2 s each
    // (4 beats of 480 clocks at 120 beats per minute: 960 clocks per second).
    std::string make_tune(const std::string& file, int measures = 8, const std::string& name = "") {
        std::string path = (dir_ / file).string();
        std::ofstream(path) << "tune";
        FakeTune t;
        t.play_meas = measures;
        t.name = name;
        EXPECT_TRUE(settle_loads(*player));  // the loader reads the map
        lib.tunes[path] = t;
        return path;
    }
    // A file that exists but does not load.
    std::string make_bad_file(const std::string& file) {
        std::string path = (dir_ / file).string();
        std::ofstream(path) << "junk";
        return path;
    }
    // Adds a tune and waits for its information from the loader.
    int add(const std::string& file, int measures = 8, const std::string& name = "") {
        const int i = player->add_file(make_tune(file, measures, name));
        EXPECT_TRUE(settle_loads(*player));
        return i;
    }
    bool called(const std::string& call) const {
        return std::find(lib.calls.begin(), lib.calls.end(), call) != lib.calls.end();
    }
    std::filesystem::path dir() const { return dir_; }

    FakeAudioLibrary lib;
    std::unique_ptr<tagPLAYER> player;

private:
    std::filesystem::path dir_;
};

}  // namespace dz::test
