// The setup library's process-wide slots, all in one place. The
// normaliser's state is its object's (vsetu/normaliser/normaliser.h), the
// catalogue's index its list's.
#ifndef VESTA_VSETU_SERVICES_LIBRARY_STATE_H
#define VESTA_VSETU_SERVICES_LIBRARY_STATE_H

namespace vesta::vsetu {

// Texts held by the state: up to 263 characters.
constexpr int kStateText = 263;

// The installation folder once read; empty until then.
char* HomeCache();
// The error slot: -1 (no error recorded) when the library is loaded.
int* ErrorSlot();
// The comment slot: "VSetu.dll" when the library is loaded.
char* CommentSlot();
// Set when VSetuInitialise started COM for the process.
bool* ComStarted();
// The renderer list's current entry, -1 for none.
int* RendererCursor();

}  // namespace vesta::vsetu

#endif
