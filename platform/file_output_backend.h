// What each backend provides under file_output.h: the platform's own way
// to make a temporary file beside another, rename it over that one
// durably, sync a stream, and open a file for appending with a way back.
// Used only by platform/file_output.cpp.
#ifndef VESTA_PLATFORM_FILE_OUTPUT_BACKEND_H
#define VESTA_PLATFORM_FILE_OUTPUT_BACKEND_H

#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_output.h"

namespace vesta::platform::backend {

// Creates the temporary file temporaryName in the folder of path (with
// followLinks the folder of the file a link at path leads to), open for
// writing in mode. Null, with the file error set, on failure; with
// mustBeNew also when anything is at path already (EEXIST). With mustBeNew
// the temporary may be a file without a name (where the system has them),
// which leaves nothing behind when the process dies; the temporary's name
// is then unused.
Temporary* CreateTemporary(const char* path, const std::string& temporaryName, FileMode mode,
                           bool followLinks = true, bool mustBeNew = false);
FILE* TemporaryStream(Temporary* temporary);
// Pushes what the stream's file holds to the disk.
bool SyncStream(FILE* stream);
// Closes the temporary's stream; true when everything reached the file.
bool CloseTemporaryStream(Temporary* temporary);
// Renames the closed temporary over its path (with keepExisting only where
// nothing is there yet), then, when durable, makes the rename durable.
// Without durable the file is one of a batch synced later (SyncFiles), and
// the replace may leave its writing out to the system's own time, and the
// old version set aside: a later temporary in the folder may be written
// over it, and RemoveSetAside removes what is left when the batch ends.
// False, with the file error set, when it was not renamed.
bool MoveTemporaryOver(Temporary* temporary, bool keepExisting, bool durable = true);
// Closes (if open) and deletes the temporary file, and frees it; also
// frees one that was renamed.
void DiscardTemporary(Temporary* temporary);

// Copies the rest of in to the end of out within the system, the bytes
// never passing through this process: 1 when all of it went; 0 when the
// system offers no such copy between these files and nothing was copied
// (the caller copies through its own buffer); -1, errno set, on failure.
int CopyInSystem(FILE* in, FILE* out);

// Removes the old versions set aside by MoveTemporaryOver.
void RemoveSetAside();

// A stream that appends what it is given to *text at each flush (text
// outlives it); null where the platform has none.
FILE* OpenMemoryStream(std::string* text);

// Pushes what the files at paths hold, and their names, to the disk; a path
// that is gone is passed over. False, with the file error set, on failure.
bool SyncFiles(const std::vector<std::string>& paths);

struct AppendTarget {
  FILE* stream = nullptr;  // unbuffered, positioned at the end
  long long length = 0;    // the file's length before the append
  bool endsLine = true;    // empty, or its last byte is a line feed
  bool created = false;    // there was no file before
};

// Opens path for appending, creating it when absent, and locks it against
// other appenders. False, with the file error set, on failure.
bool OpenForAppend(const char* path, FileMode mode, AppendTarget* target);
// The lock of an append stream: held from OpenForAppend until the stream
// is closed or UnlockAppend; LockAppend takes it again for a stream kept
// open.
bool LockAppend(FILE* stream);
void UnlockAppend(FILE* stream);
// Cuts the stream's file back to length.
bool CutBack(FILE* stream, long long length);
// Removes the file that an append created and could not fill, once its
// stream is closed.
void RemoveCreated(const char* path);

// What a kept append stream needs to tell later that its path still leads
// to it.
struct KeptFile;
// Notes which file the append stream is. Null where the platform does not
// keep append streams open: the caller closes it.
KeptFile* KeepAppendTarget(FILE* stream);
// True when stream is still the file at the path that KeepAppendTarget
// noted, a regular file of length bytes, under the same VESTA_ROOT.
bool StillAppendTarget(const KeptFile* kept, FILE* stream, long long length);
void ForgetAppendTarget(KeptFile* kept);

}  // namespace vesta::platform::backend

#endif
