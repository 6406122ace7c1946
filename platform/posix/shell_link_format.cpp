#include "platform/posix/shell_link_format.h"

#include <cstddef>

#include "platform/posix/code_page.h"

namespace vesta::platform::posix {
namespace {

constexpr uint32_t kHeaderSize = 0x4C;
const unsigned char kLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// LinkFlags.
constexpr uint32_t kHasLinkTargetIdList = 0x01;
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasName = 0x04;
constexpr uint32_t kHasRelativePath = 0x08;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kHasIconLocation = 0x40;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kForceNoLinkInfo = 0x100;

// LinkInfo.
constexpr uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr uint32_t kLinkInfoUnicodeHeaderSize = 0x24;  // with the UTF-16 offsets
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kVolumeIdSize = 0x11;  // the fields and an empty label
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kShowNormal = 1;
constexpr size_t kMaxStringData = 0xFFFF;

void PutU16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string* out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void PutStringData(std::string* out, const std::string& text) {
  std::u16string wide = AnsiToUtf16(text);
  if (wide.size() > kMaxStringData) wide.resize(kMaxStringData);
  PutU16(out, static_cast<uint32_t>(wide.size()));
  for (char16_t unit : wide) PutU16(out, unit);
}

std::string LinkInfo(const std::string& target) {
  const uint32_t volumeOffset = kLinkInfoHeaderSize;
  const uint32_t baseOffset = volumeOffset + kVolumeIdSize;
  const uint32_t suffixOffset = baseOffset + static_cast<uint32_t>(target.size()) + 1;
  const uint32_t size = suffixOffset + 1;
  std::string info;
  PutU32(&info, size);
  PutU32(&info, kLinkInfoHeaderSize);
  PutU32(&info, kVolumeIdAndLocalBasePath);
  PutU32(&info, volumeOffset);
  PutU32(&info, baseOffset);
  PutU32(&info, 0);  // no network link
  PutU32(&info, suffixOffset);
  // VolumeID: a fixed disk without serial number or label.
  PutU32(&info, kVolumeIdSize);
  PutU32(&info, kDriveFixed);
  PutU32(&info, 0);
  PutU32(&info, 0x10);
  info.push_back('\0');
  info += target;
  info.push_back('\0');
  info.push_back('\0');  // empty common path suffix
  return info;
}

// Bounds-checked little-endian reads of a byte range.
class Reader {
 public:
  Reader(const std::string& bytes, size_t begin, size_t end) : bytes_(bytes), begin_(begin), end_(end) {}

  size_t Size() const { return end_ - begin_; }

  bool U16(size_t at, uint32_t* value) const {
    if (at > Size() || Size() - at < 2) return false;
    *value = Byte(at) | (Byte(at + 1) << 8);
    return true;
  }

  bool U32(size_t at, uint32_t* value) const {
    uint32_t low = 0;
    uint32_t high = 0;
    if (!U16(at, &low) || !U16(at + 2, &high)) return false;
    *value = low | (high << 16);
    return true;
  }

  // A zero-terminated 8-bit text that begins at at.
  bool Text(size_t at, std::string* text) const {
    for (size_t i = at; i < Size(); ++i) {
      if (Byte(i) == 0) {
        text->assign(bytes_, begin_ + at, i - at);
        return true;
      }
    }
    return false;
  }

  // A zero-terminated UTF-16 text that begins at at.
  bool WideText(size_t at, std::string* text) const {
    std::u16string wide;
    uint32_t unit = 0;
    for (size_t i = at; U16(i, &unit); i += 2) {
      if (unit == 0) {
        *text = Utf16ToAnsi(wide);
        return true;
      }
      wide += static_cast<char16_t>(unit);
    }
    return false;
  }

  // count characters of 8-bit or UTF-16 text at at. Some writers count a
  // terminating zero too; the text ends at the first zero, as it does for
  // every reader of the system's texts.
  bool Counted(size_t at, size_t count, bool unicode, std::string* text) const {
    size_t bytes = unicode ? count * 2 : count;
    if (at > Size() || Size() - at < bytes) return false;
    std::u16string wide;
    wide.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      char16_t unit = static_cast<char16_t>(unicode ? Byte(at + 2 * i) | (Byte(at + 2 * i + 1) << 8) : Byte(at + i));
      if (unit == 0) break;
      wide += unit;
    }
    *text = unicode ? Utf16ToAnsi(wide) : std::string(wide.begin(), wide.end());
    return true;
  }

 private:
  uint32_t Byte(size_t at) const { return static_cast<unsigned char>(bytes_[begin_ + at]); }

