// How the utility layer opens a document or a web address: through the
// platform's desktop, unless a test has put an opener of its own in place
// (so that no test starts a browser).
#ifndef VESTA_ACTIONS_DOCUMENT_OPENER_H
#define VESTA_ACTIONS_DOCUMENT_OPENER_H

// Opens target; true when the opener reports success.
using VUDocumentOpener = bool (*)(const char* target);

// Opens target with the opener in use (vesta::platform::OpenDocument at
// first). 1 when it reports success.
int VUOpenDocument(const char* target);

// Puts opener in place for the whole process (null: the platform's) and
// returns the one in use before, for the caller to put back.
VUDocumentOpener VUSetDocumentOpener(VUDocumentOpener opener);

#endif
