// Dispatch by id and the accelerators built from the table.
#include <gtest/gtest.h>

#include <vector>

#include "app/CommandTable.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

std::vector<int> g_ran;
int RowA(TAG_USERDATA*) {
    g_ran.push_back(1);
    return 0;
}
int RowB(TAG_USERDATA*) {
    g_ran.push_back(2);
    return 0;
}
int RowSkin(TAG_USERDATA*) {
    g_ran.push_back(58);
    return 0;
}

const CommandRow kTable[] = {
    {1, 'Z', 0, 0, 0, kCmdNext, RowA},
    {1, 'Z', 1, 0, 0, kCmdRestart, RowB},
    {1, 'T', 1, 0, 0, kCmdToggleTime, RowA},
    {1, 'T', 1, 0, 0, kCmdShowElapsed, RowB},  // same key: the first row wins
    {0, 'Y', 0, 0, 0, kCmdSelectNone, RowB},   // no accelerator
    {1, 'W', 0, 0, 0, kCmdNone, RowB},         // id 0 never makes one
    {1, 'K', 0, 0, 0, kCmdNext, RowB},         // a second row with the id: never dispatched
    {1, 'J', 0, 0, 0, kCmdFirstSkin, RowSkin},
};

class CommandTableTest : public ::testing::Test {
protected:
    void SetUp() override { g_ran.clear(); }
    FakeWindowHost host;
    FakeAudioLibrary lib;
    TAG_USERDATA data{&host, lib};
};

TEST_F(CommandTableTest, FirstRowWithTheIdRunsUnknownIdsAreIgnored) {
    dispatch_command(kCmdNext, &data, kTable);
    dispatch_command(kCmdSelectNone, &data, kTable);
    dispatch_command(kCmdAbout, &data, kTable);
    EXPECT_EQ(g_ran, (std::vector<int>{1, 2}));
}

TEST_F(CommandTableTest, IdsFrom58GoToTheSkinMenuNeverToTheTable) {
    std::vector<int> skin;
    data.hooks.skin_menu_command = [&](TAG_USERDATA&, int id) { skin.push_back(id); };
    dispatch_command(kCmdFirstSkin, &data, kTable);
    dispatch_command(kCmdFirstSkin + 12, &data, kTable);
    EXPECT_TRUE(g_ran.empty());
    EXPECT_EQ(skin, (std::vector<int>{kCmdFirstSkin, kCmdFirstSkin + 12}));
    data.hooks.skin_menu_command = nullptr;
    dispatch_command(kCmdFirstSkin, &data, kTable);  // no skin menu yet: nothing
    EXPECT_TRUE(g_ran.empty());
}

TEST_F(CommandTableTest, AcceleratorsInRowOrderWithExactModifiers) {
    std::vector<EdxAccelerator> acc = make_accelerators(kTable);
    ASSERT_EQ(acc.size(), 6u);
    EXPECT_EQ(acc[1].flags, EdxAccelerator::kVirtKey | EdxAccelerator::kControl);
    EXPECT_EQ(translate_accelerator(acc, 'Z', false, false, false), kCmdNext);
    EXPECT_EQ(translate_accelerator(acc, 'Z', true, false, false), kCmdRestart);
    EXPECT_EQ(translate_accelerator(acc, 'Z', true, false, true), 0);  // extra Shift
    EXPECT_EQ(translate_accelerator(acc, 'T', true, false, false), kCmdToggleTime);
    EXPECT_EQ(translate_accelerator(acc, 'Y', false, false, false), 0);
    EXPECT_EQ(translate_accelerator(acc, 'W', false, false, false), 0);
}

TEST_F(CommandTableTest, ProgramTableRowsAreWellFormed) {
    std::vector<int> with_key;
    for (const CommandRow& row : command_table()) {
        EXPECT_GT(row.id, kCmdNone);
        EXPECT_LT(row.id, kCmdFirstSkin);
        EXPECT_NE(row.handler, nullptr);
    }
    // Exit has a row and posts the close request.
    dispatch_command(kCmdExit, &data);
    EXPECT_EQ(host.close_requests, 1);
}

}  // namespace
}  // namespace dz
