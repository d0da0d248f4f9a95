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
    {1, 'Z', 0, 0, 0, 5, RowA},     {1, 'Z', 1, 0, 0, 6, RowB},
    {1, 'T', 1, 0, 0, 47, RowA},    {1, 'T', 1, 0, 0, 48, RowB},  // same key: the first row wins
    {0, 'Y', 0, 0, 0, 24, RowB},                                  // no accelerator
    {1, 'W', 0, 0, 0, 0, RowB},                                   // id 0 never makes one
    {1, 'K', 0, 0, 0, 5, RowB},  // a second row with id 5: never dispatched
    {1, 'J', 0, 0, 0, 58, RowSkin},
};

class CommandTableTest : public ::testing::Test {
protected:
    void SetUp() override { g_ran.clear(); }
    FakeWindowHost host;
    FakeAudioLibrary lib;
    TAG_USERDATA data{&host, lib};
};

TEST_F(CommandTableTest, FirstRowWithTheIdRunsUnknownIdsAreIgnored) {
    dispatch_command(5, &data, kTable);
    dispatch_command(24, &data, kTable);
    dispatch_command(57, &data, kTable);
    EXPECT_EQ(g_ran, (std::vector<int>{1, 2}));
}

TEST_F(CommandTableTest, IdsFrom58GoToTheSkinMenuNeverToTheTable) {
    std::vector<int> skin;
    data.hooks.skin_menu_command = [&](TAG_USERDATA&, int id) { skin.push_back(id); };
    dispatch_command(58, &data, kTable);
    dispatch_command(70, &data, kTable);
    EXPECT_TRUE(g_ran.empty());
    EXPECT_EQ(skin, (std::vector<int>{58, 70}));
    data.hooks.skin_menu_command = nullptr;
    dispatch_command(58, &data, kTable);  // no skin menu yet: nothing
    EXPECT_TRUE(g_ran.empty());
}

TEST_F(CommandTableTest, AcceleratorsInRowOrderWithExactModifiers) {
    std::vector<EdxAccelerator> acc = make_accelerators(kTable);
    ASSERT_EQ(acc.size(), 6u);
    EXPECT_EQ(acc[1].flags, EdxAccelerator::kVirtKey | EdxAccelerator::kControl);
    EXPECT_EQ(translate_accelerator(acc, 'Z', false, false, false), 5);
    EXPECT_EQ(translate_accelerator(acc, 'Z', true, false, false), 6);
    EXPECT_EQ(translate_accelerator(acc, 'Z', true, false, true), 0);  // extra Shift
    EXPECT_EQ(translate_accelerator(acc, 'T', true, false, false), 47);
    EXPECT_EQ(translate_accelerator(acc, 'Y', false, false, false), 0);
    EXPECT_EQ(translate_accelerator(acc, 'W', false, false, false), 0);
}

TEST_F(CommandTableTest, ProgramTableRowsAreWellFormed) {
    std::vector<int> with_key;
    for (const CommandRow& row : command_table()) {
        EXPECT_GE(row.id, 1);
        EXPECT_LE(row.id, 57);
        EXPECT_NE(row.handler, nullptr);
    }
    // Exit has a row and posts the close request.
    dispatch_command(kCommandExit, &data);
    EXPECT_EQ(host.close_requests, 1);
}

}  // namespace
}  // namespace dz
