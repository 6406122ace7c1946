#include "vermanager/upgrade_log.h"

#include <cstdio>
#include <string>

#include "platform/file_output.h"
#include "platform/system_info.h"

namespace {

// The build the log names.
constexpr int kBuild[] = {1, 0, 4, 401};

}  // namespace

int GetLocalTimeRecord(LocalTimeRecord* out) {
  if (out == nullptr) return 0;
  vesta::platform::LocalTime now = vesta::platform::Now();
  // Now() cannot fail, but a date it could not convert shows in its fields.
  if (now.month < 1 || now.month > 12 || now.day < 1 || now.day > 31) return 0;
  out->year = now.year;
  out->month = now.month - 1;
  out->day = now.day;
  out->weekday = now.weekday;
  out->hour = now.hour;
  out->minute = now.minute;
  out->second = now.second;
  out->last = -1;
  return 1;
}

int FormatLogStamp(char* out, int size) {
  if (out == nullptr || size <= 0) return 0;
  LocalTimeRecord time;
  if (!GetLocalTimeRecord(&time)) return 0;
  int length = std::snprintf(out, static_cast<size_t>(size),
                             "DATE:    %d/%02d/%02d\nTIME:    %02d:%02d:%02d\nBuild:   %d,%d,%d,%d\n",
                             time.year, time.month + 1, time.day, time.hour, time.minute, time.second,
                             kBuild[0], kBuild[1], kBuild[2], kBuild[3]);
  return length >= 0 && length < size ? 1 : 0;
}

int AppendUpgradeLog(const char* folder, const char* comment) {
  if (folder == nullptr || *folder == '\0') return 0;
  std::string path = std::string(folder) + "\\" + "temp" + "\\VestaUpg.txt";
  char stamp[kLogStampBuffer];
  std::string entry = FormatLogStamp(stamp) ? stamp : "<Unable to get time> : ";
  entry += "COMMENT: ";
  entry += comment != nullptr ? comment : "";
  entry += "\n\n";
  // One entry in one piece: a log cut short by a crash keeps its other
  // entries whole.
  return vesta::platform::AppendToFile(path.c_str(), entry, vesta::platform::FileMode::kText) ==
                 vesta::platform::AppendResult::kAppended
             ? 1
             : 0;
}
