#include "common/stamp.h"

#include <cstdio>

#include "platform/system_info.h"

int VUMakeNameStamp(char* out) {
  if (out == nullptr) return 0;
  vesta::platform::LocalTime now = vesta::platform::Now();
  std::snprintf(out, kVUStampText + 1, "%04d%02d%02d-%02d%02d%02d-%d", now.year, now.month, now.day,
                now.hour, now.minute, now.second, vesta::platform::ProcessId());
  return 1;
}

int VUGetStampText(char* out) {
  if (out == nullptr) return 0;
  vesta::platform::LocalTime now = vesta::platform::Now();
  std::snprintf(out, kVUStampText + 1, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return 1;
}