  const std::string& bytes_;
  size_t begin_;
  size_t end_;
};

// The target of a LinkInfo: local base path and common path suffix. An
// offset of 0 marks a text that is not there.
bool ReadLinkInfo(const Reader& info, std::string* target) {
  uint32_t headerSize = 0;
  uint32_t flags = 0;
  uint32_t baseOffset = 0;
  uint32_t suffixOffset = 0;
  if (!info.U32(4, &headerSize) || !info.U32(8, &flags) || !info.U32(16, &baseOffset) ||
      !info.U32(24, &suffixOffset)) {
    return false;
  }
  target->clear();
  if ((flags & kVolumeIdAndLocalBasePath) == 0) return true;
  uint32_t wideBaseOffset = 0;
  uint32_t wideSuffixOffset = 0;
  if (headerSize >= kLinkInfoUnicodeHeaderSize &&
      (!info.U32(28, &wideBaseOffset) || !info.U32(32, &wideSuffixOffset))) {
    return false;
  }
  if (baseOffset == 0 && wideBaseOffset == 0) return false;
  std::string base;
  std::string suffix;
  bool ok = wideBaseOffset != 0 ? info.WideText(wideBaseOffset, &base) : info.Text(baseOffset, &base);
  if (!ok) return false;
  if (wideSuffixOffset != 0) {
    ok = info.WideText(wideSuffixOffset, &suffix);
  } else if (suffixOffset != 0) {
    ok = info.Text(suffixOffset, &suffix);
  }
  if (!ok) return false;
  *target = base + suffix;
  return true;
}

}  // namespace

std::string WriteShellLink(const ShellLinkFields& fields) {
  uint32_t flags = kIsUnicode;
  if (!fields.target.empty()) flags |= kHasLinkInfo;
  if (!fields.description.empty()) flags |= kHasName;
  if (!fields.iconFile.empty()) flags |= kHasIconLocation;

  std::string out;
  PutU32(&out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClass), sizeof kLinkClass);
  PutU32(&out, flags);
  PutU32(&out, 0);                                 // target attributes
  out.append(24, '\0');                            // creation, access and write times
  PutU32(&out, 0);                                 // target size
  PutU32(&out, static_cast<uint32_t>(fields.iconIndex));
  PutU32(&out, kShowNormal);
  out.append(12, '\0');                            // hot key and reserved fields

  if (flags & kHasLinkInfo) out += LinkInfo(fields.target);
  if (flags & kHasName) PutStringData(&out, fields.description);
  if (flags & kHasIconLocation) PutStringData(&out, fields.iconFile);
  PutU32(&out, 0);  // terminal block
  return out;
}

bool ReadShellLink(const std::string& bytes, ShellLinkFields* fields) {
  if (fields == nullptr) return false;
  Reader file(bytes, 0, bytes.size());
  uint32_t headerSize = 0;
  uint32_t flags = 0;
  uint32_t iconIndex = 0;
  if (!file.U32(0, &headerSize) || headerSize != kHeaderSize || bytes.size() < kHeaderSize) return false;
  if (bytes.compare(4, sizeof kLinkClass, reinterpret_cast<const char*>(kLinkClass), sizeof kLinkClass) != 0) {
    return false;
  }
  file.U32(0x14, &flags);
  file.U32(0x38, &iconIndex);

  ShellLinkFields read;
  read.iconIndex = static_cast<int32_t>(iconIndex);
  size_t at = kHeaderSize;
  if (flags & kHasLinkTargetIdList) {
    uint32_t listSize = 0;
    if (!file.U16(at, &listSize) || file.Size() - at - 2 < listSize) return false;
    at += 2 + listSize;
  }
  if (flags & kHasLinkInfo) {
    uint32_t infoSize = 0;
    if (!file.U32(at, &infoSize) || infoSize < kLinkInfoHeaderSize || file.Size() - at < infoSize) return false;
    if ((flags & kForceNoLinkInfo) == 0 && !ReadLinkInfo(Reader(bytes, at, at + infoSize), &read.target)) {
      return false;
    }
    at += infoSize;
  }
  const bool unicode = (flags & kIsUnicode) != 0;
  const uint32_t kStrings[] = {kHasName, kHasRelativePath, kHasWorkingDir, kHasArguments, kHasIconLocation};
  for (uint32_t flag : kStrings) {
    if ((flags & flag) == 0) continue;
    uint32_t count = 0;
    std::string text;
    if (!file.U16(at, &count) || !file.Counted(at + 2, count, unicode, &text)) return false;
    at += 2 + (unicode ? 2 * size_t{count} : size_t{count});
    if (flag == kHasName) read.description = text;
    if (flag == kHasIconLocation) read.iconFile = text;
  }
  *fields = read;
  return true;
}

}  // namespace vesta::platform::posix
