#include "vermanager/command_line.h"

namespace {

enum class State { kSeek, kDash, kStart, kOpened, kInValue, kDone };

}  // namespace

int ParseOptionValue(char* out, const char* text, char letter, int capacity) {
  if (out == nullptr || text == nullptr || capacity < 0) return 0;
  State state = State::kSeek;
  char quote = '\0';  // the quote that opened the value, none when '\0'
  int copied = 0;
  auto copy = [&](char c) {
    // A value longer than the path it goes into is cut.
    if (copied < capacity) out[copied] = c;
    ++copied;
  };
  for (const char* p = text; *p != '\0' && state != State::kDone; ++p) {
    const char c = *p;
    switch (state) {
      case State::kSeek:
        if (c == '-') state = State::kDash;
        break;
      case State::kDash:
        state = c == letter ? State::kStart : State::kSeek;
        break;
      case State::kStart:
        if (c == '"' || c == '\'') {
          quote = c;
          state = State::kOpened;
        } else {
          copy(c);
          state = State::kInValue;
        }
        break;
      case State::kOpened:
        if (c == '"' || c == '\'') {
          state = State::kDone;
        } else {
          copy(c);
          state = State::kInValue;
        }
        break;
      case State::kInValue:
        if (quote != '\0' ? c == quote : (c == ' ' || c == '\t')) {
          state = State::kDone;
        } else {
          copy(c);
        }
        break;
      case State::kDone:
        break;
    }
  }
  out[copied < capacity ? copied : capacity] = '\0';
  return copied > 0 ? 1 : 0;
}
