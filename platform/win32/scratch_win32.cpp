#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/testing/scratch.h"

namespace vesta::testing {
namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::string candidate = std::string(temp) + "vesta-test-" + std::to_string(GetCurrentProcessId()) +
                            "-" + std::to_string(++counter) + "\\";
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      folder_ = candidate;
      hostRoot_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot make a scratch folder");
}

ScratchFolder::~ScratchFolder() { RemoveTree(hostRoot_); }

}  // namespace vesta::testing
