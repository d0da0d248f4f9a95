#include "PlayerFixture.h"

namespace dz::test {
namespace {

class Ops : public PlayerFixture {
protected:
    // Entries that were never loaded: only path, file title and sequence are set.
    void add_paths(std::vector<std::string> paths) {
        for (const auto& p : paths) player->add_entry(p, std::nullopt, 0);
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> out;
        for (const auto& e : player->playlist) out.push_back(e.path);
        return out;
    }
    std::vector<int> sequences() const {
        std::vector<int> out;
        for (const auto& e : player->playlist) out.push_back(e.sequence);
        return out;
    }
    std::vector<int> one_to(int n) const {
        std::vector<int> v;
        for (int k = 1; k <= n; ++k) v.push_back(k);
        return v;
    }
};

TEST_F(Ops, SelectionOperationsIgnoreOutOfRange) {
    add_paths({"/a", "/b", "/c", "/d"});
    player->select_one(9);
    player->select_one(4);  // one past the last entry
    player->select_one(-1);
    player->toggle_one(4);
    for (const auto& e : player->playlist) EXPECT_EQ(e.selected, 0);
    player->select_range(4, 7);  // wholly past the end
    for (const auto& e : player->playlist) EXPECT_EQ(e.selected, 0);
    player->select_range(3, 4);
    EXPECT_EQ(player->playlist[3].selected, 1);
    player->select_all_as(0);
    player->select_range(2, -5);
    EXPECT_EQ(player->playlist[0].selected, 1);
    EXPECT_EQ(player->playlist[2].selected, 1);
    EXPECT_EQ(player->playlist[3].selected, 0);
    player->select_all_as(0);
    player->select_range(3, 1);
    std::vector<int> a;
    for (const auto& e : player->playlist) a.push_back(e.selected);
    player->select_all_as(0);
    player->select_range(1, 3);
    std::vector<int> b;
    for (const auto& e : player->playlist) b.push_back(e.selected);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, (std::vector<int>{0, 1, 1, 1}));
    player->invert_selection();
    EXPECT_EQ(player->playlist[0].selected, 1);
    EXPECT_EQ(player->playlist[1].selected, 0);
    player->toggle_one(0);
    EXPECT_EQ(player->playlist[0].selected, 0);
}

TEST_F(Ops, EmptyListOperationsOnlyZeroTheTotals) {
    player->selected_clocks = 5;
    player->total_seconds = 5;
    player->select_range(0, 10);
    player->invert_selection();
    player->remove_selected();
    player->sort_by_title();
    player->randomize_list();
    EXPECT_TRUE(player->playlist.empty());
    EXPECT_EQ(player->selected_clocks, 0);
    EXPECT_EQ(player->total_seconds, 0.0f);
    EXPECT_EQ(player->current_index, -1);
}

TEST_F(Ops, RemoveSelectedKeepsOrderAndCurrentIndexNumber) {
    add("a.ptcop");
    add("b.ptcop");
    add("c.ptcop");
    add("d.ptcop");
    player->play(2, 0);
    player->select_one(0);
    player->select_one(1);
    player->remove_selected();
    ASSERT_EQ(player->playlist.count(), 2);
    EXPECT_EQ(player->playlist[0].file_title, "c");
    EXPECT_EQ(player->playlist[1].file_title, "d");
    EXPECT_EQ(player->current_index, 2);  // unchanged: now past the end
    EXPECT_EQ(player->current_mark_index(), 0);
    player->select_one(0);
    player->remove_selected();
    EXPECT_EQ(player->current_mark_index(), -1);
    EXPECT_FLOAT_EQ(player->total_seconds, 16.0f);
}

TEST_F(Ops, SortByTitleUsesTuneNameBytewiseWithSequenceTies) {
    add("1.ptcop", 8, "beta");
    add("2.ptcop", 8, "Beta");
    add("3.ptcop", 8, "\x82\xa0");  // a double-byte character sorts after ASCII
    add("4.ptcop", 8, "");          // empty names first
    add("5.ptcop", 8, "alpha");
    add("6.ptcop", 8, "");
    player->sort_by_title();
    std::vector<std::string> names;
    for (const auto& e : player->playlist) names.push_back(e.file_title);
    EXPECT_EQ(names, (std::vector<std::string>{"4", "6", "2", "5", "1", "3"}));
    EXPECT_EQ(sequences(), one_to(6));
    auto once = paths();
    player->sort_by_title();
    EXPECT_EQ(paths(), once);
}

TEST_F(Ops, SortingNeverLoadedEntriesByTitleKeepsOrder) {
    add_paths({"/z", "/y", "/x"});
    player->sort_by_title();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/z", "/y", "/x"}));
}

TEST_F(Ops, SortByFileNameAndPath) {
    add_paths({"/b/zz.ptcop", "/a/yy.ptcop", "/c/ZZ.ptcop", "/a/zz.ptcop"});
    player->sort_by_file_name();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/c/ZZ.ptcop", "/a/yy.ptcop", "/b/zz.ptcop",
                                                 "/a/zz.ptcop"}));
    EXPECT_EQ(sequences(), one_to(4));
    player->sort_by_path();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/a/yy.ptcop", "/a/zz.ptcop", "/b/zz.ptcop",
                                                 "/c/ZZ.ptcop"}));
    auto once = paths();
    player->sort_by_path();
    EXPECT_EQ(paths(), once);
    EXPECT_EQ(sequences(), one_to(4));
}

