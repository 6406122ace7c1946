// Speed of the tag file at scale, as ratios against a plain line read and a
// plain write of the same text, measured in the same run:
//   read:  FFReadTagFile mode 3, callbacks copying each record, against an
//          fgets loop over the same file;
//   write: the save operations, record by record (each opens the file,
//          appends one record and closes it), against plain fputs of the
//          same text, both as one write and appended record by record in
//          the same way, and as the least a save that puts each record in
//          the file before it returns can do (one stream kept open, a write,
//          a flush and a look at the path per record); and the record
//          writers on one open stream against the one plain write;
// and the growth from 10,000 to 100,000 items.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"
#include "bench/world_generator.h"
#include "vesta/vprop.h"

namespace {

struct WorldFile {
  std::unique_ptr<vesta::bench::GeneratedWorld> world;
  std::string path;  // the world as the save operations wrote it
  std::string text;
  std::vector<std::string> records;  // the text of each record, in order
};

std::string Folder() {
  static const std::string folder = [] {
    auto path = std::filesystem::temp_directory_path() / "vesta-bench";
    std::filesystem::create_directories(path);
    return path.string() + "/";
  }();
  return folder;
}

void SaveWorld(const vesta::bench::GeneratedWorld& world, const std::string& path) {
  std::remove(path.c_str());
  FFSaveWorldProp(path.c_str(), const_cast<CWorldProp*>(&world.world));
  size_t room = 0;
  size_t item = 0;
  for (char kind : world.order) {
    if (kind == 'R') {
      FFSaveRoomProp(path.c_str(), world.rooms[room++].get());
    } else {
      FFSaveItemProp(path.c_str(), world.items[item++].get());
    }
  }
}

WorldFile& FileFor(int items) {
  static std::map<int, WorldFile> files;
  WorldFile& file = files[items];
  if (file.world == nullptr) {
    file.world = vesta::bench::GenerateWorld(items);
    file.path = Folder() + "world-" + std::to_string(items) + ".vwq";
    SaveWorld(*file.world, file.path);
    FILE* stream = std::fopen(file.path.c_str(), "rb");
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) file.text.append(buffer, n);
    std::fclose(stream);
    // Every record begins with a blank line.
    for (size_t at = 0; at < file.text.size();) {
      size_t next = file.text.find("\n\n[", at + 1);
      if (next == std::string::npos) next = file.text.size();
      file.records.push_back(file.text.substr(at, next - at));
      at = next;
    }
  }
  return file;
}

// The callbacks keep a copy of each record, as a caller of the reader does.
CWorldProp gWorld;
CRoomProp gRoom;
CItemProp gItem;
int64_t gRecords = 0;

int CopyWorld(CWorldProp* world) {
  gWorld.WPCopyFrom(world);
  ++gRecords;
  return 1;
}

int CopyRoom(CRoomProp* room) {
  gRoom.RPTerminate();
  gRoom.RPInitialise();
  gRoom.RPCopyFrom(room);
  ++gRecords;
  return 1;
}

int CopyItem(CItemProp* item) {
  gItem.IPCopyFrom(item);
  ++gRecords;
  return 1;
}

int CountWorld(CWorldProp*) { return static_cast<int>(++gRecords > 0); }
int CountRoom(CRoomProp*) { return static_cast<int>(++gRecords > 0); }
int CountItem(CItemProp*) { return static_cast<int>(++gRecords > 0); }

