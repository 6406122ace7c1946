#include "actions/dependants.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "actions/file_copy.h"
#include "common/layer_state.h"
#include "common/path_tokens.h"
#include "common/paths.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/windows_names.h"

namespace {

// Where in a shape's text one texture name stands.
struct TextureName {
  size_t begin;  // after the opening quote
  size_t end;    // at the closing quote
};

// A copy made in this batch goes to the disk with the batch (VUSyncCopies);
// any other shape is synced as it is replaced.
bool WriteWhole(const char* path, const std::string& text) {
  return vesta::platform::ReplaceWholeFile(path, text, vesta::platform::FileMode::kBinary, !VUIsFreshCopy(path));
}

// The quoted names of the shape's "TextureFilename" entries.
std::vector<TextureName> FindTextureNames(const std::string& text) {
  std::vector<TextureName> names;
  const std::string keyword = "TextureFilename";
  size_t at = 0;
  while ((at = text.find(keyword, at)) != std::string::npos) {
    at += keyword.size();
    size_t open = text.find('{', at);
    if (open == std::string::npos) break;
    size_t close = text.find('}', open);
    size_t quote = text.find('"', open);
    if (quote == std::string::npos || (close != std::string::npos && quote > close)) continue;
    size_t endQuote = text.find('"', quote + 1);
    if (endQuote == std::string::npos) break;
    names.push_back({quote + 1, endQuote});
    at = endQuote + 1;
  }
  return names;
}

// The name in the relative form (VURelativisePath); false, and the name as
// it was, when it has none.
bool RelativeName(std::string* name) {
  char text[kVUPathBuffer];
  if (name->size() >= sizeof text) return false;
  std::memcpy(text, name->c_str(), name->size() + 1);
  if (!VURelativisePath(text)) return false;
  *name = text;
  return true;
}

bool IsShape(const char* path) { return path != nullptr && path[0] != '\0' && VUHasExtension(path, ".x"); }

// The folder part of a path, "" when it has none.
std::string FolderOf(const std::string& path) {
  char folder[kVUPathBuffer] = "";
  VUGetFolderPart(folder, path.c_str());
  return folder;
}

// Rewrites each texture name of the shape with change (which gives the new
// name, or false to keep it) and saves the shape when a name changed.
template <typename Change>
int RewriteTextureNames(const char* shape, Change change) {
  if (!IsShape(shape) || !VUFileExists(shape)) return 1;
  std::string text;
  if (!vesta::platform::ReadWholeFile(shape, &text)) return 0;
  std::vector<TextureName> names = FindTextureNames(text);
  bool changed = false;
  // From the end, so that the positions before stay valid.
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    std::string name = text.substr(it->begin, it->end - it->begin);
    std::string renamed;
    if (!change(name, &renamed) || renamed == name) continue;
    text.replace(it->begin, it->end - it->begin, renamed);
    changed = true;
  }
  return !changed || WriteWhole(shape, text) ? 1 : 0;
}

std::unordered_set<std::string>& Done() { return vesta::common::ShapesDone(); }

// The key of a stage done for a shape, by its folded path.
std::string DoneKey(const char* stage, const std::string& folded) { return std::string(stage) + '|' + folded; }

// The key by which a shape done is known as the caller spelled it: the
// shape, the folder its textures were copied to ("" for the relative step
// alone) and what was done. Made in key, a buffer of the caller's that
// keeps its room from call to call.
void SpelledKey(std::string* key, const char* shape, const char* folder, const char* done) {
  key->assign(shape).append(1, '|').append(folder).append(1, '|').append(done);
}

// The installation's media folder, ending with a back-slash; "" when the
// installation is not known.
std::string MediaFolder() {
  return VUInstallationFolder()[0] != '\0' ? std::string(VUInstallationFolder()) + "media\\" : std::string();
}

}  // namespace

void VUForgetShapesDone() {
  Done().clear();
  vesta::common::Copies().shapesDoneBySpelling.clear();
}

std::vector<std::string> VUShapeTextureNames(const std::string& text) {
  std::vector<std::string> names;
  for (const TextureName& name : FindTextureNames(text)) names.push_back(text.substr(name.begin, name.end - name.begin));
  return names;
}

