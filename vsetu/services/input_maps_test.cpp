// Key, joystick and button maps and mouse settings in the user's key.
#include <gtest/gtest.h>

#include <string>

#include "actions/registry.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"
#include "vsetu/services/registry_keys.h"

namespace {

class InputMapsTest : public ::testing::Test {
 protected:
  void Store(const char* name, const char* text) {
    ASSERT_EQ(VURegSetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, name, text), 1);
  }
  std::string Stored(const char* name) {
    char text[kVURegBuffer] = "<missing>";
    VURegGetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, name, text);
    return text;
  }
  vesta::testing::ScratchFolder scratch_;
};

TEST_F(InputMapsTest, TheKeyMapLoadsItsDefaultsAndTheUsersKeys) {
  int table[kVSKeyRows][2] = {};
  EXPECT_EQ(VSLoadKeyBuf(table), 1);
  const int expected[kVSKeyRows][2] = {
      {38, 1},  {40, 2},  {37, 3},  {39, 4},  {107, 5}, {109, 6}, {34, 8},  {33, 7},
      {35, 11}, {77, 13}, {78, 12}, {82, 52}, {90, 40}, {65, 58}, {121, 55}, {84, 56},
      {13, 50}, {9, 49},  {81, 51}, {85, 57}, {57, 43}, {48, 44}, {55, 53}, {56, 54}};
  for (int row = 0; row < kVSKeyRows; ++row) {
    EXPECT_EQ(table[row][0], expected[row][0]) << row;
    EXPECT_EQ(table[row][1], expected[row][1]) << row;
  }
  int fresh[kVSKeyRows][2] = {};
  EXPECT_EQ(VSInitKeyBuf(fresh), 0);
  EXPECT_EQ(fresh[4][0], 107);

  Store("KeyZoomIn", "88");
  Store("KeyMapOff", "abc");
  Store("KeyForward", std::string(100, '7').c_str());  // too long to be a number
  VSLoadKeyBuf(table);
  EXPECT_EQ(table[12][0], 88);
  EXPECT_EQ(table[12][1], 40);
  EXPECT_EQ(table[23][0], 56);
  EXPECT_EQ(table[0][0], 38);
}

TEST_F(InputMapsTest, SavingWritesTheKeysButNotTheActions) {
  int table[kVSKeyRows][2];
  VSInitKeyBuf(table);
  table[9][0] = -5;
  table[9][1] = 999;
  EXPECT_EQ(VSSaveKeyBuf(table), 1);
  EXPECT_EQ(Stored("KeyShiftRight"), "-5");
  EXPECT_EQ(Stored("KeyMapOn"), "55");
  int loaded[kVSKeyRows][2];
  VSLoadKeyBuf(loaded);
  EXPECT_EQ(loaded[9][0], -5);
  EXPECT_EQ(loaded[9][1], 13);
}

TEST_F(InputMapsTest, ALoadedJoystickRowTakesItsOtherDirectionCode) {
  int table[kVSJoyRows][2] = {};
  EXPECT_EQ(VSLoadJoyBuf(table), 0);
  const int defaults[kVSJoyRows][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
  for (int row = 0; row < kVSJoyRows; ++row) {
    EXPECT_EQ(table[row][0], defaults[row][0]);
    EXPECT_EQ(table[row][1], defaults[row][1]);
  }
  Store("JoyAhead", "2");
  EXPECT_EQ(VSLoadJoyBuf(table), 0);
  EXPECT_EQ(table[0][0], 2);
  EXPECT_EQ(table[0][1], 3);
  EXPECT_EQ(table[1][1], 2);

  Store("JoyBack", "1");
  Store("JoyLeft", "2");
  Store("JoyRight", "3");
  VSLoadJoyBuf(table);
  EXPECT_EQ(table[0][1], 3);
  EXPECT_EQ(table[1][1], 4);
  EXPECT_EQ(table[2][1], 2);
  EXPECT_EQ(table[3][1], 1);
}

TEST_F(InputMapsTest, JoystickSettingsAndButtonsAreSaved) {
  int table[kVSJoyRows][2];
  EXPECT_EQ(VSInitJoyBuf(table), 0);
  EXPECT_EQ(VSSaveJoyBuf(table), 1);
  EXPECT_EQ(Stored("JoyAhead"), "0");
  EXPECT_EQ(Stored("JoyBack"), "1");
  EXPECT_EQ(Stored("JoyLeft"), "2");
  EXPECT_EQ(Stored("JoyRight"), "3");

  int buttons[kVSJoyButtonRows][2] = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
  EXPECT_EQ(VSInitJoyTrigger(buttons), 1);
  EXPECT_EQ(buttons[3][0], 0);
  EXPECT_EQ(buttons[3][1], 0);
  Store("KeyJoyButtonThree", "32");
  EXPECT_EQ(VSLoadJoyTrigger(buttons), 1);
  const int expected[kVSJoyButtonRows][2] = {{0, 0}, {0, 0}, {0, 32}, {0, 0}};
  for (int row = 0; row < kVSJoyButtonRows; ++row) {
    EXPECT_EQ(buttons[row][0], expected[row][0]);
    EXPECT_EQ(buttons[row][1], expected[row][1]);
  }
  buttons[0][1] = 17;
  EXPECT_EQ(VSSaveJoyTrigger(buttons), 1);
  EXPECT_EQ(Stored("KeyJoyButtonOne"), "17");
  EXPECT_EQ(Stored("KeyJoyButtonThree"), "32");
}

TEST_F(InputMapsTest, MouseSettingsByName) {
  int setting = 42;
  EXPECT_EQ(VSGetMouseConfigCmd("MouseSpeed", &setting), 0);
  EXPECT_EQ(setting, 42);
  EXPECT_EQ(VSSetMouseConfigCmd("MouseSpeed", -3), 1);
  EXPECT_EQ(VSGetMouseConfigCmd("MouseSpeed", &setting), 1);
  EXPECT_EQ(setting, -3);
  Store("MouseWheel", "fast");
  setting = 42;
  EXPECT_EQ(VSGetMouseConfigCmd("MouseWheel", &setting), 0);
  EXPECT_EQ(setting, 42);
}

}  // namespace
