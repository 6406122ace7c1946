// The normaliser log ("Normaliz.txt" in the installation's temp folder),
// and the hand-over of the machine's folders to the path rewriting.
#include "vsetu/normaliser/normaliser_log.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/path_tokens.h"
#include "common/shell_open.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "vesta/vsetu.h"
#include "vsetu/services/install_paths.h"
#include "vsetu/services/library_state.h"

namespace vesta::vsetu {
namespace {

void CloseLog() {
  FILE** stream = NormaliserLogStream();
  if (*stream != nullptr) std::fclose(*stream);
  *stream = nullptr;
}

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

// The log stays open while the process writes to it, so that a world of
// many thousand records does not open the file once per line.
FILE* OpenLog() {
  FILE** stream = NormaliserLogStream();
  if (*stream == nullptr) {
    *stream = platform::OpenStream(LogPath(), "a+");
    static bool closesAtExit = false;
    if (*stream != nullptr && !closesAtExit) {
      std::atexit(CloseLog);
      closesAtExit = true;
    }
  }
  return *stream;
}

}  // namespace

void Log(const std::string& text) {
  FILE* stream = OpenLog();
  // A lost line never stops a normalisation.
  if (stream != nullptr) platform::WriteToStream(stream, text);
}

LogStep::LogStep() { ++*NormaliserLogSteps(); }

LogStep::~LogStep() {
  if (--*NormaliserLogSteps() == 0) FlushNormaliserLog();
}

void ForgetNormaliserLog() {
  CloseLog();
  NormaliserLogPath()[0] = '\0';
}

void FlushNormaliserLog() {
  FILE* stream = *NormaliserLogStream();
  if (stream != nullptr) platform::FlushStream(stream);
}

}  // namespace vesta::vsetu

int VSAppendNormaliserLog(const char* text, int flag) {
  const char* path = vesta::vsetu::LogPath();
  if (flag == 0) {
    vesta::vsetu::FlushNormaliserLog();
    return VUShellOpen(nullptr, "open", path);
  }
  FILE* stream = vesta::vsetu::OpenLog();
  if (stream == nullptr) return 0;
  // What a caller appends is in the file when the call returns.
  bool written = text == nullptr || vesta::platform::WriteToStream(stream, std::string_view(text));
  return vesta::platform::FlushStream(stream) && written ? 1 : 0;
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
