// The tag file reader: turns the records of a world file back into record
// objects, one record (modes 0 to 2) or every record through callbacks
// (mode 3).
#include <cstring>

#include "common/numbers.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "platform/line_pieces.h"
#include "vesta/vprop.h"
#include "vprop/library_state.h"
#include "vprop/record_kinds.h"

namespace vesta::vprop {
namespace {

// A line is at most 266 characters; the rest of a longer one comes back as
// a further line.
constexpr int kLineBuffer = kVUMaxLine + 1;
constexpr int kHeadLength = 6;

enum Kind { kWorld = 0, kRoom = 1, kItem = 2, kKindCount = 3 };

const RecordKind& KindOf(int kind) {
  switch (kind) {
    case kWorld:
      return WorldKind();
    case kRoom:
      return RoomKind();
    default:
      return ItemKind();
  }
}

struct Targets {
  CWorldProp* world;
  CRoomProp* room;
  CItemProp* item;
  const FFReadHandlers& on;

  void* Object(int kind) const {
    switch (kind) {
      case kWorld:
        return world;
      case kRoom:
        return room;
      default:
        return item;
    }
  }

  // Hands the record just read to its callback. -1 when the kind has no
  // callback or no object (its fields were dropped), else the callback's
  // answer.
  int Deliver(int kind) const {
    switch (kind) {
      case kWorld:
        return on.world != nullptr && world != nullptr ? on.world(world, on.context) : -1;
      case kRoom:
        return on.room != nullptr && room != nullptr ? on.room(room, on.context) : -1;
      default:
        return on.item != nullptr && item != nullptr ? on.item(item, on.context) : -1;
    }
  }

  // Keeps the code in the error slot, and tells the caller where.
  void Damage(int kind, unsigned int code, long line) const {
    SetError(code);
    if (on.damage != nullptr) on.damage(kind, code, line, on.context);
  }

  // Starts the record object of kind afresh.
  void Reset(int kind) const {
    if (kind == kWorld && world != nullptr) {
      world->WPTerminate();
      world->WPInitialise();
    } else if (kind == kRoom && room != nullptr) {
      room->RPTerminate();
      room->RPInitialise();
    } else if (kind == kItem && item != nullptr) {
      item->IPTerminate();
      item->IPInitialise();
    }
  }

