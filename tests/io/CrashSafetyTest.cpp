// A process killed while it saves the settings file must leave the file with
// either its old or its new whole content.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "TempDir.h"
#include "io/AtomicFile.h"
#include "io/PlaylistFile.h"
#include "io/Settings.h"

namespace dz {
namespace {

std::vector<PlaylistFileEntry> big_playlist(char letter) {
    std::vector<PlaylistFileEntry> entries;
    for (int i = 0; i < 10000; ++i)
        entries.push_back({"/music/" + std::string(60, letter) + std::to_string(i) + ".ptcop",
                           "Title " + std::string(40, letter), i});
    return entries;
}

std::string settings_content(const std::vector<PlaylistFileEntry>& entries, int shuffle) {
    ProfileFile file;
    SettingValues setting;
    setting.shuffle = shuffle;
    put_setting_section(file, setting);
    put_playlist_section(file, entries);
    return file.serialize();
}

TEST(CrashSafety, KilledSavesLeaveTheOldOrTheNewWholeFile) {
    test::TempDir dir;
    const auto ini = settings_path(dir.path());
    const auto list_a = big_playlist('a');
    const auto list_b = big_playlist('b');
    const std::string content_a = settings_content(list_a, 0);
    const std::string content_b = settings_content(list_b, 1);
    ASSERT_GT(content_a.size(), 500000u);
    test::write_file(ini, content_a);

    // The end-to-end kill test covers the real program at length; here a few seconds of
    // rounds, until three kills have hit a save in progress.
    std::mt19937 rng(12345);
    int interrupted_writes = 0;  // kills that hit a save in progress (a temporary file remained)
    int round = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    for (; round < 300 && interrupted_writes < 3 &&
           (round < 10 || std::chrono::steady_clock::now() < deadline);
         ++round) {
        int pipe_fds[2];
        ASSERT_EQ(::pipe(pipe_fds), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipe_fds[0]);
            // Whole-file writes back to back: nearly all of a loop is spent with a
            // temporary file open, so most kills land inside a save. (The real program's
            // saves, settings parsing included, are killed in the end-to-end test.)
            for (int i = 0;; ++i) {
                write_file_atomically(ini, i % 2 == 0 ? content_b : content_a);
                char tick = 1;
                if (::write(pipe_fds[1], &tick, 1) != 1) ::_exit(1);
            }
        }
        ::close(pipe_fds[1]);
        // Time one loop of the child, then kill it at a random moment of a later
        // loop, so the kills spread over the saves however fast this machine is.
        char tick;
        using clock = std::chrono::steady_clock;
        ASSERT_EQ(::read(pipe_fds[0], &tick, 1), 1);
        auto first = clock::now();
        ASSERT_EQ(::read(pipe_fds[0], &tick, 1), 1);
        auto period = std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - first);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % (period.count() + 1)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(pipe_fds[0]);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string now = test::read_file(ini);
        const bool whole = now == content_a || now == content_b;
        ASSERT_TRUE(whole) << "round " << round << ": " << now.size() << " bytes";
        for (auto& e : std::filesystem::directory_iterator(dir.path())) {
            if (e.path() != ini) {
                ++interrupted_writes;
                std::filesystem::remove(e.path());
            }
        }
    }
    // The kills must have hit saves in progress, or the test proved nothing.
    EXPECT_GT(interrupted_writes, 0);
    RecordProperty("interrupted_writes", interrupted_writes);
    RecordProperty("rounds", round);
}

// Temporary files of killed writes are cleared once they are old enough; a fresh one (a
// write in progress) and files that only look alike stay.
TEST(CrashSafety, StaleTemporaryFilesOfKilledWritesAreRemoved) {
    test::TempDir dir;
    const auto ini = settings_path(dir.path());
    test::write_file(ini, "[Setting]\n");
    const auto old_time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {".Dezidu.ini.0123456789ab.tmp", ".Dezidu.ini.ffffffffffff.tmp",
                             ".Dezidu.ini.0123456789ag.tmp", ".Other.ini.0123456789ab.tmp",
                             "Dezidu.ini.0123456789ab.tmp", ".Dezidu.ini.0123456789ab.tmpx"}) {
        test::write_file(dir / name, "x");
        std::filesystem::last_write_time(dir / name, old_time);
    }
    test::write_file(dir / ".Dezidu.ini.aaaaaaaaaaaa.tmp", "in progress");
    std::filesystem::create_directory(dir / ".Dezidu.ini.bbbbbbbbbbbb.tmp");
    std::filesystem::last_write_time(dir / ".Dezidu.ini.bbbbbbbbbbbb.tmp", old_time);

    EXPECT_EQ(remove_stale_temp_files(ini, std::chrono::minutes(10)), 2);
    std::vector<std::string> left;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{
                  ".Dezidu.ini.0123456789ab.tmpx", ".Dezidu.ini.0123456789ag.tmp",
                  ".Dezidu.ini.aaaaaaaaaaaa.tmp", ".Dezidu.ini.bbbbbbbbbbbb.tmp",
                  ".Other.ini.0123456789ab.tmp", "Dezidu.ini", "Dezidu.ini.0123456789ab.tmp"}));
    EXPECT_EQ(remove_stale_temp_files(dir / "absent" / "Dezidu.ini"), 0);
}

}  // namespace
}  // namespace dz
