#include "platform/windows_names.h"

namespace vesta::platform {
namespace {

char FoldedSeparator(char c) { return c == '/' ? '\\' : FoldedLetter(c); }

}  // namespace

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldedLetter(c);
  return folded;
}

std::string FoldPath(std::string_view path) {
  std::string folded(path);
  for (char& c : folded) c = FoldedSeparator(c);
  return folded;
}

bool NameStartsWith(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (FoldedLetter(name[i]) != FoldedLetter(prefix[i])) return false;
  }
  return true;
}

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && NameStartsWith(a, b); }

bool SamePath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldedSeparator(a[i]) != FoldedSeparator(b[i])) return false;
  }
  return true;
}

}  // namespace vesta::platform
