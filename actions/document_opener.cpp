#include "actions/document_opener.h"

#include "platform/shell.h"

namespace {

VUDocumentOpener& Opener() {
  static VUDocumentOpener opener = &vesta::platform::OpenDocument;
  return opener;
}

}  // namespace

int VUOpenDocument(const char* target) {
  if (target == nullptr || *target == '\0') return 0;
  return Opener()(target) ? 1 : 0;
}

VUDocumentOpener VUSetDocumentOpener(VUDocumentOpener opener) {
  VUDocumentOpener before = Opener();
  Opener() = opener != nullptr ? opener : &vesta::platform::OpenDocument;
  return before;
}
