#include <thread>

#include "PlayerFixture.h"
#include "SettleLoads.h"

namespace dz::test {
namespace {

using Playback = PlayerFixture;

TEST_F(Playback, ConstructionReadiesLibraryWithDefaultsAndLoopOff) {
    ASSERT_GE(lib.calls.size(), 2u);
    EXPECT_EQ(lib.calls[0], "Ready");
    EXPECT_EQ(lib.calls[1], "SetLoop 0");
    EXPECT_EQ(lib.format.channels, 2);
    EXPECT_EQ(lib.format.sample_rate, 44100);
    EXPECT_EQ(lib.format.bits, 16);
    EXPECT_FLOAT_EQ(lib.format.buffer_seconds, 0.1f);
    EXPECT_TRUE(lib.format.direct_sound);
    EXPECT_EQ(player->current_index, -1);
    EXPECT_FLOAT_EQ(player->volume, 1.0f);
}

TEST_F(Playback, PlayTwiceStopsAndResetsThirdPressPlaysSameEntryFromZero) {
    add("a.ptcop");
    add("b.ptcop");
    player->command_play();
    EXPECT_EQ(player->current_index, 0);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.start_sample, 0);
    lib.report_position(960 * 3);  // 3 s in
    EXPECT_EQ(player->position_sample, 3 * 44100);

    player->command_play();
    EXPECT_FALSE(lib.streaming);
    EXPECT_EQ(player->is_playing, 0);
    EXPECT_EQ(player->position_clock, 0);
    EXPECT_EQ(player->position_sample, 0);
    EXPECT_EQ(player->current_index, 0);

    lib.take_calls();
    player->command_play();
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(player->current_index, 0);
    EXPECT_EQ(lib.loaded, player->playlist[0].path);
    EXPECT_TRUE(called("Start 0 0 1.00"));
}

TEST_F(Playback, PositionCallbackWritesOnlyWhileStreaming) {
    add("a.ptcop");  // 16 s, 15360 clocks
    lib.report_position(960);
    EXPECT_EQ(player->position_clock, 0);
    player->command_play();
    lib.report_position(7680);
    EXPECT_EQ(player->position_clock, 7680);
    EXPECT_FLOAT_EQ(player->position_seconds, 8.0f);
    EXPECT_EQ(player->position_sample, 8 * 44100);
    EXPECT_FLOAT_EQ(player->position_ratio, 0.5f);

    // From another thread, as the audio thread calls it.
    std::thread audio([&] {
        for (int c = 0; c < 1000; ++c) lib.report_position(c);
    });
    audio.join();
    EXPECT_EQ(player->position_clock, 999);
}

TEST_F(Playback, PauseResumesAtStopPositionAndSeekWhilePausedMovesOnlyResumePoint) {
    add("a.ptcop");
    player->command_play();
    lib.stop_result = 88200;
    player->command_pause();
    EXPECT_EQ(player->is_paused, 1);
    EXPECT_EQ(player->is_playing, 1);
    EXPECT_EQ(player->pause_sample, 88200);
    EXPECT_FALSE(lib.streaming);

    lib.take_calls();
    player->seek(44100 * 4);
    EXPECT_TRUE(lib.calls.empty());  // nothing reaches the library
    EXPECT_EQ(player->is_paused, 1);
    EXPECT_EQ(player->pause_sample, 44100 * 4);
    EXPECT_EQ(player->position_clock, 960 * 4);

    player->command_pause();
    EXPECT_EQ(player->is_paused, 0);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.start_sample, 44100 * 4);
    ASSERT_GE(lib.calls.size(), 2u);
    EXPECT_EQ(lib.calls[0], "Load " + player->playlist[0].path);  // reloaded, then started
}

TEST_F(Playback, PlayWhilePausedResumes) {
    add("a.ptcop");
    player->command_play();
    lib.stop_result = 1000;
    player->command_pause();
    player->command_play();
    EXPECT_EQ(player->is_paused, 0);
    EXPECT_EQ(lib.start_sample, 1000);
}

TEST_F(Playback, SeekWhileStoppedDoesNothing) {
    add("a.ptcop");
    lib.take_calls();
    player->seek(1000);
    EXPECT_TRUE(lib.calls.empty());
    EXPECT_EQ(player->position_clock, 0);
    player->command_restart();
    player->command_jump_to_end();
    player->command_back5();
    player->command_forward5();
    EXPECT_TRUE(lib.calls.empty());
}

TEST_F(Playback, ForwardFiveInsideLastFiveSecondsSeeksToLastSampleAndTickAdvances) {
    add("a.ptcop", 2);  // 4 s
    add("b.ptcop");
    player->command_play();
    lib.report_position(960 * 1);  // 1 s: 1 + 5 > 4
    player->command_forward5();
    EXPECT_EQ(lib.start_sample, 4 * 44100 - 1);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->current_index, 1);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.loaded, player->playlist[1].path);
}

