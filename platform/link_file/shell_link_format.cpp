#include "platform/link_file/shell_link_format.h"

#include <cstddef>
#include <vector>

#include "platform/code_page.h"

namespace vesta::platform::link_file {
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
constexpr uint32_t kDisableLinkPathTracking = 0x100000;  // ignore the environment block

// LinkInfo.
constexpr uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr uint32_t kLinkInfoUnicodeHeaderSize = 0x24;  // with the UTF-16 offsets
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kCommonNetworkRelativeLink = 0x02;
constexpr uint32_t kVolumeIdSize = 0x11;  // the fields and an empty label
constexpr uint32_t kMinVolumeIdSize = 0x11;
constexpr uint32_t kNetworkLinkSize = 0x14;         // without the UTF-16 offsets
constexpr uint32_t kNetworkLinkUnicodeSize = 0x1C;  // with them
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kDriveRemote = 4;
constexpr uint32_t kShowNormal = 1;
constexpr size_t kMaxStringData = 0xFFFF;

// ExtraData.
constexpr uint32_t kEnvironmentBlock = 0xA0000001;
constexpr uint32_t kEnvironmentBlockSize = 0x314;
constexpr size_t kEnvironmentAnsi = 8;      // 260 bytes
constexpr size_t kEnvironmentUnicode = 268;  // 520 bytes

// Items of the shell's item list. The root item names My Computer
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}; a drive item holds "C:\" in a
// 20-byte field; a file-system item holds its name in the code page (UTF-16
// with kItemUnicode) and, in an 0xBEEF0004 extension block, its long name in
// UTF-16.
const unsigned char kMyComputer[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                       0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
constexpr uint32_t kRootItem = 0x1F;
constexpr uint32_t kMyComputerSortIndex = 0x50;
constexpr uint32_t kItemClassMask = 0x70;
constexpr uint32_t kDriveClass = 0x20;
constexpr uint32_t kDriveItem = 0x2F;
constexpr size_t kDriveNameField = 20;
constexpr uint32_t kFileClass = 0x30;
constexpr uint32_t kFolderItem = 0x31;
constexpr uint32_t kFileItem = 0x32;
constexpr uint32_t kItemUnicode = 0x04;
constexpr uint32_t kFolderAttribute = 0x10;
constexpr size_t kItemName = 14;  // after size, type, a zero, file size, date and time, attributes
constexpr uint32_t kFileExtension = 0xBEEF0004;
constexpr uint32_t kFileExtensionVersion = 3;  // the oldest that carries the long name
constexpr uint32_t kLongNameOffsetV3 = 20;     // where version 3 keeps the name
constexpr size_t kMaxListSize = 0xFFFF;

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

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A name the shell would take as one component of a path.
bool IsItemName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    for (char bad : std::string("<>:\"/\\|?*")) {
      if (c == bad) return false;
    }
  }
  return true;
}

// One file-system item, as the shell writes it for a name it has no short
// form of: the name itself in both places, no size, times or attributes
// beyond the folder's.
std::string FileSystemItem(const std::string& name, bool folder) {
  std::string body;
  body.push_back(static_cast<char>(folder ? kFolderItem : kFileItem));
  body.push_back('\0');
  PutU32(&body, 0);  // size
  PutU32(&body, 0);  // date and time
  PutU16(&body, folder ? kFolderAttribute : 0);
  body += name;
  body.push_back('\0');
  if (body.size() % 2 != 0) body.push_back('\0');  // the block starts on a 16-bit boundary
  const uint32_t blockOffset = static_cast<uint32_t>(body.size() + 2);
  const std::u16string wide = AnsiToUtf16(name);
  std::string block;
  PutU16(&block, kFileExtensionVersion);
  PutU32(&block, kFileExtension);
  PutU32(&block, 0);  // created
  PutU32(&block, 0);  // accessed
  PutU16(&block, kLongNameOffsetV3);
  PutU16(&block, 0);  // no localised name
  for (char16_t unit : wide) PutU16(&block, unit);
  PutU16(&block, 0);
  PutU16(&block, blockOffset);
  PutU16(&body, static_cast<uint32_t>(block.size() + 2));
  body += block;
  std::string item;
  PutU16(&item, static_cast<uint32_t>(body.size() + 2));
  return item + body;
}

