#include "vermanager/manifest_format.h"

#include <cstring>

void StripLineEnd(char* line) {
  if (line == nullptr) return;
  line[std::strcspn(line, "\r\n")] = '\0';
}

LineKind ClassifyLine(const char* line) {
  // The closing bracket is not compared: "[FILE]" is classified as a file
  // line and then found to hold no "[FIL]" field.
  static const struct {
    const char* head;
    LineKind kind;
  } kHeads[] = {{"[FIL", LineKind::kFile},
                {"[REG", LineKind::kRegistry},
                {"[DIR", LineKind::kFolder},
                {"[NAM", LineKind::kName}};
  if (line == nullptr) return LineKind::kNone;
  for (const auto& head : kHeads) {
    if (std::strncmp(line, head.head, 4) == 0) return head.kind;
  }
  return LineKind::kNone;
}

const char* TagOfKind(LineKind kind) {
  switch (kind) {
    case LineKind::kFile:
      return "[FIL]";
    case LineKind::kRegistry:
      return "[REG]";
    case LineKind::kFolder:
      return "[DIR]";
    case LineKind::kName:
      return "[NAM]";
    default:
      return "";
  }
}

int FindField(const char* tag, const char* line, char* out, int capacity) {
  if (tag == nullptr || line == nullptr || out == nullptr || capacity < 0) return 0;
  const size_t end = std::strlen(line);
  size_t p = 0;
  while (p < end) {
    if (line[p] != '[') return 0;
    const bool match = std::strncmp(line + p, tag, 5) == 0;
    const char* close = std::strchr(line + p, ']');
    if (close == nullptr) return 0;
    p = static_cast<size_t>(close - line) + 1;
    if (line[p] != '[') return 0;
    // The length: the digits after "[" (none count as 0).
    size_t length = 0;
    size_t digit = p + 1;
    while (line[digit] >= '0' && line[digit] <= '9') {
      length = length * 10 + static_cast<size_t>(line[digit] - '0');
      if (length > end) length = end + 1;  // past the line either way
      ++digit;
    }
    close = std::strchr(line + p, ']');
    if (close == nullptr) return 0;
    p = static_cast<size_t>(close - line) + 1;
    if (match) {
      size_t take = length < static_cast<size_t>(capacity) ? length : static_cast<size_t>(capacity);
      if (take > end - p) take = end - p;
      std::memcpy(out, line + p, take);
      out[take] = '\0';
      return 1;
    }
    p += length;
  }
  return 0;
}

void WriteField(std::string* line, const char* tag, const char* value) {
  *line += tag;
  *line += "[" + std::to_string(std::strlen(value)) + "]";
  *line += value;
}
