// The package manager's dialogs as Windows shows them, worked from a second
// thread through the Win32 API, as a user's clicks would arrive.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "vermanager/ui/package_dialog.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vermanager/ver_manager_dlg.h"

namespace {

using vesta::ui::MessageAnswer;
using vesta::ui::MessageButtons;
using vesta::ui::PackageDialogView;

const char kDialogClass[] = "#32770";
const DWORD kWaitMs = 10000;
// Out of alphabetical order, so that a sorted list shows.
const char* const kTitles[] = {"VESTA Viewer", "Art Pack", "Demo World"};

// Behaves as the package manager's logic does, and records what it heard.
class RecordingEvents : public vesta::ui::PackageDialogEvents {
 public:
  void OnInitDialog(PackageDialogView* view) override {
    view_ = view;
    view->SetFolderText("C:\\VESTA\\");
    view->AddListItem("Removed Package");
    view->ClearList();
    for (const char* title : kTitles) view->AddListItem(title);
    view->EnableActionButtons(false);
    heard.push_back("init " + view->FolderText() + " " + std::to_string(view->ListSelection()));
  }
  void OnPackageSelChange() override {
    heard.push_back("select " + std::to_string(view_->ListSelection()));
    view_->EnableActionButtons(view_->ListSelection() >= 0);
  }
  void OnPackageDblClk() override { heard.push_back("double " + std::to_string(view_->ListSelection())); }
  // Asks for the end before its question, as the logic's uninstall of the
  // whole product does.
  void OnVerify() override {
    if (view_->ListSelection() == 2) view_->EndDialog();
    MessageAnswer answer = view_->ShowMessage("Verify \" Art Pack \"?", "VestaWare Verify", MessageButtons::kYesNo);
    heard.push_back(answer == MessageAnswer::kYes ? "verify yes" : answer == MessageAnswer::kNo ? "verify no" : "?");
  }
  void OnUninstall() override {}
  void OnAbout() override {
    view_->ShowAbout("1", "4", 401);
    heard.push_back("about");
  }
  void OnHelpButton() override { throw std::runtime_error("no help file"); }
  void OnLog() override {}
  void OnCancel() override {
    heard.push_back("close");
    view_->EndDialog();
  }
  bool OnPaint() override {
    painted = true;
    return false;  // the window's own painting
  }
  void* OnQueryDragIcon() override {
    heard.push_back("drag icon");
    return view_->Icon();
  }

  std::vector<std::string> heard;
  std::atomic<bool> painted{false};

 private:
  PackageDialogView* view_ = nullptr;
};

bool WaitFor(const std::function<bool()>& ready) {
  for (DWORD waited = 0; waited < kWaitMs; waited += 20) {
    if (ready()) return true;
    Sleep(20);
  }
  return ready();
}

// The shown dialog-class window with this caption and owner (any owner when
// null), or null after the wait.
HWND WaitForDialog(const char* caption, HWND owner) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND window = FindWindowExA(nullptr, nullptr, kDialogClass, caption); window != nullptr;
         window = FindWindowExA(nullptr, window, kDialogClass, caption)) {
      if (IsWindowVisible(window) && (owner == nullptr || GetWindow(window, GW_OWNER) == owner)) found = window;
    }
    return found != nullptr;
  });
  return found;
}

bool WaitClosed(HWND window) {
  return WaitFor([&] { return !IsWindow(window); });
}

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Presses a button: its command arrives through the dialog's queue.
void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Selects a package as a click in the list does.
void Select(HWND dialog, int index) {
  HWND list = GetDlgItem(dialog, IDC_PACKAGE_LIST);
  SendMessageA(list, LB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PACKAGE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool HasChildWithText(HWND window, const std::string& text) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (TextOf(child) == text) return true;
  }
  return false;
}

BOOL CALLBACK AnswerNoAndCancel(HWND window, LPARAM) {
  PostMessageA(window, WM_COMMAND, IDNO, 0);
  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

// Runs the dialog on this thread while drive() works it from another. What
// the drive leaves open is then closed (message boxes answered No), and as a
// last resort the program stops, so that a fault fails instead of hanging.
bool RunDriven(vesta::ui::PackageDialogEvents* events, const std::function<void(HWND)>& drive) {
  std::atomic<bool> ended{false};
  const DWORD dialogThread = GetCurrentThreadId();
  std::thread driver([&] {
    HWND dialog = WaitForDialog("UnInstall VestaWare", nullptr);
    if (dialog != nullptr) drive(dialog);
    if (dialog == nullptr) ADD_FAILURE() << "the dialog did not show";
    if (WaitFor([&] { return ended.load(); })) return;
    ADD_FAILURE() << "the dialog was left open";
    bool closed = WaitFor([&] {
      EnumThreadWindows(dialogThread, &AnswerNoAndCancel, 0);
      return ended.load();
    });
    if (closed) return;
    std::fputs("the dialog could not be closed\n", stderr);
    std::abort();
  });
  bool shown = false;
  try {
    shown = vesta::ui::RunPackageDialog(events);
  } catch (...) {
    ended = true;
    driver.join();
    throw;
  }
  ended = true;
  driver.join();
  return shown;
}

TEST(PackageDialogWin32Test, ShowsItsControlsAndPackagesAndEnablesTheActionsOnSelection) {
  RecordingEvents events;
  bool shown = RunDriven(&events, [](HWND dialog) {
    struct Control {
      int id;
      const char* kind;
      const char* text;
    };
    const Control kTabOrder[] = {
        {IDC_VERIFY, "Button", "&Verify Package"},
        {IDC_UNINSTALL, "Button", "&Un-Install Package"},
        {IDCANCEL, "Button", "&Close"},
        {IDC_HELP_BUTTON, "Button", "&Help"},
        {IDC_LOG, "Button", "Log..."},
        {IDC_ABOUT, "Button", "&About"},
        {IDC_PACKAGE_LIST, "ListBox", ""},
        {-1, "Static",
         "To un-install a VestaWare package, select the package name from the list, then press the "
         "\"Un-Install Package\" button."},
        {-1, "Static", ""},
        {IDC_FOLDER, "Edit", "C:\\VESTA\\"},
    };
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Control& control : kTabOrder) {
      ASSERT_NE(child, nullptr) << "no control for " << control.id;
      char kind[32] = "";
      GetClassNameA(child, kind, sizeof kind);
      EXPECT_EQ(GetDlgCtrlID(child), control.id);
      EXPECT_STRCASEEQ(kind, control.kind);
      EXPECT_EQ(TextOf(child), control.text);
      if (control.id > 0) {
        EXPECT_EQ(TextOf(GetDlgItem(dialog, control.id)), control.text);
      }
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "a control too many";
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_FOLDER), GWL_STYLE) & ES_READONLY);
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0);

    HWND list = GetDlgItem(dialog, IDC_PACKAGE_LIST);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
      char title[64] = "";
      ASSERT_LT(SendMessageA(list, LB_GETTEXTLEN, i, 0), 64);
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(title));
      EXPECT_STREQ(title, kTitles[i]);
    }
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_VERIFY)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_UNINSTALL)));

    Select(dialog, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_VERIFY)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_UNINSTALL)));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PACKAGE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(WaitClosed(dialog));
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(events.heard, (std::vector<std::string>{"init C:\\VESTA\\ -1", "select 1", "double 1", "close"}));
}

