// The renderer libraries that the installation lists: keys
// "SOFTWARE\vesta3d\VESTA\VGXLib_0", "_1", ... under HKEY_LOCAL_MACHINE,
// each with a title and a library file, up to the first gap.
#include "vsetu/services/renderer_list.h"

#include <cstdio>
#include <cstring>

#include "actions/registry.h"
#include "common/text.h"
#include "vesta/vsetu.h"
#include "vsetu/services/library_state.h"

namespace {

void EntryKey(int n, char (&key)[kVSBuffer]) {
  std::snprintf(key, sizeof key, "%s_%d", "SOFTWARE\\vesta3d\\VESTA\\VGXLib", n);
}

int& Cursor() { return *vesta::vsetu::RendererCursor(); }

}  // namespace

int VSReadVGXEntry(int n, char* title, char* file) {
  char key[kVSBuffer];
  EntryKey(n, key);
  char text[kVSBuffer];
  if (!VURegGetString(VURegRoot::kLocalMachine, key, "LibTitle", text)) return 0;
  VUCopyN(title, text, kVSBuffer - 1);
  if (!VURegGetString(VURegRoot::kLocalMachine, key, "LibFile", text)) {
    title[0] = '\0';
    return 0;
  }
  VUCopyN(file, text, kVSBuffer - 1);
  return 1;
}

int VSWriteVGXEntry(int n, const char* title, const char* file) {
  char key[kVSBuffer];
  EntryKey(n, key);
  if (!VURegSetString(VURegRoot::kLocalMachine, key, "LibFile", file)) return 0;
  return VURegSetString(VURegRoot::kLocalMachine, key, "LibTitle", title);
}

int VSGetFirstVGXEntry(char* title, char* file) {
  if (title == nullptr || file == nullptr) return 0;
  if (VSReadVGXEntry(0, title, file)) {
    Cursor() = 0;
    return 1;
  }
  Cursor() = -1;
  return 0;
}

int VSGetNextVGXEntry(char* title, char* file) {
  if (title == nullptr || file == nullptr || Cursor() == -1) return 0;
  if (!VSReadVGXEntry(Cursor() + 1, title, file)) return 0;
  ++Cursor();
  return 1;
}

int VSFindVGXEntry(const char* title, char* file) {
  if (title == nullptr || file == nullptr) return 0;
  char entryTitle[kVSBuffer];
  char entryFile[kVSBuffer];
  for (int more = VSGetFirstVGXEntry(entryTitle, entryFile); more;
       more = VSGetNextVGXEntry(entryTitle, entryFile)) {
    if (std::strcmp(entryTitle, title) == 0) {
      std::memcpy(file, entryFile, std::strlen(entryFile) + 1);
      return 1;
    }
  }
  return 0;
}

int VSAddVGXEntry(const char* title, const char* file) {
  if (title == nullptr || file == nullptr) return 0;
  char entryTitle[kVSBuffer];
  char entryFile[kVSBuffer];
  // Walk to the end: the cursor stays on the last entry, or -1.
  for (int more = VSGetFirstVGXEntry(entryTitle, entryFile); more;
       more = VSGetNextVGXEntry(entryTitle, entryFile)) {
  }
  ++Cursor();
  return VSWriteVGXEntry(Cursor(), title, file);
}

int VSNullifyCurrentVGXEntry() {
  if (Cursor() == -1) return 0;
  return VSWriteVGXEntry(Cursor(), "", "");
}

int VSSetStockVGXEntries() {
  char file[kVSBuffer];
  int openGl = VSFindVGXEntry("OpenGL", file) || VSAddVGXEntry("OpenGL", "VOpGL.dll");
  int directX = VSFindVGXEntry("DirectX", file) || VSAddVGXEntry("DirectX", "VDXRM.dll");
  return openGl && directX ? 1 : 0;
}
