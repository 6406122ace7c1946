#include "common/file_kind.h"

#include <cctype>
#include <cstring>

#include "common/paths.h"
#include "common/text.h"

namespace {

struct Ending {
  const char* ending;
  int kind;
};

const Ending kEndings[] = {
    {".wav", kVUKindWave},     {".mid", kVUKindMidi},      {".midi", kVUKindMidi},
    {".rmi", kVUKindMidi},     {".bmp", kVUKindTexture},   {".dib", kVUKindTexture},
    {".gif", kVUKindTexture},  {".jpg", kVUKindTexture},   {".jpeg", kVUKindTexture},
    {".png", kVUKindTexture},  {".tga", kVUKindTexture},   {".pcx", kVUKindTexture},
    {".exe", kVUKindProgram},  {".com", kVUKindProgram},   {".bat", kVUKindProgram},
    {".cmd", kVUKindProgram},  {".pif", kVUKindProgram},   {".scr", kVUKindProgram},
    {".lnk", kVUKindShortcut}, {".url", kVUKindShortcut},  {".x", kVUKindShape},
    {".vvc", kVUKindKolb},     {".mp3", kVUKindAudio},     {".au", kVUKindAudio},
    {".aif", kVUKindAudio},    {".aiff", kVUKindAudio},    {".snd", kVUKindAudio},
    {".hlp", kVUKindHelp},     {".chm", kVUKindHelp},      {".dll", kVUKindLibrary},
    {".ocx", kVUKindLibrary},  {".vwq", kVUKindWorld},
};

const char* const kSchemes[] = {"http:", "https:", "ftp:", "mailto:", "file:"};

bool IsDriveRoot(const char* path) {
  if (!std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':') return false;
  return path[2] == '\0' || ((path[2] == '\\' || path[2] == '/') && path[3] == '\0');
}

}  // namespace

int VUClassifyFile(const char* path) {
  if (path == nullptr || path[0] == '\0') return kVUKindEmpty;
  if (IsDriveRoot(path) || std::strncmp(path, "\\\\", 2) == 0) return kVUKindRoot;
  for (const char* scheme : kSchemes) {
    if (VUCompareN(path, scheme, static_cast<int>(std::strlen(scheme)))) return kVUKindAddress;
  }
  const size_t length = std::strlen(path);
  if (path[length - 1] == '\\' || path[length - 1] == '/') return kVUKindFolder;
  for (const Ending& ending : kEndings) {
    if (VUHasExtension(path, ending.ending)) return ending.kind;
  }
  if (VUFolderExists(path)) return kVUKindFolder;
  return kVUKindDocument;
}
