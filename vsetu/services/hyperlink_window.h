// The window half of the hyperlink control: a dialog's static text that
// shows as a link and reports its clicks to the object that owns it.
//
// Win32: the static control is subclassed; since a static tells only its
// parent about clicks and colouring, the parent is subclassed too (once)
// and hands WM_CTLCOLORSTATIC and WM_COMMAND/STN_CLICKED of a hyperlink
// back to it. POSIX has no windows: nothing is attached or drawn.
#ifndef VESTA_VSETU_SERVICES_HYPERLINK_WINDOW_H
#define VESTA_VSETU_SERVICES_HYPERLINK_WINDOW_H

#include <cstdint>

namespace vesta::vsetu {

// What the control's window asks of its owner, at each message.
struct HyperlinkHandlers {
  void (*clicked)(void* owner);
  // The colour of the text, 0x00BBGGRR.
  uint32_t (*textColour)(void* owner);
  // Where the owner keeps the underlined link font: made here on the first
  // paint, deleted by the owner.
  void** (*font)(void* owner);
  // The cursor over the control; null leaves the window's own.
  void* (*cursor)(void* owner);
  // The control's window is being destroyed.
  void (*destroyed)(void* owner);
};

// Makes the dialog's static control controlId a hyperlink of owner and
// gives its window in *control. False when there is no such control, it
// is a hyperlink already, or (POSIX) there are no windows. handlers must
// outlive the window.
bool AttachHyperlink(void* dialog, int controlId, void* owner, const HyperlinkHandlers* handlers,
                     void** control);

// Repaints the window, background first; null is ignored.
void RepaintWindow(void* window);
// Destroys the window; null is ignored.
void DestroyControlWindow(void* window);
// Deletes a font made for a hyperlink; null is ignored.
void DeleteFontObject(void* font);

}  // namespace vesta::vsetu

#endif
