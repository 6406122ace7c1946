// The normaliser log, as the normaliser's steps write it.
#ifndef VESTA_VSETU_NORMALISER_NORMALISER_LOG_H
#define VESTA_VSETU_NORMALISER_NORMALISER_LOG_H

#include <string>

namespace vesta::vsetu {

// Appends text to the log as it stands.
void Log(const std::string& text);

// Hands what the log holds in memory to the file. Every step of the
// normaliser ends with it; the lines of one step are written together.
void FlushNormaliserLog();

// Closes the log and forgets its path, as at the start of a process.
void ForgetNormaliserLog();

}  // namespace vesta::vsetu

#endif
