// Saving records to a world file when the output fails: a save appends its
// record whole or leaves the file as it was, and says which; a write to a
// caller's stream reports what the stream did not take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "common/vertex_list.h"
#include "vprop/test_records.h"

namespace {

using vesta::testing::FaultCase;
using vesta::testing::FaultName;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

unsigned int ErrorSlot() {
  unsigned int code = 0;
  FFGetError(&code);
  return code;
}

std::string WithoutLineFeeds(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  return text;
}

// One kind of record: how it is saved to a file, written to a stream, and
// the code a file that cannot be opened gives.
struct Kind {
  const char* name;
  unsigned int openError;
  std::function<int(const char*)> save;
  std::function<int(FILE*)> write;
};

class TagFileOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.WPInitialise();
    std::strcpy(world_.worldName, "Attic");
    vesta::testing::FillRoom(&room_, 4);
    vesta::testing::FillItem(&item_, 7);
    kinds_ = {
        {"world", kFFErrorWorldOpenAppend, [this](const char* path) { return FFSaveWorldProp(path, &world_); },
         [this](FILE* stream) { return FFWriteWorldProp(stream, &world_); }},
        {"room", kFFErrorRoomOpenAppend, [this](const char* path) { return FFSaveRoomProp(path, &room_); },
         [this](FILE* stream) { return FFWriteRoomProp(stream, &room_); }},
        {"item", kFFErrorItemOpenAppend, [this](const char* path) { return FFSaveItemProp(path, &item_); },
         [this](FILE* stream) { return FFWriteItemProp(stream, &item_); }},
    };
  }

  bool NoTemporaries() const { return vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty(); }

  // The record as the kind writes it, without its line breaks (where the
  // lines break depends on what was written before).
  std::string RecordFields(const Kind& kind) {
    const std::string path = scratch_.Path("reference.vwq");
    vesta::platform::RemoveFile(path.c_str());
    EXPECT_EQ(kind.save(path.c_str()), 1);
    std::string text = ReadTextFile(path);
    vesta::platform::RemoveFile(path.c_str());
    return WithoutLineFeeds(text);
  }

  vesta::testing::ScratchFolder scratch_;
  CWorldProp world_;
  CRoomProp room_;
  CItemProp item_;
  std::vector<Kind> kinds_;
};

// Saves one after another keep the file open between them: each still goes
// to the file that the path names when it is made.
TEST_F(TagFileOutputTest, EachSaveGoesToTheFileThePathNamesThen) {
  const std::string path = scratch_.Path("world.vwq");
  const std::string moved = scratch_.Path("moved.vwq");
  // Line breaks follow the writers' shared counter: compare without them.
  std::string all;
  for (const Kind& kind : kinds_) all += RecordFields(kind);
  const std::string worldRecord = RecordFields(kinds_[0]);
  for (const Kind& kind : kinds_) ASSERT_EQ(kind.save(path.c_str()), 1) << kind.name;
  EXPECT_EQ(WithoutLineFeeds(ReadTextFile(path)), all);
  ASSERT_TRUE(vesta::platform::RemoveFile(path.c_str()));
  for (const Kind& kind : kinds_) ASSERT_EQ(kind.save(path.c_str()), 1) << kind.name;
  EXPECT_EQ(WithoutLineFeeds(ReadTextFile(path)), all) << "saved again after a delete";

  ASSERT_TRUE(vesta::platform::MoveOver(path.c_str(), moved.c_str()));
  ASSERT_EQ(kinds_[0].save(path.c_str()), 1);
  EXPECT_EQ(WithoutLineFeeds(ReadTextFile(moved)), all) << "the file moved away keeps what it had";
  EXPECT_EQ(WithoutLineFeeds(ReadTextFile(path)), worldRecord);

  // Another writer's text in between stays, and the next record follows it.
  ASSERT_TRUE(WriteTextFile(path, "\n[WORL]\n[NAM][1]w\n[LROW]\n"));
  ASSERT_EQ(kinds_[2].save(path.c_str()), 1);
  CItemProp loaded;
  loaded.IPInitialise();
  ASSERT_EQ(FFLoadItemProp(path.c_str(), &loaded), 1);
  EXPECT_STREQ(loaded.name, item_.name);
  CWorldProp world;
  world.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &world), 1);
  EXPECT_STREQ(world.worldName, "w");
}

