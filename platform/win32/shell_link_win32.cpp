#include "platform/shell_link.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

namespace vesta::platform {
namespace {

IShellLinkA* Link(void* link) { return static_cast<IShellLinkA*>(link); }
IPersistFile* File(void* file) { return static_cast<IPersistFile*>(file); }

// The shell takes file names as UTF-16: at most MAX_PATH characters.
bool WideName(const char* path, WCHAR (&wide)[MAX_PATH]) {
  return path != nullptr && MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) != 0;
}

}  // namespace

void* CreateShellLink() {
  void* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &link))) {
    return nullptr;
  }
  return link;
}

void* ShellLinkFileInterface(void* link) {
  void* file = nullptr;
  if (link == nullptr || FAILED(Link(link)->QueryInterface(IID_IPersistFile, &file))) return nullptr;
  return file;
}

void ReleaseShellLinkInterface(void* anyInterface) {
  if (anyInterface != nullptr) static_cast<IUnknown*>(anyInterface)->Release();
}

bool ShellLinkSetPath(void* link, const char* target) {
  return link != nullptr && target != nullptr && SUCCEEDED(Link(link)->SetPath(target));
}

bool ShellLinkSetDescription(void* link, const char* text) {
  return link != nullptr && text != nullptr && SUCCEEDED(Link(link)->SetDescription(text));
}

bool ShellLinkSetIconLocation(void* link, const char* iconFile, int index) {
  return link != nullptr && iconFile != nullptr && SUCCEEDED(Link(link)->SetIconLocation(iconFile, index));
}

bool ShellLinkSetRelativePath(void* link, const char* relative) {
  return link != nullptr && relative != nullptr && SUCCEEDED(Link(link)->SetRelativePath(relative, 0));
}

bool ShellLinkSetArguments(void* link, const char* arguments) {
  return link != nullptr && arguments != nullptr && SUCCEEDED(Link(link)->SetArguments(arguments));
}

bool ShellLinkSetWorkingDirectory(void* link, const char* folder) {
  return link != nullptr && folder != nullptr && SUCCEEDED(Link(link)->SetWorkingDirectory(folder));
}

bool ShellLinkSave(void* file, const char* path) {
  WCHAR wide[MAX_PATH];
  return file != nullptr && WideName(path, wide) && SUCCEEDED(File(file)->Save(wide, TRUE));
}

bool ShellLinkLoad(void* file, const char* path) {
  WCHAR wide[MAX_PATH];
  return file != nullptr && WideName(path, wide) && SUCCEEDED(File(file)->Load(wide, STGM_READ));
}

bool ShellLinkResolve(void* link, void* owner) {
  return link != nullptr && SUCCEEDED(Link(link)->Resolve(static_cast<HWND>(owner), SLR_NO_UI));
}

bool ShellLinkGetPath(void* link, char* out, int size) {
  if (link == nullptr || out == nullptr || size <= 0) return false;
  out[0] = '\0';
  WIN32_FIND_DATAA found;
  // S_FALSE: the link has no file-system target.
  return Link(link)->GetPath(out, size, &found, SLGP_SHORTPATH) == S_OK && out[0] != '\0';
}

bool ShellLinkGetDescription(void* link, char* out, int size) {
  if (link == nullptr || out == nullptr || size <= 0) return false;
  out[0] = '\0';
  return SUCCEEDED(Link(link)->GetDescription(out, size));
}

bool ShellLinkGetIconLocation(void* link, char* out, int size, int* index) {
  if (link == nullptr || out == nullptr || size <= 0 || index == nullptr) return false;
  out[0] = '\0';
  int read = 0;
  if (FAILED(Link(link)->GetIconLocation(out, size, &read))) return false;
  *index = read;
  return true;
}

bool ShellLinkGetArguments(void* link, char* out, int size) {
  if (link == nullptr || out == nullptr || size <= 0) return false;
  out[0] = '\0';
  return SUCCEEDED(Link(link)->GetArguments(out, size));
}

bool ShellLinkGetWorkingDirectory(void* link, char* out, int size) {
  if (link == nullptr || out == nullptr || size <= 0) return false;
  out[0] = '\0';
  return SUCCEEDED(Link(link)->GetWorkingDirectory(out, size));
}

}  // namespace vesta::platform
