#include "vsetu/services/hyperlink_window.h"

namespace vesta::vsetu {

bool AttachHyperlink(void* /*dialog*/, int /*controlId*/, void* /*owner*/, const HyperlinkHandlers* /*handlers*/,
                     void** /*control*/) {
  return false;
}

void RepaintWindow(void* /*window*/) {}
void DestroyControlWindow(void* /*window*/) {}
void DeleteFontObject(void* /*font*/) {}

}  // namespace vesta::vsetu
