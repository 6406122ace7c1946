#include "actions/web_links.h"

#include "actions/document_opener.h"

// The desktop opens links without an owner window.
int VUFollowDefaultLink(void* /*window*/) { return VUOpenDocument(kVUDefaultLink); }
int VUFollowLinkTypeTwo(void* /*window*/) { return VUOpenDocument(kVULinkTypeTwo); }
int VUFollowLinkTypeThree(void* /*window*/) { return VUOpenDocument(kVULinkTypeThree); }
int VUFollowLinkTarget(void* /*window*/, const char* target) { return VUOpenDocument(target); }