  // Callbacks copy what they keep: every record object starts afresh.
  void ResetAll() const {
    for (int kind = kWorld; kind < kKindCount; ++kind) Reset(kind);
  }
};

// True when the line's head (its first six characters, or the whole line
// when it is shorter) equals tag (at most six characters).
bool HeadEquals(const char* line, int length, const char* tag, int tagLength) {
  if (tagLength == kHeadLength) return length >= kHeadLength && std::memcmp(line, tag, kHeadLength) == 0;
  return length == tagLength && std::memcmp(line, tag, static_cast<size_t>(length)) == 0;
}

// The kind of record that the line's head opens in this mode, or -1.
int OpenedKind(const char* line, int length, int mode) {
  // Every opening tag is "[" four letters "]"; a line of fields has "[" there.
  if (length < kHeadLength || line[0] != '[' || line[kHeadLength - 1] != ']') return -1;
  for (int kind = kWorld; kind < kKindCount; ++kind) {
    if (mode != 3 && mode != kind) continue;
    if (HeadEquals(line, length, KindOf(kind).openTag, kHeadLength)) return kind;
  }
  return -1;
}

// Reads the declared length after the "[" at open: *declared, and the "]"
// that closes it in *close. Returns the error code, or 0.
unsigned int ReadLength(const char* open, const char* end, int32_t* declared, const char** close) {
  // One or two digits and "]", the lengths of most fields, without a
  // branch on how many.
  if (end - open >= 4) {
    const unsigned first = static_cast<unsigned char>(open[1] - '0');
    const unsigned second = static_cast<unsigned char>(open[2] - '0');
    const bool two = second < 10;
    const char* bracket = open + (two ? 3 : 2);
    if (first < 10 && *bracket == ']') {
      *declared = static_cast<int32_t>(two ? first * 10 + second : first);
      *close = bracket;
      return 0;
    }
  }
  const char* p = open + 1;
  // Plain digits directly followed by "]": the length as the writers give it.
  int32_t n = 0;
  const char* digits = p;
  while (p < end && *p >= '0' && *p <= '9' && p - digits < 4) n = n * 10 + (*p++ - '0');
  if (p > digits && p < end && *p == ']') {
    *declared = n;
    *close = p;
    return n >= kVUMaxLine ? static_cast<unsigned int>(kFFErrorLengthTooLarge) : 0u;
  }
  // Anything else (blanks, a sign, more digits) as the number reader takes
  // it, from the rest of the line alone.
  char rest[kLineBuffer];
  const size_t restLength = static_cast<size_t>(end - open - 1);
  std::memcpy(rest, open + 1, restLength);
  rest[restLength] = '\0';
  if (!VUParseInt(rest, declared) || *declared < 0) return kFFErrorNotAField;
  if (*declared >= kVUMaxLine) return kFFErrorLengthTooLarge;
  *close = static_cast<const char*>(std::memchr(open + 1, ']', static_cast<size_t>(end - open - 1)));
  return *close == nullptr ? static_cast<unsigned int>(kFFErrorLengthNotClosed) : 0u;
}

// Reads the fields of one line into record (null: dropped). A field that
// cannot be parsed drops the rest of the line: its code is returned (0 when
// the whole line was read). *next is the field expected next, carried from
// line to line: fields mostly come in the order written, so the tag is
// first compared with that one's, and else taken as a key into the
// record's table. What the loop uses is held in locals: a store into the
// record (through a char pointer) would otherwise make the compiler read
// them again from memory after every field.
unsigned int ParseFields(const RecordKind& kind, void* record, const char* p, const char* end, int* next) {
  const FieldDef* const fields = kind.readable;
  const int count = kind.readableCount;
  const bool skipsUnlisted = kind.skipsUnlisted;
  int expected = *next;
  unsigned int error = 0;
  while (p < end) {
    if (end - p < kVUTagLength) {
      error = kFFErrorNotAField;
      break;
    }
    const FieldDef* def = nullptr;
    if (expected < count && std::memcmp(p, fields[expected].tag, kVUTagLength) == 0) {
      def = &fields[expected++];
    } else if (const int i = kind.index.Find(p); i >= 0) {
      def = &fields[i];
      expected = i + 1;
    } else if (!skipsUnlisted || p[0] != '[' || p[4] != ']') {
      error = kFFErrorNotAField;
      break;
    }
    const char* open = p + kVUTagLength;
    if (open >= end || *open != '[') {
      error = kFFErrorNoLengthBracket;
      break;
    }
    int32_t declared = 0;
    const char* close = nullptr;
    if ((error = ReadLength(open, end, &declared, &close)) != 0) break;
    const char* text = close + 1;
    // The value would run past the line: it is not a whole field.
    if (end - text < declared) {
      error = kFFErrorNotAField;
      break;
    }
    if (def != nullptr) StoreField(*def, record, text, declared);
    p = text + declared;
  }
  *next = expected;
  return error;
}

static_assert(platform::LinePieces::kSlack >= kShortText, "a value at a piece's end is read as a block");

int ReadTagFile(FILE* stream, const Targets& targets, int mode) {
  SetError(kFFErrorReadClean);
  if (stream == nullptr) return 0;

  bool ok = true;
  bool complete = false;
  bool finished = false;
  bool delivered = false;  // a record was handed on: every object was reset then
  int open = -1;
  int next = 0;  // the field expected next in the open record
  long number = 0;        // of the line read, 1 the first
  long openedAt = 0;      // the line where the open record began
  bool lineEnded = true;  // the piece read before ended its line
  // Opens the record that the line begins, if the mode takes it.
  auto openAt = [&](const char* text, int length) {
    open = OpenedKind(text, length, mode);
    next = 0;
    openedAt = number;
  };

  // The stream stands just after the piece taken last, also while a
  // callback runs, so that a caller may note where the record it is handed
  // ends.
  platform::LinePieces pieces(stream, kLineBuffer);
  const char* line = nullptr;
  int length = 0;
  while (pieces.Next(&line, &length)) {
    // Tested after the read: one more line is taken after the last record.
    if (!ok || finished) break;
    // A line longer than the buffer comes in pieces: they share its number.
    if (lineEnded) ++number;
    lineEnded = length > 0 && line[length - 1] == '\n';
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) --length;

    if (open < 0) {
      openAt(line, length);
      continue;
    }

    const RecordKind& kind = KindOf(open);
    if (!HeadEquals(line, length, kind.endHead, kind.endHeadLength)) {
      if (OpenedKind(line, length, 3) >= 0) {
        // A record opens before this one ended: this one was cut short (a
        // writer that died). It is dropped, and the new one read.
        targets.Damage(open, kFFErrorRecordCut, openedAt);
        targets.Reset(open);
        openAt(line, length);
      } else if (unsigned int error = ParseFields(kind, targets.Object(open), line, line + length, &next)) {
        targets.Damage(open, error, number);
      }
      continue;
    }

    const int ended = open;
    open = -1;
    if (mode != 3) {
      complete = true;
      finished = true;
      continue;
    }
    const int answer = targets.Deliver(ended);
    if (answer == 1) {
      complete = true;
    } else if (answer != -1) {
      SetError(kFFErrorGeneral);
      ok = false;
      finished = true;
    }
    // Every object starts afresh after the first record; after that only
    // the one just read has anything to forget.
    if (delivered) {
      targets.Reset(ended);
    } else {
      targets.ResetAll();
      delivered = true;
    }
  }
  // The file ends inside a record: it is not delivered.
  if (open >= 0) targets.Damage(open, kFFErrorRecordCut, openedAt);
  return ok && complete ? 1 : 0;
}

// The callbacks without a context, as the first form of the reader takes
// them.
struct PlainCallbacks {
  FFWorldCallback world;
  FFRoomCallback room;
  FFItemCallback item;
};

int PlainWorld(CWorldProp* world, void* context) { return static_cast<PlainCallbacks*>(context)->world(world); }
int PlainRoom(CRoomProp* room, void* context) { return static_cast<PlainCallbacks*>(context)->room(room); }
int PlainItem(CItemProp* item, void* context) { return static_cast<PlainCallbacks*>(context)->item(item); }

}  // namespace
}  // namespace vesta::vprop