TEST_F(Ops, FileNameTiesKeepAdditionOrder) {
    add_paths({"/q/same.ptcop", "/p/same.ptcop", "/r/same.ptcop"});
    player->sort_by_file_name();
    EXPECT_EQ(paths(),
              (std::vector<std::string>{"/q/same.ptcop", "/p/same.ptcop", "/r/same.ptcop"}));
}

TEST_F(Ops, ReverseTwiceRestoresAndRenumbers) {
    add_paths({"/1", "/2", "/3", "/4", "/5"});
    auto start = paths();
    player->reverse_list();
    EXPECT_EQ(paths(), (std::vector<std::string>{"/5", "/4", "/3", "/2", "/1"}));
    EXPECT_EQ(sequences(), one_to(5));
    player->reverse_list();
    EXPECT_EQ(paths(), start);
    EXPECT_EQ(sequences(), one_to(5));
}

TEST_F(Ops, RandomizeKeepsEntriesAndShuffleKeysAndRenumbers) {
    for (int k = 0; k < 200; ++k) player->add_entry("/t/" + std::to_string(k), std::nullopt, 0);
    std::map<std::string, int> keys;
    for (const auto& e : player->playlist) keys[e.path] = e.shuffle_key;
    auto before = paths();
    player->randomize_list();
    EXPECT_EQ(sequences(), one_to(200));
    EXPECT_NE(paths(), before);
    auto sorted = paths();
    std::sort(sorted.begin(), sorted.end());
    std::sort(before.begin(), before.end());
    EXPECT_EQ(sorted, before);
    for (const auto& e : player->playlist) EXPECT_EQ(e.shuffle_key, keys[e.path]);
}

TEST_F(Ops, CurrentIndexFollowsPlayingEntryAfterEverySort) {
    add("c.ptcop");
    add("a.ptcop");
    add("b.ptcop");
    player->play(0, 0);  // c
    player->sort_by_file_name();
    EXPECT_EQ(player->current_index, 2);
    EXPECT_EQ(player->playlist[2].file_title, "c");
    player->reverse_list();
    EXPECT_EQ(player->current_index, 0);
    player->randomize_list();
    EXPECT_EQ(player->playlist[player->current_index].file_title, "c");
    EXPECT_TRUE(lib.streaming);
    // Next goes on from the entry's new position.
    player->sort_by_file_name();
    player->command_previous();
    EXPECT_EQ(player->playlist[player->current_index].file_title, "b");
}

TEST_F(Ops, SortWithoutCurrentEntryGivesMinusOne) {
    add_paths({"/b", "/a"});
    player->current_index = 1;
    player->sort_by_path();
    EXPECT_EQ(player->current_index, -1);
}

}  // namespace
}  // namespace dz::test
