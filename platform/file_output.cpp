// The writing rules of file_output.h, the same on every platform, over the
// backend's temporary files and appends.
#include "platform/file_output.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/fault_points.h"
#include "platform/file_error.h"
#include "platform/file_output_backend.h"
#include "platform/file_system.h"
#include "platform/process_state.h"
#include "platform/system_info.h"
#include "platform/windows_names.h"

namespace vesta::platform {
namespace {

constexpr char kTemporaryPrefix[] = "~vt";
constexpr char kTemporarySuffix[] = ".tmp";

bool Failed(int error) {
  SetFileError("", std::strerror(error != 0 ? error : EIO));
  return false;
}

// Puts path on a failure that was recorded without one.
void NameFailure(const std::string& path) {
  if (LastFileError().path.empty()) SetFileError(path.c_str(), LastFileError().reason);
}

std::string TemporaryName() {
  const unsigned made = ++state::Replacing().temporariesNamed;
  return kTemporaryPrefix + std::to_string(ProcessId()) + "-" + std::to_string(made) + kTemporarySuffix;
}

// The process that made the temporary file name, or 0 when name is not one.
int TemporaryOwner(const std::string& name) {
  const size_t prefix = sizeof kTemporaryPrefix - 1;
  const size_t suffix = sizeof kTemporarySuffix - 1;
  if (name.size() <= prefix + suffix || name.compare(0, prefix, kTemporaryPrefix) != 0 ||
      name.compare(name.size() - suffix, suffix, kTemporarySuffix) != 0) {
    return 0;
  }
  const std::string middle = name.substr(prefix, name.size() - prefix - suffix);
  const size_t dash = middle.find('-');
  if (dash == 0 || dash == std::string::npos || dash > 9 || dash + 1 == middle.size() ||
      middle.find_first_not_of("0123456789-") != std::string::npos || middle.find('-', dash + 1) != std::string::npos) {
    return 0;
  }
  return std::stoi(middle.substr(0, dash));
}

// The folder part of path with its separator, "" when it has none.
std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos && path.size() >= 2 && path[1] == ':') cut = 1;
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Removes the temporaries that processes no longer running left in the
// folder of path: once per folder and process, so that a folder of many
// files is not listed again at each replacement.
void SweepOnce(const std::string& path) {
  state::Replacements& replacing = state::Replacing();
  const std::string folder = FolderOf(path);
  {
    std::lock_guard<std::mutex> lock(replacing.mutex);
    // By the folder's name as written, folded: no look at the disk for each
    // copy; another spelling of the same folder only sweeps it again.
    if (!replacing.sweptFolders.insert(FoldPath(folder.empty() ? "." : folder)).second) return;
  }
  const std::string pattern = folder + kTemporaryPrefix + "*" + kTemporarySuffix;
  for (const std::string& file : FindFiles(pattern.c_str())) {
    int owner = TemporaryOwner(file.substr(folder.size()));
    if (owner > 0 && owner != ProcessId() && !ProcessIsRunning(owner)) RemoveFile(file.c_str());
  }
}

}  // namespace

bool WriteToStream(FILE* stream, const void* data, size_t size) {
  if (stream == nullptr) return Failed(EBADF);
  if (size == 0) return true;
  if (FaultHere(FaultPoint::kWrite)) {
    // As a full disk does: part of it goes out.
    std::fwrite(data, 1, size / 2, stream);
    return Failed(ENOSPC);
  }
  errno = 0;
  return std::fwrite(data, 1, size, stream) == size || Failed(errno);
}

bool WriteToStream(FILE* stream, std::string_view text) { return WriteToStream(stream, text.data(), text.size()); }

bool FlushStream(FILE* stream) {
  if (stream == nullptr) return Failed(EBADF);
  if (FaultHere(FaultPoint::kFlush)) return Failed(ENOSPC);
  errno = 0;
  return std::fflush(stream) == 0 || Failed(errno);
}

bool CloseStream(FILE* stream) {
  if (stream == nullptr) return Failed(EBADF);
  if (FaultHere(FaultPoint::kClose)) {
    std::fclose(stream);
    return Failed(EIO);
  }
  errno = 0;
  return std::fclose(stream) == 0 || Failed(errno);
}

Replacement::~Replacement() { Abandon(); }

