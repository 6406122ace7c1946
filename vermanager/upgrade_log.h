// The upgrade log: "temp\VestaUpg.txt" below the installation folder, which
// gains one stamped entry per uninstall.
#ifndef VESTA_VERMANAGER_UPGRADE_LOG_H
#define VESTA_VERMANAGER_UPGRADE_LOG_H

#include <cstdint>

// The local date and time as the log stamps it.
struct LocalTimeRecord {
  int32_t year;     // full year
  int32_t month;    // 0 to 11
  int32_t unused;   // left as it was
  int32_t day;      // of the month
  int32_t weekday;  // 0 is Sunday
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t last;  // always -1
};

// Fills the record with the local time now. 0 when the time cannot be had.
int GetLocalTimeRecord(LocalTimeRecord* out);

// Buffer that holds any stamp.
constexpr int kLogStampBuffer = 160;

// The stamp that opens an entry, into out (size bytes):
//   "DATE:    2024/03/07\nTIME:    09:05:00\nBuild:   1,0,4,401\n"
// 0 when the time cannot be had or the stamp does not fit.
int FormatLogStamp(char* out, int size = kLogStampBuffer);

// Appends an entry (the stamp, or "<Unable to get time> : " when there is
// none; "COMMENT: " + comment; an empty line) to folder + "\temp\VestaUpg.txt".
// The folder ends with a back-slash, so the path holds two before "temp".
// 0, nothing written, when the folder is empty or the file cannot be opened
// (the temp folder is missing).
int AppendUpgradeLog(const char* folder, const char* comment);

#endif
