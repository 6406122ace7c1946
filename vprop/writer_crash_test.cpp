// Writers of the world file and of the gather list killed at random
// moments: every record written before the kill reads back whole and in
// order, the record in flight is whole or absent, and records appended
// after one that was cut short read back whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/ptr_list.h"
#include "common/vertex_list.h"
#include "platform/file_system.h"
#include "platform/testing/crash.h"
#include "platform/testing/crash_rounds.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vprop/test_records.h"

namespace {

using vesta::testing::KillOutcome;
using vesta::testing::KillRound;

// A read of the file from an offset on, with the reader's error slot.
struct Found : vesta::testing::AppendRead {
  unsigned int error = kFFErrorReadClean;
};

long long SizeOf(FILE* stream) {
  std::fseek(stream, 0, SEEK_END);
  return std::ftell(stream);
}

// ---------------------------------------------------------------------------
// The world file: rooms of about 60 KB (many vertices) and items, taking
// turns.

constexpr int kExtraVertices = 1700;

// Record n: a room for even n, an item for odd n, every field following
// from n.
void MakeRoom(std::int64_t n, CRoomProp* room) {
  vesta::testing::FillRoom(room, static_cast<int>(n));
  const float base = static_cast<float>(n);
  for (int v = 0; v < kExtraVertices; ++v) {
    const float k = static_cast<float>(v);
    const float vertex[3] = {base + k / 7.0f, -k / 3.0f, base - k * 0.001f};
    VUVertexListAdd(&room->vertices, vertex);
  }
}

bool SaveWorldRecord(const std::string& path, std::int64_t n) {
  if (n % 2 == 0) {
    CRoomProp room;
    MakeRoom(n, &room);
    return FFSaveRoomProp(path.c_str(), &room) == 1;
  }
  CItemProp item;
  vesta::testing::FillItem(&item, static_cast<int>(n));
  return FFSaveItemProp(path.c_str(), &item) == 1;
}

// The read under way, for the reader's callbacks.
FILE* gStream = nullptr;
Found* gFound = nullptr;

// The vertices as one block, to compare thousands at once.
std::vector<float> Vertices(CRoomProp* room) {
  std::vector<float> out;
  void* vertex = nullptr;
  VUListPosition position = nullptr;
  for (int more = VUListFirst(room->vertices, &vertex, &position); more;
       more = VUListNext(room->vertices, &vertex, &position)) {
    const float* v = static_cast<const float*>(vertex);
    out.insert(out.end(), v, v + 3);
  }
  return out;
}

int RoomRead(CRoomProp* room) {
  EXPECT_EQ(room->roomIndex % 2, 0) << "an item's number on a room";
  CRoomProp expected;
  MakeRoom(room->roomIndex, &expected);
  EXPECT_TRUE(Vertices(room) == Vertices(&expected)) << "the vertices of room " << room->roomIndex;
  // The reader starts the record afresh after this call.
  room->RPTerminate();
  expected.RPTerminate();
  vesta::testing::ExpectSameRoom(*room, expected);
  gFound->numbers.push_back(room->roomIndex);
  gFound->end = std::ftell(gStream);
  return 1;
}

int ItemRead(CItemProp* item) {
  EXPECT_EQ(item->itemIndex % 2, 1) << "a room's number on an item";
  CItemProp expected;
  vesta::testing::FillItem(&expected, item->itemIndex);
  vesta::testing::ExpectSameStoredItem(*item, expected);
  gFound->numbers.push_back(item->itemIndex);
  gFound->end = std::ftell(gStream);
  return 1;
}

Found ReadWorld(const std::string& path, long long from) {
  Found found;
  found.end = from;
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "r");
  if (stream == nullptr) return found;
  std::fseek(stream, static_cast<long>(from), SEEK_SET);
  CRoomProp room;
  room.RPInitialise();
  CItemProp item;
  item.IPInitialise();
  gStream = stream;
  gFound = &found;
  FFReadTagFile(stream, &room, RoomRead, &item, ItemRead, 3);
  gStream = nullptr;
  gFound = nullptr;
  FFGetError(&found.error);
  found.size = SizeOf(stream);
  found.endsWhole = found.end == found.size;
  std::fclose(stream);
  return found;
}

