// vesta types list | match | add | remove, end to end.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/child_process.h"
#include "platform/testing/files.h"
#include "programs/vesta/test_vesta.h"

namespace vesta::testing {
namespace {

class TypesCommandTest : public VestaToolTest {
 protected:
  void SetUp() override {
    VestaToolTest::SetUp();
    catalogue_ = home_ + "worlds\\VESTA.vft";
    Write(catalogue_, "[FTLS]\n" + Field("[TYP]", "Text document") + "\n" + Field("[END]", ".txt") + "\n" +
                          Field("[TXT]", home_ + "media\\doc.bmp") + "\n[SLTF]\n[FTLS]\n" + Field("[TYP]", "Picture") +
                          "\n" + Field("[END]", ".bmp") + "\n[SLTF]\n");
  }
  std::string catalogue_;
};

TEST_F(TypesCommandTest, ListAndMatchReadTheInstallationsCatalogue) {
  RunResult listed = RunTool({"types", "list"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("  .txt  Text document  texture " + home_ + "media\\doc.bmp"), std::string::npos)
      << listed.out;
  EXPECT_NE(listed.out.find("2 types"), std::string::npos);
  nlohmann::json json = nlohmann::json::parse(RunTool({"types", "list", "--json"}).out);
  EXPECT_EQ(json["types"].size(), 2u);
  EXPECT_EQ(json["types"][1]["ending"], ".bmp");

  RunResult matched = RunTool({"types", "match", "Report.TXT", "beach.bmp"});
  EXPECT_EQ(matched.status, 0) << matched.err;
  EXPECT_EQ(matched.out, "Report.TXT: Text document (.txt)\nbeach.bmp: Picture (.bmp)\n");
  RunResult unmatched = RunTool({"types", "match", "x.zip", "--json"});
  EXPECT_EQ(unmatched.status, 1);
  EXPECT_TRUE(nlohmann::json::parse(unmatched.out)[0]["type"].is_null());
  RunResult elsewhere = RunTool({"types", "--catalogue", scratch_.Path("none.vft"), "list"});
  EXPECT_EQ(elsewhere.status, 1);
  EXPECT_NE(elsewhere.err.find("none.vft"), std::string::npos) << elsewhere.err;
}

TEST_F(TypesCommandTest, AddAndRemoveRewriteTheCatalogueAndRefuseClashes) {
  RunResult added = RunTool({"types", "add", "Web page", "--ending", ".htm", "--shape", home_ + "media\\globe.x",
                             "--tiling", "1"});
  ASSERT_EQ(added.status, 0) << added.err;
  EXPECT_EQ(RunTool({"types", "match", "index.htm"}).out, "index.htm: Web page (.htm)\n");
  std::string saved = ReadTextFile(catalogue_);
  EXPECT_NE(saved.find("[SHP]"), std::string::npos) << "the selected shape defaults to the shape";

  RunResult sameEnding = RunTool({"types", "add", "Other", "--ending", ".htm"});
  EXPECT_EQ(sameEnding.status, 1);
  EXPECT_NE(sameEnding.err.find("the ending .htm is the type \"Web page\"'s already"), std::string::npos);
  EXPECT_EQ(RunTool({"types", "add", "Picture", "--ending", ".png"}).status, 1);
  EXPECT_EQ(ReadTextFile(catalogue_), saved);

  EXPECT_EQ(RunTool({"types", "remove", "Web page"}).status, 0);
  EXPECT_EQ(RunTool({"types", "match", "index.htm"}).status, 1);
  EXPECT_EQ(RunTool({"types", "remove", "Web page"}).status, 1);
  EXPECT_EQ(RunTool({"types", "remove", "Picture"}).status, 0);
  RunResult last = RunTool({"types", "remove", "Text document"});
  EXPECT_EQ(last.status, 1);
  EXPECT_NE(last.err.find("last type"), std::string::npos);
  EXPECT_EQ(RunTool({"types", "match", "a.txt"}).status, 0);

  // A file that is no catalogue is never rewritten as one.
  const std::string world = home_ + "worlds\\Sample.vwq";
  Write(world, "[WORL]\n[NAM][1]w\n[LROW]\n");
  for (const std::vector<std::string>& change :
       {std::vector<std::string>{"types", "-c", world, "add", "X", "--ending", ".x"},
        {"types", "-c", world, "list"}}) {
    RunResult refused = RunTool(change);
    EXPECT_EQ(refused.status, 1) << change[3];
    EXPECT_NE(refused.err.find(world + ": not a catalogue"), std::string::npos) << refused.err;
  }
  EXPECT_EQ(ReadTextFile(world), "[WORL]\n[NAM][1]w\n[LROW]\n");

  // A catalogue that does not exist yet is made by the first type.
  const std::string fresh = scratch_.Path("Fresh.vft");
  EXPECT_EQ(RunTool({"types", "-c", fresh, "add", "Sound", "--ending", ".wav"}).status, 0);
  EXPECT_EQ(RunTool({"types", "-c", fresh, "match", "a.wav"}).out, "a.wav: Sound (.wav)\n");
}

// Two processes adding types to one catalogue, then removing half of them,
// at the same time: every change stays.
constexpr int kTypesEach = 50;

TEST(TypesProcessTest, TwoProcessesAddingAndRemovingTypesLoseNothing) {
  ScratchFolder scratch;
  const std::string catalogue = scratch.Path("Shared.vft");
  ASSERT_EQ(RunTool({"types", "-c", catalogue, "add", "Base", "--ending", ".base"}).status, 0);
  const std::string logA = platform::HostPath(scratch.Path("a.log").c_str());
  const std::string logB = platform::HostPath(scratch.Path("b.log").c_str());
  ChildProcess a("TypesProcessTest.Changer", "a", logA);
  ChildProcess b("TypesProcessTest.Changer", "b", logB);
  ASSERT_TRUE(a.Started() && b.Started());
  EXPECT_TRUE(a.Wait()) << ReadTextFile(scratch.Path("a.log"));
  EXPECT_TRUE(b.Wait()) << ReadTextFile(scratch.Path("b.log"));
  nlohmann::json types = nlohmann::json::parse(RunTool({"types", "-c", catalogue, "list", "--json"}).out)["types"];
  std::set<std::string> names;
  for (const auto& type : types) names.insert(type["name"].get<std::string>());
  EXPECT_EQ(names.size(), 1u + kTypesEach);  // the odd ones were removed again
  for (int i = 0; i < kTypesEach; i += 2) EXPECT_EQ(names.count("a" + std::to_string(i)), 1u) << i;
  EXPECT_EQ(names.count("b1"), 0u);
}

TEST(TypesProcessTest, Changer) {
  const std::string job = ChildJob();
  if (job.empty()) GTEST_SKIP() << "runs only as a child";
  ScratchFolder scratch(ScratchFolder::kParents);
  const std::string catalogue = scratch.Path("Shared.vft");
  for (int i = 0; i < kTypesEach; ++i) {
    const std::string name = job + std::to_string(i);
    RunResult added = RunTool({"types", "-c", catalogue, "add", name, "--ending", "." + name});
    ASSERT_EQ(added.status, 0) << added.err;
    if (i % 2 == 1) {
      RunResult removed = RunTool({"types", "-c", catalogue, "remove", name});
      ASSERT_EQ(removed.status, 0) << removed.err;
    }
  }
}

}  // namespace
}  // namespace vesta::testing
