#include "platform/folder_overrides.h"

#include "platform/process_state.h"
#include "platform/system_info.h"

namespace vesta::platform {
namespace {

using SpecialOverride = state::FolderOverrides::Special;

state::FolderOverrides& State() { return state::Overrides(); }

SpecialOverride& OverrideOf(platform::SpecialFolder folder) {
  return State().special[folder == platform::SpecialFolder::kStartUp ? 0 : 1];
}

}  // namespace

void OverrideWindowsFolder(const char* folder) { State().windows = folder != nullptr ? folder : ""; }

void OverrideSpecialFolder(platform::SpecialFolder folder, const char* path) {
  SpecialOverride& entry = OverrideOf(folder);
  entry.active = path != nullptr;
  entry.path = path != nullptr ? path : "";
}

namespace overrides {

const std::string& WindowsFolder() { return State().windows; }

bool SpecialFolder(platform::SpecialFolder folder, bool* answered, std::string* path) {
  const SpecialOverride& entry = OverrideOf(folder);
  if (!entry.active) return false;
  *answered = !entry.path.empty();
  if (*answered) *path = entry.path;
  return true;
}

}  // namespace overrides
}  // namespace vesta::platform