std::string VULocateShapeTexture(const std::string& written, const std::string& shape,
                                 const std::string& mediaFolder) {
  std::string origin = VUCopyOrigin(shape.c_str());
  // A name in the travelling form stands for a file beside the shape (its
  // original, when this is a copy) or in a folder of the machine.
  char expanded[kVUPathBuffer];
  if (written.size() >= sizeof expanded) return std::string();
  std::memcpy(expanded, written.c_str(), written.size() + 1);
  VUExpandPath(expanded, kVUFolderToken, FolderOf(origin.empty() ? shape : origin).c_str());
  const std::string name = expanded;
  if (FolderOf(name) != "" && VUFileExists(name.c_str())) return name;
  char bare[kVUPathBuffer];
  if (!VUGetNamePart(bare, name.c_str())) return std::string();
  std::vector<std::string> places;
  if (!origin.empty()) places.push_back(FolderOf(origin));
  places.push_back(mediaFolder);
  places.push_back(FolderOf(shape));
  for (const std::string& place : places) {
    std::string candidate = place + bare;
    if (!place.empty() && VUFileExists(candidate.c_str())) return candidate;
  }
  return std::string();
}

int VUCopyTextureDependants(const char*, const char*) { return 1; }
int VUCopySoundDependants(const char*, const char*) { return 1; }
int VUCopyKOLBDependants(const char*) { return 1; }
int VURelativiseTextureDependants(const char*) { return 1; }
int VURelativiseSoundDependants(const char*) { return 1; }
int VURelativiseKOLBDependants(const char*) { return 1; }
int VUExpandKOLBDependants(const char*) { return 1; }

int VUCopyShapeDependants(const char* copy, const char* folder, bool relative) {
  if (!IsShape(copy) || folder == nullptr || folder[0] == '\0') return 1;
  // A world names each shape many times, mostly spelled the same: a fresh
  // copy done so before is known by its spelling, without folding it.
  thread_local std::string spelled;
  SpelledKey(&spelled, copy, folder, relative ? "copied relative" : "copied");
  auto& doneBySpelling = vesta::common::Copies().shapesDoneBySpelling;
  if (doneBySpelling.count(spelled) != 0) return 1;
  const std::string folded = vesta::platform::FoldPath(copy);
  const std::string key = DoneKey("copy", folded);
  const bool fresh = VUIsFreshCopy(copy);
  if (Done().count(key) != 0 && (!relative || Done().count(DoneKey("relativise", folded)) != 0) &&
      (fresh || VUFileExists(copy))) {
    if (fresh) doneBySpelling.insert(spelled);
    return 1;
  }
  const std::string shape = copy;
  int result = RewriteTextureNames(copy, [&](const std::string& name, std::string* renamed) {
    *renamed = name;  // a texture nobody can find stays named as it was
    std::string found = VULocateShapeTexture(name, shape, MediaFolder());
    char made[kVUPathBuffer];
    if (!found.empty() && VUCopyFileToFolder(found.c_str(), folder, made)) *renamed = made;
    if (relative) {
      VURelativeBase base(folder);
      RelativeName(renamed);
    }
    return true;
  });
  if (result) {
    Done().insert(key);
    if (fresh) doneBySpelling.insert(spelled);
    if (relative) {
      Done().insert(DoneKey("relativise", folded));
    } else if (Done().erase(DoneKey("relativise", folded)) != 0) {
      // Its names are no longer relative, whatever spelling met them so.
      doneBySpelling.clear();
    }
  }
  return result;
}

int VURelativiseShapeDependants(const char* path) {
  if (!IsShape(path)) return 1;
  // Known by its spelling too.
  thread_local std::string spelled;
  SpelledKey(&spelled, path, "", "relativised");
  auto& doneBySpelling = vesta::common::Copies().shapesDoneBySpelling;
  if (doneBySpelling.count(spelled) != 0) return 1;
  const std::string key = DoneKey("relativise", vesta::platform::FoldPath(path));
  const auto relative = [](const std::string& name, std::string* renamed) {
    *renamed = name;
    return RelativeName(renamed);
  };
  const int result = Done().count(key) != 0 ? 1 : RewriteTextureNames(path, relative);
  if (result) {
    Done().insert(key);
    doneBySpelling.insert(spelled);
  }
  return result;
}

int VUExpandShapeDependants(const char* folder, const char* path) {
  // The shape's own path may still be in the travelling form.
  char shape[kVUPathBuffer];
  if (path == nullptr || std::strlen(path) >= sizeof shape) return 1;
  std::memcpy(shape, path, std::strlen(path) + 1);
  VUExpandPath(shape, kVUFolderToken, folder);
  return RewriteTextureNames(shape, [folder](const std::string& name, std::string* renamed) {
    char text[kVUPathBuffer];
    if (name.size() >= sizeof text) return false;
    std::memcpy(text, name.c_str(), name.size() + 1);
    if (!VUExpandPath(text, kVUFolderToken, folder)) return false;
    *renamed = text;
    return true;
  });
}
