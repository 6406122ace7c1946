// Making, finding and deleting one of the installation's shortcuts, by the
// operation that names its file.
#ifndef VESTA_VSETU_SERVICES_SHORTCUT_PLACING_H
#define VESTA_VSETU_SERVICES_SHORTCUT_PLACING_H

#include "vesta/vsetu_shell.h"

namespace vesta::vsetu {

// Names the shortcut file into out (264 bytes); 0 when it cannot.
using ShortcutName = int (*)(VSWindow window, char* out);

// Makes the shortcut to bin + program (program begins with a back-slash)
// with the description, through a shortcut object of its own. Nothing is
// made when the object cannot start, the file cannot be named or the bin
// folder is unknown.
void PlaceShortcut(VSWindow window, ShortcutName name, const char* program, const char* description);
// 1 when the shortcut file exists.
int ShortcutPlaced(VSWindow window, ShortcutName name);
// 1 when the shortcut file was named and deleted.
int RemoveShortcut(VSWindow window, ShortcutName name);

}  // namespace vesta::vsetu

#endif
