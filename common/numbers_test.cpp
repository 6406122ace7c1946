#include "common/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

TEST(NumbersTest, IntegersTakeBlanksAndASign) {
  int32_t v = 99;
  EXPECT_EQ(VUParseInt("7", &v), 1);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(VUParseInt("  -12", &v), 1);
  EXPECT_EQ(v, -12);
  EXPECT_EQ(VUParseInt("\t+5]rest", &v), 1);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(VUParseInt("-2147483648", &v), 1);
  EXPECT_EQ(v, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(VUParseInt("2147483647", &v), 1);
  EXPECT_EQ(v, std::numeric_limits<int32_t>::max());
}

TEST(NumbersTest, IntegersFailWithoutDigitsOrWhenTooLarge) {
  int32_t v = 42;
  for (const char* bad : {"", " ", "-", "+-1", "- 1", "x1", "2147483648", "-2147483649",
                          "99999999999999999999"}) {
    EXPECT_EQ(VUParseInt(bad, &v), 0) << bad;
    EXPECT_EQ(v, 42) << bad;
  }
  EXPECT_EQ(VUParseInt(nullptr, &v), 0);
  EXPECT_EQ(VUParseInt("1", nullptr), 0);
  EXPECT_EQ(VUParseIntN(nullptr, 1, &v), 0);
  EXPECT_EQ(VUParseIntN("1", 1, nullptr), 0);
  EXPECT_EQ(VUParseIntN("1", -1, &v), 0);
  EXPECT_EQ(v, 42);
}

TEST(NumbersTest, RealsReadBackBitIdentical) {
  std::mt19937 random(7);
  char text[kVUNumberText + 1];
  for (int i = 0; i < 20000; ++i) {
    uint32_t bits = random();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isnan(value)) continue;
    VUFormatFloat(text, value);
    float back = 0;
    ASSERT_EQ(VUParseFloat(text, &back), 1) << text;
    uint32_t backBits;
    std::memcpy(&backBits, &back, sizeof back);
    ASSERT_EQ(backBits, bits) << text;
  }
}

TEST(NumbersTest, RealsAreShortAndPlain) {
  char text[kVUNumberText + 1];
  VUFormatFloat(text, 1.0f);
  EXPECT_STREQ(text, "1");
  VUFormatFloat(text, 0.9f);
  EXPECT_STREQ(text, "0.9");
  VUFormatFloat(text, -0.75f);
  EXPECT_STREQ(text, "-0.75");
  EXPECT_LE(VUFormatFloat(text, -std::numeric_limits<float>::denorm_min()), kVUNumberText);
  EXPECT_LE(VUFormatFloat(text, -3.4028235e38f), kVUNumberText);
  // What is no number at all is written as the general conversion writes it.
  EXPECT_EQ(VUFormatFloat(text, std::numeric_limits<float>::infinity()), 3);
  EXPECT_STREQ(text, "inf");
  EXPECT_EQ(VUFormatFloat(text, -std::numeric_limits<float>::infinity()), 4);
  EXPECT_STREQ(text, "-inf");
  EXPECT_EQ(VUFormatFloat(text, std::numeric_limits<float>::quiet_NaN()), 3);
  EXPECT_STREQ(text, "nan");
}

TEST(NumbersTest, RealsParseWithBlanksSignsAndSpecialValues) {
  float v = 5;
  EXPECT_EQ(VUParseFloat("  +1.5e2", &v), 1);
  EXPECT_EQ(v, 150.0f);
  EXPECT_EQ(VUParseFloat("-0", &v), 1);
  EXPECT_TRUE(std::signbit(v));
  EXPECT_EQ(VUParseFloat("nan", &v), 1);
  EXPECT_TRUE(std::isnan(v));
  EXPECT_EQ(VUParseFloat("-inf", &v), 1);
  EXPECT_TRUE(std::isinf(v));
  v = 5;
  for (const char* bad : {"", "abc", "+-1", ".", "1e99", "- 1"}) {
    EXPECT_EQ(VUParseFloat(bad, &v), 0) << bad;
    EXPECT_EQ(v, 5.0f) << bad;
  }
  EXPECT_EQ(VUParseFloatWhole(" 2.5 ", &v), 1);
  EXPECT_EQ(v, 2.5f);
  EXPECT_EQ(VUParseFloatWhole("2.5x", &v), 0);
}

