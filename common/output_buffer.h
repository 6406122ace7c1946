// A buffer in front of a stream, so that a record of many small fields
// reaches the stream in one write; or in front of a text in memory, for a
// record that is appended to its file in one piece.
#ifndef VESTA_COMMON_OUTPUT_BUFFER_H
#define VESTA_COMMON_OUTPUT_BUFFER_H

#include <cstdio>
#include <string>

struct VUOutput {
  FILE* stream;       // where the buffer goes, or
  std::string* text;  // the text it is added to
  int used;
  int failed;
  char buffer[16384];
};

// Starts buffering for stream.
void VUOutputBegin(VUOutput* out, FILE* stream);
// Starts buffering for text, which grows by what is written.
void VUOutputBeginText(VUOutput* out, std::string* text);
// Adds length characters; a full buffer goes to the stream first.
void VUOutputWrite(VUOutput* out, const char* data, int length);
inline void VUOutputPut(VUOutput* out, char c) {
  if (out->used == static_cast<int>(sizeof out->buffer)) VUOutputWrite(out, &c, 1);
  else out->buffer[out->used++] = c;
}
// Hands what is buffered to the stream or the text now.
void VUOutputDrain(VUOutput* out);
// Room for at least length characters (at most the buffer's size) at the
// end of the buffer, for a writer that lays them there directly and then
// counts what it laid with VUOutputAdvance.
inline char* VUOutputRoom(VUOutput* out, int length) {
  if (static_cast<int>(sizeof out->buffer) - out->used < length) VUOutputDrain(out);
  return out->buffer + out->used;
}
inline void VUOutputAdvance(VUOutput* out, int length) { out->used += length; }
// Hands what is left to the stream or the text. 1 when every write
// succeeded.
int VUOutputEnd(VUOutput* out);

#endif
