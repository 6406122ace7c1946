// Files named by the installation's paths, the paths a world stores, and
// shortcuts with an icon, for tools that work on an installation.
#include <cstring>
#include <string>
#include <vector>

#include "actions/dependants.h"
#include "actions/file_copy.h"
#include "common/file_kind.h"
#include "common/path_tokens.h"
#include "common/paths.h"
#include "common/text.h"
#include "platform/code_page.h"
#include "platform/file_error.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/shell_link.h"
#include "platform/windows_names.h"
#include "vesta/vsetu.h"
#include "vsetu/machine/text_out.h"
#include "vsetu/normaliser/normaliser_log.h"

using vesta::vsetu::CopyOut;

int VSFileExists(const char* path) { return path != nullptr && vesta::platform::FileExists(path) ? 1 : 0; }

int VSLookAtStoredFile(const char* path, char* why, int size) {
  std::string reason;
  int found = 0;
  // The common case with one look; the others are told apart after it.
  if (vesta::platform::IsFileInsideRoot(path)) {
    found = 1;
  } else if (!vesta::platform::IsInsideRoot(path, &reason)) {
    found = -1;
  } else if (vesta::platform::LastFileError().path == path &&
             vesta::platform::LastFileError().reason == vesta::platform::kOutsideRootReason) {
    // The file itself is a link out of the root.
    reason = vesta::platform::kOutsideRootReason;
    found = -1;
  } else if (vesta::platform::PathExists(path) && !vesta::platform::FolderExists(path)) {
    reason = vesta::platform::kNotRegularReason;
    found = -1;
  }
  if (why != nullptr && size > 0) CopyOut(reason, why, size);
  return found;
}

int VSCodePageToUtf8(const char* text, char* out, int size) {
  if (text == nullptr || out == nullptr) return 0;
  return CopyOut(vesta::platform::Utf16ToUtf8(vesta::platform::AnsiToUtf16(text)), out, size);
}

int VSUtf8ToCodePage(const char* text, char* out, int size, char* missing, int missingSize) {
  if (text == nullptr || out == nullptr) return 0;
  const std::u16string wide = vesta::platform::Utf8ToUtf16(text);
  const std::string lacking = vesta::platform::FirstNotInCodePage(wide);
  if (missing != nullptr && missingSize > 0) CopyOut(lacking, missing, missingSize);
  if (!lacking.empty()) return 0;
  return CopyOut(vesta::platform::Utf16ToAnsi(wide), out, size);
}

int VSFolderExists(const char* path) { return path != nullptr && vesta::platform::FolderExists(path) ? 1 : 0; }

int VSGetFileSize(const char* path, int64_t* size) {
  return path != nullptr && vesta::platform::RegularFileSize(path, size) ? 1 : 0;
}

int VSCopyName(const char* file, int number, char* out, int size) {
  static_assert(kVSMostCopyNames == kVUMostCopyNames, "one bound for the names of copies");
  const std::string name = VUCopyName(file, number);
  if (name.empty() || out == nullptr || size <= 0 || name.size() >= static_cast<size_t>(size)) return 0;
  return CopyOut(name, out, size);
}

int VSFoldPath(const char* path, char* out, int size) {
  if (path == nullptr || out == nullptr || size <= 0 || std::strlen(path) >= static_cast<size_t>(size)) return 0;
  return CopyOut(vesta::platform::FoldPath(path), out, size);
}

int VSSameContent(const char* first, const char* second) {
  return first != nullptr && second != nullptr && VUSameContent(first, second) ? 1 : 0;
}

int VSMakeFolders(const char* path) {
  if (path == nullptr || path[0] == '\0') return 0;
  std::string folder = path;
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (vesta::platform::FolderExists(folder.c_str())) return 1;
  // Every folder above it, from the top; a drive ("C:") or a share's
  // server exists or not of its own.
  std::vector<std::string> chain;
  for (std::string at = folder; !at.empty();) {
    chain.push_back(at);
    size_t cut = at.find_last_of("\\/");
    if (cut == std::string::npos || cut == 0) break;
    at.resize(cut);
    if (at.size() == 2 && at[1] == ':') break;
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (vesta::platform::FolderExists(it->c_str())) continue;
    if (!vesta::platform::MakeFolder(it->c_str())) return 0;
  }
  return 1;
}

