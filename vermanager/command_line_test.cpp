// Finding "-f" and the manifest's path on the command line.
#include <gtest/gtest.h>

#include <string>

#include "vermanager/command_line.h"

namespace {

std::string Option(const char* text) {
  char out[260] = "untouched";
  return ParseOptionValue(out, text, 'f') ? std::string(out) : "<none:" + std::string(out) + ">";
}

TEST(CommandLineTest, TheValueFollowsTheLetterDirectly) {
  EXPECT_EQ(Option("VerManager.exe -fC:\\VESTA\\bin\\packages.txt"), "C:\\VESTA\\bin\\packages.txt");
  EXPECT_EQ(Option("VerManager.exe -fa.txt -fb.txt"), "a.txt");
  EXPECT_EQ(Option("VerManager.exe -fa.txt\tmore"), "a.txt");
  EXPECT_EQ(Option("VerManager.exe"), "<none:>");
  EXPECT_EQ(Option("VerManager.exe -g x"), "<none:>");
  EXPECT_EQ(Option("VerManager.exe -F x"), "<none:>");
}

TEST(CommandLineTest, ABlankAfterTheLetterBeginsTheValue) {
  EXPECT_EQ(Option("VerManager.exe -f packages.txt"), " packages.txt");
}

TEST(CommandLineTest, QuotedValuesKeepTheirBlanks) {
  EXPECT_EQ(Option("VerManager.exe -f\"C:\\Program Files\\v p.txt\" -x"), "C:\\Program Files\\v p.txt");
  EXPECT_EQ(Option("VerManager.exe -f'C:\\My Files\\p.txt'"), "C:\\My Files\\p.txt");
  EXPECT_EQ(Option("VerManager.exe -f'it\"s.txt'"), "it\"s.txt");
  EXPECT_EQ(Option("VerManager.exe -f\"\""), "<none:>");
  EXPECT_EQ(Option("VerManager.exe -f\"unterminated rest of line"), "unterminated rest of line");
}

TEST(CommandLineTest, TheWholeLineIsSearchedButTwoDashesDoNotCount) {
  EXPECT_EQ(Option("C:\\-fast\\VerManager.exe -fp.txt"), "ast\\VerManager.exe");
  EXPECT_EQ(Option("VerManager.exe --fp.txt"), "<none:>");
  EXPECT_EQ(Option("VerManager.exe --f -fq.txt"), "q.txt");
}

TEST(CommandLineTest, AValueLongerThanThePathIsCut) {
  std::string line = "VerManager.exe -f" + std::string(400, 'p');
  char out[260];
  ASSERT_EQ(ParseOptionValue(out, line.c_str(), 'f'), 1);
  EXPECT_EQ(std::string(out), std::string(259, 'p'));
}

}  // namespace
