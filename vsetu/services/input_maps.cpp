// The user's key map, joystick map and joystick buttons, and named mouse
// settings, as decimal texts in the user's key of the installation.
#include <cstdio>

#include "common/numbers.h"
#include "actions/registry.h"
#include "vesta/vsetu.h"
#include "vsetu/services/registry_keys.h"

namespace {

struct KeyRow {
  const char* name;
  int key;     // default virtual-key code
  int action;  // fixed action code
};

const KeyRow kKeyRows[kVSKeyRows] = {
    {"KeyForward", 38, 1},     {"KeyReverse", 40, 2},    {"KeyTurnLeft", 37, 3},
    {"KeyTurnRight", 39, 4},   {"KeyUp", 107, 5},        {"KeyDown", 109, 6},
    {"KeyLookDown", 34, 8},    {"KeyLookUp", 33, 7},     {"KeyAutoLevel", 35, 11},
    {"KeyShiftRight", 77, 13}, {"KeyShiftLeft", 78, 12}, {"KeyRoomMate", 82, 52},
    {"KeyZoomIn", 90, 40},     {"KeyZoomOut", 65, 58},   {"KeyShortcut", 121, 55},
    {"KeyTracking", 84, 56},   {"KeyOpenRun", 13, 50},   {"KeySelectNext", 9, 49},
    {"KeySelectPrev", 81, 51}, {"KeyUserAction", 85, 57}, {"KeyRollLeft", 57, 43},
    {"KeyRollRight", 48, 44},  {"KeyMapOn", 55, 53},     {"KeyMapOff", 56, 54},
};

struct JoyRow {
  const char* name;
  int setting;      // default setting
  int direction;    // default direction code
  int loadedCode;   // direction code once a value was loaded
};

const JoyRow kJoyRows[kVSJoyRows] = {
    {"JoyAhead", 0, 1, 3},
    {"JoyBack", 1, 2, 4},
    {"JoyLeft", 2, 3, 2},
    {"JoyRight", 3, 4, 1},
};

const char* const kButtonNames[kVSJoyButtonRows] = {
    "KeyJoyButtonOne", "KeyJoyButtonTwo", "KeyJoyButtonThree", "KeyJoyButtonFour"};

// A stored setting is a short decimal text; a longer one is cut to this.
constexpr int kValueBuffer = 68;

// Reads the named setting; false when it is missing or not a number.
bool ReadSetting(const char* name, int* value) {
  char text[kValueBuffer];
  int32_t parsed = 0;
  if (!VURegGetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, name, text, sizeof text)) {
    return false;
  }
  if (!VUParseInt(text, &parsed)) return false;
  *value = parsed;
  return true;
}

int WriteSetting(const char* name, int value) {
  char text[kVSBuffer];
  std::snprintf(text, sizeof text, "%d", value);
  return VURegSetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, name, text);
}

}  // namespace

int VSInitKeyBuf(int (*table)[2]) {
  if (table == nullptr) return 0;
  for (int row = 0; row < kVSKeyRows; ++row) {
    table[row][0] = kKeyRows[row].key;
    table[row][1] = kKeyRows[row].action;
  }
  return 0;
}

int VSLoadKeyBuf(int (*table)[2]) {
  if (table == nullptr) return 1;
  VSInitKeyBuf(table);
  for (int row = 0; row < kVSKeyRows; ++row) {
    if (ReadSetting(kKeyRows[row].name, &table[row][0])) table[row][1] = kKeyRows[row].action;
  }
  return 1;
}

int VSSaveKeyBuf(int (*table)[2]) {
  if (table == nullptr) return 1;
  for (int row = 0; row < kVSKeyRows; ++row) WriteSetting(kKeyRows[row].name, table[row][0]);
  return 1;
}

int VSInitJoyBuf(int (*table)[2]) {
  if (table == nullptr) return 0;
  for (int row = 0; row < kVSJoyRows; ++row) {
    table[row][0] = kJoyRows[row].setting;
    table[row][1] = kJoyRows[row].direction;
  }
  return 0;
}

int VSLoadJoyBuf(int (*table)[2]) {
  if (table == nullptr) return 0;
  VSInitJoyBuf(table);
  for (int row = 0; row < kVSJoyRows; ++row) {
    if (ReadSetting(kJoyRows[row].name, &table[row][0])) table[row][1] = kJoyRows[row].loadedCode;
  }
  return 0;
}

int VSSaveJoyBuf(int (*table)[2]) {
  if (table == nullptr) return 1;
  for (int row = 0; row < kVSJoyRows; ++row) WriteSetting(kJoyRows[row].name, table[row][0]);
  return 1;
}

int VSInitJoyTrigger(int (*table)[2]) {
  if (table == nullptr) return 1;
  for (int row = 0; row < kVSJoyButtonRows; ++row) {
    table[row][0] = 0;
    table[row][1] = 0;
  }
  return 1;
}

int VSLoadJoyTrigger(int (*table)[2]) {
  if (table == nullptr) return 1;
  VSInitJoyTrigger(table);
  for (int row = 0; row < kVSJoyButtonRows; ++row) ReadSetting(kButtonNames[row], &table[row][1]);
  return 1;
}

int VSSaveJoyTrigger(int (*table)[2]) {
  if (table == nullptr) return 1;
  for (int row = 0; row < kVSJoyButtonRows; ++row) WriteSetting(kButtonNames[row], table[row][1]);
  return 1;
}

int VSSetMouseConfigCmd(const char* name, int setting) {
  if (name == nullptr) return 0;
  return WriteSetting(name, setting);
}

int VSGetMouseConfigCmd(const char* name, int* setting) {
  if (name == nullptr || setting == nullptr) return 0;
  char text[kVSBuffer];
  if (!VURegGetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, name, text)) return 0;
  int32_t parsed = 0;
  if (!VUParseInt(text, &parsed)) return 0;
  *setting = parsed;
  return 1;
}
