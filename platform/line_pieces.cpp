#include "platform/line_pieces.h"

#include <cstring>

namespace vesta::platform {

// The stream's buffer is read in place under its lock, held for the
// object's life; fgets takes the lock itself.
LinePieces::LinePieces(FILE* stream, int capacity)
    : stream_(stream), capacity_(capacity > 1 ? capacity : 2), line_(static_cast<size_t>(capacity_) + kSlack, '\0') {
#if defined(__GLIBC__)
  if (stream_ != nullptr) flockfile(stream_);
#endif
}

LinePieces::~LinePieces() {
#if defined(__GLIBC__)
  if (stream_ != nullptr) funlockfile(stream_);
#endif
}

bool LinePieces::InPlace(const char** text, int* length) {
#if defined(__GLIBC__)
  // The characters read ahead lie from _IO_read_ptr to _IO_read_end, in a
  // buffer that ends at _IO_buf_end.
  char* begin = stream_->_IO_read_ptr;
  char* end = stream_->_IO_read_end;
  if (begin == nullptr || end <= begin) return false;
  const size_t most = static_cast<size_t>(capacity_ - 1);
  const size_t held = static_cast<size_t>(end - begin);
  size_t size;
  if (const void* feed = std::memchr(begin, '\n', held < most ? held : most)) {
    size = static_cast<size_t>(static_cast<const char*>(feed) - begin) + 1;
  } else if (held >= most) {
    size = most;  // a long line: its first piece
  } else {
    return false;  // the line goes on past what is read ahead
  }
  if (stream_->_IO_buf_end - (begin + size) < kSlack) return false;
  // A NUL ends the piece, as for fgets and strlen; the stream still moves
  // past all of it.
  const void* nul = std::memchr(begin, '\0', size);
  *text = begin;
  *length = static_cast<int>(nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - begin) : size);
  stream_->_IO_read_ptr = begin + size;
  return true;
#else
  (void)text;
  (void)length;
  return false;
#endif
}

bool LinePieces::Next(const char** text, int* length) {
  if (stream_ == nullptr) return false;
  if (InPlace(text, length)) return true;
  if (std::fgets(line_.data(), capacity_, stream_) == nullptr) return false;
  *text = line_.data();
  *length = static_cast<int>(std::strlen(line_.data()));
  return true;
}

}  // namespace vesta::platform
