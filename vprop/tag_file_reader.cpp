// The tag file reader: turns the records of a world file back into record
// objects, one record (modes 0 to 2) or every record through callbacks
// (mode 3).
#include <cstring>

#include "common/numbers.h"
#include "common/tag_field.h"
#include "common/text.h"
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
  FFWorldCallback worldFunc;
  CRoomProp* room;
  FFRoomCallback roomFunc;
  CItemProp* item;
  FFItemCallback itemFunc;

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
        return worldFunc != nullptr && world != nullptr ? worldFunc(world) : -1;
      case kRoom:
        return roomFunc != nullptr && room != nullptr ? roomFunc(room) : -1;
      default:
        return itemFunc != nullptr && item != nullptr ? itemFunc(item) : -1;
    }
  }

  // Callbacks copy what they keep: every record object starts afresh.
  void ResetAll() const {
    if (world != nullptr) {
      world->WPTerminate();
      world->WPInitialise();
    }
    if (room != nullptr) {
      room->RPTerminate();
      room->RPInitialise();
    }
    if (item != nullptr) {
      item->IPTerminate();
      item->IPInitialise();
    }
  }
};

// The kind of record that the line's head opens in this mode, or -1.
int OpenedKind(const char* head, int mode) {
  for (int kind = kWorld; kind < kKindCount; ++kind) {
    if (mode != 3 && mode != kind) continue;
    if (std::strcmp(head, KindOf(kind).openTag) == 0) return kind;
  }
  return -1;
}

// Reads the fields of one line into record (null: dropped). A field that
// cannot be parsed drops the rest of the line and leaves its code in the
// error slot.
void ParseFields(const RecordKind& kind, void* record, const char* p, const char* end) {
  char value[kVUFieldBuffer];
  while (p < end) {
    const bool tagFits = end - p >= kVUTagLength;
    const FieldDef* def = tagFits ? kind.Find(p) : nullptr;
    if (def == nullptr) {
      const bool unlisted = tagFits && kind.skipsUnlisted && p[0] == '[' && p[4] == ']';
      if (!unlisted) {
        SetError(kFFErrorNotAField);
        return;
      }
    }
    const char* open = p + kVUTagLength;
    if (open >= end || *open != '[') {
      SetError(kFFErrorNoLengthBracket);
      return;
    }
    int32_t declared = 0;
    if (!VUParseInt(open + 1, &declared) || declared < 0) {
      SetError(kFFErrorNotAField);
      return;
    }
    if (declared >= kVUMaxLine) {
      SetError(kFFErrorLengthTooLarge);
      return;
    }
    const char* close = static_cast<const char*>(std::memchr(open + 1, ']', static_cast<size_t>(end - open - 1)));
    if (close == nullptr) {
      SetError(kFFErrorLengthNotClosed);
      return;
    }
    const char* text = close + 1;
    if (end - text < declared) {
      // The value would run past the line: it is not a whole field.
      SetError(kFFErrorNotAField);
      return;
    }
    if (def != nullptr) {
      std::memcpy(value, text, static_cast<size_t>(declared));
      value[declared] = '\0';
      StoreField(*def, record, value);
    }
    p = text + declared;
  }
}

int ReadTagFile(FILE* stream, const Targets& targets, int mode) {
  SetError(kFFErrorReadClean);
  if (stream == nullptr) return 0;

  bool ok = true;
  bool complete = false;
  bool finished = false;
  int open = -1;
  char endHead[kVUEndTagBuffer];
  char line[kLineBuffer];
  char head[kHeadLength + 1];

  while (std::fgets(line, sizeof line, stream) != nullptr) {
    // Tested after the read: one more line is taken after the last record.
    if (!ok || finished) break;
    int length = VUTrimLineEnd(line);
    VUCopyN(head, line, kHeadLength);

    if (open < 0) {
      open = OpenedKind(head, mode);
      if (open >= 0) {
        VUMakeEndTag(endHead, KindOf(open).openTag);
        endHead[kHeadLength] = '\0';
      }
      continue;
    }

    if (std::strcmp(head, endHead) != 0) {
      ParseFields(KindOf(open), targets.Object(open), line, line + length);
      continue;
    }

    const int kind = open;
    open = -1;
    if (mode != 3) {
      complete = true;
      finished = true;
      continue;
    }
    const int answer = targets.Deliver(kind);
    if (answer == 1) {
      complete = true;
    } else if (answer != -1) {
      SetError(kFFErrorGeneral);
      ok = false;
      finished = true;
    }
    targets.ResetAll();
  }
  return ok && complete ? 1 : 0;
}

}  // namespace
}  // namespace vesta::vprop

int FFReadTagFile(FILE* stream, CWorldProp* world, FFWorldCallback worldFunc, CRoomProp* room,
                  FFRoomCallback roomFunc, CItemProp* item, FFItemCallback itemFunc, int mode) {
  const vesta::vprop::Targets targets{world, worldFunc, room, roomFunc, item, itemFunc};
  try {
    return vesta::vprop::ReadTagFile(stream, targets, mode);
  } catch (...) {
    // A callback threw: treat it as a refusal rather than let it cross.
    vesta::vprop::SetError(kFFErrorGeneral);
    return 0;
  }
}

int FFReadTagFile(FILE* stream, CRoomProp* room, FFRoomCallback roomFunc, CItemProp* item,
                  FFItemCallback itemFunc, int mode) {
  return FFReadTagFile(stream, nullptr, nullptr, room, roomFunc, item, itemFunc, mode);
}
