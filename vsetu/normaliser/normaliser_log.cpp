// The normaliser log ("Normaliz.txt" in the installation's temp folder),
// and the hand-over of the machine's folders to the path rewriting.
#include "vsetu/normaliser/normaliser_log.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/path_tokens.h"
#include "actions/shell_open.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "vesta/vsetu.h"
#include "vsetu/services/install_paths.h"
#include "vsetu/services/library_state.h"

namespace vesta::vsetu {
namespace {

// Fixes the log's path at the first call of the process.
const char* LogPath() {
  char* path = NormaliserLogPath();
  if (path[0] == '\0') {
    char temp[kVSBuffer];
    if (!VSGetTempDir(temp) || !ComposePath(path, temp, "\\Normaliz.txt")) {
      VUCopyN(path, "C:\\VESTNORM.LOG", kStateText);
    }
  }
  return path;
}

// Lines wait in memory up to this size, then go to the file together.
constexpr size_t kPendingLimit = 64 * 1024;

// Appends what waits to the log in one piece (platform/file_output.h): a
// run in another process writes its own pieces between, never into one.
bool WritePending() {
  std::string* pending = NormaliserLogPending();
  if (pending->empty()) return true;
  const bool written = platform::AppendToFile(LogPath(), *pending, platform::FileMode::kText,
                                              platform::LineStart::kAsItIs) == platform::AppendResult::kAppended;
  pending->clear();
  return written;
}

}  // namespace

void Log(const std::string& text) {
  std::string* pending = NormaliserLogPending();
  pending->append(text);
  // A lost line never stops a normalisation.
  if (*NormaliserLogSteps() == 0 || pending->size() >= kPendingLimit) WritePending();
}

LogStep::LogStep() { ++*NormaliserLogSteps(); }

LogStep::~LogStep() {
  if (--*NormaliserLogSteps() == 0) FlushNormaliserLog();
}

const char* NormaliserLogFile() { return LogPath(); }

void ForgetNormaliserLog() {
  NormaliserLogPending()->clear();
  NormaliserLogPath()[0] = '\0';
}

void FlushNormaliserLog() { WritePending(); }

}  // namespace vesta::vsetu

int VSAppendNormaliserLog(const char* text, int flag) {
  const char* path = vesta::vsetu::LogPath();
  if (flag == 0) {
    vesta::vsetu::FlushNormaliserLog();
    return VUShellOpen(nullptr, "open", path);
  }
  // What a caller appends is in the file when the call returns, after what
  // the normaliser's steps wrote before it.
  if (text != nullptr) vesta::vsetu::NormaliserLogPending()->append(text);
  const bool written = vesta::vsetu::WritePending();
  // The file is made even when there is nothing to add.
  if (written && (text == nullptr || *text == '\0') && !vesta::platform::FileExists(path)) {
    return vesta::platform::AppendToFile(path, "", vesta::platform::FileMode::kText) ==
                   vesta::platform::AppendResult::kAppended
               ? 1
               : 0;
  }
  return written ? 1 : 0;
}

int VSSetNormalisationVariables() {
  std::string windows = vesta::platform::WindowsFolder();
  if (windows.empty()) windows = "C:\\Windows";
  std::string system = vesta::platform::SystemFolder();
  if (system.empty()) system = "C:\\Windows\\System";
  char programs[kVSBuffer];
  if (!VSGetProgramFilesDir(programs)) VUCopyN(programs, "C:\\Program Files", kVSBuffer - 1);
  char home[kVSBuffer];
  if (!VSGetVESTAHome(home)) VUCopyN(home, "C:\\Program Files\\vesta3d\\vesta", kVSBuffer - 1);
  return VUSetNormalisationFolders(windows.c_str(), system.c_str(), programs, home);
}