TEST(PackageDialogWin32Test, ThePackageManagerListsItsManifestInOrder) {
  vesta::testing::ScratchFolder scratch;
  const std::string manifest = scratch.Path("packages.txt");
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      manifest, "[NAM][1]Z[TYP][12]Zebra worlds\n[FIL][1]x[UBY][1]Z\n[NAM][1]A[TYP][9]Art packs\n"));
  CVerManagerDlg logic(manifest);
  ASSERT_EQ(logic.OpenManifest(manifest.c_str()), 1);
  bool shown = RunDriven(&logic, [](HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_PACKAGE_LIST);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    char title[64] = "";
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(title));
    EXPECT_STREQ(title, "Zebra worlds");
    SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(title));
    EXPECT_STREQ(title, "Art packs");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_VERIFY)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_UNINSTALL)));
    Select(dialog, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_VERIFY)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_UNINSTALL)));
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(WaitClosed(dialog));
  });
  EXPECT_TRUE(shown);
}

TEST(PackageDialogWin32Test, AboutBoxShowsTheVersionSubReleaseAndBuildAndEnterCloses) {
  RecordingEvents events;
  bool shown = RunDriven(&events, [](HWND dialog) {
    Press(dialog, IDC_ABOUT);
    HWND about = WaitForDialog("About", dialog);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(about, IDC_ABOUT_VERSION)), "1");
    EXPECT_EQ(TextOf(GetDlgItem(about, IDC_ABOUT_SUBRELEASE)), "4");
    EXPECT_EQ(TextOf(GetDlgItem(about, IDC_ABOUT_BUILD)), "401");
    EXPECT_EQ(TextOf(GetDlgItem(about, IDOK)), "OK");
    Press(about, IDCANCEL);  // Escape
    EXPECT_TRUE(WaitClosed(about));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);  // Enter
    EXPECT_TRUE(WaitClosed(dialog));
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(events.heard, (std::vector<std::string>{"init C:\\VESTA\\ -1", "about", "close"}));
}

TEST(PackageDialogWin32Test, YesNoBoxIsOwnedByTheDialogAndAnEndAskedBeforeItWaits) {
  RecordingEvents events;
  bool shown = RunDriven(&events, [](HWND dialog) {
    for (int selection : {1, 2}) {
      Select(dialog, selection);
      Press(dialog, IDC_VERIFY);
      HWND box = WaitForDialog("VestaWare Verify", dialog);
      ASSERT_NE(box, nullptr);
      EXPECT_TRUE(HasChildWithText(box, "Verify \" Art Pack \"?"));
      EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
      EXPECT_EQ(GetDlgItem(box, IDOK), nullptr);
      EXPECT_TRUE(IsWindowVisible(dialog));
      Press(box, selection == 1 ? IDYES : IDNO);
      EXPECT_TRUE(WaitClosed(box));
    }
    EXPECT_TRUE(WaitClosed(dialog));
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(events.heard,
            (std::vector<std::string>{"init C:\\VESTA\\ -1", "select 1", "verify yes", "select 2", "verify no"}));
}

TEST(PackageDialogWin32Test, AHandlersExceptionEndsTheDialogAndComesOut) {
  RecordingEvents events;
  EXPECT_THROW(RunDriven(&events, [](HWND dialog) {
                 Press(dialog, IDC_HELP_BUTTON);
                 EXPECT_TRUE(WaitClosed(dialog));
               }),
               std::runtime_error);
  EXPECT_FALSE(vesta::ui::RunPackageDialog(nullptr));
}

TEST(PackageDialogWin32Test, PaintingAndTheDragIconGoThroughTheHandlers) {
  RecordingEvents events;
  bool shown = RunDriven(&events, [&events](HWND dialog) {
    EXPECT_TRUE(WaitFor([&] { return events.painted.load(); }));
    // The icon of the dialog's resources, as the handler hands it back.
    EXPECT_NE(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0), 0);
    EXPECT_FALSE(IsIconic(dialog));
    Press(dialog, IDCANCEL);
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(events.heard, (std::vector<std::string>{"init C:\\VESTA\\ -1", "drag icon", "close"}));
}

}  // namespace
