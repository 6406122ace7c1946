// Feeds arbitrary bytes to the shortcut file reader. A file that reads is
// written back, and the written file must read back as the same fields and
// write out as the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/shell_link_format.h"

using vesta::platform::posix::ReadShellLink;
using vesta::platform::posix::ShellLinkFields;
using vesta::platform::posix::WriteShellLink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ShellLinkFields fields;
  fields.description = "untouched";
  if (!ReadShellLink(bytes, &fields)) {
    if (fields.description != "untouched") std::abort();
    return 0;
  }
  const std::string written = WriteShellLink(fields);
  ShellLinkFields again;
  if (!ReadShellLink(written, &again) || !(again == fields)) std::abort();
  if (WriteShellLink(again) != written) std::abort();
  return 0;
}
