// A fresh installation, and the texts the machine services hand back.
#include <string>

#include "common/text.h"
#include "platform/system_info.h"
#include "vesta/vsetu.h"
#include "vsetu/machine/text_out.h"
#include "vsetu/services/library_state.h"

namespace vesta::vsetu {

int CopyOut(const std::string& text, char* out, int size) {
  if (out == nullptr || size <= 0) return 0;
  return VUCopyN(out, text.c_str(), size - 1);
}

}  // namespace vesta::vsetu

namespace {

constexpr char kDefaultHome[] = "C:\\VESTA\\";

// Makes folder when it is missing; counts it.
bool MakeCounted(const std::string& folder, VSInstallationReport* report) {
  if (VSFolderExists(folder.c_str())) return true;
  if (!VSMakeFolders(folder.c_str())) return false;
  ++report->foldersMade;
  return true;
}

}  // namespace

int VSInitialiseInstallation(const char* home, VSInstallationReport* report) {
  VSInstallationReport ignored;
  if (report == nullptr) report = &ignored;
  report->foldersMade = 0;
  report->homeWritten = 0;
  report->home[0] = '\0';

  char registered[kVSBuffer] = "";
  bool hasHome = VSGetVESTAHome(registered) == 1 && registered[0] != '\0';
  std::string folder = home != nullptr && home[0] != '\0' ? home : hasHome ? registered : kDefaultHome;
  if (folder.back() != '\\') folder += '\\';
  if (folder.size() > static_cast<size_t>(kVSBuffer - 20)) return 0;  // room for "worlds\VESTA.vft"
  VUCopyToField(report->home, folder.c_str());
  // A fresh machine (on Linux a root that is missing or empty) gets the
  // folders every Windows installation has first.
  if (!vesta::platform::PrepareMachine()) return 0;

  if (!MakeCounted(folder, report)) return 0;
  for (const char* below : {"bin", "media", "temp", "worlds"}) {
    if (!MakeCounted(folder + below, report)) return 0;
  }
  if (!hasHome) {
    if (!VSSetVESTAHome(folder.c_str())) return 0;
    // The folder read before (none) is forgotten, so that the new one is used.
    vesta::vsetu::HomeCache()[0] = '\0';
    report->homeWritten = 1;
  }
  return VSSetStockVGXEntries();
}
