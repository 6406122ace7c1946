// No path leads a change of the seam out of VESTA_ROOT: ".." past the top
// of a drive or share folds inside it, and a link out is not followed.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/bulk_removal.h"
#include "platform/file_error.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/testing/boundary.h"
#include "platform/testing/files.h"

namespace {

namespace platform = vesta::platform;
using vesta::testing::RootBoundary;

// Each way the seam changes the file system, applied to path.
struct Change {
  const char* what;
  std::function<bool(const std::string& path)> apply;
};

bool WriteThrough(const std::string& path, const char* mode) {
  FILE* stream = platform::OpenStream(path.c_str(), mode);
  if (stream == nullptr) return false;
  bool written = std::fputs("x\n", stream) >= 0;
  return platform::CloseStream(stream) && written;
}

std::vector<Change> Changes(const RootBoundary& boundary) {
  const std::string source = boundary.Folder() + "source.txt";
  return {
      {"open to write", [](const std::string& path) { return WriteThrough(path, "w"); }},
      {"open to append", [](const std::string& path) { return WriteThrough(path, "a+"); }},
      {"replace", [](const std::string& path) { return platform::ReplaceWholeFile(path.c_str(), "x\n", platform::FileMode::kText); }},
      {"append",
       [](const std::string& path) {
         return platform::AppendToFile(path.c_str(), "x\n", platform::FileMode::kText) == platform::AppendResult::kAppended;
       }},
      {"copy", [source](const std::string& path) { return platform::CopyOneFile(source.c_str(), path.c_str(), false); }},
      {"move", [source](const std::string& path) { return platform::MoveOver(source.c_str(), path.c_str()); }},
      {"make a folder", [](const std::string& path) { return platform::MakeFolder(path.c_str()); }},
      {"delete", [](const std::string& path) { return platform::RemoveFile(path.c_str()); }},
      {"remove a folder", [](const std::string& path) { return platform::RemoveEmptyFolder(path.c_str()); }},
      {"delete, in bulk",
       [](const std::string& path) {
         platform::BulkRemoval removal;
         const int item = removal.Add(path.c_str(), nullptr);
         return item >= 0 && removal.RemoveIfFile(item) == platform::BulkRemoval::FileRemoval::kRemoved;
       }},
      {"remove a folder, in bulk",
       [](const std::string& path) {
         platform::BulkRemoval removal;
         const int item = removal.Add(path.c_str(), nullptr);
         return item >= 0 && removal.RemoveEmptyFolder(item);
       }},
  };
}

TEST(RootBoundaryTest, ClimbingPathsStayInsideTheirDrive) {
  RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  const std::string source = boundary.Folder() + "source.txt";
  for (const Change& change : Changes(boundary)) {
    for (const std::string& path : boundary.ClimbingPaths("climbed.txt")) {
      ASSERT_TRUE(vesta::testing::WriteTextFile(source, "source\n"));
      change.apply(path);
      EXPECT_EQ(boundary.ChangesOutside(), "") << change.what << " " << path;
    }
  }
  // ".." at the top of the drive stays there: the file lands in C:\.
  EXPECT_TRUE(platform::ReplaceWholeFile("C:\\..\\..\\top.txt", "top\n", platform::FileMode::kText));
  EXPECT_EQ(vesta::testing::ReadTextFile("C:\\top.txt"), "top\n");
}

TEST(RootBoundaryTest, LinksOutOfTheRootAreNotFollowedToReadOrChange) {
  RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  // Reading through a link out is refused as well, with its reason.
  EXPECT_EQ(platform::OpenStream("C:\\scratch\\outfile", "r"), nullptr);
  EXPECT_EQ(platform::LastFileError().reason, "leads outside VESTA_ROOT");
  EXPECT_FALSE(platform::FileExists("C:\\scratch\\outfile"));
  // A change refused says where and why.
  EXPECT_FALSE(platform::ReplaceWholeFile("C:\\scratch\\dangling", "x", platform::FileMode::kText));
  EXPECT_EQ(platform::LastFileError().path, "C:\\scratch\\dangling");
  EXPECT_EQ(platform::LastFileError().reason, "leads outside VESTA_ROOT");

  const std::string source = boundary.Folder() + "source.txt";
  for (const Change& change : Changes(boundary)) {
    for (const std::string& path : boundary.LinkPaths("linked.txt")) {
      ASSERT_TRUE(vesta::testing::WriteTextFile(source, "source\n"));
      bool done = change.apply(path);
      EXPECT_EQ(boundary.ChangesOutside(), "") << change.what << " " << path;
      // Deleting a link removes the link itself, which lies inside.
      if (std::string(change.what).rfind("delete", 0) != 0) {
        EXPECT_FALSE(done) << change.what << " " << path;
      }
    }
  }
}

// Bulk removal takes in exactly what IsInsideRoot lets through, for the
// same reason, however its paths follow one another.
void ExpectBulkRemovalAgrees(const std::vector<std::string>& paths) {
  platform::BulkRemoval removal;
  for (const std::string& path : paths) {
    std::string reason;
    std::string bulkReason;
    const bool inside = platform::IsInsideRoot(path.c_str(), &reason);
    EXPECT_EQ(removal.Add(path.c_str(), &bulkReason) >= 0, inside) << path;
    if (!inside) {
      EXPECT_EQ(bulkReason, reason) << path;
    }
  }
}

TEST(RootBoundaryTest, ProgramsRefuseWhatLeadsOutsideAndHostPaths) {
  RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  std::vector<std::string> all = boundary.LinkPaths("x.txt");
  for (const auto& more : {boundary.HostPaths("x.txt"), boundary.ClimbingPaths("x.txt")}) {
    all.insert(all.end(), more.begin(), more.end());
  }
  for (const char* path : {"relative\\x.txt", "\\\\srv", "", "C:\\", "C:\\..", "C:\\scratch\\missing\\deeper\\x.txt",
                           "C:\\scratch\\outfile", "C:x.txt"}) {
    all.push_back(path);
  }
  ExpectBulkRemovalAgrees(all);
  ExpectBulkRemovalAgrees(std::vector<std::string>(all.rbegin(), all.rend()));
  std::string reason;
  for (const std::string& path : boundary.LinkPaths("x.txt")) {
    if (path.find("outfile") != std::string::npos || path.find("dangling") != std::string::npos) continue;
    EXPECT_FALSE(platform::IsInsideRoot(path.c_str(), &reason)) << path;
    EXPECT_EQ(reason, "leads outside VESTA_ROOT");
  }
  for (const std::string& path : boundary.HostPaths("x.txt")) {
    EXPECT_FALSE(platform::IsInsideRoot(path.c_str(), &reason)) << path;
    EXPECT_EQ(reason, "a host path, outside VESTA_ROOT");
  }
  EXPECT_FALSE(platform::IsInsideRoot("relative\\x.txt", &reason));
  EXPECT_EQ(reason, "not a full path");
  EXPECT_FALSE(platform::IsInsideRoot("\\\\srv", &reason));
  EXPECT_FALSE(platform::IsInsideRoot("", &reason));
  for (const std::string& path : boundary.ClimbingPaths("x.txt")) EXPECT_TRUE(platform::IsInsideRoot(path.c_str(), nullptr)) << path;
  EXPECT_TRUE(platform::IsInsideRoot("C:\\scratch\\missing\\deeper\\x.txt", nullptr));
  // A link to a file outside is deleted as the link itself: allowed.
  EXPECT_TRUE(platform::IsInsideRoot("C:\\scratch\\outfile", nullptr));

  // A file to read is inside and there, in one look: the files outside,
  // by a link or by a host path, are neither.
  for (const auto& paths : {boundary.LinkPaths("victim.txt"), boundary.HostPaths("victim.txt")}) {
    for (const std::string& path : paths) EXPECT_FALSE(platform::IsFileInsideRoot(path.c_str())) << path;
  }
  ASSERT_TRUE(vesta::testing::WriteTextFile(boundary.Folder() + "inside.txt", "x"));
  EXPECT_TRUE(platform::IsFileInsideRoot("C:\\SCRATCH\\Inside.TXT"));
  EXPECT_FALSE(platform::IsFileInsideRoot("C:\\scratch\\"));
  EXPECT_FALSE(platform::IsFileInsideRoot("C:\\scratch\\missing.txt"));
}

TEST(RootBoundaryTest, BulkRemovalRemovesWhatTheSingleOperationsWould) {
  RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  // A path with no folder of its own to split off is resolved whole.
  ASSERT_TRUE(vesta::testing::WriteTextFile("C:x.txt", "x\n"));
  ASSERT_TRUE(platform::FileExists("C:x.txt"));
  platform::BulkRemoval removal;
  const int drive = removal.Add("C:x.txt", nullptr);
  ASSERT_GE(drive, 0);
  EXPECT_EQ(removal.RemoveIfFile(drive), platform::BulkRemoval::FileRemoval::kRemoved);
  EXPECT_FALSE(platform::FileExists("C:x.txt"));
  // A path in a folder that is not there: nothing to delete, and a folder
  // that cannot be removed says which path and why.
  const std::string missing = boundary.Folder() + "gone\\deeper";
  const int item = removal.Add(missing.c_str(), nullptr);
  ASSERT_GE(item, 0);
  EXPECT_EQ(removal.RemoveIfFile(item), platform::BulkRemoval::FileRemoval::kNotAFile);
  EXPECT_FALSE(removal.RemoveEmptyFolder(item));
  EXPECT_EQ(platform::LastFileError().path, missing);
  EXPECT_EQ(platform::LastFileError().reason, std::strerror(ENOENT));
}

// Many items of one folder have its names read once; the links among them
// are still judged by where they lead, and only the links themselves go.
TEST(RootBoundaryTest, BulkRemovalOfManyItemsInOneFolderKeepsToTheRoot) {
  RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  using Removal = platform::BulkRemoval::FileRemoval;
  platform::BulkRemoval removal;
  std::vector<int> files;
  for (int i = 0; i < 20; ++i) {
    const std::string path = boundary.Folder() + "file" + std::to_string(i) + ".txt";
    ASSERT_TRUE(vesta::testing::WriteTextFile(path, "x\n"));
    files.push_back(removal.Add((i % 2 == 0 ? path : boundary.Folder() + "FILE" + std::to_string(i) + ".TXT").c_str(), nullptr));
    ASSERT_GE(files.back(), 0);
  }
  const int folderLink = removal.Add((boundary.Folder() + "out").c_str(), nullptr);
  const int fileLink = removal.Add((boundary.Folder() + "outfile").c_str(), nullptr);
  const int dangling = removal.Add((boundary.Folder() + "dangling").c_str(), nullptr);
  const int missing = removal.Add((boundary.Folder() + "missing.txt").c_str(), nullptr);
  for (int item : files) EXPECT_EQ(removal.RemoveIfFile(item), Removal::kRemoved) << item;
  EXPECT_EQ(removal.RemoveIfFile(folderLink), Removal::kNotAFile);
  EXPECT_FALSE(removal.RemoveEmptyFolder(folderLink));
  EXPECT_EQ(removal.RemoveIfFile(fileLink), Removal::kRemoved);
  EXPECT_EQ(removal.RemoveIfFile(dangling), Removal::kNotAFile);
  EXPECT_EQ(removal.RemoveIfFile(missing), Removal::kNotAFile);
  EXPECT_EQ(boundary.ChangesOutside(), "");
  EXPECT_TRUE(platform::FindFiles((boundary.Folder() + "file*.txt").c_str()).empty());
  // A number that names no item does nothing.
  for (int none : {-1, missing + 1}) {
    EXPECT_EQ(removal.RemoveIfFile(none), Removal::kNotAFile);
    EXPECT_FALSE(removal.RemoveEmptyFolder(none));
  }
}

}  // namespace
