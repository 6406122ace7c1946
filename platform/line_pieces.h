// Reading a stream a piece of a line at a time, as fgets gives them, for
// readers of large files (the tag file reader).
#ifndef VESTA_PLATFORM_LINE_PIECES_H
#define VESTA_PLATFORM_LINE_PIECES_H

#include <cstdio>
#include <vector>

namespace vesta::platform {

// The pieces of a stream's lines, as fgets into a buffer of capacity bytes
// gives them: a line and its line feed, or its first capacity - 1
// characters when it is longer (the rest comes as the next piece), each up
// to a NUL in it. The stream stands just after the piece given last.
//
// Where the C library's stream buffer can be read in place (glibc, whose
// getc_unlocked reads the same fields), a piece that lies whole in it is
// given there, without a copy and without counting its characters again;
// any other piece is read with fgets into a buffer of the object's own.
// Either way at least kSlack bytes can be read after a piece's end (what
// lies there is not part of it). The stream is locked for this thread
// while the object lives: the thread may still use it (ftell, say).
class LinePieces {
 public:
  static constexpr int kSlack = 32;

  LinePieces(FILE* stream, int capacity);
  ~LinePieces();
  LinePieces(const LinePieces&) = delete;
  LinePieces& operator=(const LinePieces&) = delete;

  // The next piece and its length; the text stays valid until the next
  // call. False at the end of the stream or when it cannot be read.
  bool Next(const char** text, int* length);

 private:
  bool InPlace(const char** text, int* length);

  FILE* stream_;
  int capacity_;
  std::vector<char> line_;  // capacity + kSlack bytes
};

}  // namespace vesta::platform

#endif
