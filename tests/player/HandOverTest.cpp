// The player's loops and fade-out, and the hand-over to a prepared next tune, over the fake
// library: what is asked for as next, when it is dropped, and how the player follows.
#include <gtest/gtest.h>

#include "PlayerFixture.h"

namespace dz::test {
namespace {

using HandOver = PlayerFixture;

constexpr int kClocksPerSecond = 960;  // the fake tunes: 4 beats of 480 clocks at 120 BPM

TEST_F(HandOver, LengthsCountTheLoopsUnlessRepeatIsOn) {
    const std::string a = make_tune("a.ptcop");  // 8 measures of 2 s
    lib.tunes[a].repeat_meas = 2;
    player->add_file(a);
    add("b.ptcop", 4);  // loops whole: 8 s a pass
    player->select_all_as(1);
    EXPECT_FLOAT_EQ(player->playlist[0].length_seconds, 16.0f);

    player->set_play_plan(3, 5);
    EXPECT_EQ(lib.loops, 3);
    EXPECT_EQ(lib.fade_seconds, 5);
    EXPECT_FLOAT_EQ(player->playlist[0].length_seconds, 16.0f + 2 * 12.0f);
    EXPECT_EQ(player->playlist[0].total_clocks, 40 * kClocksPerSecond);
    EXPECT_FLOAT_EQ(player->playlist[1].length_seconds, 24.0f);
    EXPECT_FLOAT_EQ(player->total_seconds, 64.0f);
    EXPECT_FLOAT_EQ(player->selected_seconds, 64.0f);
    player->command_play();
    EXPECT_FLOAT_EQ(player->current_length_seconds(), 40.0f);
    // The library reports the clock of the whole play: halfway is the ratio 0.5.
    lib.report_position(20 * kClocksPerSecond);
    EXPECT_FLOAT_EQ(player->position_ratio, 0.5f);

    player->set_repeat(1);  // loops for ever: one pass is the length
    EXPECT_FLOAT_EQ(player->playlist[0].length_seconds, 16.0f);
    EXPECT_FLOAT_EQ(player->current_length_seconds(), 16.0f);
    player->set_repeat(0);
    EXPECT_FLOAT_EQ(player->current_length_seconds(), 40.0f);

    player->set_play_plan(0, 500);
    EXPECT_EQ(player->play_loops, 1);
    EXPECT_EQ(player->fade_seconds, 60);
    EXPECT_EQ(lib.loops, 1);
    EXPECT_FLOAT_EQ(player->playlist[0].length_seconds, 16.0f);
}

TEST_F(HandOver, TheNextTuneIsAskedForNearTheEndAndBecomesCurrentWhenItPlays) {
    add("a.ptcop");     // 16 s
    add("b.ptcop", 4);  // 8 s
    add("c.ptcop");
    player->command_play();
    player->tick();
    EXPECT_EQ(lib.next_tune, "") << "more than the lead is left";
    lib.report_position(7 * kClocksPerSecond);
    player->tick();
    EXPECT_EQ(lib.next_tune, player->playlist[1].path);
    EXPECT_EQ(player->current_index, 0) << "prepared, not yet playing";

    lib.take_calls();
    ASSERT_TRUE(lib.hand_over());
    // Until the worker's next tick the position is counted in b's clocks.
    lib.report_position(kClocksPerSecond);
    EXPECT_FLOAT_EQ(player->position_ratio, 1.0f / 8.0f);
    player->tick();
    EXPECT_EQ(player->current_index, 1);
    EXPECT_EQ(player->current_tune.path, player->playlist[1].path);
    EXPECT_EQ(player->playlist[1].current_mark, 1);
    EXPECT_EQ(player->playlist[0].current_mark, 0);
    EXPECT_EQ(player->is_playing, 1);
    EXPECT_TRUE(lib.take_calls().empty()) << "no load, start or stop at a hand-over";
    lib.report_position(kClocksPerSecond);
    EXPECT_FLOAT_EQ(player->position_seconds, 1.0f);
    player->tick();
    EXPECT_EQ(lib.next_tune, player->playlist[2].path);

    // With repeat on nothing is asked for.
    player->set_repeat(1);
    EXPECT_EQ(lib.next_tune, "");
    player->tick();
    EXPECT_EQ(lib.next_tune, "");
}

// Near the end of a with b asked for as next, each change below leaves the library with no
// stale tune: Next from a hand-over that came first goes on from b, a seek keeps b, list and
// order changes drop it at once.
TEST_F(HandOver, CommandsAndListChangesNeverLeaveAStaleNextTune) {
    add("a.ptcop");
    add("b.ptcop");
    add("c.ptcop");
    add("d.ptcop");
    const auto near_end = [&] {
        lib.report_position(
            static_cast<int>((player->current_length_seconds() - 4) * kClocksPerSecond));
        player->tick();
    };
    player->command_play();
    near_end();
    ASSERT_EQ(lib.next_tune, player->playlist[1].path);

    // The library handed over to b just before Next: Next plays c, not b again.
    ASSERT_TRUE(lib.hand_over());
    player->command_next();
    EXPECT_EQ(player->current_index, 2);
    EXPECT_EQ(lib.loaded, player->playlist[2].path);

    // A seek near the end keeps d; a seek back out of the lead drops it.
    near_end();
    ASSERT_EQ(lib.next_tune, player->playlist[3].path);
    player->seek(13 * 44100);
    EXPECT_EQ(lib.next_tune, player->playlist[3].path);
    player->seek(0);
    lib.report_position(0);
    player->tick();
    EXPECT_EQ(lib.next_tune, "");

    // Removing the entry asked for, reordering, shuffle, loops: dropped before any tick.
    const auto expect_dropped = [&](const char* what, auto change) {
        player->play(0, 0);
        near_end();
        ASSERT_FALSE(lib.next_tune.empty()) << what;
        change();
        EXPECT_EQ(lib.next_tune, "") << what;
        EXPECT_FALSE(lib.hand_over()) << what;
    };
    expect_dropped("removal", [&] {
        player->select_one(1);
        player->remove_selected();
    });
    expect_dropped("reversal", [&] { player->reverse_list(); });
    expect_dropped("shuffle", [&] { player->set_shuffle(1); });
    player->set_shuffle(0);
    expect_dropped("loops", [&] { player->set_play_plan(2, 0); });
    expect_dropped("stop", [&] { player->command_stop(); });
    expect_dropped("pause", [&] { player->command_pause(); });
}

// A URL entry not downloaded yet is not prepared: it starts after the end, as before.
TEST_F(HandOver, AnEntryThatNeedsADownloadStartsAfterTheEnd) {
    add("a.ptcop");
    player->add_entry("http://example.invalid/b.ptcop", std::nullopt, 0.0f);
    player->command_play();
    lib.report_position(15 * kClocksPerSecond);
    player->tick();
    EXPECT_EQ(lib.next_tune, "");
}

}  // namespace
}  // namespace dz::test
