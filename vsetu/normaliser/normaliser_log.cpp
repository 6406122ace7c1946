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
#include "vsetu/normaliser/normaliser.h"

namespace vesta::vsetu {
namespace {

// Lines wait in memory up to this size, then go to the file together.
constexpr size_t kPendingLimit = 64 * 1024;

}  // namespace

const char* Normaliser::LogFile() {
  if (logPath_.empty()) {
    char temp[kVSBuffer];
    char path[kVSBuffer];
    logPath_ = VSGetTempDir(temp) && ComposePath(path, temp, "\\Normaliz.txt") ? path : "C:\\VESTNORM.LOG";
  }
  return logPath_.c_str();
}

// Appends what waits to the log in one piece (platform/file_output.h): a
// run in another process writes its own pieces between, never into one.
bool Normaliser::Flush() {
  if (pending_.empty()) return true;
  const bool written = platform::AppendToFile(LogFile(), pending_, platform::FileMode::kText,
                                              platform::LineStart::kAsItIs) == platform::AppendResult::kAppended;
  pending_.clear();
  return written;
}

void Normaliser::Log(std::string_view text) { Log({text}); }

void Normaliser::Log(std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) pending_.append(piece);
  // A lost line never stops a normalisation.
  if (steps_ == 0 || pending_.size() >= kPendingLimit) Flush();
}

bool Normaliser::AppendToLog(const char* text) {
  // What a caller appends is in the file when the call returns, after what
  // the normaliser's steps wrote before it.
  if (text != nullptr) pending_.append(text);
  if (!Flush()) return false;
  // The file is made even when there is nothing to add.
  const char* path = LogFile();
  if ((text == nullptr || *text == '\0') && !platform::FileExists(path)) {
    return platform::AppendToFile(path, "", platform::FileMode::kText) == platform::AppendResult::kAppended;
  }
  return true;
}

void Normaliser::EndStep() {
  if (--steps_ == 0) Flush();
}

void Normaliser::ForgetLog() {
  pending_.clear();
  logPath_.clear();
}

void Log(std::string_view text) { Normaliser::Process().Log(text); }

void Log(std::initializer_list<std::string_view> pieces) { Normaliser::Process().Log(pieces); }

LogStep::LogStep() : LogStep(Normaliser::Process()) {}

LogStep::LogStep(Normaliser& normaliser) : normaliser_(normaliser) { normaliser_.BeginStep(); }

LogStep::~LogStep() { normaliser_.EndStep(); }

const char* NormaliserLogFile() { return Normaliser::Process().LogFile(); }

void ForgetNormaliserLog() { Normaliser::Process().ForgetLog(); }

void FlushNormaliserLog() { Normaliser::Process().Flush(); }

}  // namespace vesta::vsetu

int VSAppendNormaliserLog(const char* text, int flag) {
  vesta::vsetu::Normaliser& normaliser = vesta::vsetu::Normaliser::Process();
  if (flag == 0) {
    normaliser.Flush();
    return VUShellOpen(nullptr, "open", normaliser.LogFile());
  }
  return normaliser.AppendToLog(text) ? 1 : 0;
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