bool Replacement::Begin(const char* path, FileMode mode) {
  Abandon();
  failed_ = false;
  path_ = path != nullptr ? path : "";
  if (path_.empty()) {
    SetFileError(path, std::strerror(ENOENT));
    return false;
  }
  SweepOnce(path_);
  temporary_ = backend::CreateTemporary(path, TemporaryName(), mode);
  return temporary_ != nullptr;
}

FILE* Replacement::Stream() const { return temporary_ != nullptr ? backend::TemporaryStream(temporary_) : nullptr; }

bool Replacement::Write(std::string_view text) {
  if (temporary_ == nullptr || failed_) return false;
  failed_ = !WriteToStream(Stream(), text);
  return !failed_;
}

namespace {

// The end of every temporary: closed, and (when all went well so far)
// renamed to path; a failure named for path; the temporary gone. True when
// the file is in place.
bool PutInPlace(backend::Temporary* temporary, const std::string& path, bool ok, bool keepExisting, bool sync) {
  bool closed = !FaultHere(FaultPoint::kClose) || Failed(EIO);
  closed = backend::CloseTemporaryStream(temporary) && closed;
  ok = ok && closed;
  if (ok && FaultHere(FaultPoint::kRename)) ok = Failed(EIO);
  ok = ok && backend::MoveTemporaryOver(temporary, keepExisting, sync);
  if (!ok) NameFailure(path);
  backend::DiscardTemporary(temporary);
  return ok;
}

}  // namespace

bool Replacement::Commit(bool keepExisting, bool sync) {
  if (temporary_ == nullptr) return false;
  FILE* stream = Stream();
  bool ok = !failed_ && FlushStream(stream);
  if (ok && sync && FaultHere(FaultPoint::kSync)) ok = Failed(EIO);
  ok = ok && (!sync || backend::SyncStream(stream));
  backend::Temporary* temporary = temporary_;
  temporary_ = nullptr;
  return PutInPlace(temporary, path_, ok, keepExisting, sync);
}

void Replacement::Abandon() {
  if (temporary_ == nullptr) return;
  NameFailure(path_);
  backend::DiscardTemporary(temporary_);
  temporary_ = nullptr;
}

bool ReplaceWholeFile(const char* path, std::string_view contents, FileMode mode, bool sync) {
  Replacement replacement;
  return replacement.Begin(path, mode) && replacement.Write(contents) && replacement.Commit(false, sync);
}

MemoryStream::MemoryStream() : stream_(backend::OpenMemoryStream(&text_)) {}

MemoryStream::~MemoryStream() {
  if (stream_ != nullptr) std::fclose(stream_);
}

bool MemoryStream::Text(std::string_view* text) {
  if (stream_ == nullptr) return false;
  if (std::ferror(stream_)) return Failed(ENOMEM);
  if (!FlushStream(stream_)) return false;
  *text = text_;
  return true;
}

bool CopyToNewFile(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) {
    SetFileError(from, std::strerror(ENOENT));
    return false;
  }
  FILE* in = OpenStream(from, "rb");
  if (in == nullptr) return false;
  const bool copied = CopyToNewFile(in, from, to);
  std::fclose(in);
  return copied;
}

