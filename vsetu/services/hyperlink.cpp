// The hyperlink control: which page a click opens, and the visited state.
#include "common/text.h"
#include "actions/web_links.h"
#include "vsetu/services/hyperlink_window.h"
#include "vesta/vsetu_shell.h"

namespace {

constexpr int kUnset = -1;
constexpr uint32_t kBlue = 0xFF0000;    // 0x00BBGGRR
constexpr uint32_t kPurple = 0x800080;

CVHyperLink* Link(void* owner) { return static_cast<CVHyperLink*>(owner); }

void Clicked(void* owner) { Link(owner)->HPOnClicked(); }

uint32_t TextColour(void* owner) {
  const CVHyperLink* link = Link(owner);
  return link->visited ? link->visitedColour : link->linkColour;
}

void** Font(void* owner) { return &Link(owner)->linkFont; }

void* Cursor(void* owner) { return Link(owner)->cursor; }

void Destroyed(void* owner) { Link(owner)->window = nullptr; }

const vesta::vsetu::HyperlinkHandlers kHandlers = {Clicked, TextColour, Font, Cursor, Destroyed};

}  // namespace

CVHyperLink::CVHyperLink()
    : linkType(1),
      subclassed(0),
      cursor(nullptr),
      linkColour(kBlue),
      visitedColour(kPurple),
      visited(0),
      target(),
      linkFont(nullptr),
      window(nullptr) {}

CVHyperLink::~CVHyperLink() {
  vesta::vsetu::DeleteFontObject(linkFont);
  linkFont = nullptr;
  vesta::vsetu::DestroyControlWindow(window);
}

int CVHyperLink::HPSetLinkType(int type) {
  linkType = type;
  return 1;
}

int CVHyperLink::HPGetLinkType(int* type) {
  if (linkType == kUnset || type == nullptr) return 0;
  *type = linkType;
  return 1;
}

int CVHyperLink::HPSetLinkTarget(const char* text) {
  if (linkType == kUnset) return 0;
  VUCopyToField(target, text);
  return 1;
}

int CVHyperLink::HPSetSubClassed() {
  subclassed = 1;
  return 1;
}

int CVHyperLink::HPIsSubClassed() { return subclassed; }

int CVHyperLink::HPSetCursor(void* icon) {
  cursor = icon;
  return 1;
}

int CVHyperLink::HPAttach(VSWindow dialog, int controlId) {
  void* control = nullptr;
  if (window != nullptr || !vesta::vsetu::AttachHyperlink(dialog, controlId, this, &kHandlers, &control)) {
    return 0;
  }
  window = control;
  subclassed = 1;
  return 1;
}

int CVHyperLink::HPOnClicked() {
  int type = 1;
  if (!HPGetLinkType(&type)) type = 1;
  int followed = 0;
  switch (type) {
    case 2:
      followed = VUFollowLinkTypeTwo(nullptr);
      break;
    case 3:
      followed = VUFollowLinkTypeThree(nullptr);
      break;
    case 4:
      followed = VUFollowLinkTarget(nullptr, target);
      break;
    default:
      followed = VUFollowDefaultLink(nullptr);
      break;
  }
  if (!followed) return 0;
  visited = 1;
  vesta::vsetu::RepaintWindow(window);
  return 1;
}
