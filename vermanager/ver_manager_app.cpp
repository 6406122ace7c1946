#include "vermanager/ver_manager_app.h"

#include "common/text.h"
#include "vermanager/command_line.h"
#include "vermanager/ver_manager_dlg.h"

int CVerManagerApp::Run(const std::string& commandLine, DialogRunner runDialog) {
  manifestPath_[0] = '\0';
  // Start-up works on the first 520 characters of the command line.
  char copy[521];
  VUCopyN(copy, commandLine.c_str(), 520);
  if (!ParseOptionValue(manifestPath_, copy, 'f', sizeof manifestPath_ - 1)) return 0;
  CVerManagerDlg dialog(manifestPath_);
  if (dialog.OpenManifest(manifestPath_)) runDialog(&dialog);
  dialog.CloseManifest();
  return 0;
}
