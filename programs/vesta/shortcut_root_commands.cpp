// vesta shortcut create | show, and vesta root.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ostream>

#include "programs/vesta/commands.h"
#include "vesta/vsetu.h"

namespace vesta::tool {

int ShortcutCreate(Console& console, const std::string& link, const std::string& target,
                   const std::string& description, const std::string& icon) {
  std::string iconFile;
  long long index = 0;
  if (!icon.empty()) {
    // The index is the link's 32-bit signed field.
    size_t comma = icon.find_last_of(',');
    char* end = nullptr;
    errno = 0;
    if (comma != std::string::npos) index = std::strtoll(icon.c_str() + comma + 1, &end, 10);
    if (comma == std::string::npos || comma == 0 || end == icon.c_str() + comma + 1 || *end != '\0' ||
        errno != 0 || index < INT32_MIN || index > INT32_MAX) {
      console.err << "vesta: shortcut create: --icon " << icon
                  << ": not FILE,INDEX (an index from -2147483648 to 2147483647)\n";
      return kExitUsage;
    }
    iconFile = icon.substr(0, comma);
  }
  for (const std::string* text : {&link, &target, &description, static_cast<const std::string*>(&iconFile)}) {
    if (text->size() > 260) return Fail(console, "shortcut create: " + *text + ": longer than 260 characters");
  }
  Attempt();
  if (!VSWriteShortcut(link.c_str(), target.c_str(), description.c_str(), iconFile.c_str(), static_cast<int>(index))) {
    return Fail(console, "shortcut create: cannot write " + FileProblem(link));
  }
  console.out << "wrote " << link << " -> " << target << "\n";
  return Finish(console, kExitOk);
}

int ShortcutShow(Console& console, const std::string& link) {
  CVShortcut shortcut;
  char target[kVSBuffer] = "";
  char description[kVSBuffer] = "";
  char icon[kVSBuffer] = "";
  char index[kVSBuffer] = "";
  if (!VSFileExists(link.c_str())) return Fail(console, "shortcut show: " + link + ": no such file");
  Attempt();
  if (!shortcut.SHInitialise() || !shortcut.SHResolve(nullptr, link.c_str(), target, description, icon, index)) {
    return Fail(console, "shortcut show: cannot read " + FileProblem(link + ": not a shortcut"));
  }
  console.out << "target=" << target << "\ndescription=" << description << "\nicon=" << icon << "\nindex=" << index
              << "\n";
  return Finish(console, kExitOk);
}

int RootShow(Console& console, bool init, const std::string& home) {
  char root[1024];
  if (!VSGetMachineRoot(root, sizeof root)) return Fail(console, "root: the Windows side of the machine cannot be found");
  std::ostream& out = console.out;
  if (VSCanSetMachineRoot()) {
    out << "root: " << root << (std::getenv("VESTA_ROOT") != nullptr ? " (VESTA_ROOT)" : " (the default; VESTA_ROOT is not set)")
        << "\n";
  } else {
    out << "root: " << root << " (this machine)\n";
  }
  if (init) {
    VSInstallationReport report;
    if (!VSInitialiseInstallation(home.empty() ? nullptr : home.c_str(), &report)) {
      char problem[1024];
      std::string why = VSRegGetLastProblem(problem, sizeof problem) ? problem : FileProblem("refused");
      return Fail(console, "root --init: the installation " + std::string(report.home) + " cannot be made: " + why);
    }
    out << "initialised " << report.home << ": " << report.foldersMade
        << (report.foldersMade == 1 ? " folder made" : " folders made")
        << (report.homeWritten ? ", \"Home\" registered" : ", \"Home\" was registered already") << "\n";
  }
  char installation[kVSBuffer];
  if (!VSGetVESTAHome(installation)) {
    out << "installation: none (no \"Home\" under HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion; "
           "make one with: vesta root --init)\n";
    return Finish(console, kExitOk);
  }
  char host[1024] = "";
  VSGetHostPath(installation, host, sizeof host);
  out << "installation: " << installation << (VSFolderExists(installation) ? "" : " (missing)");
  if (std::string(host) != installation) out << "  (" << host << ")";
  out << "\n";
  return Finish(console, kExitOk);
}

}  // namespace vesta::tool
