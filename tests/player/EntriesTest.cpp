#include "PlayerFixture.h"
#include "SettleLoads.h"
#include "base/PathUtil.h"
#include "player/TuneInfo.h"

namespace dz::test {
namespace {

using Entries = PlayerFixture;

TEST(TuneInfoPaths, FileTitleExtensionAndUrl) {
    EXPECT_EQ(file_title_of("/music/dir.v2/Song One.ptcop"), "Song One");
    EXPECT_EQ(file_title_of("C:\\tunes\\x.pttune"), "x");
    EXPECT_EQ(file_title_of("http://host/a/b.ptcop"), "b");
    EXPECT_EQ(file_title_of("/a/noext"), "noext");
    EXPECT_EQ(file_title_of("/a/x.y z"), "x.y z");  // a space after the dot: no extension
    EXPECT_EQ(file_title_of("/a/Intro: part 1.ptcop"), "Intro: part 1");  // ":" is a name byte
    EXPECT_TRUE(has_tune_extension("/a/B.PTCOP"));
    EXPECT_TRUE(has_tune_extension("/a/b.pttune2"));
    EXPECT_FALSE(has_tune_extension("/a.ptcop/b.txt"));
    EXPECT_FALSE(has_tune_extension("/a/ptcop"));
    EXPECT_TRUE(path_is_url("http://example.test/a.ptcop"));
    EXPECT_TRUE(path_is_url("https://example.test/a.ptcop"));
    EXPECT_FALSE(path_is_url("/home/u/a.ptcop"));
    EXPECT_FALSE(path_is_url("C:\\a.ptcop"));
    EXPECT_FALSE(path_is_url("a.ptcop"));
}

TEST_F(Entries, FirstLoadFillsInformationAndLength) {
    FakeTune t;
    t.info = {3, 150.0f, 96, 20};
    t.play_meas = 10;
    t.repeat_meas = 2;
    t.name = std::string("0123456789ABCDEFGHIJ");  // 20 bytes: cut to 16
    t.comment = std::string(30050, 'c');
    std::string path = make_tune("info.ptcop");
    lib.tunes[path] = t;
    int i = player->add_file(path);
    ASSERT_EQ(i, 0);
    EXPECT_EQ(player->playlist[0].info_loaded, 0);  // read on the loader
    ASSERT_TRUE(settle_loads(*player));
    const tagTUNEINFO& e = player->playlist[0];
    EXPECT_EQ(e.info_loaded, 1);
    EXPECT_EQ(e.sequence, 1);
    EXPECT_EQ(e.beats_per_measure, 3);
    EXPECT_FLOAT_EQ(e.tempo, 150.0f);
    EXPECT_EQ(e.clocks_per_beat, 96);
    EXPECT_EQ(e.measure_count, 20);
    EXPECT_EQ(e.repeat_measure, 2);
    EXPECT_EQ(e.play_measures, 10);
    EXPECT_EQ(e.total_clocks, 10 * 3 * 96);
    EXPECT_FLOAT_EQ(e.length_seconds, 2880.0f / (96 * 150.0f / 60.0f));  // 12 s
    EXPECT_EQ(e.name, "0123456789ABCDEF");
    EXPECT_EQ(e.comment.size(), 30000u);
    EXPECT_EQ(e.title, "0123456789ABCDEF");
    EXPECT_EQ(e.file_title, "info");
    EXPECT_GE(e.shuffle_key, 1);
    EXPECT_FLOAT_EQ(player->total_seconds, 12.0f);
    EXPECT_EQ(player->all_clocks, 2880);
}

TEST_F(Entries, NoNameInAnyCaseOrEmptyNameGivesFileTitle) {
    add("one.ptcop", 8, "My No NAME tune");
    add("two.ptcop", 8, "");
    add("three.ptcop", 8, "noname");
    add("four.ptcop", 8, "NO NAME");
    EXPECT_EQ(player->playlist[0].title, "one");
    EXPECT_EQ(player->playlist[1].title, "two");
    EXPECT_EQ(player->playlist[2].title, "noname");
    EXPECT_EQ(player->playlist[3].title, "four");
}

TEST_F(Entries, ZeroTempoGivesZeroLength) {
    std::string path = make_tune("z.ptcop");
    lib.tunes[path].info.tempo = 0.0f;
    std::string path2 = make_tune("y.ptcop");
    lib.tunes[path2].info.clocks_per_beat = 0;
    player->add_file(path);
    player->add_file(path2);
    ASSERT_TRUE(settle_loads(*player));
    ASSERT_EQ(player->playlist[0].info_loaded, 1);
    EXPECT_EQ(player->playlist[0].length_seconds, 0.0f);
    ASSERT_EQ(player->playlist[1].info_loaded, 1);
    EXPECT_EQ(player->playlist[1].length_seconds, 0.0f);
}

TEST_F(Entries, RefusedTuneIsAddedUnloadedAndMissingPathAddsNothing) {
    int i = player->add_file(make_bad_file("bad.ptcop"));
    ASSERT_EQ(i, 0);
    EXPECT_EQ(player->playlist[0].info_loaded, 0);
    EXPECT_EQ(player->playlist[0].title, "");
    EXPECT_EQ(player->playlist[0].length_seconds, 0.0f);
    EXPECT_EQ(player->add_file((dir() / "nothing.ptcop").string()), -1);
    EXPECT_EQ(player->add_file(dir().string()), -1);  // a folder is not a tune
    EXPECT_EQ(player->playlist.count(), 1);
    // Loads later once the library accepts it; title filled then.
    lib.tunes[player->playlist[0].path] = FakeTune{};
    EXPECT_EQ(player->load_entry(0), 1);
    EXPECT_EQ(player->playlist[0].title, "bad");
    EXPECT_EQ(player->load_entry(5), 0);
    EXPECT_EQ(player->entry(5), nullptr);
    EXPECT_EQ(player->entry(-1), nullptr);
}

TEST_F(Entries, SequenceStartsAtOneAndReusesLargestAfterRemoval) {
    add("a.ptcop");
    add("b.ptcop");
    add("c.ptcop");
    EXPECT_EQ(player->playlist[2].sequence, 3);
    player->select_one(2);
    player->remove_selected();
    add("d.ptcop");
    EXPECT_EQ(player->playlist[2].sequence, 3);
    EXPECT_EQ(player->max_sequence(), 3);
}

TEST_F(Entries, ShuffleKeysAreDistinctAndNonZero) {
    std::set<int> keys;
    for (int k = 0; k < 300; ++k) player->add_entry("/x/" + std::to_string(k), std::nullopt, 0);
    for (const auto& e : player->playlist) {
        EXPECT_GE(e.shuffle_key, 1);
        EXPECT_LE(e.shuffle_key, 32767);
        keys.insert(e.shuffle_key);
    }
    EXPECT_EQ(keys.size(), 300u);
}

TEST_F(Entries, FullListRefusesNewEntriesAndLastFreeKeyIsFound) {
    // 32766 entries holding every key but 777.
    for (int key = 1; key <= 32767; ++key) {
        if (key == 777) continue;
        tagTUNEINFO e;
        e.shuffle_key = key;
        e.sequence = key;
        player->playlist.push_back(e);
    }
    int i = player->add_entry("/x/last.ptcop", std::nullopt, 0);
    ASSERT_EQ(i, 32766);
    EXPECT_EQ(player->playlist[i].shuffle_key, 777);
    EXPECT_EQ(player->add_entry("/x/more.ptcop", std::nullopt, 0), -1);
    EXPECT_EQ(player->add_file(make_tune("more.ptcop")), -1);
    EXPECT_EQ(player->playlist.count(), 32767);
}

// Paths reach 4095 bytes of UTF-8 (PATH_MAX); a longer one is refused and said on stderr.
TEST_F(Entries, PathsUpToPathMaxAreTakenLongerOnesRefusedAloud) {
    // A real file 4095 bytes deep, in folders of Japanese names (3 bytes a character).
    std::string folder = std::filesystem::path(make_bad_file("probe")).parent_path().string();
    const std::string name = "/" + std::string(80, 'x') + "\xe6\x9b\xb2";  // 84 bytes, "曲"
    while (folder.size() + name.size() + 20 < tagTUNEINFO::kPathMax) folder += name;
    std::filesystem::create_directories(folder);
    const std::string tune =
        folder + "/" + std::string(tagTUNEINFO::kPathMax - folder.size() - 7, 't') + ".ptcop";
    ASSERT_EQ(tune.size(), tagTUNEINFO::kPathMax);
    std::ofstream(tune) << "tune";
    lib.tunes[tune] = FakeTune{};
    EXPECT_EQ(player->add_file(tune), 0);
    EXPECT_EQ(player->playlist[0].path, tune);

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(player->add_file(tune + "x"), -1);
    EXPECT_EQ(player->add_entry("/" + std::string(tagTUNEINFO::kPathMax, 'p'), std::nullopt, 0),
              -1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    const std::size_t first = said.find("not added, a path of 4096 bytes");
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_NE(said.find("not added, a path of 4096 bytes", first + 1), std::string::npos) << said;

    EXPECT_EQ(player->add_entry("/" + std::string(300, 'p'), std::string(300, 't'), 0), 1);
    EXPECT_EQ(player->playlist[1].title.size(), 259u);
}

TEST_F(Entries, TotalsTruncateEachLength) {
    player->add_entry("/x/a.ptcop", std::string("A"), 1.9f);
    player->add_entry("/x/b.ptcop", std::string("B"), 1.9f);
    player->add_entry("/x/c.ptcop", std::string("C"), 5.5f);
    player->recompute_totals();
    EXPECT_FLOAT_EQ(player->total_seconds, 7.0f);
    EXPECT_FLOAT_EQ(player->selected_seconds, 0.0f);
    player->select_range(1, 0);
    EXPECT_FLOAT_EQ(player->selected_seconds, 2.0f);
    EXPECT_EQ(player->playlist[2].title, "C");
    player->select_all_as(0);
    EXPECT_FLOAT_EQ(player->selected_seconds, 0.0f);
}

TEST_F(Entries, TotalsCountClocksOfSelectedAndAll) {
    add("a.ptcop", 1);  // 1920 clocks
    add("b.ptcop", 2);  // 3840 clocks
    player->toggle_one(1);
    EXPECT_EQ(player->selected_clocks, 3840);
    EXPECT_EQ(player->all_clocks, 5760);
    EXPECT_FLOAT_EQ(player->selected_seconds, 4.0f);
    EXPECT_FLOAT_EQ(player->total_seconds, 6.0f);
}

TEST_F(Entries, UrlEntryDownloadsOnceAndOwnsItsTemporaryFile) {
    MapHttpClient http(dir());
    player->set_http_client(&http);
    const std::string url = "http://example.test/song.ptcop";
    // Added at once while the download thread tests it; gone when nothing is served.
    ASSERT_EQ(player->add_file(url), 0);
    EXPECT_EQ(player->playlist[0].loading, EntryLoading::Downloading);
    ASSERT_TRUE(settle_loads(*player));
    EXPECT_TRUE(player->playlist.empty());
    http.pages[url] = "bytes";
    // The fake library reads the first download.
    lib.tunes[(dir() / "pat1.tmp").string()] = FakeTune{};
    ASSERT_EQ(player->add_file(url), 0);
    ASSERT_TRUE(settle_loads(*player));
    EXPECT_EQ(http.fetches, 1);
    const std::string temp = player->playlist[0].temp_path;
    EXPECT_EQ(temp, (dir() / "pat1.tmp").string());
    EXPECT_EQ(player->playlist[0].title, "song");
    EXPECT_EQ(player->playlist[0].loading, EntryLoading::None);

    player->command_play();  // later loads use the copy
    player->command_play();
    player->command_play();
    EXPECT_EQ(http.fetches, 1);
    EXPECT_EQ(lib.loaded, temp);

    // Copies of the entry (the current tune, sorting) do not delete the file.
    { tagTUNEINFO copy = player->playlist[0]; }
    player->sort_by_path();
    player->reverse_list();
    EXPECT_TRUE(std::filesystem::exists(temp));
    player->select_all_as(1);
    player->remove_selected();
    EXPECT_FALSE(std::filesystem::exists(temp));
    EXPECT_EQ(player->current_tune.temp_path, temp);  // the stale copy keeps the name only
}

TEST_F(Entries, FailedDownloadIsRetriedAndReplacedCopiesAreDeleted) {
    MapHttpClient http(dir());
    player->set_http_client(&http);
    const std::string url = "http://example.test/x.ptcop";
    http.pages[url] = "bytes";
    http.fail_fetch = true;
    ASSERT_EQ(player->add_file(url), 0);
    ASSERT_TRUE(settle_loads(*player));
    EXPECT_EQ(player->playlist[0].info_loaded, 0);
    EXPECT_EQ(player->playlist[0].temp_path, "");
    http.fail_fetch = false;
    EXPECT_EQ(player->load_entry(0), 0);  // no copy yet: the download is requested
    ASSERT_TRUE(settle_loads(*player));   // downloaded, but the library refuses it
    std::string first = player->playlist[0].temp_path;
    EXPECT_TRUE(std::filesystem::exists(first));
    lib.tunes[(dir() / "pat3.tmp").string()] = FakeTune{};
    EXPECT_EQ(player->load_entry(0), 0);
    ASSERT_TRUE(settle_loads(*player));
    EXPECT_EQ(player->load_entry(0), 1);
    EXPECT_EQ(http.fetches, 3);
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_EQ(player->playlist[0].temp_path, (dir() / "pat3.tmp").string());
}

// While a URL downloads the tune before plays on; when the download fails, the entry
// fails as a tune that does not load: nothing plays under it and the list moves on.
TEST_F(Entries, PlayOfAUrlWaitsForItsDownloadAndAFailedOneMovesOn) {
    MapHttpClient http(dir());
    player->set_http_client(&http);
    const std::string a = make_tune("a.ptcop");
    const std::string c = make_tune("c.ptcop");
    const std::string url = "http://example.test/gone.ptcop";
    player->add_file(a);
    player->add_entry(url, std::string("Stored"), 5.0f);
    player->add_file(c);
    player->play(0, 0);
    http.fail_fetch = true;
    player->command_next();
    EXPECT_TRUE(player->has_pending_play());
    EXPECT_EQ(player->current_index, 0);
    EXPECT_EQ(lib.loaded, a);
    EXPECT_TRUE(lib.streaming);
    player->tick();  // waits for the download rather than skipping the entry
    EXPECT_EQ(player->current_index, 0);

    ASSERT_TRUE(settle_loads(*player));
    EXPECT_EQ(player->current_index, 1);
    EXPECT_EQ(player->is_playing, 1);
    EXPECT_EQ(lib.loaded, "");
    EXPECT_FALSE(lib.streaming);
    player->tick();
    EXPECT_EQ(player->current_index, 2);
    EXPECT_EQ(lib.loaded, c);
    EXPECT_TRUE(lib.streaming);
}

TEST_F(Entries, UrlWithoutHttpClientDoesNotExist) {
    EXPECT_EQ(player->add_file("http://example.test/a.ptcop"), -1);
    player->add_entry("http://example.test/a.ptcop", std::string("A"), 2.0f);
    EXPECT_EQ(player->load_entry(0), 0);
}

TEST_F(Entries, ShutdownDeletesTemporaryFiles) {
    MapHttpClient http(dir());
    player->set_http_client(&http);
    http.pages["http://h/a.ptcop"] = "x";
    player->add_file("http://h/a.ptcop");
    ASSERT_TRUE(settle_loads(*player));
    std::string temp = player->playlist[0].temp_path;
    ASSERT_TRUE(std::filesystem::exists(temp));
    player.reset();
    EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST_F(Entries, FolderScanAddsTuneFilesOnlyWithoutRecursion) {
    std::filesystem::path folder = dir() / "scan";
    std::filesystem::create_directories(folder / "sub.ptcop");
    for (const char* f : {"b.PTTUNE", "a.ptcop", "c.txt", "d.ptcop.bak"}) {
        std::string p = (folder / f).string();
        std::ofstream(p) << "x";
        lib.tunes[p] = FakeTune{};
    }
    std::ofstream(folder / "sub.ptcop" / "e.ptcop") << "x";
    std::vector<int> seen;
    int n = player->add_folder(folder.string(), [&](int i) { seen.push_back(i); });
    EXPECT_EQ(n, 2);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    ASSERT_EQ(player->playlist.count(), 2);
    EXPECT_EQ(player->playlist[0].path, (folder / "a.ptcop").string());
    EXPECT_EQ(player->playlist[1].path, (folder / "b.PTTUNE").string());
    EXPECT_EQ(player->add_folder((dir() / "none").string(), nullptr), 0);
}

// The keys and sequence numbers drawn for a seeded generator through adds, removals,
// sorts, an entry's key changed in place and a cleared list: pinned, so a faster draw
// must take exactly the same values from the same random sequence.
TEST_F(Entries, KeysAndSequencesDrawnForASeedArePinned) {
    std::vector<int> first;
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over (key, sequence) pairs
    auto mix = [&hash](int v) {
        for (int b = 0; b < 4; ++b) {
            hash ^= static_cast<std::uint8_t>(v >> (8 * b));
            hash *= 1099511628211ull;
        }
    };
    auto add_many = [&](int from, int n) {
        for (int k = from; k < from + n; ++k)
            ASSERT_GE(player->add_entry("/x/" + std::to_string(k * 7919 % 1000) + ".ptcop",
                                        std::nullopt, 0),
                      0);
    };
    add_many(0, 3000);
    for (int k = 0; k < 8; ++k) first.push_back(player->playlist[k].shuffle_key);
    for (int k = 0; k < player->playlist.count(); k += 3) player->playlist[k].selected = 1;
    player->remove_selected();
    player->sort_by_path();
    add_many(3000, 1500);
    // Keys changed in place (as a test or a future caller may do) are seen by the next draw.
    player->playlist[5].shuffle_key = 4242;
    player->playlist[6].shuffle_key = 31000;
    player->reverse_list();
    add_many(4500, 1500);
    player->randomize_list();
    add_many(6000, 1000);
    EXPECT_EQ(player->max_sequence(), player->playlist.count());
    for (const auto& e : player->playlist) {
        mix(e.shuffle_key);
        mix(e.sequence);
    }
    player->select_all_as(1);
    player->remove_selected();
    add_many(0, 3);
    for (const auto& e : player->playlist) {
        mix(e.shuffle_key);
        mix(e.sequence);
    }
    EXPECT_EQ(player->playlist.count(), 3);
    EXPECT_EQ(player->playlist[2].sequence, 3);
    EXPECT_EQ(first, (std::vector<int>{7584, 19164, 25795, 22125, 5828, 23405, 27477, 5413}));
    EXPECT_EQ(hash, 531734708337453318ull);
}

// A key changed in place after the list was built is taken for the next draw.
TEST_F(Entries, KeyChangedInPlaceIsNotDrawnAgain) {
    for (int k = 0; k < 10; ++k) player->add_entry("/x/" + std::to_string(k), std::nullopt, 0);
    seed_random15(777);
    const int next = random15();
    seed_random15(777);
    player->playlist[3].shuffle_key = next;
    player->playlist[4].sequence = 500;
    int i = player->add_entry("/x/new", std::nullopt, 0);
    EXPECT_NE(player->playlist[i].shuffle_key, next);
    EXPECT_EQ(player->playlist[i].sequence, 501);
}

}  // namespace
}  // namespace dz::test
