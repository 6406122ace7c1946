#include "common/tag_field.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

TEST(TagFieldTest, FieldsCarryTheirLength) {
  char out[kVUFieldBuffer];
  int length = 0;
  EXPECT_EQ(VUFormatTextField(out, "[NAM]", "Attic", &length), 1);
  EXPECT_STREQ(out, "[NAM][5]Attic");
  EXPECT_EQ(length, 13);
  EXPECT_EQ(VUFormatTextField(out, "[NAM]", "", &length), 1);
  EXPECT_STREQ(out, "[NAM][0]");
  EXPECT_EQ(VUFormatIntField(out, "[MAP]", -7, &length), 1);
  EXPECT_STREQ(out, "[MAP][2]-7");
  EXPECT_EQ(length, 10);
  VUFormatFloatField(out, "[ELH]", 1.0f, &length);
  EXPECT_STREQ(out, "[ELH][1]1");
}

TEST(TagFieldTest, ATextTooLongForALineIsCutToFitIt) {
  char out[kVUFieldBuffer];
  int length = 0;
  std::string value(265, 'v');
  VUFormatTextField(out, "[DNA]", value.c_str(), &length);
  EXPECT_EQ(length, kVUMaxLine);
  EXPECT_EQ(std::string(out, 10), "[DNA][256]");
  // 256 characters of value is the most that fits a line.
  value.assign(256, 'w');
  VUFormatTextField(out, "[DNA]", value.c_str(), &length);
  EXPECT_EQ(length, kVUMaxLine);
  EXPECT_EQ(std::string(out + 10), value);

  char wide[280];
  value.assign(260, 'p');
  VUFormatTextField(wide, "[TAR]", value.c_str(), &length, 279);
  EXPECT_EQ(length, 270);

  // Where the cut takes the length below 10 or 100, the field loses a digit
  // too: ten characters need a field of 19, so a field of 18 holds nine.
  value.assign(10, 'q');
  VUFormatTextField(wide, "[TAR]", value.c_str(), &length, 18);
  EXPECT_STREQ(wide, "[TAR][9]qqqqqqqqq");
  EXPECT_EQ(length, 17);
  VUFormatTextField(wide, "[TAR]", value.c_str(), &length, 19);
  EXPECT_EQ(length, 19);
  value.assign(100, 'h');
  VUFormatTextField(wide, "[TAR]", value.c_str(), &length, 109);
  EXPECT_EQ(std::string(wide, 9), "[TAR][99]");
  EXPECT_EQ(length, 108);
  // No room even for a value: the field is written empty.
  VUFormatTextField(wide, "[TAR]", value.c_str(), &length, 6);
  EXPECT_STREQ(wide, "[TAR][0]");
  EXPECT_EQ(length, 8);
  // A tag longer than a tag's five characters is cut to them, and the cut
  // of the value counts the tag as written.
  value.assign(10, 'q');
  VUFormatTextField(wide, "[TARX]", value.c_str(), &length, 19);
  EXPECT_STREQ(wide, "[TARX[10]qqqqqqqqqq");
  EXPECT_EQ(length, 19);
}

TEST(TagFieldTest, TaggedValuesAreFoundAndBounded) {
  char out[8];
  EXPECT_EQ(VUGetTaggedValue("[TAR]", "[TAR][5]C:\\ab", out, 7), 1);
  EXPECT_STREQ(out, "C:\\ab");
  EXPECT_EQ(VUGetTaggedValue("[IFX]", "[IFX][10]0123456789", out, 7), 1);
  EXPECT_STREQ(out, "0123456");
  EXPECT_EQ(VUGetTaggedValue("[IFX]", "[IFX][9]abc", out, 7), 1);  // line is short
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(VUGetTaggedValue("[IFX]", "[IFX][0]", out, 7), 1);
  EXPECT_STREQ(out, "");
  // A buffer with room for nothing but the terminator takes an empty value.
  std::strcpy(out, "keep");
  EXPECT_EQ(VUGetTaggedValue("[IFX]", "[IFX][3]abc", out, 0), 1);
  EXPECT_STREQ(out, "");

  std::strcpy(out, "keep");
  for (const char* bad : {"[IFI][3]abc", "[IFX]3]abc", "[IFX][x]abc", "[IFX][-1]abc", "[IFX][3abc", ""}) {
    EXPECT_EQ(VUGetTaggedValue("[IFX]", bad, out, 7), 0) << bad;
    EXPECT_STREQ(out, "keep") << bad;
  }
  EXPECT_EQ(VUGetTaggedValue("[IFX]", "[IFX][3]abc", out, -1), 0);
  EXPECT_STREQ(out, "keep");
}

TEST(TagFieldTest, EndTagsReverseTheLetters) {
  char out[kVUEndTagBuffer];
  EXPECT_EQ(VUMakeEndTag(out, "[WORL]"), 1);
  EXPECT_STREQ(out, "[LROW]");
  VUMakeEndTag(out, "[SECT]");
  EXPECT_STREQ(out, "[TCES]");
  VUMakeEndTag(out, "[ITEM]");
  EXPECT_STREQ(out, "[METI]");
  VUMakeEndTag(out, "[FTLS]");
  EXPECT_STREQ(out, "[SLTF]");
  VUMakeEndTag(out, "[ABCDEFGHIJKLMNOPQRSTUVWXYZ]");
  EXPECT_EQ(std::strlen(out), 19u);
}

std::string Written(FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string text;
  int c;
  while ((c = std::fgetc(stream)) != EOF) text += static_cast<char>(c);
  return text;
}

TEST(TagFieldTest, AFieldStaysOnTheLineUpTo266Characters) {
  FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  VUOutput out;
  VUOutputBegin(&out, stream);
  int counter = 260;
  EXPECT_EQ(VUWriteFieldOnLine(&out, "[A][1]", 6, &counter), 1);
  VUOutputEnd(&out);  // 266 is not more than 266
  EXPECT_EQ(counter, 266);
  EXPECT_EQ(Written(stream), "[A][1]");
  std::fclose(stream);

  stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  VUOutputBegin(&out, stream);
  counter = 260;
  VUWriteFieldOnLine(&out, "[A][1]x", 7, &counter);
  VUOutputEnd(&out);
  EXPECT_EQ(counter, 7);
  EXPECT_EQ(Written(stream), "\n[A][1]x");
  std::fclose(stream);
}

}  // namespace
