#include "common/ptr_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Walk(VUList* list) {
  std::vector<int> seen;
  void* element = nullptr;
  for (int more = VUListFirst(list, &element); more; more = VUListNext(list, &element)) {
    seen.push_back(*static_cast<int*>(element));
  }
  return seen;
}

class PtrListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VUListConstruct(&list_);
    VUListPrepare(&list_);
  }
  void TearDown() override { VUListDestroy(&list_); }
  VUList list_;
  int values_[5] = {0, 1, 2, 3, 4};
};

TEST_F(PtrListTest, AnUnpreparedListTakesNothing) {
  VUList list;
  VUListConstruct(&list);
  EXPECT_EQ(VUListAdd(&list, &values_[0], 0), 0);
  void* element = nullptr;
  EXPECT_EQ(VUListFirst(&list, &element), 0);
  VUListDestroy(&list);
}

TEST_F(PtrListTest, ElementsComeBackInOrderOfAddition) {
  for (int& v : values_) ASSERT_EQ(VUListAdd(&list_, &v, 0), 1);
  EXPECT_EQ(Walk(&list_), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(VUListCount(&list_), 5);
  VUListAdd(&list_, &values_[4], 1);
  EXPECT_EQ(Walk(&list_).front(), 4);
}

TEST_F(PtrListTest, RemovingTheCurrentElementKeepsTheWalkGoing) {
  for (int& v : values_) VUListAdd(&list_, &v, 0);
  std::vector<int> seen;
  void* element = nullptr;
  for (int more = VUListFirst(&list_, &element); more; more = VUListNext(&list_, &element)) {
    int value = *static_cast<int*>(element);
    seen.push_back(value);
    if (value % 2 == 1) {
      EXPECT_EQ(VUListRemove(&list_, element), 1);
    }
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Walk(&list_), (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(VUListRemove(&list_, &values_[1]), 0);
  EXPECT_EQ(VUListRemove(&list_, &values_[4]), 1);
  EXPECT_EQ(VUListRemove(&list_, &values_[0]), 1);
  EXPECT_EQ(Walk(&list_), (std::vector<int>{2}));
}

TEST_F(PtrListTest, OwnPositionsDoNotMoveTheCursor) {
  for (int& v : values_) VUListAdd(&list_, &v, 0);
  void* element = nullptr;
  VUListFirst(&list_, &element);
  VUListNext(&list_, &element);  // cursor now after 1
  VUListPosition position = nullptr;
  void* other = nullptr;
  VUListFirst(&list_, &other, &position);
  EXPECT_EQ(*static_cast<int*>(other), 0);
  VUListNext(&list_, &element);
  EXPECT_EQ(*static_cast<int*>(element), 2);
  int count = 1;
  while (VUListNext(&list_, &other, &position)) ++count;
  EXPECT_EQ(count, 5);
  EXPECT_EQ(position, nullptr);
}

}  // namespace
