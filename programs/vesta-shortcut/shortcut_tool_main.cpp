// vesta-shortcut: writes and reads shortcut files with this platform's link
// object, so that a shortcut made on one platform can be checked on the
// other.
//
//   vesta-shortcut write FILE TARGET DESCRIPTION ICON INDEX
//   vesta-shortcut read FILE
//
// read prints "target=", "description=", "icon=" and "index=" lines.
// Exits 0 on success, 1 when the file cannot be written or read, 2 on a
// wrong command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/file_error.h"
#include "platform/shell.h"
#include "platform/shell_link.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_shell.h"

namespace platform = vesta::platform;

namespace {

const char kUsage[] =
    "usage: vesta-shortcut write FILE TARGET DESCRIPTION ICON INDEX\n"
    "       vesta-shortcut read FILE\n"
    "Writes a shortcut (.LNK) with this platform's link object, or reads one and prints\n"
    "its target=, description=, icon= and index= lines.\n"
    "Exit status: 0 on success, 1 when the file cannot be written or read, 2 for a\n"
    "wrong command line.\n";

// The path and the reason of the last failure, or the path alone.
std::string Problem(const char* path) {
  std::string described = platform::DescribeLastFileError();
  return described.empty() ? std::string(path) : described;
}

int Write(const char* file, const char* target, const char* description, const char* icon, int index) {
  bool started = platform::StartCom() == platform::ComStart::kStarted;
  void* link = platform::CreateShellLink();
  void* persist = platform::ShellLinkFileInterface(link);
  bool ok = persist != nullptr && platform::ShellLinkSetPath(link, target) &&
            platform::ShellLinkSetDescription(link, description) &&
            platform::ShellLinkSetIconLocation(link, icon, index) && platform::ShellLinkSave(persist, file);
  platform::ReleaseShellLinkInterface(persist);
  platform::ReleaseShellLinkInterface(link);
  if (started) platform::StopCom();
  if (!ok) std::fprintf(stderr, "vesta-shortcut: cannot write %s\n", Problem(file).c_str());
  return ok ? 0 : 1;
}

int Read(const char* file) {
  CVShortcut shortcut;
  char target[kVSBuffer] = "";
  char description[kVSBuffer] = "";
  char icon[kVSBuffer] = "";
  char index[kVSBuffer] = "";
  if (!shortcut.SHInitialise() || !shortcut.SHResolve(nullptr, file, target, description, icon, index)) {
    std::fprintf(stderr, "vesta-shortcut: cannot read %s\n", Problem(file).c_str());
    return 1;
  }
  std::printf("target=%s\ndescription=%s\nicon=%s\nindex=%s\n", target, description, icon, index);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::strcmp(argv[1], "write") == 0) {
    return Write(argv[2], argv[3], argv[4], argv[5], std::atoi(argv[6]));
  }
  if (argc == 3 && std::strcmp(argv[1], "read") == 0) return Read(argv[2]);
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