int FFReadTagFile(FILE* stream, CWorldProp* world, CRoomProp* room, CItemProp* item, const FFReadHandlers& handlers,
                  int mode) {
  const vesta::vprop::Targets targets{world, room, item, handlers};
  try {
    return vesta::vprop::ReadTagFile(stream, targets, mode);
  } catch (...) {
    // A callback threw: treat it as a refusal rather than let it cross.
    vesta::vprop::SetError(kFFErrorGeneral);
    return 0;
  }
}

int FFReadTagFile(FILE* stream, CWorldProp* world, FFWorldCallback worldFunc, CRoomProp* room,
                  FFRoomCallback roomFunc, CItemProp* item, FFItemCallback itemFunc, int mode) {
  using vesta::vprop::PlainCallbacks;
  PlainCallbacks plain{worldFunc, roomFunc, itemFunc};
  FFReadHandlers handlers{};
  handlers.world = worldFunc != nullptr ? vesta::vprop::PlainWorld : nullptr;
  handlers.room = roomFunc != nullptr ? vesta::vprop::PlainRoom : nullptr;
  handlers.item = itemFunc != nullptr ? vesta::vprop::PlainItem : nullptr;
  handlers.context = &plain;
  return FFReadTagFile(stream, world, room, item, handlers, mode);
}

int FFReadTagFile(FILE* stream, CRoomProp* room, FFRoomCallback roomFunc, CItemProp* item,
                  FFItemCallback itemFunc, int mode) {
  return FFReadTagFile(stream, nullptr, nullptr, room, roomFunc, item, itemFunc, mode);
}