bool CopyToNewFile(FILE* in, const char* from, const char* to) {
  if (in == nullptr || to == nullptr) {
    SetFileError(from, std::strerror(ENOENT));
    return false;
  }
  SweepOnce(to);
  // A name that is held is refused before anything is written; one taken
  // while the copy is written is refused by the rename.
  backend::Temporary* temporary = backend::CreateTemporary(to, TemporaryName(), FileMode::kBinary, false, true);
  if (temporary == nullptr) return false;
  FILE* out = backend::TemporaryStream(temporary);
  // Within the system where it can; else through a buffer here.
  bool ok = !FaultHere(FaultPoint::kWrite) || Failed(ENOSPC);
  const int inSystem = ok ? backend::CopyInSystem(in, out) : 0;
  if (inSystem < 0) ok = Failed(errno);
  char buffer[1 << 16];
  size_t n;
  while (ok && inSystem == 0 && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = WriteToStream(out, buffer, n);
  if (ok && std::ferror(in)) {
    SetFileError(from, std::strerror(EIO));
    ok = false;
  }
  // Under its name only once it is whole, where nothing holds the name; no
  // sync of its own.
  return PutInPlace(temporary, to, ok, true, false);
}

bool SyncNewFiles(const std::vector<std::string>& paths) {
  bool synced = paths.empty();
  if (!synced && FaultHere(FaultPoint::kSync)) {
    Failed(EIO);
    NameFailure(paths.front());
  } else if (!synced) {
    synced = backend::SyncFiles(paths);
  }
  const FileError why = LastFileError();
  EndNewFiles();
  SetFileError(why.path.c_str(), why.reason);
  return synced;
}

void EndNewFiles() { backend::RemoveSetAside(); }

AppendResult AppendToFile(const char* path, std::string_view data, FileMode mode, LineStart start) {
  backend::AppendTarget target;
  if (!backend::OpenForAppend(path, mode, &target)) return AppendResult::kNotOpened;
  std::string sealed;
  if (!target.endsLine && !data.empty() && start == LineStart::kOwnLine) {
    sealed.reserve(data.size() + 1);
    sealed += '\n';
    sealed += data;
    data = sealed;
  }
  bool ok = WriteToStream(target.stream, data) && FlushStream(target.stream);
  if (ok && FaultHere(FaultPoint::kClose)) ok = Failed(EIO);
  if (!ok) {
    backend::CutBack(target.stream, target.length);
    backend::UnlockAppend(target.stream);
    std::fclose(target.stream);
    // A file that was not there before is not left behind empty.
    if (target.created) backend::RemoveCreated(path);
    NameFailure(path);
    return AppendResult::kNotWritten;
  }
  // Unbuffered: everything is in the file already.
  backend::UnlockAppend(target.stream);
  errno = 0;
  if (std::fclose(target.stream) != 0) {
    Failed(errno);
    NameFailure(path);
    return AppendResult::kNotWritten;
  }
  return AppendResult::kAppended;
}

KeptAppend::~KeptAppend() { Release(); }

void KeptAppend::Release() {
  if (stream_ != nullptr) {
    backend::UnlockAppend(stream_);
    std::fclose(stream_);
  }
  stream_ = nullptr;
  backend::ForgetAppendTarget(kept_);
  kept_ = nullptr;
  path_.clear();
  length_ = 0;
}

AppendResult KeptAppend::Append(const char* path, std::string_view data, FileMode mode) {
  if (stream_ != nullptr && (path == nullptr || path_ != path || mode_ != mode || !backend::LockAppend(stream_) ||
                             !backend::StillAppendTarget(kept_, stream_, length_))) {
    Release();
  }
  const bool kept = stream_ != nullptr;
  bool created = false;
  if (!kept) {
    backend::AppendTarget target;
    if (!backend::OpenForAppend(path, mode, &target)) return AppendResult::kNotOpened;
    stream_ = target.stream;
    length_ = target.length;
    endsLine_ = target.endsLine;
    created = target.created;
    path_ = path;
    mode_ = mode;
  }
  std::string sealed;
  if (!endsLine_ && !data.empty()) {
    sealed.reserve(data.size() + 1);
    sealed += '\n';
    sealed += data;
    data = sealed;
  }
  bool ok = WriteToStream(stream_, data) && FlushStream(stream_);
  // Where a close would be, so that every append passes the same points.
  if (ok && FaultHere(FaultPoint::kClose)) ok = Failed(EIO);
  if (!ok) {
    backend::CutBack(stream_, length_);
    Release();
    if (created) backend::RemoveCreated(path);
    NameFailure(path);
    return AppendResult::kNotWritten;
  }
  length_ += static_cast<long long>(data.size());
  if (!data.empty()) endsLine_ = data.back() == '\n';
  if (!kept) kept_ = backend::KeepAppendTarget(stream_);
  backend::UnlockAppend(stream_);
  if (kept_ == nullptr) {
    // Not kept on this platform: closed as AppendToFile closes.
    FILE* stream = stream_;
    stream_ = nullptr;
    Release();
    errno = 0;
    if (std::fclose(stream) != 0) {
      Failed(errno);
      NameFailure(path);
      return AppendResult::kNotWritten;
    }
  }
  return AppendResult::kAppended;
}

}  // namespace vesta::platform