// The item list for a target on a drive, with its size in front; empty
// when the target is not of the form "X:\name\...\name" with names the
// shell takes, or when the items would not fit their 16-bit sizes.
std::string ItemIdList(const std::string& target) {
  if (target.size() < 3 || !IsDriveLetter(target[0]) || target[1] != ':' || target[2] != '\\') return "";
  std::vector<std::string> names;
  if (target.size() > 3) {
    size_t begin = 3;
    for (;;) {
      size_t end = target.find('\\', begin);
      names.push_back(target.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
      if (!IsItemName(names.back())) return "";
      if (end == std::string::npos) break;
      begin = end + 1;
    }
  }
  std::string list;
  PutU16(&list, 2 + 2 + sizeof kMyComputer);
  list.push_back(static_cast<char>(kRootItem));
  list.push_back(static_cast<char>(kMyComputerSortIndex));
  list.append(reinterpret_cast<const char*>(kMyComputer), sizeof kMyComputer);
  PutU16(&list, 2 + 1 + kDriveNameField + 2);
  list.push_back(static_cast<char>(kDriveItem));
  std::string drive = target.substr(0, 3);
  drive.resize(kDriveNameField, '\0');
  list += drive;
  PutU16(&list, 0);
  for (size_t i = 0; i < names.size(); ++i) {
    // An item's size and the list's are 16-bit: a name of more than about
    // 21000 characters has no item.
    if (names[i].size() > kMaxListSize / 4) return "";
    list += FileSystemItem(names[i], i + 1 < names.size());
    if (list.size() > kMaxListSize) return "";
  }
  PutU16(&list, 0);  // terminal ID
  if (list.size() > kMaxListSize) return "";
  std::string sized;
  PutU16(&sized, static_cast<uint32_t>(list.size()));
  return sized + list;
}

std::string LinkInfo(const std::string& target) {
  const uint32_t volumeOffset = kLinkInfoHeaderSize;
  const uint32_t baseOffset = volumeOffset + kVolumeIdSize;
  const uint32_t suffixOffset = baseOffset + static_cast<uint32_t>(target.size()) + 1;
  const uint32_t size = suffixOffset + 1;
  const bool share = target.compare(0, 2, "\\\\") == 0;
  std::string info;
  PutU32(&info, size);
  PutU32(&info, kLinkInfoHeaderSize);
  PutU32(&info, kVolumeIdAndLocalBasePath);
  PutU32(&info, volumeOffset);
  PutU32(&info, baseOffset);
  PutU32(&info, 0);  // no network link
  PutU32(&info, suffixOffset);
  // VolumeID: a disk without serial number or label.
  PutU32(&info, kVolumeIdSize);
  PutU32(&info, share ? kDriveRemote : kDriveFixed);
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
  Reader(const std::string& bytes, size_t begin, size_t end) : bytes_(&bytes), begin_(begin), end_(end) {}

  size_t Size() const { return end_ - begin_; }

  // The part of size bytes at at; false when it does not fit.
  bool Part(size_t at, size_t size, Reader* part) const {
    if (at > Size() || Size() - at < size) return false;
    *part = Reader(*bytes_, begin_ + at, begin_ + at + size);
    return true;
  }

  bool U8(size_t at, uint32_t* value) const {
    if (at >= Size()) return false;
    *value = Byte(at);
    return true;
  }

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

  bool Equals(size_t at, const unsigned char* expected, size_t size) const {
    if (at > Size() || Size() - at < size) return false;
    return bytes_->compare(begin_ + at, size, reinterpret_cast<const char*>(expected), size) == 0;
  }

  // A zero-terminated 8-bit text that begins at at.
  bool Text(size_t at, std::string* text) const {
    for (size_t i = at; i < Size(); ++i) {
      if (Byte(i) == 0) {
        text->assign(*bytes_, begin_ + at, i - at);
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
  uint32_t Byte(size_t at) const { return static_cast<unsigned char>((*bytes_)[begin_ + at]); }

  const std::string* bytes_;
  size_t begin_;
  size_t end_;
};

// A network path: the share's name, a back-slash and the rest.
std::string JoinShare(const std::string& share, const std::string& suffix) {
  if (suffix.empty() || (!share.empty() && share.back() == '\\')) return share + suffix;
  return share + "\\" + suffix;
}

// What a LinkInfo says of the target: its local path (base and suffix) and
// its network path (share and suffix), each empty when not there. Every
// offset must point past the header and into the structure; a text must
// end inside it.
struct LinkInfoTargets {
  std::string local;
  std::string network;
};

bool ReadNetworkLink(const Reader& info, uint32_t offset, std::string* share) {
  uint32_t size = 0;
  uint32_t nameOffset = 0;
  Reader link = info;
  if (!info.U32(offset, &size) || size < kNetworkLinkSize || !info.Part(offset, size, &link) ||
      !link.U32(8, &nameOffset) || nameOffset < kNetworkLinkSize || nameOffset >= size) {
    return false;
  }
  // The UTF-16 offsets are there when the name starts past them.
  uint32_t wideNameOffset = 0;
  if (nameOffset > kNetworkLinkSize) {
    if (nameOffset < kNetworkLinkUnicodeSize || !link.U32(kNetworkLinkSize, &wideNameOffset)) return false;
    if (wideNameOffset != 0 && (wideNameOffset < kNetworkLinkUnicodeSize || wideNameOffset >= size)) return false;
  }
  return wideNameOffset != 0 ? link.WideText(wideNameOffset, share) : link.Text(nameOffset, share);
}

bool ReadLinkInfo(const Reader& info, LinkInfoTargets* targets) {
  uint32_t headerSize = 0;
  uint32_t flags = 0;
  uint32_t volumeOffset = 0;
  uint32_t baseOffset = 0;
  uint32_t networkOffset = 0;
  uint32_t suffixOffset = 0;
  if (!info.U32(4, &headerSize) || !info.U32(8, &flags) || !info.U32(12, &volumeOffset) ||
      !info.U32(16, &baseOffset) || !info.U32(20, &networkOffset) || !info.U32(24, &suffixOffset)) {
    return false;
  }
  if (headerSize > info.Size() || (headerSize != kLinkInfoHeaderSize && headerSize < kLinkInfoUnicodeHeaderSize)) {
    return false;
  }
  uint32_t wideBaseOffset = 0;
  uint32_t wideSuffixOffset = 0;
  if (headerSize >= kLinkInfoUnicodeHeaderSize && (!info.U32(28, &wideBaseOffset) || !info.U32(32, &wideSuffixOffset))) {
    return false;
  }
  // 0 marks a part that is not there.
  auto inside = [&](uint32_t offset) { return offset == 0 || (offset >= headerSize && offset < info.Size()); };
  if (!inside(volumeOffset) || !inside(baseOffset) || !inside(networkOffset) || !inside(suffixOffset) ||
      !inside(wideBaseOffset) || !inside(wideSuffixOffset)) {
    return false;
  }
  std::string suffix;
  if (wideSuffixOffset != 0) {
    if (!info.WideText(wideSuffixOffset, &suffix)) return false;
  } else if (suffixOffset != 0 && !info.Text(suffixOffset, &suffix)) {
    return false;
  }
  *targets = LinkInfoTargets();
  if (flags & kVolumeIdAndLocalBasePath) {
    uint32_t volumeSize = 0;
    Reader volume = info;
    if (volumeOffset == 0 || !info.U32(volumeOffset, &volumeSize) || volumeSize < kMinVolumeIdSize ||
        !info.Part(volumeOffset, volumeSize, &volume)) {
      return false;
    }
    if (baseOffset == 0 && wideBaseOffset == 0) return false;
    std::string base;
    if (!(wideBaseOffset != 0 ? info.WideText(wideBaseOffset, &base) : info.Text(baseOffset, &base))) return false;
    targets->local = base + suffix;
  }
  if (flags & kCommonNetworkRelativeLink) {
    std::string share;
    if (networkOffset == 0 || !ReadNetworkLink(info, networkOffset, &share)) return false;
    targets->network = JoinShare(share, suffix);
  }
  return true;
}

// The long name in a file-system item's 0xBEEF0004 block; where it starts
// grew with the block's version.
bool LongName(const Reader& block, std::string* name) {
  uint32_t version = 0;
  uint32_t signature = 0;
  if (!block.U16(2, &version) || !block.U32(4, &signature) || signature != kFileExtension || version < 3) {
    return false;
  }
  size_t offset = kLongNameOffsetV3;
  if (version >= 7) offset += 18;  // file reference and more
  if (version >= 8) offset += 4;
  if (version >= 9) offset += 4;
  // The block ends with its own offset in the item.
  Reader names = block;
  return block.Size() >= 2 && block.Part(0, block.Size() - 2, &names) && names.WideText(offset, name) && !name->empty();
}

// The name of a file-system item: the long one where an extension block
// has it, else the one that follows the item's fixed fields.
bool FileSystemName(const Reader& item, uint32_t type, std::string* name) {
  size_t end = 0;
  if (type & kItemUnicode) {
    if (!item.WideText(kItemName, name)) return false;
    end = kItemName + 2 * (name->size() + 1);  // a character for each unit
  } else {
    if (!item.Text(kItemName, name)) return false;
    end = kItemName + name->size() + 1;
    end += end % 2;
  }
  // Extension blocks: size, version, signature, data; a zero size ends them.
  uint32_t size = 0;
  Reader block = item;
  while (item.U16(end, &size) && size >= 8 && item.Part(end, size, &block)) {
    std::string longName;
    if (LongName(block, &longName)) {
      *name = longName;
      break;
    }
    end += size;
  }
  return !name->empty();
}

// The path that the items name: My Computer (which may be left out), a
// drive, then file-system items; empty for anything else.
std::string ItemsPath(const Reader& list, const std::vector<std::pair<size_t, size_t>>& items) {
  size_t next = 0;
  Reader item = list;
  uint32_t type = 0;
  auto open = [&](size_t index) {
    return list.Part(items[index].first, items[index].second, &item) && item.U8(2, &type);
  };
  if (next < items.size() && open(next) && type == kRootItem) {
    if (!item.Equals(4, kMyComputer, sizeof kMyComputer)) return "";
    ++next;
  }
  std::string path;
  if (next >= items.size() || !open(next) || (type & kItemClassMask) != kDriveClass || !item.Text(3, &path)) return "";
  if (path.size() == 2) path += '\\';
  if (path.size() != 3 || !IsDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return "";
  for (++next; next < items.size(); ++next) {
    std::string name;
    if (!open(next) || (type & kItemClassMask) != kFileClass || !FileSystemName(item, type, &name)) return "";
    if (path.back() != '\\') path += '\\';
    path += name;
  }
  return path;
}

// Walks an item list: items, each with its size first, and a terminal ID.
// False when an item runs past the list or the terminal ID is missing.
bool ReadIdList(const Reader& list, std::string* path) {
  std::vector<std::pair<size_t, size_t>> items;
  size_t at = 0;
  uint32_t size = 0;
  for (;;) {
    if (!list.U16(at, &size)) return false;
    if (size == 0) break;
    if (size < 2 || size > list.Size() - at) return false;
    items.emplace_back(at, size);
    at += size;
  }
  *path = ItemsPath(list, items);
  return true;
}

// A fixed field's text: up to its first zero, or the whole field.
std::string FieldText(const Reader& field, bool unicode) {
  std::string text;
  if (unicode) {
    field.Counted(0, field.Size() / 2, true, &text);
  } else {
    field.Counted(0, field.Size(), false, &text);
  }
  return text;
}

// Walks the extra data blocks up to the terminal block, keeping the
// environment block's target (its UTF-16 form where there is one). False
// when a block runs past the end, is too small to be one, or an environment
// block is not of its size, or the terminal block is missing.
bool ReadExtraData(const Reader& file, size_t at, std::string* environmentTarget) {
  for (;;) {
    uint32_t size = 0;
    if (!file.U32(at, &size)) return false;
    if (size < 4) return true;
    uint32_t signature = 0;
    Reader block = file;
    if (size < 8 || !file.Part(at, size, &block) || !block.U32(4, &signature)) return false;
    if (signature == kEnvironmentBlock) {
      if (size != kEnvironmentBlockSize) return false;
      Reader ansi = block;
      Reader wide = block;
      block.Part(kEnvironmentAnsi, kEnvironmentUnicode - kEnvironmentAnsi, &ansi);
      block.Part(kEnvironmentUnicode, kEnvironmentBlockSize - kEnvironmentUnicode, &wide);
      *environmentTarget = FieldText(wide, true);
      if (environmentTarget->empty()) *environmentTarget = FieldText(ansi, false);
    }
    at += size;
  }
}

// The parts of a path: its root ("C:\", "\\server\share\", "\", "/" or
// none) and what follows.
struct PathParts {
  std::string root;
  std::string rest;
  char separator = '\\';
};

PathParts SplitRoot(const std::string& path) {
  PathParts parts;
  if (!path.empty() && path[0] == '/') {
    parts.root = "/";
    parts.rest = path.substr(1);
    parts.separator = '/';
  } else if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    parts.root = path.substr(0, 2) + "\\";
    parts.rest = path.substr(path.size() > 2 && (path[2] == '\\' || path[2] == '/') ? 3 : 2);
  } else if (path.compare(0, 2, "\\\\") == 0) {
    size_t server = path.find('\\', 2);
    size_t share = server == std::string::npos ? std::string::npos : path.find('\\', server + 1);
    parts.root = share == std::string::npos ? path : path.substr(0, share + 1);
    parts.rest = share == std::string::npos ? "" : path.substr(share + 1);
  } else if (!path.empty() && path[0] == '\\') {
    parts.root = "\\";
    parts.rest = path.substr(1);
  } else {
    parts.rest = path;
  }
  return parts;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string WriteShellLink(const ShellLinkFields& fields) {
  const std::string idList = ItemIdList(fields.target);
  uint32_t flags = kIsUnicode;
  if (!idList.empty()) flags |= kHasLinkTargetIdList;
  if (!fields.target.empty()) flags |= kHasLinkInfo;
  const std::pair<uint32_t, const std::string*> strings[] = {
      {kHasName, &fields.description},     {kHasRelativePath, &fields.relativePath},
      {kHasWorkingDir, &fields.workingFolder}, {kHasArguments, &fields.arguments},
      {kHasIconLocation, &fields.iconFile},
  };
  for (const auto& [flag, text] : strings) {
    if (!text->empty()) flags |= flag;
  }

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

  out += idList;
  if (flags & kHasLinkInfo) out += LinkInfo(fields.target);
  for (const auto& [flag, text] : strings) {
    if (flags & flag) PutStringData(&out, *text);
  }
  PutU32(&out, 0);  // terminal block
  return out;
}

bool ReadShellLink(const std::string& bytes, ShellLinkFields* fields, const VariableLookup& lookup) {
  if (fields == nullptr) return false;
  Reader file(bytes, 0, bytes.size());
  uint32_t headerSize = 0;
  uint32_t flags = 0;
  uint32_t iconIndex = 0;
  if (!file.U32(0, &headerSize) || headerSize != kHeaderSize || bytes.size() < kHeaderSize ||
      !file.Equals(4, kLinkClass, sizeof kLinkClass)) {
    return false;
  }
  file.U32(0x14, &flags);
  file.U32(0x38, &iconIndex);

  ShellLinkFields read;
  read.iconIndex = static_cast<int32_t>(iconIndex);
  size_t at = kHeaderSize;
  std::string listPath;
  if (flags & kHasLinkTargetIdList) {
    uint32_t listSize = 0;
    Reader list = file;
    if (!file.U16(at, &listSize) || !file.Part(at + 2, listSize, &list) || !ReadIdList(list, &listPath)) return false;
    at += 2 + listSize;
  }
  LinkInfoTargets info;
  if (flags & kHasLinkInfo) {
    uint32_t infoSize = 0;
    Reader linkInfo = file;
    if (!file.U32(at, &infoSize) || infoSize < kLinkInfoHeaderSize || !file.Part(at, infoSize, &linkInfo)) return false;
    if ((flags & kForceNoLinkInfo) == 0 && !ReadLinkInfo(linkInfo, &info)) return false;
    at += infoSize;
  }
  // The strings, each after its flag; then the extra data.
  const bool unicode = (flags & kIsUnicode) != 0;
  const size_t stringsAt = at;
  std::string environmentTarget;
  auto readStrings = [&](uint32_t stringFlags) {
    const std::pair<uint32_t, std::string*> strings[] = {
        {kHasName, &read.description},     {kHasRelativePath, &read.relativePath},
        {kHasWorkingDir, &read.workingFolder}, {kHasArguments, &read.arguments},
        {kHasIconLocation, &read.iconFile},
    };
    at = stringsAt;
    environmentTarget.clear();
    for (const auto& [flag, text] : strings) {
      text->clear();
      if ((stringFlags & flag) == 0) continue;
      uint32_t count = 0;
      if (!file.U16(at, &count) || !file.Counted(at + 2, count, unicode, text)) return false;
      at += 2 + (unicode ? 2 * size_t{count} : size_t{count});
    }
    return ReadExtraData(file, at, &environmentTarget);
  };
  // The shell under Wine writes a relative path without setting its flag:
  // read so, the strings end where the extra data begins, and the path is
  // one (not empty, no null in it).
  if (!readStrings(flags) &&
      ((flags & kHasRelativePath) != 0 || !readStrings(flags | kHasRelativePath) || read.relativePath.empty() ||
       read.relativePath.find('\0') != std::string::npos)) {
    return false;
  }

  if (!info.local.empty()) {
    read.target = info.local;
  } else if (!info.network.empty()) {
    read.target = info.network;
  } else if (!environmentTarget.empty() && (flags & kDisableLinkPathTracking) == 0) {
    read.target = lookup ? ExpandVariables(environmentTarget, lookup) : environmentTarget;
  } else {
    read.target = listPath;
  }
  *fields = read;
  return true;
}

std::string ExpandVariables(const std::string& text, const VariableLookup& lookup) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t open = text.find('%', at);
    size_t close = open == std::string::npos ? std::string::npos : text.find('%', open + 1);
    if (close == std::string::npos) {
      out.append(text, at, std::string::npos);
      break;
    }
    out.append(text, at, open - at);
    std::string value;
    const std::string name = text.substr(open + 1, close - open - 1);
    if (!name.empty() && lookup && lookup(name, &value)) {
      out += value;
    } else {
      out.append(text, open, close - open + 1);
    }
    at = close + 1;
  }
  return out;
}

std::string ResolveRelativePath(const std::string& linkFile, const std::string& relative) {
  if (relative.empty() || IsSeparator(relative[0]) || (relative.size() >= 2 && IsDriveLetter(relative[0]) &&
                                                        relative[1] == ':')) {
    return relative;
  }
  size_t slash = linkFile.find_last_of("\\/");
  if (slash == std::string::npos) return relative;
  PathParts parts = SplitRoot(linkFile.substr(0, slash + 1) + relative);
  std::vector<std::string> names;
  size_t begin = 0;
  while (begin <= parts.rest.size()) {
    size_t end = parts.rest.find_first_of("\\/", begin);
    if (end == std::string::npos) end = parts.rest.size();
    std::string name = parts.rest.substr(begin, end - begin);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    begin = end + 1;
  }
  std::string path = parts.root;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) path += parts.separator;
    path += names[i];
  }
  return path;
}

}  // namespace vesta::platform::link_file
