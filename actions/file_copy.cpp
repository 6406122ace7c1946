#include "actions/file_copy.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/file_kind.h"
#include "common/layer_state.h"
#include "common/path_tokens.h"
#include "common/paths.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/windows_names.h"

namespace {

std::string Folded(const std::string& text) { return vesta::platform::FoldPath(text); }

vesta::common::CopyRecords& Records() { return vesta::common::Copies(); }

std::string WithBackSlash(const char* folder) {
  std::string text = folder;
  if (!text.empty() && text.back() != '\\' && text.back() != '/') text += '\\';
  return text;
}

int Give(const std::string& path, char* out, int size) {
  if (path.size() >= static_cast<size_t>(size)) return 0;
  std::memcpy(out, path.c_str(), path.size() + 1);
  return 1;
}

void Remember(const std::string& source, const std::string& key, const std::string& copy) {
  Records().copies[key] = copy;
  Records().origins[Folded(copy)] = source;
}

// A copy made or found since the last sync: it is used again as it is,
// without a look at the disk (a pack names the same file thousands of
// times). One made before is looked for again, since the folder may have
// been emptied since.
bool Fresh(const std::string& copy) { return Records().fresh.count(Folded(copy)) != 0; }

struct CloseFile {
  void operator()(FILE* stream) const { std::fclose(stream); }
};

void ForgetFresh() {
  Records().fresh.clear();
  Records().freshBySpelling.clear();
  Records().shapesDoneBySpelling.clear();
}

}  // namespace

bool VUSameContent(const char* a, const char* b) {
  FILE* first = vesta::platform::OpenStream(a, "rb");
  if (first == nullptr) return false;
  FILE* second = vesta::platform::OpenStream(b, "rb");
  if (second == nullptr) {
    std::fclose(first);
    return false;
  }
  bool same = true;
  char x[8192];
  char y[8192];
  while (same) {
    size_t n = std::fread(x, 1, sizeof x, first);
    size_t m = std::fread(y, 1, sizeof y, second);
    same = n == m && std::memcmp(x, y, n) == 0;
    if (n == 0 || n < sizeof x) break;
  }
  std::fclose(first);
  std::fclose(second);
  return same;
}

int VUCopyFileToFolder(const char* file, const char* folder, char* out, int size) {
  if (file == nullptr || folder == nullptr || out == nullptr || file[0] == '\0' || folder[0] == '\0') return 0;
  // A pack names the same file thousands of times, mostly spelled the same:
  // the key is made in a buffer that keeps its room from call to call.
  thread_local std::string spelled;
  spelled.assign(file).append(1, '|').append(folder);
  auto& bySpelling = Records().freshBySpelling;
  if (auto seen = bySpelling.find(spelled); seen != bySpelling.end()) return Give(seen->second, out, size);
  std::string spelling = spelled;
  const std::string source = file;
  const std::string base = WithBackSlash(folder);
  const std::string key = Folded(source) + "|" + Folded(base);
  auto made = Records().copies.find(key);
  if (made != Records().copies.end() && Fresh(made->second)) {
    bySpelling.emplace(std::move(spelling), made->second);
    return Give(made->second, out, size);
  }

  // What a world or catalogue names is read only from inside the
  // installation: never a host path, never through a link out of it. It is
  // opened with the look that finds it, and copied from what is open.
  const std::unique_ptr<FILE, CloseFile> in(vesta::platform::OpenFileInsideRoot(file));
  const bool present = in != nullptr;
  if (!present && !vesta::platform::IsInsideRoot(file, nullptr)) return 0;
  char name[kVUPathBuffer];
  if (!VUGetNamePart(name, file)) return 0;
  if (made != Records().copies.end() && VUFileExists(made->second.c_str())) {
    return Give(made->second, out, size);
  }
  if (!present) return 0;

  for (int number = 1; number <= kVUMostCopyNames; ++number) {
    std::string candidate = base + VUCopyName(name, number);
    if (candidate.size() >= static_cast<size_t>(size)) return 0;
    if (Folded(candidate) == Folded(source)) {
      // The file lies in the folder already.
      Remember(source, key, candidate);
      return Give(candidate, out, size);
    }
    // The copy is tried first: it refuses a name that is taken, and a new
    // name is looked up once rather than twice.
    // A copy tried before may have read some of the file.
    if (number > 1 && std::fseek(in.get(), 0, SEEK_SET) != 0) return 0;
    if (!vesta::platform::CopyToNewFile(in.get(), file, candidate.c_str())) {
      if (!VUFileExists(candidate.c_str())) return 0;
      if (!VUSameContent(file, candidate.c_str())) continue;
    }
    // A file of the same bytes found there may be what a killed process
    // wrote and never synced: it goes to the disk with the new copies.
    Records().unsynced.push_back(candidate);
    Records().fresh.insert(Folded(candidate));
    bySpelling.emplace(std::move(spelling), candidate);
    Remember(source, key, candidate);
    return Give(candidate, out, size);
  }
  return 0;
}

int VUSyncCopies() {
  std::vector<std::string>& unsynced = Records().unsynced;
  if (!vesta::platform::SyncNewFiles(unsynced)) return 0;
  unsynced.clear();
  ForgetFresh();
  return 1;
}

std::string VUCopyName(const char* file, int number) {
  char name[kVUPathBuffer];
  if (file == nullptr || number < 1 || number > kVUMostCopyNames || !VUGetNamePart(name, file) || name[0] == '\0') {
    return std::string();
  }
  if (number == 1) return name;
  int dot = 0;
  if (!VUFindExtension(name, &dot)) return std::string(name) + "_" + std::to_string(number);
  return std::string(name, static_cast<size_t>(dot)) + "_" + std::to_string(number) + (name + dot);
}

std::string VUCopyOrigin(const char* copy) {
  if (copy == nullptr) return std::string();
  auto found = Records().origins.find(Folded(copy));
  return found != Records().origins.end() ? found->second : std::string();
}

void VUForgetCopies() {
  vesta::platform::EndNewFiles();
  Records().copies.clear();
  Records().origins.clear();
  ForgetFresh();
}

bool VUIsFreshCopy(const char* copy) { return copy != nullptr && Fresh(copy); }

void VUBeginCopies() { ForgetFresh(); }

std::string VUOriginOf(const char* path) {
  std::string origin = VUCopyOrigin(path);
  return origin.empty() ? std::string(path != nullptr ? path : "") : origin;
}

void VUExpandFromOrigin(char* path, const char* holder) {
  if (path == nullptr || holder == nullptr || std::strstr(path, kVUFolderToken) == nullptr) return;
  char folder[kVUPathBuffer] = "";
  VUGetFolderPart(folder, VUOriginOf(holder).c_str());
  if (VUClassifyFile(path) == kVUKindTexture) {
    VUExpandTexturePath(path, kVUFolderToken, folder);
  } else {
    VUExpandPath(path, kVUFolderToken, folder);
  }
}
