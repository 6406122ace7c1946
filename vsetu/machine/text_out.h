// Handing texts back into a caller's buffer.
#ifndef VESTA_VSETU_MACHINE_TEXT_OUT_H
#define VESTA_VSETU_MACHINE_TEXT_OUT_H

#include <string>

namespace vesta::vsetu {

// Copies text into out (size bytes, terminator included), cut to fit. 1
// when the whole text fitted; 0 (out holding what fitted) otherwise, or
// when there is no buffer.
int CopyOut(const std::string& text, char* out, int size);

}  // namespace vesta::vsetu

#endif