TEST_F(Playback, BackFiveNearStartRestartsAtZeroAndRestartSeeksToZero) {
    add("a.ptcop");
    player->command_play();
    lib.report_position(960 * 3);
    player->command_back5();
    EXPECT_EQ(lib.start_sample, 0);
    lib.report_position(960 * 10);
    player->command_back5();
    EXPECT_EQ(lib.start_sample, 5 * 44100);
    lib.report_position(960 * 10);
    player->command_restart();
    EXPECT_EQ(lib.start_sample, 0);
    EXPECT_EQ(player->position_clock, 0);
}

TEST_F(Playback, JumpToEndStartsAtLastSampleAndNeverBelowZero) {
    add("a.ptcop", 2);
    player->command_play();
    player->command_jump_to_end();
    EXPECT_EQ(lib.start_sample, 4 * 44100 - 1);

    add("empty.ptcop", 0);  // length 0
    player->play(1, 0);
    player->command_jump_to_end();
    EXPECT_EQ(lib.start_sample, 0);
    player->command_forward5();
    EXPECT_EQ(lib.start_sample, 0);
}

TEST_F(Playback, TickStopsAtEndOfListAndOnEmptyList) {
    add("a.ptcop");
    add("b.ptcop");
    player->play(1, 0);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->is_playing, 0);
    EXPECT_EQ(player->current_index, 1);

    player->command_play();
    player->select_all_as(1);
    player->remove_selected();
    EXPECT_TRUE(lib.streaming);  // removal leaves the tune playing
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->is_playing, 0);
}

TEST_F(Playback, TickStopsWhenCurrentIndexLiesPastTheEndAfterRemoval) {
    add("a.ptcop");
    add("b.ptcop");
    add("c.ptcop");
    player->play(2, 0);
    player->select_range(0, 1);
    player->remove_selected();
    ASSERT_EQ(player->current_index, 2);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->is_playing, 0);
    EXPECT_EQ(player->position_clock, 0);
}

TEST_F(Playback, TickLeavesPausedAndStreamingTunesAlone) {
    add("a.ptcop");
    add("b.ptcop");
    player->command_play();
    player->tick();
    EXPECT_EQ(player->current_index, 0);
    player->command_pause();
    player->tick();
    EXPECT_EQ(player->current_index, 0);
    EXPECT_EQ(player->is_paused, 1);
}

TEST_F(Playback, RepeatNeverReachesEndOfList) {
    add("a.ptcop");
    add("b.ptcop");
    player->set_repeat(1);
    EXPECT_TRUE(lib.loop);
    player->command_play();
    for (int k = 0; k < 50; ++k) {
        lib.finish_tune();
        player->tick();
    }
    EXPECT_EQ(player->current_index, 0);
    EXPECT_EQ(player->is_playing, 1);
    player->set_repeat(0);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->current_index, 1);
}

TEST_F(Playback, NextAndPreviousWhileStoppedMoveCurrentWithoutStarting) {
    add("a.ptcop");
    add("b.ptcop");
    add("c.ptcop");
    lib.take_calls();
    player->command_next();  // from -1 to 0
    player->command_next();
    EXPECT_EQ(player->current_index, 1);
    EXPECT_EQ(player->is_playing, 0);
    EXPECT_FALSE(lib.streaming);
    EXPECT_FALSE(called("Start 0 0 1.00"));
    EXPECT_EQ(player->current_mark_index(), 1);
    player->command_previous();
    EXPECT_EQ(player->current_index, 0);
    player->command_previous();  // nothing before the first
    EXPECT_EQ(player->current_index, 0);
    player->command_next();
    player->command_play();
    EXPECT_EQ(player->current_index, 1);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.loaded, player->playlist[1].path);
}

TEST_F(Playback, NextWhilePlayingStartsNextEntry) {
    add("a.ptcop");
    add("b.ptcop");
    player->command_play();
    player->command_next();
    EXPECT_EQ(player->current_index, 1);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.loaded, player->playlist[1].path);
    player->command_next();  // at the end: nothing
    EXPECT_EQ(player->current_index, 1);
}

// Puts the entries in shuffle order c, a, b by their keys.
void set_keys(tagPLAYER& p, std::vector<int> keys) {
    for (std::size_t k = 0; k < keys.size(); ++k) p.playlist[k].shuffle_key = keys[k];
}

TEST_F(Playback, ShuffleOrderFollowsKeysAndDoesNothingAtItsEnds) {
    add("a.ptcop");
    add("b.ptcop");
    add("c.ptcop");
    set_keys(*player, {200, 300, 100});
    player->shuffle = 1;
    EXPECT_EQ(player->first_index(), 2);
    EXPECT_EQ(player->last_index(), 1);
    EXPECT_EQ(player->next_index(-1), 2);  // no tune loaded yet: key 0

    player->command_play();
    EXPECT_EQ(player->current_index, 2);
    player->command_previous();  // smallest key: nothing
    EXPECT_EQ(player->current_index, 2);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->current_index, 0);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->current_index, 1);
    player->command_next();  // largest key: nothing
    EXPECT_EQ(player->current_index, 1);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->is_playing, 0);
}

