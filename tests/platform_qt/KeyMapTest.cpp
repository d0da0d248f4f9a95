// Qt keys to Windows virtual keys, as the command table's accelerators need them.
#include <gtest/gtest.h>

#include <Qt>

#include "platform/VirtualKeys.h"
#include "platform/qt/QtKeyMap.h"

namespace dz {
namespace {

TEST(KeyMapTest, LettersDigitsAndNavigation) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Z, false), 'Z');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A, false), 'A');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_1, false), '1');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Left, false), vk::kLeft);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Up, false), vk::kUp);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageUp, false), vk::kPrior);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageDown, false), vk::kNext);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Home, false), vk::kHome);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_End, false), vk::kEnd);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Delete, false), vk::kDelete);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Return, false), vk::kReturn);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter, true), vk::kReturn);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F4, false), vk::kF1 + 3);
}

TEST(KeyMapTest, ShiftedSymbolsFoldBackAndModifiersAreKeys) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Exclam, false), '1');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_At, false), '2');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_ParenRight, false), '0');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Question, false), vk::kOem2);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Slash, false), vk::kOem2);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backtab, false), vk::kTab);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Shift, false), vk::kShift);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Control, false), vk::kControl);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Alt, false), vk::kMenu);
}

TEST(KeyMapTest, KeypadKeysAreTheirOwnAndUnknownKeysHaveNone) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, true), vk::kNumpad0 + 5);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, true), vk::kAdd);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, false), vk::kOemPlus);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_VolumeUp, false), 0);
    EXPECT_EQ(VirtualKeyFromQt(0, false), 0);
}

}  // namespace
}  // namespace dz
