// The hyperlink control's state and the pages its clicks open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/web_links.h"
#include "vesta/vsetu_shell.h"
#include "vsetu/services/test_opener.h"

namespace {

using vesta::testing::RecordingOpener;

class HyperlinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingOpener::Opened().clear();
    RecordingOpener::Answer() = true;
  }

  RecordingOpener opener_;
};

TEST_F(HyperlinkTest, ANewLinkShowsUnvisitedAndOpensTheHomePage) {
  CVHyperLink link;
  int type = 0;
  EXPECT_EQ(link.HPGetLinkType(&type), 1);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(link.linkColour, 0xFF0000u);
  EXPECT_EQ(link.visitedColour, 0x800080u);
  EXPECT_EQ(link.visited, 0);
  EXPECT_EQ(link.HPIsSubClassed(), 0);
  EXPECT_STREQ(link.target, "");
  EXPECT_EQ(link.HPAttach(nullptr, 1), 0);

  EXPECT_EQ(link.HPOnClicked(), 1);
  EXPECT_EQ(RecordingOpener::Opened(), std::vector<std::string>{kVUDefaultLink});
  EXPECT_EQ(link.visited, 1);
}

TEST_F(HyperlinkTest, EachLinkTypeOpensItsPage) {
  CVHyperLink link;
  ASSERT_EQ(link.HPSetLinkTarget("C:\\VESTA\\worlds\\Sample.vwq"), 1);
  for (int type : {2, 3, 4, 7, 0}) {
    EXPECT_EQ(link.HPSetLinkType(type), 1);
    link.HPOnClicked();
  }
  std::vector<std::string> expected = {kVULinkTypeTwo, kVULinkTypeThree, "C:\\VESTA\\worlds\\Sample.vwq",
                                       kVUDefaultLink, kVUDefaultLink};
  EXPECT_EQ(RecordingOpener::Opened(), expected);
}

TEST_F(HyperlinkTest, AnUnsetTypeTakesNoTargetButStillOpensTheHomePage) {
  CVHyperLink link;
  ASSERT_EQ(link.HPSetLinkTarget("kept"), 1);
  EXPECT_EQ(link.HPSetLinkType(-1), 1);
  int type = 5;
  EXPECT_EQ(link.HPGetLinkType(&type), 0);
  EXPECT_EQ(type, 5);
  EXPECT_EQ(link.HPSetLinkTarget("dropped"), 0);
  EXPECT_STREQ(link.target, "kept");
  EXPECT_EQ(link.HPOnClicked(), 1);
  EXPECT_EQ(RecordingOpener::Opened(), std::vector<std::string>{kVUDefaultLink});
}

TEST_F(HyperlinkTest, OnlyAFollowedLinkShowsAsVisited) {
  CVHyperLink link;
  RecordingOpener::Answer() = false;
  EXPECT_EQ(link.HPOnClicked(), 0);
  EXPECT_EQ(link.visited, 0);
  RecordingOpener::Answer() = true;
  EXPECT_EQ(link.HPOnClicked(), 1);
  EXPECT_EQ(link.visited, 1);
  // An empty target is not opened at all.
  RecordingOpener::Opened().clear();
  CVHyperLink fresh;
  fresh.HPSetLinkType(4);
  EXPECT_EQ(fresh.HPOnClicked(), 0);
  EXPECT_TRUE(RecordingOpener::Opened().empty());
  EXPECT_EQ(fresh.visited, 0);
}

TEST_F(HyperlinkTest, ALongTargetIsCut) {
  CVHyperLink link;
  const std::string longTarget(300, 't');
  EXPECT_EQ(link.HPSetLinkTarget(longTarget.c_str()), 1);
  EXPECT_EQ(std::string(link.target), longTarget.substr(0, 263));
  EXPECT_EQ(link.HPSetSubClassed(), 1);
  EXPECT_EQ(link.HPIsSubClassed(), 1);
}

}  // namespace
