// A buffer in front of a stream, so that a record of many small fields
// reaches the stream in one write.
#ifndef VESTA_COMMON_OUTPUT_BUFFER_H
#define VESTA_COMMON_OUTPUT_BUFFER_H

#include <cstdio>

struct VUOutput {
  FILE* stream;
  int used;
  int failed;
  char buffer[16384];
};

// Starts buffering for stream.
void VUOutputBegin(VUOutput* out, FILE* stream);
// Adds length characters; a full buffer goes to the stream first.
void VUOutputWrite(VUOutput* out, const char* data, int length);
inline void VUOutputPut(VUOutput* out, char c) {
  if (out->used == static_cast<int>(sizeof out->buffer)) VUOutputWrite(out, &c, 1);
  else out->buffer[out->used++] = c;
}
// Hands what is left to the stream. 1 when every write succeeded.
int VUOutputEnd(VUOutput* out);

#endif
