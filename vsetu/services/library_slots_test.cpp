// The error and comment slots, and the library's start and end.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vesta/vsetu.h"

namespace {

// What the slots hold before anything else in this program runs.
int gErrorResultAtLoad = -2;
int gCommentResultAtLoad = -2;
char gCommentAtLoad[kVSBuffer] = "";
const bool gSlotsRead = [] {
  int code = 0;
  gErrorResultAtLoad = VSGetError(&code);
  gCommentResultAtLoad = VSGetComment(gCommentAtLoad);
  return true;
}();

TEST(LibrarySlotsTest, TheErrorSlotIsAMailbox) {
  ASSERT_TRUE(gSlotsRead);
  EXPECT_EQ(gErrorResultAtLoad, 0);
  int code = 99;
  EXPECT_EQ(VSSetError(7), 1);
  EXPECT_EQ(VSGetError(&code), 1);
  EXPECT_EQ(code, 7);
  EXPECT_EQ(VSSetError(-1), 1);
  code = 99;
  EXPECT_EQ(VSGetError(&code), 0);
  EXPECT_EQ(code, 99);
}

TEST(LibrarySlotsTest, TheCommentSlotStartsWithTheLibraryName) {
  EXPECT_EQ(gCommentResultAtLoad, 1);
  EXPECT_STREQ(gCommentAtLoad, "VSetu.dll");
  char out[kVSBuffer] = "";
  EXPECT_EQ(VSSetComment("left for later"), 1);
  EXPECT_EQ(VSGetComment(out), 1);
  EXPECT_STREQ(out, "left for later");
  EXPECT_EQ(VSSetComment(std::string(500, 'c').c_str()), 1);
  EXPECT_EQ(VSGetComment(out), 1);
  EXPECT_EQ(std::strlen(out), 263u);
  EXPECT_EQ(VSSetComment(""), 1);
  std::strcpy(out, "untouched");
  EXPECT_EQ(VSGetComment(out), 0);
  EXPECT_STREQ(out, "untouched");
  VSSetComment("VSetu.dll");
}

TEST(LibrarySlotsTest, StartAndEndAlwaysGiveZero) {
  EXPECT_EQ(VSetuInitialise(), 0);
  EXPECT_EQ(VSetuInitialise(), 0);  // already started on this thread
  EXPECT_EQ(VSetuTerminate(), 0);
  EXPECT_EQ(VSetuTerminate(), 0);
  EXPECT_EQ(VSInit(), 1);
}

}  // namespace
