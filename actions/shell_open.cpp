#include "actions/shell_open.h"

#include <cstring>

#include "platform/shell.h"

int VUShellOpen(void* /*window*/, const char* verb, const char* path) {
  // The desktop's open verb is the only one the system uses.
  if (verb == nullptr || std::strcmp(verb, "open") != 0) return 0;
  return vesta::platform::OpenDocument(path) ? 1 : 0;
}
