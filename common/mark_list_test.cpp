#include "common/mark_list.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class MarkListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VUMarkListConstruct(&list_);
    VUMarkListInitialise(&list_);
  }
  void TearDown() override { VUMarkListDestroy(&list_); }

  void Add(const char* name, int32_t v) {
    MarkRecord record = {};
    std::strcpy(record.name, name);
    record.v = v;
    VUMarkListBeginMark(&list_, &record);
    ASSERT_EQ(VUMarkListEndMark(&list_, &record), 1);
  }

  CMarkList list_;
};

TEST_F(MarkListTest, AMarkIsKeptOnlyBetweenBeginAndEnd) {
  MarkRecord record = {};
  EXPECT_EQ(VUMarkListEndMark(&list_, &record), 0);
  EXPECT_EQ(VUMarkListCount(&list_), 0);
  Add("door", 3);
  EXPECT_EQ(VUMarkListEndMark(&list_, &record), 0);  // ended already
  ASSERT_EQ(VUMarkListCount(&list_), 1);
  EXPECT_STREQ(VUMarkListGet(&list_, 0)->name, "door");
  EXPECT_EQ(VUMarkListGet(&list_, 1), nullptr);
}

TEST_F(MarkListTest, ManyMarksKeepTheirOrderAndCopy) {
  char name[16];
  for (int i = 0; i < 100; ++i) {
    std::snprintf(name, sizeof name, "m%d", i);
    Add(name, i);
  }
  CMarkList copy;
  VUMarkListConstruct(&copy);
  ASSERT_EQ(VUMarkListCopyFrom(&copy, &list_), 1);
  ASSERT_EQ(VUMarkListCount(&copy), 100);
  EXPECT_STREQ(VUMarkListGet(&copy, 99)->name, "m99");
  EXPECT_EQ(VUMarkListGet(&copy, 42)->v, 42);
  ASSERT_EQ(VUMarkListCopyFrom(&copy, nullptr), 1);
  EXPECT_EQ(VUMarkListCount(&copy), 0);
  VUMarkListDestroy(&copy);
}

}  // namespace
