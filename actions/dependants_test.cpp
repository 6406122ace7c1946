// Rewriting the texture names of a shape: when the output fails, the shape
// is the old one or the rewritten one, and the result says which; and once
// in a normalisation, however often the world names the shape.
#include "actions/dependants.h"

#include <gtest/gtest.h>

#include <string>

#include "actions/file_copy.h"
#include "common/path_tokens.h"
#include "platform/file_system.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

using vesta::testing::FaultCase;
using vesta::testing::ReadTextFile;

std::string Shape(const std::string& texture) {
  return "xof 0302txt 0032\nMaterial {\n  TextureFilename { \"" + texture + "\"; }\n}\n";
}

TEST(DependantsTest, AShapeThatCannotBeRewrittenWholeStaysAsItWas) {
  vesta::testing::ScratchFolder scratch;
  const std::string before = Shape(scratch.Path("wood.bmp"));
  const std::string after = Shape("?VESTAVWQDIR?wood.bmp");
  VURelativeBase base(scratch.Folder().c_str());
  // A shape is rewritten once per process: each run has one of its own.
  int round = 0;
  std::string shape;
  int fired = vesta::testing::ForEveryFault(
      [&] {
        shape = scratch.Path("shape" + std::to_string(++round) + ".x");
        ASSERT_TRUE(vesta::testing::WriteTextFile(shape, before));
      },
      [&] { return VURelativiseShapeDependants(shape.c_str()) == 1; },
      [&](const FaultCase& run, bool rewritten) {
        const std::string where = std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
        EXPECT_EQ(rewritten, !run.fired) << where;
        EXPECT_EQ(ReadTextFile(shape), rewritten ? after : before) << where;
      });
  EXPECT_EQ(fired, 5);

  // Expanding it again writes the same way.
  fired = vesta::testing::ForEveryFault(
      [&] { ASSERT_TRUE(vesta::testing::WriteTextFile(shape, after)); },
      [&] { return VUExpandShapeDependants(scratch.Folder().c_str(), shape.c_str()) == 1; },
      [&](const FaultCase& run, bool rewritten) {
        EXPECT_EQ(rewritten, !run.fired);
        EXPECT_EQ(ReadTextFile(shape), rewritten ? before : after);
      });
  EXPECT_EQ(fired, 5);
  EXPECT_TRUE(vesta::platform::FindFiles(scratch.Path("*.tmp").c_str()).empty());

  // A name longer than any path is left as it stands; a shape that is not
  // there has nothing to rewrite; a quote past an entry's braces is no name.
  const std::string odd = Shape("?VESTAVWQDIR?" + std::string(300, 'w') + ".bmp");
  ASSERT_TRUE(vesta::testing::WriteTextFile(shape, odd));
  EXPECT_EQ(VUExpandShapeDependants(scratch.Folder().c_str(), shape.c_str()), 1);
  EXPECT_EQ(ReadTextFile(shape), odd);
  EXPECT_EQ(VURelativiseShapeDependants(scratch.Path("gone.x").c_str()), 1);
  EXPECT_TRUE(VUShapeTextureNames("TextureFilename { wood.bmp; }\nMesh { \"m\" }").empty());
}

// A shape copied in a normalisation has its textures copied once, however
// often the world names it; a new normalisation looks at it again.
TEST(DependantsTest, ACopiedShapeIsRewrittenOncePerNormalisation) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(vesta::testing::WriteTextFile(scratch.Path("wood.bmp"), "BM"));
  const std::string original = Shape(scratch.Path("wood.bmp"));
  ASSERT_TRUE(vesta::testing::WriteTextFile(scratch.Path("shape.x"), original));
  ASSERT_TRUE(vesta::platform::MakeFolder(scratch.Path("out").c_str()));
  const std::string out = scratch.Path("out") + "\\";
  VUForgetCopies();
  VUForgetShapesDone();
  char copy[kVUPathBuffer];
  ASSERT_EQ(VUCopyFileToFolder(scratch.Path("shape.x").c_str(), out.c_str(), copy), 1);
  const std::string rewritten = Shape("?VESTAVWQDIR?wood.bmp");
  for (int again = 0; again < 2; ++again) {
    EXPECT_EQ(VUCopyShapeDependants(copy, out.c_str(), true), 1);
    EXPECT_EQ(ReadTextFile(copy), again == 0 ? rewritten : original) << again;
    // Written back as it was: a shape done is not read again.
    ASSERT_TRUE(vesta::testing::WriteTextFile(copy, original));
  }
  VUForgetShapesDone();
  EXPECT_EQ(VUCopyShapeDependants(copy, out.c_str(), true), 1);
  EXPECT_EQ(ReadTextFile(copy), rewritten);

  // Made relative, then copied in the plain form: it is made relative again.
  VUForgetShapesDone();
  ASSERT_TRUE(vesta::testing::WriteTextFile(copy, rewritten));
  EXPECT_EQ(VURelativiseShapeDependants(copy), 1);
  EXPECT_EQ(VUCopyShapeDependants(copy, out.c_str(), false), 1);
  EXPECT_NE(ReadTextFile(copy), rewritten);
  VURelativeBase base(out.c_str());
  EXPECT_EQ(VURelativiseShapeDependants(copy), 1);
  EXPECT_EQ(ReadTextFile(copy), rewritten);
  VUForgetCopies();
}

}  // namespace
