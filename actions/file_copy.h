// Copying media files into a folder without ever overwriting a different
// file, and remembering where each copy came from.
#ifndef VESTA_ACTIONS_FILE_COPY_H
#define VESTA_ACTIONS_FILE_COPY_H

#include <string>

#include "common/paths.h"

// Copies file into folder and gives the copy's path in out (size bytes;
// out may be file itself). A copy of the same source made before, a file
// of identical content under that name, or the file itself when it lies in
// the folder already, is used as it is; otherwise a name that is free is
// taken, numbered when the plain one is held by a different file
// ("wall_2.bmp"). 0 (out untouched) when the file does not exist, lies
// outside the installation (a host path, a link out of VESTA_ROOT), cannot
// be copied, or the path would not fit. A new copy is written in place
// without a sync of its own: VUSyncCopies makes the copies durable together.
int VUCopyFileToFolder(const char* file, const char* folder, char* out, int size = kVUPathBuffer);

// Makes every copy that VUCopyFileToFolder made since the last call durable,
// at once: called before a file that names them is put in place. 0, with
// the reason kept as the seam's last file error, when they may not all have
// reached the disk (they are still to be synced then).
int VUSyncCopies();

// The names a copy of a file may take, tried in turn: number 1 is the
// file's own name, 2 up to kVUMostCopyNames its stem numbered before its
// ending ("wall_2.bmp"). "" for a number out of that range or a path without
// a name.
constexpr int kVUMostCopyNames = 9999;
std::string VUCopyName(const char* file, int number);

// Forgets the copies made so far: a new normalisation starts afresh, since
// a folder packed before may have been emptied or refilled since.
void VUForgetCopies();

// True when copy was made (or found, of the same bytes) by
// VUCopyFileToFolder since the last VUSyncCopies or VUBeginCopies: this
// process's own new file, which needs no look at the disk to be used again.
bool VUIsFreshCopy(const char* copy);

// Begins a copy step: what was made before is looked for again before it
// is used (a step that failed may have had its copies taken back).
void VUBeginCopies();

// The file that copy was made from by VUCopyFileToFolder in this process,
// or "" when it is not such a copy.
std::string VUCopyOrigin(const char* copy);

// Where a file came from: its origin when this process copied it, else
// the file itself. A world or catalogue copied before it is normalised (a
// nested world) has its side files, and what its travelling form names,
// beside the original.
std::string VUOriginOf(const char* path);

// Expands the world-folder token in path (kVUPathBuffer bytes) against the
// folder of holder's origin: the file that holds path names it from where
// it was written. A path without the token is left as it is.
void VUExpandFromOrigin(char* path, const char* holder);

// True when the two files hold the same bytes.
bool VUSameContent(const char* a, const char* b);

#endif
