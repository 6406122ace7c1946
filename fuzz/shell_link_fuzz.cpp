// Feeds arbitrary bytes to the shortcut file reader. A file that reads is
// written back, and the written file must read back as the same fields and
// write out as the same bytes. Where the written file has an item list, a
// reader told to ignore its LinkInfo must find the same target in the list.
// The relative path, resolved against a link on a drive, never leaves it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/link_file/shell_link_format.h"

using vesta::platform::link_file::ReadShellLink;
using vesta::platform::link_file::ResolveRelativePath;
using vesta::platform::link_file::ShellLinkFields;
using vesta::platform::link_file::VariableLookup;
using vesta::platform::link_file::WriteShellLink;

namespace {

// A fixed environment, so that targets with variables expand and every run
// of an input gives the same answer.
bool Variable(const std::string& name, std::string* value) {
  if (name == "SystemRoot") {
    *value = "C:\\WINDOWS";
  } else if (name == "Again") {
    *value = "%SystemRoot%";
  } else {
    return false;
  }
  return true;
}

constexpr size_t kFlags = 0x14;
constexpr char kHasLinkTargetIdList = 0x01;
constexpr char kForceNoLinkInfo = 0x01;  // in the flags' second byte

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ShellLinkFields fields;
  fields.description = "untouched";
  if (!ReadShellLink(bytes, &fields, Variable)) {
    if (fields.description != "untouched") std::abort();
    if (ReadShellLink(bytes, &fields)) std::abort();
    return 0;
  }
  // The environment changes the target at most.
  ShellLinkFields plain;
  if (!ReadShellLink(bytes, &plain)) std::abort();
  plain.target = fields.target;
  if (!(plain == fields)) std::abort();

  const std::string written = WriteShellLink(fields);
  ShellLinkFields again;
  if (!ReadShellLink(written, &again, Variable) || !(again == fields)) std::abort();
  if (WriteShellLink(again) != written) std::abort();
  if (written[kFlags] & kHasLinkTargetIdList) {
    std::string withoutInfo = written;
    withoutInfo[kFlags + 1] = static_cast<char>(withoutInfo[kFlags + 1] | kForceNoLinkInfo);
    ShellLinkFields fromList;
    if (!ReadShellLink(withoutInfo, &fromList) || fromList.target != fields.target) std::abort();
  }

  const std::string resolved = ResolveRelativePath("C:\\Links\\a.lnk", fields.relativePath);
  const bool absolute = !fields.relativePath.empty() &&
                        (fields.relativePath[0] == '\\' || fields.relativePath[0] == '/' ||
                         (fields.relativePath.size() >= 2 && fields.relativePath[1] == ':'));
  if (!fields.relativePath.empty() && !absolute && resolved.compare(0, 3, "C:\\") != 0) std::abort();
  return 0;
}
