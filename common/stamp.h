// Texts made of the date, the time and the process.
#ifndef VESTA_COMMON_STAMP_H
#define VESTA_COMMON_STAMP_H

// Longest stamp, without the terminator.
constexpr int kVUStampText = 40;

// A text fit for a file name that no other call a second apart, and no
// other process, gives: "20261208-143005-4711" (date, time, process).
// out holds kVUStampText + 1 bytes. Returns 1.
int VUMakeNameStamp(char* out);

// The date and time as people read them, "2026-12-08 14:30:05", into out
// (kVUStampText + 1 bytes). Returns 1.
int VUGetStampText(char* out);

#endif
