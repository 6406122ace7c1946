#include "vermanager/package_messages.h"

#include <cstdio>

namespace package_messages {
namespace {

// At most this many refused items are named in one message.
constexpr size_t kRefusalsShown = 10;

std::string Format(const char* format, const char* a, const char* b, const char* c = "") {
  char text[1024];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

const char kVerifyCaption[] = "VestaWare Verify";
const char kUninstallCaption[] = "VestaWare UnInstall";
const char kCannotCaption[] = "Cannot UnInstall";
const char kWholeProductCaption[] = "UnInstall Whole Product";

const char kSelectToVerify[] = "Please Select a Package to Verify.";
const char kSelectToUninstall[] = "Please Select a Package to UnInstall.";
const char kAllPresent[] = "OK.  All package components are present.";
const char kViewerRunning[] = "Please shutdown VESTA. You cannot un-install\nthis package while VESTA is runing.";
const char kWholeProduct[] =
    "The entire product will be un-installed if you uninstall this package.\nDo you want to continue with "
    "un-install?";
const char kRestart[] =
    "Please reboot your computer to complete VESTA UnInstall.\nYou need to delete by hand any VESTA files "
    "which you created.\nThese are stored under the VESTA installation folder.";

std::string Missing(const std::string& value) {
  return Format("%s\n\ne.g.  <%s>\n\n%s", "NOT OK. Components are missing from this package.", value.c_str(),
                "You can download and re-install the package from the website.");
}

std::string ConfirmRemoval(const std::string& title) {
  return Format("%s %s %s", "You are about to remove:\n\"", title.c_str(), "\"\nAre you sure you want to continue?");
}

std::string Blocked(const std::string& owner) {
  return Format("%s       <%s>", "This package cannot be UnInstalled before:\n", owner.c_str());
}

std::string Refusals(const std::vector<RefusedPath>& refused) {
  if (refused.empty()) return std::string();
  std::string text = std::to_string(refused.size()) + (refused.size() == 1 ? " item was" : " items were") +
                     " left in place: the manifest names them outside the installation.\n";
  for (size_t i = 0; i < refused.size() && i < kRefusalsShown; ++i) {
    text += "\n<" + refused[i].path + ">: " + refused[i].reason;
  }
  if (refused.size() > kRefusalsShown) text += "\n... and " + std::to_string(refused.size() - kRefusalsShown) + " more";
  return text;
}

}  // namespace package_messages
