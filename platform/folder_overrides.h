// What tests put in place of the machine's folders, kept in one place for
// both backends (see OverrideWindowsFolder and OverrideSpecialFolder).
#ifndef VESTA_PLATFORM_FOLDER_OVERRIDES_H
#define VESTA_PLATFORM_FOLDER_OVERRIDES_H

#include <string>

#include "platform/shell_places.h"

namespace vesta::platform::overrides {

// The Windows folder a test put in place, "" when none.
const std::string& WindowsFolder();

// True when a test put an answer in place of the special folder: then
// *answered tells whether there is a folder, and *path holds it.
bool SpecialFolder(SpecialFolder folder, bool* answered, std::string* path);

}  // namespace vesta::platform::overrides

#endif
