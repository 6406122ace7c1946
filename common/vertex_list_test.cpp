#include "common/vertex_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

TEST(VertexListTest, TextReadsBackBitIdentical) {
  const float cases[][3] = {{1.5f, 0.0f, -2.0f},
                            {0.1f, -0.7f, 3.4028235e38f},
                            {-std::numeric_limits<float>::denorm_min(), 1e-30f, 123456.79f}};
  for (const auto& vertex : cases) {
    char text[kVUVertexText + 1];
    int length = VUVertexToText(vertex, text);
    EXPECT_EQ(length, static_cast<int>(std::strlen(text)));
    float back[3];
    ASSERT_EQ(VUTextToVertex(text, back), 1) << text;
    EXPECT_EQ(std::memcmp(back, vertex, sizeof back), 0) << text;
  }
  char text[kVUVertexText + 1];
  const float simple[3] = {1.5f, 0.0f, -2.0f};
  VUVertexToText(simple, text);
  EXPECT_STREQ(text, "1.5,0,-2");
}

TEST(VertexListTest, MalformedTextIsRefusedWhole) {
  float out[3] = {9, 9, 9};
  for (const char* bad : {"", "1,2", "1,2,3,4", "1,,3", "1,2,x", "1;2;3", "1,2,3x", "a,b,c"}) {
    EXPECT_EQ(VUTextToVertex(bad, out), 0) << bad;
  }
  EXPECT_EQ(out[0], 9.0f);
  EXPECT_EQ(VUTextToVertex(" 1 , 2 ,3 ", out), 1);
  EXPECT_EQ(out[2], 3.0f);
}

TEST(VertexListTest, TheListIsMadeOnFirstUseAndKeepsOrder) {
  VUList* list = nullptr;
  const float a[3] = {1, 2, 3};
  const float b[3] = {4, 5, 6};
  ASSERT_EQ(VUVertexListAdd(&list, a), 1);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(VUVertexListAdd(&list, b), 1);
  EXPECT_EQ(VUListCount(list), 2);
  void* element = nullptr;
  VUListFirst(list, &element);
  EXPECT_EQ(static_cast<float*>(element)[0], 1.0f);
  VUListNext(list, &element);
  EXPECT_EQ(static_cast<float*>(element)[2], 6.0f);

  VUListFirst(list, &element);
  do {
    std::free(element);
  } while (VUListNext(list, &element));
  VUListDestroy(list);
  delete list;
}

TEST(VertexListTest, NormaliseGivesUnitLengthAndLeavesZeroAlone) {
  float v[3] = {-0.7f, 0.0f, -0.3f};
  VUNormalise3(v);
  EXPECT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 1.0, 1e-6);
  EXPECT_NEAR(v[0], -0.919145f, 1e-5);
  float zero[3] = {0, 0, 0};
  VUNormalise3(zero);
  EXPECT_EQ(zero[0], 0.0f);
  EXPECT_EQ(zero[1], 0.0f);
  EXPECT_EQ(zero[2], 0.0f);
}

}  // namespace
