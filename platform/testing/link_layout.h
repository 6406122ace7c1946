// Shortcut files laid out byte by byte, after the Shell Link Binary File
// Format: the pieces the tests of the format and of the backends' link
// objects build their fixtures from.
#ifndef VESTA_PLATFORM_TESTING_LINK_LAYOUT_H
#define VESTA_PLATFORM_TESTING_LINK_LAYOUT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesta::testing::link_layout {

// LinkFlags.
constexpr uint32_t kIdList = 0x01;
constexpr uint32_t kInfo = 0x02;
constexpr uint32_t kName = 0x04;
constexpr uint32_t kRelative = 0x08;
constexpr uint32_t kWorkingDir = 0x10;
constexpr uint32_t kArguments = 0x20;
constexpr uint32_t kIcon = 0x40;
constexpr uint32_t kUnicode = 0x80;
constexpr uint32_t kNoInfo = 0x100;
constexpr uint32_t kExpString = 0x200;
constexpr uint32_t kNoEnvironment = 0x100000;

inline uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

inline uint32_t U16At(const std::string& bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

inline void PutU32At(std::string* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The pieces of a fixture, little-endian.
inline std::string U16(uint32_t value) { return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)}; }
inline std::string U32(uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }
inline std::string Zero(const std::string& text) { return text + '\0'; }

inline std::string Wide(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out += U16(unit);
  return out;
}

inline std::string WideZero(const std::u16string& text) { return Wide(text) + U16(0); }

inline std::string Header(uint32_t flags, uint32_t iconIndex = 0) {
  return U32(0x4C) + std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16) + U32(flags) +
         U32(0) + std::string(24, '\0') + U32(0) + U32(iconIndex) + U32(1) + std::string(12, '\0');
}

inline std::string WideString(const std::u16string& text) { return U16(static_cast<uint32_t>(text.size())) + Wide(text); }
inline std::string AnsiString(const std::string& text) { return U16(static_cast<uint32_t>(text.size())) + text; }
inline std::string Terminal() { return U32(0); }

// The shell's items: My Computer, a drive, file-system items.
inline std::string Item(const std::string& data) { return U16(static_cast<uint32_t>(data.size() + 2)) + data; }

inline std::string MyComputer() {
  return Item(std::string("\x1F\x50\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 18));
}

inline std::string Drive(const std::string& name, char type = 0x2F) {
  std::string field = name;
  field.resize(20, '\0');
  return Item(type + field + U16(0));
}

// A file-system item with its short name and, for a version from 3 on, an
// 0xBEEF0004 block of that version with the long name. Stamped items have
// times and a file's attributes, as the shell writes them for a file that
// exists.
inline std::string FileItem(bool folder, const std::string& shortName, const std::u16string& longName, int version = 3,
                     bool stamped = true) {
  const uint32_t time = stamped ? 0x5A2B3C4D : 0;
  std::string data = std::string(1, folder ? 0x31 : 0x32) + '\0' + U32(0) + U32(time) +
                     U16(folder ? 0x10 : (stamped ? 0x20 : 0)) + Zero(shortName);
  if (data.size() % 2 != 0) data += '\0';
  if (version != 0) {
    const uint32_t offset = static_cast<uint32_t>(data.size() + 2);
    // Where the long name starts, which the block also records.
    const uint32_t name = 20 + (version >= 7 ? 18 : 0) + (version >= 8 ? 4 : 0) + (version >= 9 ? 4 : 0);
    std::string block = U16(version) + U32(0xBEEF0004) + U32(time) + U32(time) + U16(name);
    if (version >= 7) block += U16(0) + std::string(16, '\x7F');
    block += U16(0);
    if (version >= 9) block += U32(0x7F7F7F7F);
    if (version >= 8) block += U32(0x7F7F7F7F);
    block += WideZero(longName) + U16(offset);
    data += U16(static_cast<uint32_t>(block.size() + 2)) + block;
  }
  return Item(data);
}

inline std::string IdList(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += item;
  list += U16(0);
  return U16(static_cast<uint32_t>(list.size())) + list;
}

// A LinkInfo: a local base path (with a VolumeID) when base is given, a
// CommonNetworkRelativeLink when share is, and the common path suffix;
// UTF-16 forms where given (the header then has room for their offsets).
struct InfoParts {
  std::string base;
  std::string share;
  std::string suffix;
  std::u16string wideBase;
  std::u16string wideSuffix;
  std::u16string wideShare;  // with a device name "Z:" in both forms
};

inline std::string NetworkLink(const InfoParts& parts) {
  if (parts.wideShare.empty()) {
    const std::string name = Zero(parts.share);
    return U32(static_cast<uint32_t>(0x14 + name.size())) + U32(0) + U32(0x14) + U32(0) + U32(0) + name;
  }
  const std::string strings = Zero(parts.share) + Zero("Z:") + WideZero(parts.wideShare) + WideZero(u"Z:");
  const uint32_t name = 0x1C;
  const uint32_t device = name + static_cast<uint32_t>(parts.share.size() + 1);
  const uint32_t wideName = device + 3;
  const uint32_t wideDevice = wideName + static_cast<uint32_t>(2 * (parts.wideShare.size() + 1));
  return U32(static_cast<uint32_t>(0x1C + strings.size())) + U32(3) + U32(name) + U32(device) + U32(0x00020000) +
         U32(wideName) + U32(wideDevice) + strings;
}

inline std::string LinkInfo(const InfoParts& parts) {
  const bool wide = !parts.wideBase.empty() || !parts.wideSuffix.empty();
  const uint32_t header = wide ? 0x24 : 0x1C;
  std::string body;
  uint32_t volume = 0, base = 0, network = 0, suffix = 0, wideBase = 0, wideSuffix = 0;
  auto add = [&](uint32_t* offset, const std::string& bytes) {
    *offset = header + static_cast<uint32_t>(body.size());
    body += bytes;
  };
  if (!parts.base.empty()) {
    add(&volume, U32(0x11) + U32(3) + U32(0x1234ABCD) + U32(0x10) + '\0');
    add(&base, Zero(parts.base));
  }
  if (!parts.share.empty()) add(&network, NetworkLink(parts));
  add(&suffix, Zero(parts.suffix));
  if (!parts.wideBase.empty()) add(&wideBase, WideZero(parts.wideBase));
  if (wide) add(&wideSuffix, WideZero(parts.wideSuffix));
  const uint32_t flags = (parts.base.empty() ? 0 : 1) | (parts.share.empty() ? 0 : 2);
  std::string info = U32(header + static_cast<uint32_t>(body.size())) + U32(header) + U32(flags) + U32(volume) +
                     U32(base) + U32(network) + U32(suffix);
  if (wide) info += U32(wideBase) + U32(wideSuffix);
  return info + body;
}

inline std::string EnvironmentBlock(const std::string& ansi, const std::u16string& wide) {
  std::string ansiField = ansi;
  ansiField.resize(260, '\0');
  std::string wideField = Wide(wide);
  wideField.resize(520, '\0');
  return U32(0x314) + U32(0xA0000001) + ansiField + wideField;
}

// Some other block, which is skipped.
inline std::string TrackerBlock() { return U32(0x60) + U32(0xA0000003) + U32(0x58) + U32(0) + std::string(80, 'T'); }

}  // namespace vesta::testing::link_layout

#endif
