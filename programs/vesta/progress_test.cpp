// The progress of a pack on terminals of every width and in a log.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "programs/vesta/progress.h"

namespace vesta::tool {
namespace {

TEST(ProgressTest, TheLineFitsEveryWidthAndDropsTheBarFirst) {
  std::ostringstream sink;
  Progress progress(sink, true, 80, 40, 4 * 1024 * 1024);
  std::string wide = progress.Line(10, 1024 * 1024, 2.0, 100);
  EXPECT_EQ(wide.rfind("[#########.", 0), 0u) << wide;
  EXPECT_NE(wide.find("25%  10/40 files  1.0 MB of 4.0 MB  512.0 KB/s  0:06 left"), std::string::npos) << wide;
  for (int width = 1; width <= 120; ++width) {
    std::string line = progress.Line(10, 1024 * 1024, 2.0, width);
    EXPECT_LT(static_cast<int>(line.size()), width) << width << ": " << line;
  }
  EXPECT_EQ(progress.Line(10, 1024 * 1024, 2.0, 20), "25%  10/40 files");
  EXPECT_EQ(progress.Line(10, 1024 * 1024, 2.0, 5), "25%");
  EXPECT_EQ(progress.Line(10, 1024 * 1024, 2.0, 3), "");
  // Nothing to copy is done at once, without a rate or a division by zero.
  Progress empty(sink, true, 80, 0, 0);
  EXPECT_EQ(empty.Line(0, 0, 0.0, 0), "100%  0/0 files  0 B of 0 B");
}

TEST(ProgressTest, WithoutATerminalAPlainLineForEachTenth) {
  std::ostringstream log;
  Progress progress(log, false, 0, 100, 1000);
  for (int done = 0; done <= 100; ++done) progress.Update(done, done * 10);
  progress.Done();
  std::string text = log.str();
  EXPECT_EQ(text.find('\r'), std::string::npos);
  size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 11u) << text;
  EXPECT_NE(text.find("packing: 100%  100/100 files  1000 B of 1000 B"), std::string::npos) << text;
}

TEST(ProgressTest, OnATerminalTheBarRedrawsOneLine) {
  std::ostringstream screen;
  Progress progress(screen, true, 30, 4, 400);
  progress.Update(1, 100);
  progress.Update(2, 200);
  progress.Done();
  std::string text = screen.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 3);
  for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 1)) {
    size_t end = text.find_first_of("\r\n", at + 1);
    EXPECT_EQ(end - at - 1, 29u);  // each redraw covers the one before, within the width
  }
}

TEST(ProgressTest, BytesAreShownInTheirUnit) {
  EXPECT_EQ(Bytes(0), "0 B");
  EXPECT_EQ(Bytes(1023), "1023 B");
  EXPECT_EQ(Bytes(1536), "1.5 KB");
  EXPECT_EQ(Bytes(5LL * 1024 * 1024 * 1024), "5.0 GB");
}

}  // namespace
}  // namespace vesta::tool