TEST_F(TagFileOutputTest, ASaveAppendsItsRecordWholeOrLeavesTheFileAsItWas) {
  const std::string path = scratch_.Path("world.vwq");
  for (const Kind& kind : kinds_) {
    const std::string record = RecordFields(kind);
    // A file that ends with its line, and one whose last line a crash cut.
    const std::string whole = "\n[WORL]\n[NAM][1]w\n[LROW]\n";
    for (const std::string& before : {whole, whole + "\n[ITEM]\n[INA][9]cu"}) {
      const std::string what = std::string(kind.name) + (before.back() == '\n' ? "" : " after a cut line");
      int fired = vesta::testing::ForEveryFault(
          [&] {
            ASSERT_TRUE(WriteTextFile(path, before));
            FFSetError(0);
          },
          [&] { return kind.save(path.c_str()) == 1; },
          [&](const FaultCase& run, bool saved) {
            const std::string where = what + ", " + FaultName(run.point) + " " + std::to_string(run.nth);
            EXPECT_EQ(saved, !run.fired) << where;
            const std::string text = ReadTextFile(path);
            if (saved) {
              ASSERT_EQ(text.compare(0, before.size(), before), 0) << where;
              // The record begins on a line of its own.
              EXPECT_EQ(text.compare(before.size(), 2, before.back() == '\n' ? "\n[" : "\n\n"), 0) << where;
              EXPECT_EQ(WithoutLineFeeds(text.substr(before.size())), record) << where;
              EXPECT_NE(ErrorSlot(), kFFErrorWriteFailed) << where;
            } else {
              EXPECT_EQ(text, before) << where;
              EXPECT_EQ(ErrorSlot(), kFFErrorWriteFailed) << where;
            }
          });
      // The record goes out in one write, flush and close.
      EXPECT_EQ(fired, 3) << what;
    }

    // A file that cannot be opened keeps its own code; nothing is made.
    const std::string nowhere = scratch_.Path("no\\such\\world.vwq");
    EXPECT_EQ(kind.save(nowhere.c_str()), 0) << kind.name;
    EXPECT_EQ(ErrorSlot(), kind.openError) << kind.name;
    EXPECT_FALSE(vesta::platform::FolderExists(scratch_.Path("no").c_str()));
  }
  EXPECT_EQ(FFSaveWorldProp(path.c_str(), nullptr), 0);
  EXPECT_EQ(FFSaveRoomProp(path.c_str(), nullptr), 0);
  EXPECT_EQ(FFSaveItemProp(path.c_str(), nullptr), 0);
  EXPECT_TRUE(NoTemporaries());
}

// What the reader delivered, in file order.
struct Delivered {
  std::vector<std::string> order;
  std::vector<std::unique_ptr<CRoomProp>> rooms;
};
Delivered* gDelivered = nullptr;

int TakeWorld(CWorldProp* world) {
  gDelivered->order.push_back(std::string("world ") + world->worldName);
  return 1;
}

int TakeRoom(CRoomProp* room) {
  gDelivered->order.push_back(std::string("room ") + room->roomName);
  auto copy = std::make_unique<CRoomProp>();
  copy->RPInitialise();
  copy->RPCopyFrom(room);
  gDelivered->rooms.push_back(std::move(copy));
  return 1;
}

int TakeItem(CItemProp* item) {
  gDelivered->order.push_back(std::string("item ") + item->name);
  return 1;
}