TEST(WriterCrashTest, TheWorldFileKeepsEveryRecordButTheOneInFlight) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  vesta::testing::ScratchFolder scratch;
  const std::string path = scratch.Path("Crash.vwq");

  vesta::testing::AppendedRecords file;
  auto check = [&](const KillRound& round) {
    const bool cutBefore = file.CutPending();
    const Found found = ReadWorld(path, file.Checkpoint());
    KillOutcome outcome = file.Take(round, found);
    // Whole records alone leave the reader's slot clean; a record cut after
    // its opening line is reported.
    if (!cutBefore && !file.CutPending()) {
      EXPECT_EQ(found.error, kFFErrorReadClean) << "round " << round.index;
    }
    if (found.error != kFFErrorReadClean) {
      EXPECT_EQ(found.error, kFFErrorRecordCut) << "round " << round.index;
    }
    return outcome;
  };
  const vesta::testing::KillTally tally = vesta::testing::KillWriterRepeatedly(
      "world file", [&](std::int64_t n) { return SaveWorldRecord(path, n); }, check,
      vesta::platform::HostPath(path.c_str()));
  EXPECT_GE(tally.kills, vesta::testing::CrashKills());
  EXPECT_LE(tally.Lost(), tally.kills);

  // A later writer's record reads back whole after whatever the last kill
  // left, and the file from its start holds every record kept, in order.
  ASSERT_TRUE(vesta::testing::RunInChild([&] { return SaveWorldRecord(path, tally.next); }));
  file.Add(tally.next);
  const Found all = ReadWorld(path, 0);
  EXPECT_EQ(all.numbers, file.Numbers());
  EXPECT_EQ(all.end, all.size);
}

// ---------------------------------------------------------------------------
// The gather list.

std::string GatherTarget(std::int64_t n) { return "C:\\Gather\\" + vesta::testing::NumberedText(n, 200) + ".txt"; }
std::string GatherIcon(std::int64_t n) { return "C:\\Icons\\" + vesta::testing::NumberedText(n, 40) + ".ico"; }
std::string GatherIndex(std::int64_t n) { return std::to_string(n % 1000); }

bool AppendGatherEntry(const std::string& path, std::int64_t n) {
  CVGather gather;
  gather.GAInitialise();
  gather.GASetDataFileName(path.c_str());
  gather.GAInitNewEntry();
  gather.GASetTargetFilePath(GatherTarget(n).c_str());
  gather.GASetTargetSectorID(static_cast<int>(n));
  gather.GASetIconFilePath(GatherIcon(n).c_str());
  gather.GASetIconIndex(GatherIndex(n).c_str());
  return gather.GAAppendNewEntry() == 1;
}

Found ReadGather(const std::string& path, long long from) {
  Found found;
  found.end = from;
  CVGather gather;
  gather.GAInitialise();
  gather.GASetDataFileName(path.c_str());
  // Read on from the checkpoint through the list's own stream.
  gather.dataFile = vesta::platform::OpenStream(path.c_str(), "r");
  if (gather.dataFile == nullptr) return found;
  std::fseek(gather.dataFile, static_cast<long>(from), SEEK_SET);
  FFSetError(kFFErrorReadClean);
  while (gather.GASelectNext()) {
    int room = -1;
    char text[261];
    gather.GAGetTargetSectorID(&room);
    gather.GAGetFileAndPath(text);
    EXPECT_EQ(text, GatherTarget(room));
    gather.GAGetIconFilePath(text);
    EXPECT_EQ(text, GatherIcon(room));
    gather.GAGetIconIndex(text);
    EXPECT_EQ(text, GatherIndex(room));
    found.numbers.push_back(room);
    found.end = std::ftell(gather.dataFile);
  }
  FFGetError(&found.error);
  found.size = SizeOf(gather.dataFile);
  found.endsWhole = found.end == found.size;
  return found;
}

TEST(WriterCrashTest, TheGatherListKeepsEveryEntryButTheOneInFlight) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  vesta::testing::ScratchFolder scratch;
  const std::string path = scratch.Path("gather.dat");

  vesta::testing::AppendedRecords file;
  auto check = [&](const KillRound& round) { return file.Take(round, ReadGather(path, file.Checkpoint())); };
  const vesta::testing::KillTally tally = vesta::testing::KillWriterRepeatedly(
      "gather list", [&](std::int64_t n) { return AppendGatherEntry(path, n); }, check);
  EXPECT_GE(tally.kills, vesta::testing::CrashKills());
  EXPECT_LE(tally.Lost(), tally.kills);

  ASSERT_TRUE(vesta::testing::RunInChild([&] { return AppendGatherEntry(path, tally.next); }));
  file.Add(tally.next);
  const Found all = ReadGather(path, 0);
  EXPECT_EQ(all.numbers, file.Numbers());
  EXPECT_EQ(all.end, all.size);
}

}  // namespace
