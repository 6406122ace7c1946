// The hyperlink control on a real window: a parent with static texts, the
// parent's notifications sent as Windows sends them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "actions/web_links.h"
#include "vesta/vsetu_shell.h"
#include "vsetu/services/test_opener.h"

namespace {

using vesta::testing::RecordingOpener;

constexpr int kTextId = 101;
constexpr int kIconId = 102;

class HyperlinkWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingOpener::Opened().clear();
    RecordingOpener::Answer() = true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VestaHyperlinkTest";
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    parent_ = CreateWindowA("VestaHyperlinkTest", "Setup", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr);
    text_ = Static("Visit us", SS_LEFT, kTextId);
    icon_ = Static("", SS_ICON, kIconId);
  }

  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
  }

  HWND Static(const char* text, DWORD style, int id) {
    return CreateWindowA("STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10 + 30 * (id - kTextId), 100, 20,
                         parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
  }

  // What the parent answers to the static's colouring question.
  LRESULT Colour(HWND control, HDC dc) {
    return SendMessageA(parent_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }

  RecordingOpener opener_;
  HWND parent_ = nullptr;
  HWND text_ = nullptr;
  HWND icon_ = nullptr;
};

TEST_F(HyperlinkWindowTest, AClickOnTheStaticFollowsTheLinkAndTurnsItVisited) {
  CVHyperLink link;
  ASSERT_EQ(link.HPAttach(parent_, kTextId), 1);
  EXPECT_EQ(link.window, text_);
  EXPECT_EQ(link.HPIsSubClassed(), 1);
  CVHyperLink again;
  EXPECT_EQ(again.HPAttach(parent_, kTextId), 0);
  EXPECT_EQ(again.HPAttach(parent_, 999), 0);

  EXPECT_EQ(SendMessageA(text_, WM_NCHITTEST, 0, 0), HTCLIENT);
  SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(kTextId, STN_CLICKED), reinterpret_cast<LPARAM>(text_));
  EXPECT_EQ(RecordingOpener::Opened(), std::vector<std::string>{kVUDefaultLink});
  EXPECT_EQ(link.visited, 1);

  // A failed link call leaves a new link unvisited.
  RecordingOpener::Answer() = false;
  CVHyperLink failing;
  ASSERT_EQ(failing.HPAttach(parent_, kIconId), 1);
  SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(kIconId, STN_CLICKED), reinterpret_cast<LPARAM>(icon_));
  EXPECT_EQ(failing.visited, 0);
}

TEST_F(HyperlinkWindowTest, TheTextIsPaintedUnderlinedInTheLinkColourOnNoBackground) {
  CVHyperLink link;
  ASSERT_EQ(link.HPAttach(parent_, kTextId), 1);
  HDC dc = GetDC(text_);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(Colour(text_, dc), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), link.linkColour);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ASSERT_NE(link.linkFont, nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), link.linkFont);
  LOGFONTA face;
  ASSERT_NE(GetObjectA(static_cast<HFONT>(link.linkFont), sizeof face, &face), 0);
  EXPECT_TRUE(face.lfUnderline);
  // The static now reports its clicks.
  EXPECT_NE(GetWindowLongA(text_, GWL_STYLE) & SS_NOTIFY, 0);

  // The font is made once; a visited link paints in the visited colour.
  void* font = link.linkFont;
  link.visited = 1;
  Colour(text_, dc);
  EXPECT_EQ(link.linkFont, font);
  EXPECT_EQ(GetTextColor(dc), link.visitedColour);
  ReleaseDC(text_, dc);
}

TEST_F(HyperlinkWindowTest, AStaticThatShowsNoTextKeepsTheDialogsColouring) {
  CVHyperLink link;
  ASSERT_EQ(link.HPAttach(parent_, kIconId), 1);
  HDC dc = GetDC(icon_);
  EXPECT_NE(Colour(icon_, dc), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(link.linkFont, nullptr);
  EXPECT_NE(GetWindowLongA(icon_, GWL_STYLE) & SS_NOTIFY, 0);
  ReleaseDC(icon_, dc);
}

TEST_F(HyperlinkWindowTest, TheCursorIsShownAndTheControlGoesWithTheLink) {
  {
    CVHyperLink link;
    ASSERT_EQ(link.HPAttach(parent_, kTextId), 1);
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(SendMessageA(text_, WM_SETCURSOR, reinterpret_cast<WPARAM>(text_), hit), FALSE);
    HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(link.HPSetCursor(hand), 1);
    EXPECT_EQ(SendMessageA(text_, WM_SETCURSOR, reinterpret_cast<WPARAM>(text_), hit), TRUE);
  }
  EXPECT_FALSE(IsWindow(text_));

  // When the dialog goes first, the link lets go of its control.
  CVHyperLink link;
  ASSERT_EQ(link.HPAttach(parent_, kIconId), 1);
  DestroyWindow(parent_);
  EXPECT_EQ(link.window, nullptr);
}

}  // namespace