TEST_F(Playback, UnplayableEntriesArePassedOverOnePerTickInListOrder) {
    add("a.ptcop");
    player->add_file(make_bad_file("bad1.ptcop"));
    player->add_file(make_bad_file("bad2.ptcop"));
    add("d.ptcop");
    ASSERT_EQ(player->playlist.count(), 4);
    player->command_play();
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->current_index, 1);  // current although it did not load
    EXPECT_EQ(player->current_mark_index(), 1);
    EXPECT_EQ(player->current_tune.path, player->playlist[0].path);  // previous copy kept
    EXPECT_FALSE(lib.streaming);
    player->tick();
    EXPECT_EQ(player->current_index, 2);
    player->tick();
    EXPECT_EQ(player->current_index, 3);
    EXPECT_TRUE(lib.streaming);
}

TEST_F(Playback, UnplayableEntriesArePassedOverInShuffleOrder) {
    add("a.ptcop");
    player->add_file(make_bad_file("bad1.ptcop"));
    player->add_file(make_bad_file("bad2.ptcop"));
    add("d.ptcop");
    set_keys(*player, {10, 20, 30, 40});
    player->shuffle = 1;
    player->command_play();
    EXPECT_EQ(player->current_index, 0);
    lib.finish_tune();
    player->tick();
    EXPECT_EQ(player->current_index, 1);
    player->tick();
    EXPECT_EQ(player->current_index, 2);
    player->tick();
    EXPECT_EQ(player->current_index, 3);
    EXPECT_TRUE(lib.streaming);
    // Back past the failed ones with Previous, from a stopped player.
    player->command_stop();
    player->command_previous();
    EXPECT_EQ(player->current_index, 2);
    player->command_previous();
    EXPECT_EQ(player->current_index, 1);
    player->command_previous();
    EXPECT_EQ(player->current_index, 0);
}

// The added tune is read on the loader: the playing one is neither stopped nor reloaded.
TEST_F(Playback, AddFileWhileStreamingLeavesTheTunePlaying) {
    add("a.ptcop");
    player->command_play();
    lib.take_calls();
    const std::string b = make_tune("b.ptcop", 8, "Bee");
    EXPECT_EQ(player->add_file(b), 1);
    EXPECT_EQ(player->add_file((dir() / "missing.ptcop").string()), -1);
    ASSERT_TRUE(settle_loads(*player));
    EXPECT_EQ(player->playlist.count(), 2);
    EXPECT_EQ(player->playlist[1].info_loaded, 1);
    EXPECT_EQ(player->playlist[1].title, "Bee");
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.loaded, player->playlist[0].path);
    EXPECT_EQ(player->current_index, 0);
    EXPECT_TRUE(lib.take_calls().empty());
}

TEST_F(Playback, PlayLoadsUnloadedEntriesFirst) {
    std::string a = make_tune("a.ptcop");
    std::string b = make_tune("b.ptcop", 8, "Bee");
    player->add_entry(a, std::string("Stored A"), 3.0f);
    player->add_entry(b, std::string("Stored B"), 3.0f);
    player->command_play();
    ASSERT_TRUE(test::settle_loads(*player));
    EXPECT_EQ(player->playlist[0].info_loaded, 1);
    EXPECT_EQ(player->playlist[1].info_loaded, 1);
    EXPECT_EQ(player->playlist[1].title, "Bee");
    EXPECT_EQ(lib.loaded, a);
    EXPECT_TRUE(lib.streaming);
}

TEST_F(Playback, VolumeAndOutputReset) {
    add("a.ptcop");
    player->set_volume(0.5f);
    EXPECT_TRUE(called("SetVolume 0.50"));
    player->command_play();
    EXPECT_TRUE(called("Start 0 0 0.50"));
    player->sample_rate = 22050;
    player->channels = 1;
    player->reset_output();
    EXPECT_EQ(lib.format.sample_rate, 22050);
    EXPECT_EQ(lib.format.channels, 1);
}

TEST_F(Playback, ReleaseStopsRemovesEntriesAndReleasesOnce) {
    add("a.ptcop");
    player->command_play();
    lib.take_calls();
    player->release();
    std::vector<std::string> expect{"Stop", "Tune_Release", "Release"};
    EXPECT_EQ(lib.calls, expect);
    EXPECT_TRUE(player->playlist.empty());
    EXPECT_EQ(player->released, 1);
    lib.take_calls();
    player.reset();
    EXPECT_TRUE(lib.calls.empty());
}

}  // namespace
}  // namespace dz::test
