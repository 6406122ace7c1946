// Writing files so that a write that fails, or a process killed while it
// writes, never leaves a file torn.
//
// Two ways to change a file, one for each kind of file the system keeps:
//
// - A file that is rewritten whole (a registry hive, the catalogue, the
//   manifest, WININIT.INI, side files, a shortcut) is written to a
//   temporary file beside it ("~vt<process>-<n>.tmp"), flushed, synced to
//   the disk, and renamed over it; then its folder is synced. A reader sees
//   the old file or the new one, never a mix. A temporary that a killed
//   process left behind is removed the first time another process replaces
//   a file in that folder.
// - A file that only grows (a world file, the gather list, a log) gets each
//   record in one piece, or not at all: a failed append is cut back to the
//   old length. An append that finds the file not ending with a line feed
//   (a record cut short by a crash) starts with one, so that the new record
//   begins on a line of its own.
//
// Paths are those of file_system.h; on POSIX a Windows path must lead into
// VESTA_ROOT (links followed) or the change is refused. Every failure
// leaves its reason in LastFileError (file_error.h). All output goes through
// WriteToStream, FlushStream and CloseStream, which tests can make fail
// (fault_points.h).
#ifndef VESTA_PLATFORM_FILE_OUTPUT_H
#define VESTA_PLATFORM_FILE_OUTPUT_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vesta::platform {

// Checked output to a stream. False when not every byte was taken; the
// reason is kept in LastFileError (without a path).
bool WriteToStream(FILE* stream, const void* data, size_t size);
bool WriteToStream(FILE* stream, std::string_view text);
bool FlushStream(FILE* stream);
// Closes the stream; false when what was written did not all reach the
// file. The stream is gone either way.
bool CloseStream(FILE* stream);

namespace backend {
struct Temporary;
struct KeptFile;
}

// A new version of one file, written beside it and put in its place whole.
class Replacement {
 public:
  Replacement() = default;
  ~Replacement();  // discards what was not committed
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // Creates the temporary file beside path. False when it cannot be made
  // (the folder is missing, or outside VESTA_ROOT).
  bool Begin(const char* path, FileMode mode);

  // The stream that takes the new contents, through WriteToStream; null
  // before Begin.
  FILE* Stream() const;
  // Writes to the stream; a failure is kept and makes Commit fail.
  bool Write(std::string_view text);

  // Puts the new file in place: flushed, synced, closed, renamed over the
  // path, the folder synced. With keepExisting a file that is at the path
  // already stays and the commit fails. Without sync, nothing waits for
  // the disk: for a new file that SyncNewFiles is to take with its batch.
  // False when any step failed: the file at the path is as it was and the
  // temporary is gone.
  bool Commit(bool keepExisting = false, bool sync = true);

  // Discards the temporary; the file at the path is as it was.
  void Abandon();

 private:
  backend::Temporary* temporary_ = nullptr;
  bool failed_ = false;  // a write failed
  std::string path_;
};

// Replaces the file at path with contents, as Replacement does (without
// sync, as a Commit without it). False, the old file untouched, on failure.
bool ReplaceWholeFile(const char* path, std::string_view contents, FileMode mode, bool sync = true);

// Gathers in memory what a writer that flushes after every piece (a record
// at a time) puts into a stream, for a file that is written whole once it
// is all there (through a Replacement): one write instead of one for each
// piece. Stream() is null where the platform has no such stream; the
// writer then writes to the file's own stream.
class MemoryStream {
 public:
  MemoryStream();
  ~MemoryStream();
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  FILE* Stream() const { return stream_; }
  // What was written so far, into *text (valid until the next write); false,
  // with the file error set, when it could not all be kept.
  bool Text(std::string_view* text);
  // How much is kept: what was written and flushed since the last Clear.
  size_t Held() const { return text_.size(); }
  // Forgets what is kept, once it has been passed on.
  void Clear() { text_.clear(); }

 private:
  std::string text_;
  FILE* stream_ = nullptr;
};

// Files made where nothing was (the copies of a pack) are written without
// a sync each: SyncNewFiles makes a whole batch of them durable at once,
// before the file that names them is put in place (a world file, through
// Replacement), so that a crash never leaves a file naming copies that are
// not on the disk. Each is written as a temporary and given its name when
// whole, so that a process killed while it writes never leaves a file cut
// short under the name: on Linux a file without a name, which dies with
// the process; elsewhere a named temporary beside it, swept as a
// replacement's is.
//
// Copies from into a new file at to. False when anything is at to already
// (the reason EEXIST), or when the copy fails; a copy that fails leaves
// nothing.
bool CopyToNewFile(const char* from, const char* to);
// The same from a file open to read, from where it stands; in stays open.
// from names it in the errors.
bool CopyToNewFile(FILE* in, const char* from, const char* to);
// Makes the files at paths durable: one syncfs of each file system they lie
// on (Linux), or each file flushed to the disk after all were written
// (Windows). A path that is gone is passed over. False, with the reason,
// when the system reports that something did not reach the disk.
bool SyncNewFiles(const std::vector<std::string>& paths);
// Ends a batch of new files: removes the old versions that rewrites of
// them without a sync set aside (on POSIX, where each is written over by
// the folder's next rewrite, so that the batch frees no inode while it
// makes files). SyncNewFiles ends its batch itself; a batch given up calls
// this.
void EndNewFiles();

enum class AppendResult {
  kAppended,
  kNotOpened,   // the file could not be opened or created
  kNotWritten,  // writing failed; the file is back at its old length
};

// How an append begins when the file does not end with a line feed.
enum class LineStart {
  kOwnLine,   // a record: after a line feed, so that it begins a line of its own
  kAsItIs,    // text that may go on a line begun before (a log)
};

// Appends data to the file at path, creating it when absent: whole or not
// at all, after a line feed when the file ends with a line cut short
// (unless the text is to be taken as it is). Appends of other processes
// wait for it: the file is locked while it is written.
AppendResult AppendToFile(const char* path, std::string_view data, FileMode mode,
                          LineStart start = LineStart::kOwnLine);

// Appends as AppendToFile does, but keeps the file of the last append open,
// so that a run of records appended to one file costs a write each rather
// than an open, a write and a close. Each append is still whole or cut back,
// and in the file (handed to the system) before Append returns. The kept
// file is used again only while it is still the file at the path with the
// length this appender left it at; otherwise, or for another path, it is
// closed and the path opened afresh. Where a file held open would stand in
// the way of other programs (Windows), nothing is kept.
class KeptAppend {
 public:
  KeptAppend() = default;
  ~KeptAppend();
  KeptAppend(const KeptAppend&) = delete;
  KeptAppend& operator=(const KeptAppend&) = delete;

  AppendResult Append(const char* path, std::string_view data, FileMode mode);
  // Closes the kept file, if any.
  void Release();

 private:
  FILE* stream_ = nullptr;
  std::string path_;
  FileMode mode_ = FileMode::kText;
  long long length_ = 0;  // the file's length after the last append
  bool endsLine_ = true;  // its last byte is a line feed (or it is empty)
  backend::KeptFile* kept_ = nullptr;  // the backend's note of which file it is
};

}  // namespace vesta::platform

#endif
