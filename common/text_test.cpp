#include "common/text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(TextTest, CopyIsBoundedAndAlwaysTerminated) {
  char out[6];
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(VUCopyN(out, "Attic", 5), 1);
  EXPECT_STREQ(out, "Attic");
  EXPECT_EQ(VUCopyN(out, "Attics!", 5), 0);
  EXPECT_STREQ(out, "Attic");
  EXPECT_EQ(VUCopyN(out, nullptr, 5), 1);
  EXPECT_STREQ(out, "");

  char field[4];
  VUCopyToField(field, "[WORL]");
  EXPECT_STREQ(field, "[WO");
}

TEST(TextTest, CompareIgnoresLetterCaseLikeWindowsNames) {
  EXPECT_EQ(VUCompareN("REPORT.TXT", "report.txt", 10), 1);
  EXPECT_EQ(VUCompareN(".TXT", ".txt", 4), 1);
  EXPECT_EQ(VUCompareN("abc", "abd", 3), 0);
  EXPECT_EQ(VUCompareN("abc", "abd", 2), 1);
  EXPECT_EQ(VUCompareN("ab", "abc", 3), 0);
  EXPECT_EQ(VUCompareN("ab", "ab", 10), 1);
  EXPECT_EQ(VUCompareN("[", "{", 1), 0);  // only letters fold
}

TEST(TextTest, TrimRemovesOnlyTheLineEnd) {
  char dos[] = " You, The User \r\n";
  EXPECT_EQ(VUTrimLineEnd(dos), 15);
  EXPECT_STREQ(dos, " You, The User ");
  char plain[] = "[SECT]";
  EXPECT_EQ(VUTrimLineEnd(plain), 6);
  char empty[] = "\n";
  EXPECT_EQ(VUTrimLineEnd(empty), 0);
}

}  // namespace