TEST_F(TagFileOutputTest, ASaveAfterARecordCutShortReadsBackWithTheRecordsBeforeIt) {
  const std::string path = scratch_.Path("world.vwq");
  // The crash cut the last record inside a value that claims more than is
  // there.
  for (const char* cut : {"\n[ITEM]\n[INA][40]half a na", "\n[ITEM]\n[INA][4]Half\n[TGT", "\n[ITEM"}) {
    ASSERT_TRUE(WriteTextFile(path, ""));
    ASSERT_EQ(FFSaveWorldProp(path.c_str(), &world_), 1);
    ASSERT_EQ(FFSaveItemProp(path.c_str(), &item_), 1);
    ASSERT_TRUE(WriteTextFile(path, ReadTextFile(path) + cut));
    ASSERT_EQ(FFSaveRoomProp(path.c_str(), &room_), 1);

    Delivered delivered;
    gDelivered = &delivered;
    FILE* stream = vesta::platform::OpenStream(path.c_str(), "r");
    ASSERT_NE(stream, nullptr);
    CWorldProp world;
    world.WPInitialise();
    CRoomProp room;
    room.RPInitialise();
    CItemProp item;
    item.IPInitialise();
    EXPECT_EQ(FFReadTagFile(stream, &world, TakeWorld, &room, TakeRoom, &item, TakeItem, 3), 1) << cut;
    std::fclose(stream);
    gDelivered = nullptr;
    EXPECT_EQ(delivered.order,
              (std::vector<std::string>{"world Attic", std::string("item ") + item_.name, "room Room 4 [x]"}))
        << cut;
    ASSERT_EQ(delivered.rooms.size(), 1u);
    vesta::testing::ExpectSameRoom(*delivered.rooms[0], room_);
  }
}

TEST_F(TagFileOutputTest, ARecordStopsAtThePartThatFailed) {
  // A room of many vertices goes to the stream in several parts: after the
  // first fails, none of the rest follows it with a gap between.
  for (int v = 0; v < 2000; ++v) {
    const float vertex[3] = {static_cast<float>(v), 1.5f, -2.25f};
    VUVertexListAdd(&room_.vertices, vertex);
  }
  const std::string path = scratch_.Path("big.vwq");
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "wb");
  ASSERT_NE(stream, nullptr);
  {
    vesta::testing::FailingOutput full(vesta::platform::FaultPoint::kWrite, 1);
    EXPECT_EQ(FFWriteRoomProp(stream, &room_), 0);
  }
  std::fclose(stream);
  const std::string written = ReadTextFile(path);
  EXPECT_LE(written.size(), 16384u / 2);
  EXPECT_EQ(written.rfind("\n[SECT]\n", 0), 0u);
}

TEST_F(TagFileOutputTest, AWriteToAStreamThatFailsIsReported) {
  const std::string path = scratch_.Path("stream.vwq");
  for (const Kind& kind : kinds_) {
    // Every write and flush of the record, made to fail in turn.
    int fired = vesta::testing::ForEveryFault(
        [&] { FFSetError(0); },
        [&] {
          FILE* stream = vesta::platform::OpenStream(path.c_str(), "w");
          int written = kind.write(stream);
          std::fclose(stream);
          return written == 1;
        },
        [&](const FaultCase& run, bool written) {
          const std::string where =
              std::string(kind.name) + ", " + FaultName(run.point) + " " + std::to_string(run.nth);
          EXPECT_EQ(written, !run.fired) << where;
          EXPECT_EQ(ErrorSlot() == kFFErrorWriteFailed, run.fired) << where;
        });
    EXPECT_EQ(fired, 2) << kind.name;

    // A stream open only for reading takes nothing.
    ASSERT_TRUE(WriteTextFile(path, "kept\n"));
    FILE* stream = vesta::platform::OpenStream(path.c_str(), "r");
    ASSERT_NE(stream, nullptr);
    FFSetError(0);
    EXPECT_EQ(kind.write(stream), 0) << kind.name;
    EXPECT_EQ(ErrorSlot(), kFFErrorWriteFailed) << kind.name;
    std::fclose(stream);
    EXPECT_EQ(ReadTextFile(path), "kept\n");
    EXPECT_EQ(kind.write(nullptr), 0) << kind.name;
  }
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "w");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(FFWriteWorldProp(stream, nullptr), 0);
  EXPECT_EQ(FFWriteRoomProp(stream, nullptr), 0);
  EXPECT_EQ(FFWriteItemProp(stream, nullptr), 0);
  std::fclose(stream);
}

}  // namespace
