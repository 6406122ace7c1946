#include "vermanager/ver_manager_app.h"

#include "common/text.h"
#include "platform/file_error.h"
#include "vermanager/command_line.h"
#include "vermanager/ver_manager_dlg.h"

bool CVerManagerApp::AsksForHelp(const std::string& commandLine) {
  // The program's path may hold blanks: the words come after its name.
  size_t pos = commandLine.find_first_of(" \t", commandLine[0] == '"' ? commandLine.find('"', 1) : 0);
  while (pos != std::string::npos) {
    size_t begin = commandLine.find_first_not_of(" \t", pos);
    if (begin == std::string::npos) break;
    pos = commandLine.find_first_of(" \t", begin);
    std::string word = commandLine.substr(begin, pos == std::string::npos ? std::string::npos : pos - begin);
    if (word == "--help" || word == "-h" || word == "/?") return true;
  }
  return false;
}

int CVerManagerApp::Run(const std::string& commandLine, DialogRunner runDialog, std::string* problem) {
  manifestPath_[0] = '\0';
  std::string ignored;
  std::string& why = problem != nullptr ? *problem : ignored;
  why.clear();
  // Start-up works on the first 520 characters of the command line.
  char copy[521];
  VUCopyN(copy, commandLine.c_str(), 520);
  if (AsksForHelp(commandLine) || !ParseOptionValue(manifestPath_, copy, 'f', sizeof manifestPath_ - 1)) return 2;
  CVerManagerDlg dialog(manifestPath_);
  int code = 0;
  if (dialog.OpenManifest(manifestPath_)) {
    runDialog(&dialog);
  } else {
    why = vesta::platform::DescribeLastFileError();
    if (why.empty()) why = std::string(manifestPath_) + ": cannot be read";
    code = 1;
  }
  dialog.CloseManifest();
  return code;
}