int VSDeleteFile(const char* path) { return path != nullptr && vesta::platform::RemoveFile(path) ? 1 : 0; }

FILE* VSOpenFile(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  return vesta::platform::OpenStream(path, mode);
}

int VSReplaceFile(const char* path, const char* text, int64_t length) {
  if (path == nullptr || (text == nullptr && length > 0) || length < 0) return 0;
  std::string_view contents(text == nullptr ? "" : text, static_cast<size_t>(length));
  return vesta::platform::ReplaceWholeFile(path, contents, vesta::platform::FileMode::kBinary) ? 1 : 0;
}

int VSGetHostPath(const char* path, char* out, int size) {
  if (path == nullptr) return 0;
  return CopyOut(vesta::platform::HostPath(path), out, size);
}

int VSGetLastFileProblem(char* out, int size) { return FFGetLastFileProblem(out, size); }

void VSClearLastFileProblem() { vesta::platform::SetFileError("", ""); }

int VSResolveStoredPath(const char* stored, const char* worldFile, char* out) {
  if (stored == nullptr || stored[0] == '\0' || out == nullptr) return 0;
  VSSetNormalisationVariables();
  char folder[kVUPathBuffer] = "";
  if (worldFile != nullptr) VUGetFolderPart(folder, worldFile);
  char path[kVUPathBuffer];
  if (!VUCopyN(path, stored, kVUMaxPath)) return 0;
  int kind = VUClassifyFile(path);
  int done = kind == kVUKindTexture ? VUExpandTexturePath(path, kVUFolderToken, folder)
                                    : VUExpandPath(path, kVUFolderToken, folder);
  if (!done) return 0;
  VUCopyN(out, path, kVUMaxPath);
  return 1;
}

int VSForEachShapeTexture(const char* shape, VSShapeTextureCallback callback, void* context) {
  if (shape == nullptr || callback == nullptr) return 0;
  if (!VUHasExtension(shape, ".x")) return 1;
  std::string text;
  if (!vesta::platform::ReadWholeFile(shape, &text)) return 0;
  char media[kVSBuffer];
  const std::string mediaFolder = VSGetMediaDir(media) ? std::string(media) + "\\" : std::string();
  for (const std::string& written : VUShapeTextureNames(text)) {
    const std::string found = VULocateShapeTexture(written, shape, mediaFolder);
    if (callback(written.c_str(), found.c_str(), context) != 1) break;
  }
  return 1;
}

int VSGetNormaliserLogFile(char* out, int size) { return CopyOut(vesta::vsetu::NormaliserLogFile(), out, size); }

int VSWriteShortcut(const char* shortcutFile, const char* target, const char* description, const char* iconFile,
                    int iconIndex) {
  namespace platform = vesta::platform;
  if (shortcutFile == nullptr || target == nullptr) return 0;
  bool started = platform::StartCom() == platform::ComStart::kStarted;
  void* link = platform::CreateShellLink();
  void* persist = link != nullptr ? platform::ShellLinkFileInterface(link) : nullptr;
  bool ok = persist != nullptr && platform::ShellLinkSetPath(link, target) &&
            platform::ShellLinkSetDescription(link, description != nullptr ? description : "") &&
            (iconFile == nullptr || iconFile[0] == '\0' ||
             platform::ShellLinkSetIconLocation(link, iconFile, iconIndex)) &&
            platform::ShellLinkSave(persist, shortcutFile);
  if (persist != nullptr) platform::ReleaseShellLinkInterface(persist);
  if (link != nullptr) platform::ReleaseShellLinkInterface(link);
  if (started) platform::StopCom();
  return ok ? 1 : 0;
}