// Short decimals take a quicker road than other numbers; both must give
// the text and the value that the general conversion gives.
TEST(NumbersTest, ShortDecimalsMatchTheGeneralConversion) {
  std::mt19937 random(11);
  char text[kVUNumberText + 1];
  char general[kVUNumberText + 1];
  auto expectSameText = [&](float value) {
    VUFormatFloat(text, value);
    *std::to_chars(general, general + kVUNumberText, value).ptr = '\0';
    ASSERT_STREQ(text, general);
  };
  // Every magnitude from 0.001 to 100000 and the edges around them, both signs.
  for (uint32_t bits = 0x3a800000u; bits < 0x47c35200u; bits += 997) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    expectSameText(value);
    expectSameText(-value);
  }
  for (float value : {0.0f, -0.0f, 1e-3f, 9.99e-4f, 99999.0f, 1e5f, 16777216.0f, 0.1f, 1.4f, 10000.0f}) {
    expectSameText(value);
  }

  auto expectSameValue = [&](const std::string& number) {
    float value = 0;
    float expected = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), expected);
    ASSERT_EQ(VUParseFloat(number.c_str(), &value), error == std::errc() ? 1 : 0) << number;
    if (error == std::errc()) {
      ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << number;
    }
    ASSERT_EQ(static_cast<size_t>(end - number.data()) == number.size(), VUParseFloatWhole(number.c_str(), &value) == 1)
        << number;
  };
  for (int i = 0; i < 100000; ++i) {
    std::string digits = std::to_string(random() % 100000000u);
    const size_t decimals = random() % 12;
    if (decimals > 0) {
      while (digits.size() <= decimals) digits.insert(0, "0");
      digits.insert(digits.size() - decimals, ".");
    }
    expectSameValue(digits);
  }
  for (const char* number : {"16777215", "16777216", "16777217", "0.0000000001", "0.00000000001", "5.", "1.5e2",
                             "1.5E2", "1e", "0x1", "007.50", "1.", "123456789012345678901234567890"}) {
    expectSameValue(number);
  }
}

// The inline short forms give what the full readers give, or leave the
// text to them.
TEST(NumbersTest, ShortFormsAgreeWithTheFullReaders) {
  for (const char* text : {"0", "-0", "7", "-12", "999999999", "-999999999", "1234567890", "2147483647", "+5", " 5",
                           "-", "", "12x", "12]", "1.5", "-0.25", "3.", ".5", "1e3", "16777216", "0.00000000001",
                           "--1", "-x"}) {
    const int length = static_cast<int>(std::strlen(text));
    int32_t shortInt = 77;
    int32_t fullInt = 77;
    const int fullIntRead = VUParseIntN(text, length, &fullInt);
    if (VUParseShortIntN(text, length, &shortInt)) {
      EXPECT_EQ(fullIntRead, 1) << text;
      EXPECT_EQ(shortInt, fullInt) << text;
    } else {
      EXPECT_EQ(shortInt, 77) << text;
    }
    float shortReal = 77;
    float fullReal = 77;
    const int fullRealRead = VUParseFloatN(text, length, &fullReal);
    if (VUParseShortFloatN(text, length, &shortReal)) {
      EXPECT_EQ(fullRealRead, 1) << text;
      EXPECT_EQ(std::memcmp(&shortReal, &fullReal, sizeof shortReal), 0) << text;
    } else {
      EXPECT_EQ(shortReal, 77.0f) << text;
    }
  }
  int32_t value = 0;
  EXPECT_EQ(VUParseShortIntN("-123456789", 10, &value), 1);
  EXPECT_EQ(value, -123456789);
  EXPECT_EQ(VUParseShortIntN("1234567890", 10, &value), 0);  // ten digits: the full reader's
}

TEST(NumbersTest, TheCLocaleDoesNotChangeTheText) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous != nullptr ? previous : "C";
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      comma = true;
      break;
    }
  }
  char text[kVUNumberText + 1];
  VUFormatFloat(text, 2.5f);
  float back = 0;
  EXPECT_EQ(VUParseFloat("2.5", &back), 1);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(text, "2.5");
  EXPECT_EQ(back, 2.5f);
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma on this machine";
}

}  // namespace