// Reads the file in mode 3 through the callbacks, once per iteration.
void ReadWith(benchmark::State& state, FFWorldCallback world, FFRoomCallback room, FFItemCallback item) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CWorldProp worldRecord;
    CRoomProp roomRecord;
    CItemProp itemRecord;
    worldRecord.WPInitialise();
    roomRecord.RPInitialise();
    itemRecord.IPInitialise();
    FILE* stream = std::fopen(file.path.c_str(), "r");
    gRecords = 0;
    int result = FFReadTagFile(stream, &worldRecord, world, &roomRecord, room, &itemRecord, item, 3);
    std::fclose(stream);
    if (result != 1 || gRecords != static_cast<int64_t>(file.world->order.size()) + 1) {
      state.SkipWithError("the world did not read back whole");
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

void BM_ReadTagFile(benchmark::State& state) {
  gWorld.WPInitialise();
  gRoom.RPInitialise();
  gItem.IPInitialise();
  ReadWith(state, CopyWorld, CopyRoom, CopyItem);
  gWorld.WPTerminate();
  gRoom.RPTerminate();
}

// The reader alone: the callbacks only count the records.
void BM_ReadTagFileCounting(benchmark::State& state) { ReadWith(state, CountWorld, CountRoom, CountItem); }

void BM_ReadLines(benchmark::State& state) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    FILE* stream = std::fopen(file.path.c_str(), "r");
    char line[267];
    int64_t lines = 0;
    while (std::fgets(line, sizeof line, stream) != nullptr) ++lines;
    std::fclose(stream);
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

void BM_SaveRecords(benchmark::State& state) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  const std::string path = Folder() + "saved.vwq";
  for (auto _ : state) SaveWorld(*file.world, path);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

void BM_WriteText(benchmark::State& state) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  const std::string path = Folder() + "written.vwq";
  for (auto _ : state) {
    FILE* stream = std::fopen(path.c_str(), "w");
    std::fputs(file.text.c_str(), stream);
    std::fclose(stream);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

void BM_AppendRecordText(benchmark::State& state) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  const std::string path = Folder() + "appended.vwq";
  for (auto _ : state) {
    std::remove(path.c_str());
    for (const std::string& record : file.records) {
      FILE* stream = std::fopen(path.c_str(), "a+");
      std::fputs(record.c_str(), stream);
      std::fclose(stream);
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

// The least a save that puts each record in the file before it returns can
// cost: one stream kept open, each record written and flushed, and the path
// looked at once per record (to see that it is still the file kept open).
void BM_AppendFlushedText(benchmark::State& state) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  const std::string path = Folder() + "flushed.vwq";
  for (auto _ : state) {
    std::remove(path.c_str());
    FILE* stream = std::fopen(path.c_str(), "a+");
    for (const std::string& record : file.records) {
      std::fputs(record.c_str(), stream);
      std::fflush(stream);
      benchmark::DoNotOptimize(std::filesystem::exists(path));
    }
    std::fclose(stream);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

void BM_WriteRecords(benchmark::State& state) {
  WorldFile& file = FileFor(static_cast<int>(state.range(0)));
  const std::string path = Folder() + "streamed.vwq";
  const vesta::bench::GeneratedWorld& world = *file.world;
  for (auto _ : state) {
    FILE* stream = std::fopen(path.c_str(), "w");
    FFWriteWorldProp(stream, const_cast<CWorldProp*>(&world.world));
    size_t room = 0;
    size_t item = 0;
    for (char kind : world.order) {
      if (kind == 'R') {
        FFWriteRoomProp(stream, world.rooms[room++].get());
      } else {
        FFWriteItemProp(stream, world.items[item++].get());
      }
    }
    std::fclose(stream);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.text.size()));
}

BENCHMARK(BM_ReadTagFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ReadTagFileCounting)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ReadLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_SaveRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_WriteText)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_AppendRecordText)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_AppendFlushedText)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_WriteRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  const std::string n = "/100000";
  auto row = [&](const char* what, const char* label, const char* baseline, const char* baselineLabel,
                 double target, const char* targetText) {
    double measured = reporter.Median(what + n);
    double plain = reporter.Median(baseline + n);
    double small = reporter.Median(std::string(what) + "/10000");
    if (measured <= 0) return;
    TableRow r;
    r.what = std::string(label) + ", 100,000 items";
    r.seconds = measured;
    r.baseline = std::string(baselineLabel) + " " + TimeText(plain);
    if (plain > 0) r.ratio = Format("%.0f%% of plain speed", 100.0 * plain / measured);
    if (small > 0) r.growth = Format("%.1fx", measured / small);
    if (target > 0 && plain > 0) {
      r.target = targetText;
      r.met = plain / measured >= target;
    }
    vesta::bench::PrintRow(r);
  };
  row("BM_ReadTagFile", "tag file read (mode 3)", "BM_ReadLines", "fgets", 0.5, "50% of fgets");
  row("BM_ReadTagFileCounting", "tag file read (mode 3), callbacks only counting", "BM_ReadLines", "fgets", 0.5,
      "50% of fgets");
  row("BM_SaveRecords", "tag file save, record by record", "BM_WriteText", "one plain write", 0.4,
      "40% of one plain write");
  row("BM_SaveRecords", "tag file save, record by record", "BM_AppendRecordText", "plain appends", 0, "");
  row("BM_SaveRecords", "tag file save, record by record", "BM_AppendFlushedText", "flushed appends, one stream", 0,
      "");
  row("BM_WriteRecords", "record writers on one stream", "BM_WriteText", "one plain write", 0, "");
}

}  // namespace

int main(int argc, char** argv) { return vesta::bench::RunBenchmarks(argc, argv, PrintTable); }
