#include "vsetu/services/hyperlink_window.h"

#include <windows.h>

#include <commctrl.h>

#include <new>

namespace vesta::vsetu {
namespace {

constexpr UINT_PTR kLinkSubclass = 0x564C;     // on the static control
constexpr UINT_PTR kReflectSubclass = 0x5652;  // on its parent
// A notification handed back to the control that sent it arrives offset
// into the private range, as reflected messages conventionally do.
constexpr UINT kReflected = WM_USER + 0x1C00;
// Static styles up to SS_RIGHT show text; higher ones icons, frames...
constexpr LONG kLastTextStyle = SS_RIGHT;
// Marks a hyperlink's window for its parent.
const char kLinkProperty[] = "VestaHyperlink";

struct LinkWindow {
  void* owner;
  const HyperlinkHandlers* handlers;
};

bool IsHyperlink(HWND window) { return window != nullptr && GetPropA(window, kLinkProperty) != nullptr; }

// The colouring of the link text; 0 leaves the parent's own.
LRESULT Colour(HWND control, HDC dc, int kind, const LinkWindow& link) {
  LONG style = GetWindowLongA(control, GWL_STYLE);
  // A static reports clicks only with SS_NOTIFY.
  if ((style & SS_NOTIFY) == 0) SetWindowLongA(control, GWL_STYLE, style | SS_NOTIFY);
  if (kind != CTLCOLOR_STATIC || (style & 0xFF) > kLastTextStyle) return 0;
  void** font = link.handlers->font(link.owner);
  if (*font == nullptr) {
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (current == nullptr) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA face;
    if (GetObjectA(current, sizeof face, &face) != 0) {
      face.lfUnderline = TRUE;
      *font = CreateFontIndirectA(&face);
    }
  }
  if (*font != nullptr) SelectObject(dc, static_cast<HFONT>(*font));
  SetTextColor(dc, link.handlers->textColour(link.owner));
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  LinkWindow* link = reinterpret_cast<LinkWindow*>(data);
  switch (message) {
    case WM_NCHITTEST:
      // A static lets the mouse through to its parent otherwise.
      return HTCLIENT;
    case kReflected + WM_CTLCOLORSTATIC:
      return Colour(window, reinterpret_cast<HDC>(wParam), CTLCOLOR_STATIC, *link);
    case kReflected + WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED) link->handlers->clicked(link->owner);
      return 0;
    case WM_SETCURSOR:
      if (void* cursor = link->handlers->cursor(link->owner)) {
        SetCursor(static_cast<HCURSOR>(cursor));
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, LinkProc, kLinkSubclass);
      RemovePropA(window, kLinkProperty);
      link->handlers->destroyed(link->owner);
      delete link;
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// The parent: hands a hyperlink its own colouring and clicks.
LRESULT CALLBACK ReflectProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  HWND control = reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_CTLCOLORSTATIC:
      if (IsHyperlink(control)) {
        LRESULT brush = SendMessageA(control, kReflected + message, wParam, lParam);
        if (brush != 0) return brush;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED && IsHyperlink(control)) {
        SendMessageA(control, kReflected + message, wParam, lParam);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, ReflectProc, kReflectSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

bool AttachHyperlink(void* dialog, int controlId, void* owner, const HyperlinkHandlers* handlers,
                     void** control) {
  HWND parent = static_cast<HWND>(dialog);
  if (parent == nullptr || handlers == nullptr || control == nullptr) return false;
  HWND item = GetDlgItem(parent, controlId);
  if (item == nullptr || IsHyperlink(item)) return false;
  LinkWindow* link = new (std::nothrow) LinkWindow{owner, handlers};
  if (link == nullptr) return false;
  if (!SetPropA(item, kLinkProperty, link)) {
    delete link;
    return false;
  }
  // Subclassing the parent again only replaces its data: it is done once.
  if (!SetWindowSubclass(item, LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(link)) ||
      !SetWindowSubclass(parent, ReflectProc, kReflectSubclass, 0)) {
    RemoveWindowSubclass(item, LinkProc, kLinkSubclass);
    RemovePropA(item, kLinkProperty);
    delete link;
    return false;
  }
  *control = item;
  return true;
}

void RepaintWindow(void* window) {
  if (window != nullptr) InvalidateRect(static_cast<HWND>(window), nullptr, TRUE);
}

void DestroyControlWindow(void* window) {
  if (window != nullptr && IsWindow(static_cast<HWND>(window))) DestroyWindow(static_cast<HWND>(window));
}

void DeleteFontObject(void* font) {
  if (font != nullptr) DeleteObject(static_cast<HFONT>(font));
}

}  // namespace vesta::vsetu
