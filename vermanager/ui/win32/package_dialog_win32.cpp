#include "vermanager/ui/package_dialog.h"

#include <windows.h>

#include <exception>
#include <string>

namespace vesta::ui {
namespace {

// What the about box shows, handed to its procedure at creation.
struct AboutTexts {
  const std::string* version;
  const std::string* subRelease;
  int build;
};

INT_PTR CALLBACK AboutProc(HWND about, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* texts = reinterpret_cast<const AboutTexts*>(lParam);
      SetDlgItemTextA(about, IDC_ABOUT_VERSION, texts->version->c_str());
      SetDlgItemTextA(about, IDC_ABOUT_SUBRELEASE, texts->subRelease->c_str());
      SetDlgItemInt(about, IDC_ABOUT_BUILD, static_cast<UINT>(texts->build), TRUE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(about, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The main dialog: the view over its window, and the procedure that turns
// its messages into the logic's events.
class Win32PackageDialog final : public PackageDialogView {
 public:
  explicit Win32PackageDialog(PackageDialogEvents* events) : events_(events) {}

  bool Run();

  void ClearList() override;
  void AddListItem(const std::string& title) override;
  int ListSelection() override;
  void EnableActionButtons(bool enabled) override;
  void SetFolderText(const std::string& text) override;
  std::string FolderText() override;
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons) override;
  void ShowAbout(const std::string& version, const std::string& subRelease, int build) override;
  void EndDialog() override { endRequested_ = true; }
  bool IsMinimised() override { return IsIconic(dialog_) != 0; }
  void DrawIconCentred() override;
  void* Icon() override { return bigIcon_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit();
  bool OnCommand(int id, int code);
  template <typename Handler>
  void Dispatch(Handler handler);
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  PackageDialogEvents* events_;
  HWND dialog_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool endRequested_ = false;
  // A handler's exception, carried past the window manager's frames, which
  // no exception may cross, and thrown again once the dialog has ended.
  std::exception_ptr failure_;
};

bool Win32PackageDialog::Run() {
  INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VERMANAGER_DIALOG), nullptr,
                                   &DialogProc, reinterpret_cast<LPARAM>(this));
  if (failure_) std::rethrow_exception(failure_);
  return result != -1 && result != 0;
}

INT_PTR CALLBACK Win32PackageDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32PackageDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Win32PackageDialog*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
  }
  // Messages before WM_INITDIALOG (the font, the frame) take the defaults.
  return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR Win32PackageDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;  // the first tab stop gets the focus
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_PAINT: {
      bool painted = false;
      Dispatch([this, &painted] { painted = events_->OnPaint(); });
      return painted ? TRUE : FALSE;
    }
    case WM_QUERYDRAGICON: {
      void* icon = nullptr;
      Dispatch([this, &icon] { icon = events_->OnQueryDragIcon(); });
      return reinterpret_cast<INT_PTR>(icon);
    }
    case WM_DESTROY:
      // LoadImage without LR_SHARED: the icons are this window's to free.
      if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
      if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
      bigIcon_ = smallIcon_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void Win32PackageDialog::OnInit() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  bigIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VERMANAGER), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VERMANAGER), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageA(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  Dispatch([this] { events_->OnInitDialog(this); });
}

bool Win32PackageDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_PACKAGE_LIST:
      if (code == LBN_SELCHANGE) Dispatch([this] { events_->OnPackageSelChange(); });
      if (code == LBN_DBLCLK) Dispatch([this] { events_->OnPackageDblClk(); });
      return true;
    case IDC_VERIFY:
      Dispatch([this] { events_->OnVerify(); });
      return true;
    case IDC_UNINSTALL:
      Dispatch([this] { events_->OnUninstall(); });
      return true;
    case IDC_ABOUT:
      Dispatch([this] { events_->OnAbout(); });
      return true;
    case IDC_HELP_BUTTON:
      Dispatch([this] { events_->OnHelpButton(); });
      return true;
    case IDC_LOG:
      Dispatch([this] { events_->OnLog(); });
      return true;
    case IDCANCEL:
    case IDOK:  // Enter: the dialog has no OK button
      Dispatch([this] { events_->OnCancel(); });
      return true;
    default:
      return false;
  }
}

// Runs one handler. An end it asks for waits until it returns, so that a
// handler may still show a message box after asking.
template <typename Handler>
void Win32PackageDialog::Dispatch(Handler handler) {
  if (failure_) return;
  try {
    handler();
  } catch (...) {
    failure_ = std::current_exception();
    endRequested_ = true;
  }
  if (endRequested_) ::EndDialog(dialog_, IDOK);
}

void Win32PackageDialog::DrawIconCentred() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog_, &paint);
  SendMessageA(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(dialog_, &client);
  int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  if (bigIcon_ != nullptr) DrawIcon(dc, x, y, bigIcon_);
  EndPaint(dialog_, &paint);
}

void Win32PackageDialog::ClearList() {
  while (SendMessageA(Item(IDC_PACKAGE_LIST), LB_DELETESTRING, 0, 0) != LB_ERR) {
  }
}

void Win32PackageDialog::AddListItem(const std::string& title) {
  SendMessageA(Item(IDC_PACKAGE_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

int Win32PackageDialog::ListSelection() {
  LRESULT selection = SendMessageA(Item(IDC_PACKAGE_LIST), LB_GETCURSEL, 0, 0);
  return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

void Win32PackageDialog::EnableActionButtons(bool enabled) {
  HWND verify = Item(IDC_VERIFY);
  HWND uninstall = Item(IDC_UNINSTALL);
  HWND focus = GetFocus();
  bool hadFocus = focus != nullptr && (focus == verify || focus == uninstall);
  EnableWindow(verify, enabled ? TRUE : FALSE);
  EnableWindow(uninstall, enabled ? TRUE : FALSE);
  // A disabled button drops the focus, which would leave the keyboard dead.
  if (!enabled && hadFocus) {
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_PACKAGE_LIST)), TRUE);
  }
}

void Win32PackageDialog::SetFolderText(const std::string& text) { SetDlgItemTextA(dialog_, IDC_FOLDER, text.c_str()); }

std::string Win32PackageDialog::FolderText() {
  char text[MAX_PATH + 1] = "";  // at most MAX_PATH characters and the null
  GetDlgItemTextA(dialog_, IDC_FOLDER, text, sizeof text);
  return text;
}

MessageAnswer Win32PackageDialog::ShowMessage(const std::string& text, const std::string& caption,
                                              MessageButtons buttons) {
  if (buttons == MessageButtons::kOk) {
    MessageBoxA(dialog_, text.c_str(), caption.c_str(), MB_OK);
    return MessageAnswer::kOk;
  }
  // Only a pressed Yes is a yes: a box that failed to show answers No.
  int answer = MessageBoxA(dialog_, text.c_str(), caption.c_str(), MB_YESNO);
  return answer == IDYES ? MessageAnswer::kYes : MessageAnswer::kNo;
}

void Win32PackageDialog::ShowAbout(const std::string& version, const std::string& subRelease, int build) {
  AboutTexts texts{&version, &subRelease, build};
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_VERMANAGER_ABOUT), dialog_, &AboutProc,
                  reinterpret_cast<LPARAM>(&texts));
}

}  // namespace

bool RunPackageDialog(PackageDialogEvents* events) {
  if (events == nullptr) return false;
  Win32PackageDialog dialog(events);
  return dialog.Run();
}

}  // namespace vesta::ui
